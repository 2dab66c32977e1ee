#include "engine/MoveFinder.h"

#include <algorithm>
#include <climits>
#include <map>

#include "engine/FileTimes.h"
#include "engine/NameOrder.h"

namespace {

// A row this finder may pair: a deletion, or a new file or folder (not a
// replacement, not a conflict, not an undo's).
bool IsGoing(const SyncItem& item) {
    return item.operation == Delete && (item.reason == Existence || item.reason == Deleted);
}
bool IsComing(const SyncItem& item) {
    return (item.operation == Copy || item.operation == Create) && item.reason == Existence;
}

// The side a row changes.
const std::string& SideOf(const SyncItem& item) {
    return IsGoing(item) ? item.subject.rootFolder : item.counterpart.rootFolder;
}

} // namespace

MoveFinder::MoveFinder(IRowSink& rows, TimeRule times, IProgress& progress)
    : rows_(rows), times_(times), progress_(progress) {}

MoveFinder::~MoveFinder() = default;

int MoveFinder::InsertRow(SyncItem* item, int position) {
    if (!IsGoing(*item) && !IsComing(*item))
        return rows_.InsertRow(item, position);
    auto held = std::make_unique<Held>();
    held->item.reset(item);
    held->key = NameKey(item->subject.RelativePath());
    held_.push_back(std::move(held));
    return static_cast<int>(held_.size()) - 1;
}

bool MoveFinder::SameTime(const FileEntry& a, const FileEntry& b) const {
    return !IsNewer(a.lastWriteTime, b.lastWriteTime, times_) &&
           !IsNewer(b.lastWriteTime, a.lastWriteTime, times_);
}

std::pair<size_t, size_t> MoveFinder::Below(const std::vector<Held*>& list,
                                            const Held& folder) const {
    const std::string prefix = folder.key + NameKey("\\");
    auto first =
        std::lower_bound(list.begin(), list.end(), prefix,
                         [](const Held* held, const std::string& key) { return held->key < key; });
    auto last = first;
    while (last != list.end() && (*last)->key.compare(0, prefix.size(), prefix) == 0)
        ++last;
    return {static_cast<size_t>(first - list.begin()), static_cast<size_t>(last - list.begin())};
}

bool MoveFinder::SameTree(const Side& side, const Held& going, const Held& coming, bool* stopped) {
    auto [goingFirst, goingLast] = Below(side.going, going);
    auto [comingFirst, comingLast] = Below(side.coming, coming);
    if (goingLast - goingFirst != comingLast - comingFirst)
        return false;
    // Names, kinds and sizes first, for all; the bytes only when everything else agrees.
    for (size_t i = 0; i < goingLast - goingFirst; ++i) {
        const Held& a = *side.going[goingFirst + i];
        const Held& b = *side.coming[comingFirst + i];
        const FileEntry &old = a.item->subject, &now = b.item->subject;
        if (a.consumed || b.consumed ||
            a.key.compare(going.key.size(), std::string::npos, b.key, coming.key.size(),
                          std::string::npos) != 0 ||
            old.IsFolder() != now.IsFolder() ||
            (!old.IsFolder() && (old.Size() != now.Size() || !SameTime(old, now))))
            return false;
    }
    for (size_t i = 0; i < goingLast - goingFirst; ++i) {
        const FileEntry& old = side.going[goingFirst + i]->item->subject;
        const FileEntry& now = side.coming[comingFirst + i]->item->subject;
        if (old.IsFolder())
            continue;
        ContentMatch match =
            content_.Compare(old.FullPath(), now.FullPath(), old.Size(), false, progress_);
        if (match != ContentMatch::Same) {
            *stopped = match == ContentMatch::Stopped;
            return false;
        }
        if (progress_.PollStop()) {
            *stopped = true;
            return false;
        }
    }
    return true;
}

void MoveFinder::Consume(std::vector<Held*>& list, const Held& folder) {
    auto [first, last] = Below(list, folder);
    for (size_t i = first; i < last; ++i)
        list[i]->consumed = true;
}

void MoveFinder::AddMove(Held& going, Held& coming) {
    going.consumed = coming.consumed = true;
    auto move = std::make_unique<SyncItem>();
    move->operation = Move;
    move->reason = SameContent;
    move->direction = coming.item->direction;
    move->isFolder = coming.item->isFolder;
    move->subject = coming.item->subject;    // where it is on the other side now
    move->counterpart = going.item->subject; // where it is on this side, to be renamed
    moves_.push_back(std::move(move));
}

