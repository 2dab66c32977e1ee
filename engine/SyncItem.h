#pragma once
// File entries found on one side of a job, and the planned actions built from them.
#include "engine/FoundRecord.h"

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

struct FileEntry {
    std::string rootFolder;     // the side's root, without trailing backslash
    std::string relativeFolder; // begins and ends with a backslash
    std::string name;
    DWORD attributes = 0;
    FILETIME lastWriteTime = {0, 0};
    DWORD sizeHigh = 0;
    DWORD sizeLow = 0;

    FileEntry() = default;
    FileEntry(const std::string& root, const std::string& relFolder, const FoundRecord& found);

    bool IsFolder() const { return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
    unsigned long long Size() const {
        return (static_cast<unsigned long long>(sizeHigh) << 32) | sizeLow;
    }
    std::string RelativePath() const { return relativeFolder + name; }
    std::string FullPath() const { return rootFolder + RelativePath(); }
};

// A conflict is never carried out: the user settles it for one side first. A
// move renames an entry on the side being updated, from the counterpart's path
// to the subject's, instead of deleting it there and copying it again.
enum SyncOperation : int { Copy = 0, Create = 1, Delete = 2, Conflict = 3, Move = 4 };
// SizeDiffers: the sizes differ while the times do not. Deleted: a deletion made on
// the other side since the last run (or, for a conflict, one side deleted it
// and the other changed it). The rest are the rows of an undo of a run: Undo
// puts an entry back as it was before the run (a copy from the versions folder
// over the run's version or into its empty place, the removal of what the run
// made, a folder made again); the others are conflicts that are never carried
// out: the entry changed since the run (UndoChanged), its old version is in the
// Recycle Bin and comes back only by hand (UndoFromBin), or was not kept
// (UndoLost).
enum SyncReason : int {
    Date = 0,
    Existence = 1,
    SizeDiffers = 2,
    Deleted = 3,
    Undo = 4,
    UndoChanged = 5,
    UndoFromBin = 6,
    UndoLost = 7,
    // A move proved by size, time and content (SameContent) or a rename that
    // changes only the case (NameCase); the old entry of a change of kind (a
    // file that became a folder, or the reverse: KindChanged); a folder whose
    // contents moved out, deleted after the moves (MovedOut).
    SameContent = 8,
    NameCase = 9,
    KindChanged = 10,
    MovedOut = 11,
};
enum SyncDirection : int { ProcessingToReference = 0, ReferenceToProcessing = 1 };

// Counts the live objects of a type, so tests can show that every owner frees
// what it owns.
template <class T> class InstanceCounter {
public:
    InstanceCounter() { ++count_; }
    InstanceCounter(const InstanceCounter&) { ++count_; }
    InstanceCounter& operator=(const InstanceCounter&) = default;
    ~InstanceCounter() { --count_; }
    static int Count() { return count_; }

private:
    static inline int count_ = 0;
};

// For a conflict the direction says which side the subject is on
// (ProcessingToReference: the processing side); the counterpart is the other
// side's entry, or only its root when that side has none.
struct SyncItem {
    int operation = Copy;
    int reason = Date;
    int direction = ReferenceToProcessing;
    int isFolder = 0;
    FileEntry subject;
    FileEntry counterpart;

    // Whether the copy overwrites the counterpart (a newer or different file, or
    // the run's version that an undo puts the old one back over).
    bool Replaces() const {
        return operation == Copy && (reason == Date || reason == SizeDiffers ||
                                     (reason == Undo && !counterpart.name.empty()));
    }
    // A row of an undo of a run.
    bool UndoesARun() const { return reason >= Undo && reason <= UndoLost; }
    // A move: from the counterpart's path to the subject's, on the counterpart's side.
    std::string MoveSourcePath() const { return counterpart.FullPath(); }
    // Copy source, or the entry to delete.
    std::string SourcePath() const { return subject.FullPath(); }
    // Copy target, or the folder to create: a replacing copy overwrites the
    // counterpart under its own name; otherwise the subject's path on the other side.
    std::string DestinationPath() const {
        if (Replaces())
            return counterpart.FullPath();
        return counterpart.rootFolder + subject.RelativePath();
    }

    static int LiveCount() { return InstanceCounter<SyncItem>::Count(); }

private:
    InstanceCounter<SyncItem> live_;
};
