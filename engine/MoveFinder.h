#pragma once
// Moves and renames among a search's planned rows. An entry that goes from the
// side being updated (a deletion) and one that comes to it (a new file, a new
// folder) that are provably one and the same become one row: a rename on that
// side, with nothing copied and nothing put in the net.
//
// What proves it, on one side at a time:
// - a folder moved whole when everything below it came along: the same names
//   below it, kinds, sizes and times (within the job's tolerance), nothing more
//   and nothing less, and each file's first, middle and last 64 KiB equal; one
//   such folder on each side of the pair, none other like it;
// - a file: the same size and time, no other file of that size and time among
//   the ones going or coming (or, among several, the only one of its name),
//   and every byte equal.
// Two different files never become one: anything less is left as the deletion
// and the copy it was. The deletion of a folder whose contents moved out is
// put after the moves.
#include <memory>
#include <vector>

#include "engine/ContentCheck.h"
#include "engine/EngineCallbacks.h"
#include "engine/FileTimes.h"
#include "engine/SyncItem.h"

class MoveFinder : public IRowSink {
public:
    MoveFinder(IRowSink& rows, TimeRule times, IProgress& progress);
    ~MoveFinder() override;
    MoveFinder(const MoveFinder&) = delete;
    MoveFinder& operator=(const MoveFinder&) = delete;

    // Holds the deletions and the new entries; hands every other row on.
    int InsertRow(SyncItem* item, int position) override;

    // Pairs what it holds into moves and hands every row on. False when a stop
    // was polled; the rows held are then dropped.
    bool Finish();

private:
    struct Held {
        std::unique_ptr<SyncItem> item;
        std::string key; // the relative path's name key
        bool consumed = false;
    };
    // The rows of one side being updated, going and coming, sorted by key.
    struct Side {
        std::vector<Held*> going;
        std::vector<Held*> coming;
    };

    bool FindFolderMoves(Side& side);
    bool FindFileMoves(Side& side);
    // Whether the entries below `going` and below `coming` are the same.
    bool SameTree(const Side& side, const Held& going, const Held& coming, bool* stopped);
    // The entries below a folder's row in a sorted list, as [first, last).
    std::pair<size_t, size_t> Below(const std::vector<Held*>& list, const Held& folder) const;
    void Consume(std::vector<Held*>& list, const Held& folder);
    void AddMove(Held& going, Held& coming);
    bool SameTime(const FileEntry& a, const FileEntry& b) const;

    IRowSink& rows_;
    TimeRule times_;
    IProgress& progress_;
    ContentComparer content_;
    std::vector<std::unique_ptr<Held>> held_;
    std::vector<std::unique_ptr<SyncItem>> moves_;
};
