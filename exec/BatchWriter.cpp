#include "exec/BatchWriter.h"

#include <shlwapi.h>

#include "base/NameText.h"
#include "base/TextEscape.h"
#include "engine/SyncItem.h"
#include "engine/SystemText.h"
#include "exec/CommandText.h"
#include "exec/ProgressText.h"

namespace {

// The line of a row names a network folder when either of its roots is in UNC
// form; a deletion's empty counterpart root never is.
bool NamesNetworkPath(const SyncItem& item) {
    return PathIsUNCA(item.subject.rootFolder.c_str()) ||
           PathIsUNCA(item.counterpart.rootFolder.c_str());
}

// Progress is shown for every hundredth row only: the rows are quick to write.
const int kRowsPerProgressStep = 100;

} // namespace

BatchOutcome WriteBatchLines(OutputFile& file, const IRowSource& rows, IProgress& progress,
                             INetworkQuestion& question) {
    BatchOutcome outcome;
    bool writeAll = false; // every export asks afresh
    const int count = rows.RowCount();
    ProgressFigures figures;
    figures.kind = ProgressFigures::Kind::RowsWritten;
    figures.rowsPlanned = count;
    FiguresOnShow figuresOnShow(progress, figures);
    progress.SetLine1("バッチファイルを出力中です");
    progress.SetLine2("");
    for (int index = 0; index < count; ++index) {
        figures.rowsDone = index; // the rows before this one are written or left out
        if (StopBeforeRow(progress, index, count, kRowsPerProgressStep)) {
            outcome.end = BatchEnd::Stopped;
            break;
        }
        const SyncItem& item = rows.Row(index);
        const bool conflict = item.operation == Conflict;
        std::string command = conflict ? std::string() : MakeItemCommand(item);
        // A name without a Shift-JIS form cannot be written in this file: a
        // look-alike would act on another file. A comment says what is missing.
        bool writable = !conflict && IsPlainAnsi(command);
        if (writable && !writeAll && NamesNetworkPath(item)) {
            // A stop pressed since the last paced poll is seen before the question.
            if (progress.PollStopNow()) {
                outcome.end = BatchEnd::Stopped;
                break;
            }
            int answer = question.AskNetworkLine(command);
            if (answer == SkipThis)
                continue;
            if (answer == ExportAbort) {
                outcome.end = BatchEnd::Aborted;
                break;
            }
            if (answer == WriteAll)
                writeAll = true;
        }
        unsigned long long wholeLinesEnd = file.Size();
        std::string line = conflict   ? kConflictInBatchPrefix + EscapeForText(item.SourcePath())
                           : writable ? command
                                      : kNotInBatchPrefix + EscapeForText(command);
        if (!file.Write(EscapeForBatchFile(line) + "\r\n")) {
            outcome.end = BatchEnd::WriteFailed;
            outcome.error = file.Error();
            file.CutTo(wholeLinesEnd);
            break;
        }
        ++outcome.linesWritten;
        if (!writable)
            ++outcome.rowsLeftOut;
    }
    if (outcome.end == BatchEnd::AllRows)
        figures.rowsDone = count;
    return outcome;
}

BatchOutcome ExportBatch(const std::string& path, const IRowSource& rows, IOperationWindow& window,
                         INetworkQuestion& question) {
    OutputFile file;
    BatchOutcome outcome;
    if (!file.Create(path)) {
        outcome.end = BatchEnd::NotCreated;
        outcome.error = file.Error();
        return outcome;
    }
    if (!file.Write(kBatchFirstLines)) {
        outcome.end = BatchEnd::WriteFailed;
        outcome.error = file.Error();
        file.CutTo(0);
        return outcome;
    }
    {
        OperationScope operation(window, "バッチファイルを出力中です");
        outcome = WriteBatchLines(file, rows, operation.Progress(), question);
    }
    // After a stop or an abort too: the lines written are whole commands. After
    // a failed write the file ends without them; the command processor ends the
    // local settings with the file all the same.
    if (outcome.end != BatchEnd::WriteFailed) {
        unsigned long long wholeLinesEnd = file.Size();
        if (!file.Write(kBatchLastLines)) {
            outcome.end = BatchEnd::WriteFailed;
            outcome.error = file.Error();
            file.CutTo(wholeLinesEnd);
        }
    }
    if (!file.Close() && outcome.end != BatchEnd::WriteFailed) {
        outcome.end = BatchEnd::WriteFailed;
        outcome.error = file.Error();
    }
    return outcome;
}

std::string BatchLeftOutText(int rows) {
    return "Shift-JIS で書けない名前を含む " + std::to_string(rows) +
           " 件の処理はバッチファイルに出力できません。\nその行には REM "
           "で始まる説明の行を出力しました。";
}

std::string BatchNotCreatedText(const std::string& path, const BatchOutcome& outcome) {
    return "バッチファイル「" + EscapeForText(path) +
           "」を作成できません: " + LastErrorText(outcome.error);
}
