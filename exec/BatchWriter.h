#pragma once
// Writes the rows of the result list as a batch file, one command line per row in
// list order, each ended by CR LF, with every % doubled. Before a line that names
// a network folder (either root of the row in UNC form) the user is asked, until
// the answer is "write all". Nothing but the batch file changes on disk.
//
// A write that fails (a full disk, a network folder that went away) ends the
// export: the line written only in part is cut off, so that no truncated command
// can run later, the file keeps the whole lines before it, and the outcome says
// WriteFailed so that the user is told the file is incomplete (kBatchIncompleteText).
//
// The caller's window steps, in order: OutputFile file; if !file.Create(path),
// only the status text; otherwise disable the windows, create the progress dialog,
// WriteBatchLines(...), file.Close() (a false is a failed write too), enable the
// windows, destroy the dialog, the status text, and on WriteFailed the message box.
// ExportBatch does the same without the windows.
#include <windows.h>

#include <string>

#include "engine/EngineCallbacks.h"
#include "exec/ExecCallbacks.h"
#include "exec/OutputFile.h"

enum class BatchEnd {
    AllRows,     // every row was reached
    Stopped,     // the stop poll asked to stop before a row
    Aborted,     // the network question was answered with abort
    NotCreated,  // the file could not be created; nothing was written
    WriteFailed, // the file holds only the lines before the failure
};

struct BatchOutcome {
    BatchEnd end = BatchEnd::AllRows;
    int linesWritten = 0;
    DWORD error = 0; // the platform's code when the file failed
};

BatchOutcome WriteBatchLines(OutputFile& file, const IRowSource& rows, IProgress& progress,
                             INetworkQuestion& question);

// Creates (or replaces) the file at `path`, writes the lines and closes it.
BatchOutcome ExportBatch(const std::string& path, const IRowSource& rows, IProgress& progress,
                         INetworkQuestion& question);

inline constexpr const char* kBatchIncompleteText =
    "バッチファイルの書き込みに失敗しました。\nファイルには途中までの処理しか出力されていません。";
