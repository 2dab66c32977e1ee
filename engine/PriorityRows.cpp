#include "engine/PriorityRows.h"

#include <algorithm>

#include "engine/Priority.h"

int PriorityRows::InsertRow(SyncItem* item, int) {
    items_.emplace_back(item);
    return static_cast<int>(items_.size()) - 1;
}

void PriorityRows::HandOver(IRowSink& target) {
    std::stable_sort(items_.begin(), items_.end(),
                     [](const std::unique_ptr<SyncItem>& a, const std::unique_ptr<SyncItem>& b) {
                         return ComparePriority(a.get(), b.get()) < 0;
                     });
    int position = 0;
    for (std::unique_ptr<SyncItem>& item : items_)
        target.InsertRow(item.release(), position++);
    items_.clear();
}