bool MoveFinder::FindFolderMoves(Side& side) {
    // Shallowest first: a folder that moved whole takes everything below it along.
    std::vector<Held*> going, coming;
    for (Held* held : side.going)
        if (held->item->isFolder)
            going.push_back(held);
    for (Held* held : side.coming)
        if (held->item->isFolder)
            coming.push_back(held);
    auto depth = [](const Held* held) {
        return std::count(held->key.begin(), held->key.end(), NameKey("\\")[0]);
    };
    std::stable_sort(going.begin(), going.end(),
                     [&](const Held* a, const Held* b) { return depth(a) < depth(b); });
    // What a folder's tree looks like without its own path: its entries' names
    // below it, kinds and sizes; a folder whose tree looks like another's on the
    // same end is no proof of anything.
    auto shape = [&](const std::vector<Held*>& list, const Held& folder) {
        auto [first, last] = Below(list, folder);
        std::string text;
        for (size_t i = first; i < last; ++i) {
            const SyncItem& item = *list[i]->item;
            text += list[i]->key.substr(folder.key.size());
            if (item.isFolder) {
                text += '/';
            } else {
                text += ':';
                text += std::to_string(item.subject.Size());
            }
            text += '\n';
        }
        return text;
    };
    std::map<std::string, std::vector<Held*>> comingByShape;
    std::map<std::string, int> goingByShape;
    for (Held* folder : coming)
        comingByShape[shape(side.coming, *folder)].push_back(folder);
    std::vector<std::string> goingShapes;
    for (Held* folder : going) {
        goingShapes.push_back(shape(side.going, *folder));
        ++goingByShape[goingShapes.back()];
    }
    for (size_t g = 0; g < going.size(); ++g) {
        Held& old = *going[g];
        if (old.consumed || goingByShape[goingShapes[g]] != 1)
            continue;
        std::vector<Held*>& candidates = comingByShape[goingShapes[g]];
        if (candidates.size() != 1 || candidates[0]->consumed)
            continue;
        Held& now = *candidates[0];
        bool stopped = false;
        if (!SameTree(side, old, now, &stopped)) {
            if (stopped)
                return false;
            continue;
        }
        Consume(side.going, old);
        Consume(side.coming, now);
        AddMove(old, now);
    }
    return true;
}

bool MoveFinder::FindFileMoves(Side& side) {
    // Files of one size (and, without a tolerance, one time) go together: a
    // pair is proved only within such a group.
    struct Group {
        std::vector<Held*> going, coming;
    };
    std::map<std::pair<unsigned long long, unsigned long long>, Group> groups;
    auto groupOf = [&](const Held* held) -> Group& {
        const FileEntry& entry = held->item->subject;
        // Exact times group exactly; a tolerance or an hour's shift is looked at pair by pair.
        unsigned long long time =
            times_.twoSecondTolerance || times_.ignoreHourShift
                ? 0
                : (static_cast<unsigned long long>(entry.lastWriteTime.dwHighDateTime) << 32) |
                      entry.lastWriteTime.dwLowDateTime;
        return groups[{entry.Size(), time}];
    };
    for (Held* held : side.going)
        if (!held->consumed && !held->item->isFolder)
            groupOf(held).going.push_back(held);
    for (Held* held : side.coming)
        if (!held->consumed && !held->item->isFolder)
            groupOf(held).coming.push_back(held);
    for (auto& [signature, group] : groups) {
        if (group.going.empty() || group.coming.empty())
            continue;
        std::vector<std::pair<Held*, Held*>> pairs;
        if (group.going.size() == 1 && group.coming.size() == 1) {
            pairs.push_back({group.going[0], group.coming[0]});
        } else {
            // Among several alike, only the one of the same name on both ends.
            std::map<std::string, std::pair<std::vector<Held*>, std::vector<Held*>>> byName;
            for (Held* held : group.going)
                byName[NameKey(held->item->subject.name)].first.push_back(held);
            for (Held* held : group.coming)
                byName[NameKey(held->item->subject.name)].second.push_back(held);
            for (auto& [name, ends] : byName)
                if (ends.first.size() == 1 && ends.second.size() == 1)
                    pairs.push_back({ends.first[0], ends.second[0]});
        }
        for (auto [old, now] : pairs) {
            if (!SameTime(old->item->subject, now->item->subject))
                continue;
            ContentMatch match =
                content_.Compare(old->item->subject.FullPath(), now->item->subject.FullPath(),
                                 old->item->subject.Size(), true, progress_);
            if (match == ContentMatch::Stopped)
                return false;
            if (match == ContentMatch::Same)
                AddMove(*old, *now);
        }
    }
    return true;
}

bool MoveFinder::Finish() {
    std::map<std::string, Side> sides;
    for (auto& held : held_) {
        Side& side = sides[SideOf(*held->item)];
        (IsGoing(*held->item) ? side.going : side.coming).push_back(held.get());
    }
    for (auto& [root, side] : sides) {
        auto byKey = [](const Held* a, const Held* b) { return a->key < b->key; };
        std::sort(side.going.begin(), side.going.end(), byKey);
        std::sort(side.coming.begin(), side.coming.end(), byKey);
        if (side.going.empty() || side.coming.empty())
            continue;
        if (!FindFolderMoves(side) || !FindFileMoves(side))
            return false;
        // A folder whose contents moved out is deleted once they have.
        for (Held* folder : side.going) {
            if (folder->consumed || !folder->item->isFolder)
                continue;
            auto [first, last] = Below(side.going, *folder);
            for (size_t i = first; i < last; ++i)
                if (side.going[i]->consumed)
                    folder->item->reason = MovedOut;
        }
    }
    for (auto& move : moves_)
        rows_.InsertRow(move.release(), INT_MAX);
    for (auto& held : held_)
        if (!held->consumed)
            rows_.InsertRow(held->item.release(), INT_MAX);
    moves_.clear();
    held_.clear();
    return true;
}
