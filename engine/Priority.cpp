#include "engine/Priority.h"

#include "engine/NameOrder.h"

#include <algorithm>
#include <cstdint>
#include <string>

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

void SortByPriority(std::vector<std::unique_ptr<SyncItem>>& rows) {
    struct Ranked {
        uint32_t group; // the tier, then files and folders in the tier's order
        uint32_t row;
        uint32_t keyStart;
        uint32_t keyLength;
    };
    std::string keys;
    std::vector<Ranked> ranked(rows.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        const SyncItem* item = rows[i].get();
        const bool deletes = item->operation == Delete;
        // Deletions: files before folders; every other tier: folders first.
        const bool late = deletes ? item->isFolder != 0 : item->isFolder == 0;
        uint32_t start = static_cast<uint32_t>(keys.size());
        AppendNameKey(keys, item->subject.relativeFolder, item->subject.name);
        ranked[i] =
            Ranked{static_cast<uint32_t>(Tier(item) * 2 + (late ? 1 : 0)), static_cast<uint32_t>(i),
                   start, static_cast<uint32_t>(keys.size() - start)};
    }
    const std::string_view all(keys);
    std::sort(ranked.begin(), ranked.end(), [&](const Ranked& a, const Ranked& b) {
        if (a.group != b.group)
            return a.group < b.group;
        int order =
            all.substr(a.keyStart, a.keyLength).compare(all.substr(b.keyStart, b.keyLength));
        // Deletions (tiers 0 and 3) run backwards: deeper paths first.
        if (a.group / 2 == 0 || a.group / 2 == 3)
            order = -order;
        return order != 0 ? order < 0 : a.row < b.row;
    });
    std::vector<std::unique_ptr<SyncItem>> sorted(rows.size());
    for (size_t i = 0; i < ranked.size(); ++i)
        sorted[i] = std::move(rows[ranked[i].row]);
    rows.swap(sorted);
}
