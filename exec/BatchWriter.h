#pragma once
// Writes the rows of the result list as a batch file, one command line per row in
// list order, each ended by CR LF, with every % doubled, between the lines that
// pin the command processor's settings (kBatchFirstLines, kBatchLastLines).
// Before a line that names
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
    // Rows written as a comment line only (kNotInBatchPrefix): their paths have
    // no Shift-JIS form, and the command processor would reach other files.
    int rowsLeftOut = 0;
    DWORD error = 0; // the platform's code when the file failed
};

// The row lines alone.
BatchOutcome WriteBatchLines(OutputFile& file, const IRowSource& rows, IProgress& progress,
                             INetworkQuestion& question);

// Creates (or replaces) the file at `path` (when it cannot be created nothing is
// written and no window is shown), writes the first lines, the row lines inside
// one long operation of `window` and the last lines, and closes the file.
BatchOutcome ExportBatch(const std::string& path, const IRowSource& rows, IOperationWindow& window,
                         INetworkQuestion& question);

// The message when the file could not be created, with its path and the reason.
std::string BatchNotCreatedText(const std::string& path, const BatchOutcome& outcome);

// The batch file acts on exactly the files its lines name whatever the user's
// command processor does by default: delayed expansion off (on, "!" would be
// taken from a name such as a!c.txt), command extensions on (MKDIR makes the
// folders above), and the code page 932 in which the file is written while it
// runs (another one would read the second bytes of 表 and ソ as other
// characters). The code page in use before is kept and set again at the end;
// "0" is what chcp reports where there is no console to set one on. Each of
// these lines starts with "@" so it is not echoed; the row lines are as before.
inline constexpr const char* kBatchFirstLines =
    "@setlocal EnableExtensions DisableDelayedExpansion\r\n"
    "@set \"ORVANE_CP=\"\r\n"
    "@for /f \"tokens=2 delims=:.\" %%c in ('chcp') do @set /a \"ORVANE_CP=%%c\" >nul\r\n"
    "@if not \"%ORVANE_CP%\"==\"932\" chcp 932 >nul\r\n";
inline constexpr const char* kBatchLastLines =
    "@if defined ORVANE_CP if not \"%ORVANE_CP%\"==\"932\" if not \"%ORVANE_CP%\"==\"0\" "
    "chcp %ORVANE_CP% >nul\r\n"
    "@endlocal\r\n";

// The comment line in place of a row the file cannot carry out, before the
// row's command in the escape form; every % doubled as on every line.
// A conflict's line: the user has not chosen a side, so it is not carried out.
inline constexpr const char* kConflictInBatchPrefix =
    "@REM 衝突のため出力しません（どちらを残すか未選択）: ";
inline constexpr const char* kNotInBatchPrefix =
    "@REM 次の処理はこのバッチファイルでは行えません（Shift-JIS で書けない名前）: ";

// The message after an export that left rows out.
std::string BatchLeftOutText(int rows);

inline constexpr const char* kBatchIncompleteText =
    "バッチファイルの書き込みに失敗しました。\nファイルには途中までの処理しか出力されていません。";
