#pragma once
// Carries out the rows of the result list in list order: copies files, creates
// folders and deletes files and folders, asks before deletions when the job says
// so, and writes one log line per row reached. The list is trusted: nothing is
// scanned or checked again, and a failed action never stops the run.
//
// The window steps (disabling the windows, the progress dialog, the message boxes
// and the status text) belong to the caller, in this order:
//   OperationLog log; if logging and !log.Open(...): "ログファイルが開けません", stop;
//   disable the windows, create the progress dialog; RunSyncRows(...);
//   enable the windows, destroy the dialog; log.Close(); "同期処理が完了しました";
//   when !log.Complete() and the run is interactive: kLogIncompleteText.
// ExecuteSync does the same without the windows.
#include <windows.h>

#include <string>

#include "engine/EngineCallbacks.h"
#include "exec/ExecCallbacks.h"
#include "exec/OperationLog.h"

struct JobSettings;

struct SyncOptions {
    bool outputLog = false;
    std::string logFolder;
    bool confirmDelete = false;
    bool fastCopy = false;   // CopyFileA instead of the shell's copy
    bool unattended = false; // never ask
    std::string lastMessage; // the first log line, when not empty
    HWND owner = nullptr;    // owner window of the shell's copy
};

SyncOptions MakeSyncOptions(const JobSettings& job, bool unattended, const std::string& lastMessage,
                            HWND owner);

enum class SyncEnd {
    AllRows,      // every row was reached
    Stopped,      // the stop poll asked to stop before a row
    Aborted,      // the deletion question was answered with abort
    LogNotOpened, // nothing was carried out
    Refused,      // a guard refused the run: nothing was carried out
};

struct SyncOutcome {
    SyncEnd end = SyncEnd::AllRows;
    int rowsReached = 0; // rows acted on or declined; each has its log line
    int rowsFailed = 0;  // of those, rows whose action failed or was declined
    bool logComplete = true;
};

// The row loop. Writes the log lines into `log` when it is not null.
SyncOutcome RunSyncRows(const IRowSource& rows, const SyncOptions& options, OperationLog* log,
                        IProgress& progress, IDeleteQuestion& question);

// The whole run without the window steps: opens the log when asked for one, runs
// the rows and closes the log.
SyncOutcome ExecuteSync(const IRowSource& rows, const SyncOptions& options, IProgress& progress,
                        IDeleteQuestion& question);
