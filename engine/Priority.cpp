#include "engine/Priority.h"

#include "engine/NameOrder.h"

int ComparePriority(const SyncItem* a, const SyncItem* b) {
    // Conflicts are never carried out: they close the list, together.
    bool aConflict = a->operation == Conflict;
    bool bConflict = b->operation == Conflict;
    if (aConflict != bConflict)
        return aConflict ? 1 : -1;
    bool aDeletes = a->operation == Delete;
    bool bDeletes = b->operation == Delete;
    if (aDeletes != bDeletes)
        return aDeletes ? -1 : 1;
    // Deletions run backwards: files before folders, deeper paths first.
    int sign = aDeletes ? -1 : 1;
    if (a->isFolder != b->isFolder)
        return a->isFolder ? -sign : sign;
    return sign * CompareNamesJoined(a->subject.relativeFolder, a->subject.name,
                                     b->subject.relativeFolder, b->subject.name);
}
