#pragma once
// Carries out the rows of the result list in list order: copies files, creates
// folders and deletes files and folders, asks before deletions when the job says
// so, and writes one log line per row reached. A failed action never stops the run.
//
// Nothing is lost on the way: a row is carried out only while what it reads,
// overwrites or deletes is still what the search saw (otherwise it fails); every
// copy is written under a temporary name and replaces its target in one rename;
// and a run that would empty a side, or delete most of its files, asks first, or
// in an unattended run does nothing at all.
//
// ExecuteSync is the whole run as the program carries it out: the log, the rows
// inside one long operation of the caller's window, and the log closed again.
// The status text after it is SyncStatusText(outcome).
#include <windows.h>

#include <string>
#include <vector>

#include "engine/EngineCallbacks.h"
#include "exec/DeletionGuard.h"
#include "exec/ExecCallbacks.h"
#include "exec/OperationLog.h"
#include "exec/RunJournal.h"
#include "exec/RunRecord.h"
#include "exec/SafeCopy.h"
#include "exec/Versions.h"

struct JobSettings;

struct SyncOptions {
    bool outputLog = false;
    std::string logFolder;
    bool confirmDelete = false;
    bool fastCopy = false;     // the program's own copy instead of the shell's
    bool unattended = false;   // never ask
    TimeRule times;            // when a file already holds the source's version
    bool verifyCopies = false; // each copy is read back before it takes its name
    // The search's view of both sides, for the check of mass deletions. Without
    // counts (countsKnown false) that check is skipped.
    std::string processingFolder;
    std::string referenceFolder;
    bool countsKnown = false;
    SideCounts processingFound;
    SideCounts referenceFound;
    bool allowMassDeletion = false; // the job means to empty a side
    bool useRecycleBin = false;     // deleted and replaced files go to the Recycle Bin
    // Deleted and replaced files kept in a versions folder (Versions.h); its
    // useRecycleBin is taken from the field above.
    VersionSettings versions;
    SYSTEMTIME runStart = {}; // names the run's versions folder; zero: now
    // Learns the temporary and backup names before they are made; may be null.
    IRunJournal* journal = nullptr;
    // Learns each row carried out, for an undo of the run; may be null.
    RunRecorder* recorder = nullptr;
    WriteCall write = ::WriteFile; // the copy's write call
    RenameCall rename = MovePath;  // the renames of a copy and its replacement
    LinkCall link = LinkPath;      // an old version's second name in the versions folder
    std::string lastMessage;       // the first log line, when not empty
    // Entries the search left out, by full path: each gets its "対象外:" line.
    const std::vector<std::string>* leftOutPaths = nullptr;
    // Lines for the log before the rows: a killed run's leftovers dealt with.
    const std::vector<std::string>* notesBefore = nullptr;
};

SyncOptions MakeSyncOptions(const JobSettings& job, bool unattended,
                            const std::string& lastMessage);

enum class SyncEnd {
    AllRows,      // every row was reached
    Stopped,      // the stop poll asked to stop before a row
    Aborted,      // the deletion question was answered with abort
    LogNotOpened, // nothing was carried out
    Refused,      // a guard refused the run: nothing was carried out
};

// A row that failed: its place in the list, its command and why.
struct RowFailure {
    int row = 0;
    std::string command;
    std::string reason;
};

struct SyncOutcome {
    SyncEnd end = SyncEnd::AllRows;
    int rows = 0;        // rows in the list
    int rowsReached = 0; // rows acted on or declined; each has its log line
    int rowsFailed = 0;  // of those, rows whose action failed or was declined
                         // (a conflict is neither: it is never carried out)
    bool logComplete = true;
    std::string logPath; // the log file, or where it was looked for when it could not be opened
    std::vector<RowFailure> failures;
    std::string refusal; // why a guard refused the run, with its details
    // Rows whose action was carried out (or found done already), in list order.
    std::vector<int> succeededRows;
    // Conflicts reached and left as they are, by the processing side's full path.
    std::vector<std::string> conflicts;
    // Rows not reached: stopped, aborted or refused.
    int RowsNotDone() const { return rows - rowsReached; }
};

// The row loop. Writes the log lines into `log` when it is not null.
SyncOutcome RunSyncRows(const IRowSource& rows, const SyncOptions& options, OperationLog* log,
                        IProgress& progress, IDeleteQuestion& question);

// The whole run: opens the log when the job asks for one (when it cannot be
// opened nothing is carried out and no window is shown), writes the notes
// before the rows and the left-out entries' lines, removes the runs beyond the
// limits from the versions folders of both sides, carries out the rows inside one long operation of
// `window`, and closes the log.
SyncOutcome ExecuteSync(const IRowSource& rows, const SyncOptions& options,
                        IOperationWindow& window, IDeleteQuestion& question);
