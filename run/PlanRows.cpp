#include "run/PlanRows.h"

#include <algorithm>

#include "engine/Priority.h"

int PlanRows::InsertRow(SyncItem* item, int position) {
    std::unique_ptr<SyncItem> owned(item);
    if (position < 0 || position >= RowCount()) {
        rows_.push_back(std::move(owned));
        return RowCount() - 1;
    }
    rows_.insert(rows_.begin() + position, std::move(owned));
    return position;
}

bool PlanRows::SortByPriority() {
    auto before = [](const std::unique_ptr<SyncItem>& a, const std::unique_ptr<SyncItem>& b) {
        return ComparePriority(a.get(), b.get()) < 0;
    };
    // A plan sorted once stays in order when rows are removed; checking costs one pass.
    if (std::is_sorted(rows_.begin(), rows_.end(), before))
        return false;
    ::SortByPriority(rows_);
    return true;
}

void PlanRows::RemoveRows(const std::vector<bool>& removed) {
    size_t kept = 0;
    for (size_t index = 0; index < rows_.size(); ++index)
        if (index >= removed.size() || !removed[index])
            rows_[kept++] = std::move(rows_[index]);
    rows_.resize(kept);
}

namespace {

// The conflict settled for one side: the row that carries out its choice.
void Settle(SyncItem& item, bool processingWins) {
    const bool subjectIsProcessing = item.direction == ProcessingToReference;
    const bool otherHolds = !item.counterpart.name.empty();
    if (subjectIsProcessing != processingWins) {
        if (!otherHolds) {
            // The winning side deleted it: it goes on the subject's side too.
            item.operation = Delete;
            item.reason = Deleted;
            item.direction = subjectIsProcessing ? ReferenceToProcessing : ProcessingToReference;
            return;
        }
        std::swap(item.subject, item.counterpart);
        item.direction = processingWins ? ProcessingToReference : ReferenceToProcessing;
    }
    item.isFolder = item.subject.IsFolder() ? 1 : 0;
    if (!item.counterpart.name.empty()) {
        item.operation = Copy;
        item.reason = Date; // overwrites the other side's file under its own name
    } else {
        item.operation = item.isFolder ? Create : Copy;
        item.reason = Existence;
    }
}

} // namespace

int PlanRows::ResolveConflicts(const std::vector<bool>& selected, bool processingWins) {
    int settled = 0;
    for (size_t index = 0; index < rows_.size() && index < selected.size(); ++index) {
        // An undo's conflict has no side to win: the user keeps what is there
        // by removing the row.
        if (!selected[index] || rows_[index]->operation != Conflict || rows_[index]->UndoesARun())
            continue;
        Settle(*rows_[index], processingWins);
        ++settled;
    }
    if (settled > 0)
        SortByPriority();
    return settled;
}

bool PlanRows::AnyConflict(const std::vector<bool>& selected) const {
    for (size_t index = 0; index < rows_.size() && index < selected.size(); ++index)
        if (selected[index] && rows_[index]->operation == Conflict && !rows_[index]->UndoesARun())
            return true;
    return false;
}
