#include "exec/StatusText.h"

#include <cstdio>

#include "exec/BatchWriter.h"
#include "exec/SyncExecutor.h"

namespace {

// "（失敗 3 件、未処理 5 件）", with the parts that are not zero.
std::string Counts(int failed, int notDone) {
    char text[96] = "";
    if (failed > 0 && notDone > 0)
        std::snprintf(text, sizeof text, "（失敗 %d 件、未処理 %d 件）", failed, notDone);
    else if (failed > 0)
        std::snprintf(text, sizeof text, "（失敗 %d 件）", failed);
    else if (notDone > 0)
        std::snprintf(text, sizeof text, "（未処理 %d 件）", notDone);
    return text;
}

// "<work>が完了しました", or how it ended early: by the stop button, or by an
// abort answered to a question.
std::string EndedText(const std::string& work, bool stopped, bool aborted) {
    return work + (stopped ? "を中止しました" : aborted ? "を中断しました" : "が完了しました");
}

} // namespace

std::string SyncStatusText(const SyncOutcome& outcome) {
    if (outcome.end == SyncEnd::Refused)
        return "削除が多すぎるため、同期処理を行いませんでした";
    if (outcome.end == SyncEnd::LogNotOpened)
        return "同期処理を行いませんでした";
    // Conflicts wait for the user's choice: said apart from failures.
    std::string conflicts =
        outcome.conflicts.empty()
            ? std::string()
            : "（衝突 " + std::to_string(outcome.conflicts.size()) + " 件は処理していません）";
    return EndedText("同期処理", outcome.end == SyncEnd::Stopped, outcome.end == SyncEnd::Aborted) +
           Counts(outcome.rowsFailed, outcome.RowsNotDone()) + conflicts;
}

std::string BatchStatusText(const BatchOutcome& outcome) {
    std::string lines = "（" + std::to_string(outcome.linesWritten) + " 行を出力）";
    switch (outcome.end) {
    case BatchEnd::NotCreated:
        return "バッチファイルを作成できませんでした";
    case BatchEnd::WriteFailed:
        return "バッチファイルの書き込みに失敗しました" + lines;
    case BatchEnd::AllRows:
        return "バッチファイル出力が完了しました" +
               (outcome.rowsLeftOut > 0
                    ? "（" + std::to_string(outcome.rowsLeftOut) + " 件は出力できませんでした）"
                    : std::string());
    default:
        return EndedText("バッチファイル出力", outcome.end == BatchEnd::Stopped,
                         outcome.end == BatchEnd::Aborted) +
               lines;
    }
}
