#include "exec/DeletionGuard.h"

#include <cstdio>

#include "engine/SyncItem.h"
#include "exec/ExecCallbacks.h"

namespace {

const int kManyFiles = 50;

void Count(SideCounts& counts, const SyncItem& item) {
    ++counts.entries;
    if (!item.isFolder)
        ++counts.files;
}

std::string SideLine(const SideDeletions& side) {
    char line[200];
    std::snprintf(line, sizeof line, "%s：%d 件中 %d 件を削除（うちファイル %d 件中 %d 件）",
                  side.label, side.found.entries, side.planned.entries, side.found.files,
                  side.planned.files);
    return line;
}

} // namespace

bool IsMassDeletion(const SideDeletions& side) {
    if (side.planned.entries == 0)
        return false;
    if (side.planned.entries >= side.found.entries)
        return true;
    return side.planned.files * 2 > side.found.files && side.planned.files >= kManyFiles;
}

DeletionPlan CountDeletions(const IRowSource& rows, const std::string& processingFolder,
                            const std::string& referenceFolder, const SideCounts& processingFound,
                            const SideCounts& referenceFound) {
    DeletionPlan plan;
    plan.processing.found = processingFound;
    plan.reference.found = referenceFound;
    for (int index = 0; index < rows.RowCount(); ++index) {
        const SyncItem& item = rows.Row(index);
        if (item.operation != Delete)
            continue;
        if (item.subject.rootFolder == processingFolder)
            Count(plan.processing.planned, item);
        else if (item.subject.rootFolder == referenceFolder)
            Count(plan.reference.planned, item);
    }
    return plan;
}

std::string MassDeletionDetails(const DeletionPlan& plan) {
    std::string details;
    for (const SideDeletions* side : {&plan.processing, &plan.reference}) {
        if (!IsMassDeletion(*side))
            continue;
        if (!details.empty())
            details += "\n";
        details += SideLine(*side);
    }
    return details;
}

std::string MassDeletionQuestion(const std::string& details) {
    return "多数の削除が予定されています。\n" + details +
           "\nフォルダの指定に誤りがないか確認してください。\n同期処理を実行しますか？";
}
