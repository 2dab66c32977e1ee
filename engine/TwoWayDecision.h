#pragma once
// What two-way synchronisation does with one entry, from what each side holds
// now and what both held when they were last left equal. Without that memory a
// file is settled by its time alone, as always; with it, the side that changed
// since then wins, a deletion travels, and an entry changed on both sides is a
// conflict that only the user settles.
#include <windows.h>

#include "engine/FileTimes.h"

// One side's entry now, or the entry both sides held after the last run.
struct EntryState {
    bool present = false;
    bool folder = false;
    unsigned long long size = 0;
    FILETIME lastWriteTime = {0, 0};
};

// What the last run left: present entries only; the times of both sides.
struct RememberedEntry {
    bool present = false;
    bool folder = false;
    unsigned long long size = 0;
    FILETIME processingTime = {0, 0};
    FILETIME referenceTime = {0, 0};
};

enum class TwoWayAction {
    None,
    CopyToReference,
    CopyToProcessing,
    DeleteOnReference,
    DeleteOnProcessing,
    Conflict,
};

// Whether two last-write times count as the same: neither newer than the other.
bool SameTime(const FILETIME& a, const FILETIME& b, TimeRule rule);

// `last` null: no memory of the pair (none kept, or none to trust): a newer file
// wins, a missing entry is copied, and files of one time and different sizes are
// a conflict, since neither side is newer. Otherwise `last` is the entry as the
// pair held it (present false: not held). Changed means another kind, another
// size, or a time outside the tolerance. A folder present on both sides needs
// nothing; whether a folder deleted on one side goes is for the caller to
// settle from its contents.
TwoWayAction DecideTwoWay(const EntryState& processing, const EntryState& reference,
                          const RememberedEntry* last, TimeRule rule);
