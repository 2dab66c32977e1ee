#include "run/PlanSummary.h"

#include "engine/SyncItem.h"
#include "exec/ExecCallbacks.h"

PlanSummary SummarizePlan(const IRowSource& rows, size_t leftOut) {
    PlanSummary summary;
    summary.leftOut = static_cast<int>(leftOut);
    for (int index = 0; index < rows.RowCount(); ++index) {
        const SyncItem& item = rows.Row(index);
        if (item.operation == Conflict) {
            ++summary.conflicts;
            continue;
        }
        SideSummary& side =
            item.direction == ProcessingToReference ? summary.toReference : summary.toProcessing;
        switch (item.operation) {
        case Copy:
            ++side.copies;
            side.copyBytes += item.subject.Size();
            break;
        case Create:
            ++side.folderCreations;
            break;
        case Delete:
            ++(item.isFolder ? side.folderDeletions : side.fileDeletions);
            break;
        case Move:
            ++side.moves;
            break;
        }
    }
    return summary;
}
