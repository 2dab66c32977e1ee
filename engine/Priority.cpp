#include "engine/Priority.h"

#include "engine/NameOrder.h"

namespace {

// The row's place in the order of kinds.
int Tier(const SyncItem* item) {
    switch (item->operation) {
    case Delete:
        return item->reason == MovedOut ? 3 : 0;
    case Create:
        return 1;
    case Move:
        return 2;
    case Conflict:
        return 5;
    default:
        return 4; // copies, into folders made or moved by then
    }
}

} // namespace

int ComparePriority(const SyncItem* a, const SyncItem* b) {
    int aTier = Tier(a), bTier = Tier(b);
    if (aTier != bTier)
        return aTier < bTier ? -1 : 1;
    // Deletions run backwards: files before folders, deeper paths first.
    const bool deletes = a->operation == Delete;
    int sign = deletes ? -1 : 1;
    if (a->isFolder != b->isFolder)
        return a->isFolder ? -sign : sign;
    return sign * CompareNamesJoined(a->subject.relativeFolder, a->subject.name,
                                     b->subject.relativeFolder, b->subject.name);
}
