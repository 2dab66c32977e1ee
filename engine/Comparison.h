#pragma once
// Turns the two sorted listings of a job into planned actions, one pass at a
// time, handing every item to the row sink as soon as it is made.
#include "engine/EngineCallbacks.h"
#include "engine/FolderListing.h"
#include "engine/SyncItem.h"
#include "job/JobSettings.h"

class Comparison {
public:
    // Reads mode, deleteEnabled, bothSidesOnly and twoSecondTolerance of the job.
    Comparison(const JobSettings& job, IProgress& progress, IRowSink& sink);

    // Plans copies of files that are newer or missing in `matching` and
    // creations of folders missing there. False when a stop was polled.
    bool CopyPass(const FolderListing& reading, const FolderListing& matching,
                  SyncDirection direction);

    // Plans deletions of the entries of `reading` (the side that changes) that
    // `matching` does not have. False when a stop was polled.
    bool DeletionPass(const FolderListing& reading, const FolderListing& matching,
                      SyncDirection direction);

    // The passes of the job's mode in their order; a mode outside 0 to 2 runs
    // none. Deletions are planned only in modes 1 and 2 with deleteEnabled.
    // False as soon as a pass is stopped.
    bool RunPasses(const FolderListing& processing, const FolderListing& reference);

private:
    void Hand(SyncItem* item);
    // Visits the entries (with their index) in order, polling for a stop before
    // each; false on a stop.
    template <class Visit> bool EachEntry(const FolderListing& reading, Visit visit);
    // The entry of `matching` with the path of reading's entry `index`, or -1.
    // The pass reads in sorted order, so the entry after the last match is tried first.
    int Match(const FolderListing& matching, const FolderListing& reading, size_t index);

    const JobSettings& job_;
    IProgress& progress_;
    IRowSink& sink_;
    int nextPosition_ = 0;
    size_t nextMatch_ = 0;
};
