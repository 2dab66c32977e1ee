#pragma once
// Holds the planned actions of a search until it is complete, then hands them on
// already in processing priority, so that the list shows no row before the
// search is through and its own priority check finds them in order.
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
