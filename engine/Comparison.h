#pragma once
// Turns the two sorted listings of a job into planned actions, one pass at a
// time, handing every item to the row sink as soon as it is made.
#include "engine/ContentCheck.h"
#include "engine/EngineCallbacks.h"
#include "engine/FileTimes.h"
#include "engine/FolderListing.h"
#include "engine/PairMemory.h"
#include "engine/SyncItem.h"
#include "job/JobSettings.h"

#include <map>
#include <optional>
#include <string>

// The job's rule for comparing times.
TimeRule TimeRuleOf(const JobSettings& job);

class Comparison {
public:
    // Reads mode, deleteEnabled, bothSidesOnly and twoSecondTolerance of the job.
    Comparison(const JobSettings& job, IProgress& progress, IRowSink& sink);

    // Two-way runs with memory: `last` is what the pair held after the last
    // run (null: nothing to trust, today's rules); `next` receives what the
    // pair will hold if no planned row is carried out: the entries found equal,
    // and last's entry of every other path it had. Both may be null.
    void UseMemory(const PairMemory* last, PairMemory* next) {
        last_ = last;
        next_ = next;
    }

    // Plans copies of files that are newer or missing in `matching` and
    // creations of folders missing there. False when a stop was polled.
    bool CopyPass(const FolderListing& reading, const FolderListing& matching,
                  SyncDirection direction);

    // Plans deletions of the entries of `reading` (the side that changes) that
    // `matching` does not have. False when a stop was polled.
    bool DeletionPass(const FolderListing& reading, const FolderListing& matching,
                      SyncDirection direction);

    // The two-way pass over `reading`: plans the copies from it, the deletions
    // on its side and, where `reading` is the processing side or the only
    // side with the entry, the conflicts (engine/TwoWayDecision.h).
    bool TwoWayPass(const FolderListing& reading, const FolderListing& matching,
                    SyncDirection direction);

    // The passes of the job's mode in their order; a mode outside 0 to 2 runs
    // none. Deletions are planned in modes 1 and 2 with deleteEnabled, and in
    // mode 0 from the memory with deleteEnabled.
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

    // The entry's action, both sides given in processing, reference order.
    // `last`: nothing without a memory; an entry not present when the memory
    // does not hold the path.
    TwoWayAction Decide(const ListedEntry* processing, const ListedEntry* reference,
                        const std::optional<RememberedEntry>& last) const;
    // A folder on the reading side only goes when everything below it goes too.
    bool AllBelowGo(const FolderListing& reading, size_t folderIndex, bool readingIsProcessing);
    std::optional<RememberedEntry> LastOf(std::string_view key) const;
    // A name whose spelling differs on the other side, in case only: renamed there.
    void PlanCaseRename(const ListedEntry& entry, const ListedEntry& other,
                        SyncDirection direction);
    // The same in a two-way run, from the side that renamed since the last run.
    void PlanTwoWayCaseRename(const ListedEntry& entry, const ListedEntry& other,
                              const std::string& key, SyncDirection direction);
    // A file that became a folder, or the reverse: the other side's entry goes,
    // the new one is made.
    void PlanKindChange(const ListedEntry& entry, const ListedEntry& other,
                        const FolderListing& matching, SyncDirection direction);
    void PlanTwoWay(const FolderListing& reading, const FolderListing& matching, size_t index,
                    int found, SyncDirection direction);

    // With the job's comparison by content, whether two files of one size hold
    // the same bytes (read once a search); a stop while reading stops the pass.
    bool SameBytes(const ListedEntry& a, const ListedEntry& b);

    const JobSettings& job_;
    TimeRule times_;
    bool stopped_ = false;
    std::map<std::string, bool> contentChecked_; // by relative path
    ContentComparer content_;
    const PairMemory* last_ = nullptr;
    PairMemory* next_ = nullptr;
    IProgress& progress_;
    IRowSink& sink_;
    int nextPosition_ = 0;
    size_t nextMatch_ = 0;
};
