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
// ExportBatch is the export as the program carries it out; the status text after
// it is BatchStatusText(outcome) (exec/StatusText.h), and a WriteFailed outcome also gets the
// message kBatchIncompleteText.
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

// Creates (or replaces) the file at `path` (when it cannot be created nothing is
// written and no window is shown), writes the lines inside one long operation of
// `window` and closes the file.
BatchOutcome ExportBatch(const std::string& path, const IRowSource& rows, IOperationWindow& window,
                         INetworkQuestion& question);

// The message when the file could not be created, with its path and the reason.
std::string BatchNotCreatedText(const std::string& path, const BatchOutcome& outcome);

inline constexpr const char* kBatchIncompleteText =
    "バッチファイルの書き込みに失敗しました。\nファイルには途中までの処理しか出力されていません。";
