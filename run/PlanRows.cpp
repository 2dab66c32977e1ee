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
    std::stable_sort(rows_.begin(), rows_.end(), before);
    return true;
}

void PlanRows::RemoveRows(const std::vector<bool>& removed) {
    size_t kept = 0;
    for (size_t index = 0; index < rows_.size(); ++index)
        if (index >= removed.size() || !removed[index])
            rows_[kept++] = std::move(rows_[index]);
    rows_.resize(kept);
}
