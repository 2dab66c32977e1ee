#include "exec/SyncStatus.h"

#include <cstdio>

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

} // namespace

std::string SyncStatusText(const SyncOutcome& outcome) {
    std::string counts = Counts(outcome.rowsFailed, outcome.RowsNotDone());
    switch (outcome.end) {
    case SyncEnd::AllRows:
        return "同期処理が完了しました" + counts;
    case SyncEnd::Stopped:
        return "同期処理を中止しました" + counts;
    case SyncEnd::Aborted:
        return "同期処理を中断しました" + counts;
    case SyncEnd::Refused:
        return "削除が多すぎるため、同期処理を行いませんでした";
    case SyncEnd::LogNotOpened:
        break;
    }
    return "同期処理を行いませんでした";
}
