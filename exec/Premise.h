#pragma once
// Whether a row may still be carried out: what it reads, overwrites or deletes
// must still be what the search saw, so that a file changed or created after the
// search is never overwritten or deleted by an older version.
#include <windows.h>

#include <string>

#include "engine/FileTimes.h"

struct FileEntry;
struct SyncItem;

// What is at a path now.
struct PathState {
    bool exists = false;
    bool unknown = false; // the path could not be looked at (not merely missing)
    bool folder = false;
    FILETIME lastWriteTime = {0, 0};
    unsigned long long size = 0;
};

PathState StateOf(const std::string& path);

// Existence and kind; for a file also the last-write time and size the search
// saw. A folder's time is not compared: deleting or copying its files changes it.
bool StillAsSeen(const PathState& now, const FileEntry& seen);

// Nothing at the path (and nothing that could not be looked at).
inline bool IsFree(const PathState& now) {
    return !now.exists && !now.unknown;
}

// The target already holds the source's version: both files, the same size, and
// the same last-write time (within the two-second tolerance when the job has it).
bool HoldsSameVersion(const PathState& target, const PathState& source, TimeRule rule);
