#pragma once
// Holds the planned actions of a search until it is complete, then hands them on
// already in processing priority. The list's own priority sort then finds them in
// order: the list control merges in place, and a list filled in a scrambled order
// moves its rows about at every merge step (measured under Wine: 2 s for 200,000
// rows, against a few hundredths of a second for the same rows in order).
#include <memory>
#include <vector>

#include "engine/EngineCallbacks.h"
#include "engine/SyncItem.h"

class PriorityRows : public IRowSink {
public:
    int InsertRow(SyncItem* item, int position) override;
    // Sorts the rows by ComparePriority and gives each to `target`, from the top;
    // nothing is left here afterwards.
    void HandOver(IRowSink& target);
    size_t Size() const { return items_.size(); }

private:
    std::vector<std::unique_ptr<SyncItem>> items_;
};
