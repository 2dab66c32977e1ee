#pragma once
// The plan: the planned actions of the last search, in the order in which the
// synchronisation and the batch export carry them out. Each row owns its item.
// The result list shows these rows; the plan itself knows no window.
#include <memory>
#include <vector>

#include "engine/EngineCallbacks.h"
#include "engine/SyncItem.h"
#include "exec/ExecCallbacks.h"

class PlanRows : public IRowSink, public IRowSource {
public:
    // Inserts the row at `position`, or appends it when the position is out of
    // range; the row's index.
    int InsertRow(SyncItem* item, int position) override;
    int RowCount() const override { return static_cast<int>(rows_.size()); }
    const SyncItem& Row(int index) const override { return *rows_[static_cast<size_t>(index)]; }
    // The row at `index`, or null for an index the plan does not have.
    const SyncItem* RowOrNull(int index) const {
        return index >= 0 && index < RowCount() ? rows_[static_cast<size_t>(index)].get() : nullptr;
    }

    void Clear() { rows_.clear(); }
    // Puts the rows in processing priority (ComparePriority), keeping the order of
    // equal rows; false when they were in that order already.
    bool SortByPriority();
    // Removes every row whose flag is set, keeping the order of the others.
    void RemoveRows(const std::vector<bool>& removed);
    // Settles every conflict row whose flag is set for one side: the winning
    // side's file is copied over the other, or, where the winning side deleted
    // it, the other side's entry is deleted. The rows are put back in
    // processing priority; the number of conflicts settled.
    int ResolveConflicts(const std::vector<bool>& selected, bool processingWins);
    // Whether any row whose flag is set is a conflict.
    bool AnyConflict(const std::vector<bool>& selected) const;

private:
    std::vector<std::unique_ptr<SyncItem>> rows_;
};
