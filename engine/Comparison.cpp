#include "engine/Comparison.h"

#include "engine/FileTimes.h"
#include "engine/NameOrder.h"
#include "base/NameText.h"

#include <memory>

namespace {

std::unique_ptr<SyncItem> MakeItem(SyncOperation operation, SyncReason reason,
                                   SyncDirection direction, const ListedEntry& subject) {
    auto item = std::make_unique<SyncItem>();
    item->operation = operation;
    item->reason = reason;
    item->direction = direction;
    item->isFolder = subject.IsFolder() ? 1 : 0;
    item->subject = subject.Owned();
    return item;
}

EntryState StateOf(const ListedEntry* entry) {
    EntryState state;
    if (entry == nullptr)
        return state;
    state.present = true;
    state.folder = entry->IsFolder();
    state.size = entry->Size();
    state.lastWriteTime = entry->lastWriteTime;
    return state;
}

std::string KeyOf(const FolderListing& listing, size_t index) {
    if (listing.HasKeys())
        return std::string(listing.KeyAt(index));
    return NameKey(listing[index].RelativePath());
}

} // namespace

Comparison::Comparison(const JobSettings& job, IProgress& progress, IRowSink& sink)
    : job_(job), times_(TimeRuleOf(job)), progress_(progress), sink_(sink) {}

TimeRule TimeRuleOf(const JobSettings& job) {
    TimeRule rule(job.twoSecondTolerance != 0);
    rule.ignoreHourShift = job.ignoreHourShift != 0;
    return rule;
}

bool Comparison::SameBytes(const ListedEntry& a, const ListedEntry& b) {
    if (job_.compareContent == 0 || a.IsFolder() || b.IsFolder() || a.Size() != b.Size())
        return false;
    // Each pair once a search: the two passes of a two-way run both meet it.
    auto known = contentChecked_.find(a.RelativePath());
    if (known != contentChecked_.end())
        return known->second;
    ContentMatch match = content_.Compare(a.FullPath(), b.FullPath(), a.Size(), true, progress_);
    if (match == ContentMatch::Stopped)
        stopped_ = true;
    return contentChecked_[a.RelativePath()] = match == ContentMatch::Same;
}

void Comparison::Hand(SyncItem* item) {
    // The sink owns the item from here on, also when it refuses the row.
    sink_.InsertRow(item, nextPosition_++);
}

template <class Visit> bool Comparison::EachEntry(const FolderListing& reading, Visit visit) {
    nextPosition_ = 0;
    nextMatch_ = 0;
    for (size_t i = 0; i < reading.Size(); ++i) {
        if (stopped_ || progress_.PollStop())
            return false;
        visit(reading[i], i);
    }
    return !stopped_;
}

int Comparison::Match(const FolderListing& matching, const FolderListing& reading, size_t index) {
    // Both sorted: the reading entry's key is looked up as it is, bytes only.
    int found = reading.HasKeys() && matching.HasKeys()
                    ? matching.FindKey(reading.KeyAt(index), nextMatch_)
                    : matching.FindEntry(reading[index].RelativePath(), nextMatch_);
    if (found >= 0)
        nextMatch_ = static_cast<size_t>(found) + 1;
    return found;
}

bool Comparison::CopyPass(const FolderListing& reading, const FolderListing& matching,
                          SyncDirection direction) {
    return EachEntry(reading, [&](const ListedEntry& entry, size_t index) {
        int found = Match(matching, reading, index);
        if (found < 0) {
            if (!entry.IsFolder() && job_.bothSidesOnly != 0)
                return;
            // Only the root of the changing side: the target keeps the subject's path.
            auto item = MakeItem(entry.IsFolder() ? Create : Copy, Existence, direction, entry);
            item->counterpart.rootFolder = matching.RootFolder();
            Hand(item.release());
            return;
        }
        const ListedEntry other = matching[static_cast<size_t>(found)];
        if (entry.IsFolder() != other.IsFolder()) {
            PlanKindChange(entry, other, matching, direction);
            return;
        }
        // Folders on both sides are never compared, only their names' spelling.
        if (entry.IsFolder()) {
            PlanCaseRename(entry, other, direction);
            return;
        }
        SyncReason reason = Date;
        if (!IsNewer(entry.lastWriteTime, other.lastWriteTime, times_)) {
            // A content change the time does not show: the supplying side wins.
            if (entry.Size() == other.Size() ||
                !SameTime(entry.lastWriteTime, other.lastWriteTime, times_)) {
                PlanCaseRename(entry, other, direction);
                return;
            }
            reason = SizeDiffers;
        } else if (SameBytes(entry, other)) {
            // Only the time changed (a restore, a tool, a clock): nothing to copy.
            PlanCaseRename(entry, other, direction);
            return;
        }
        // The whole counterpart, so the copy overwrites the file under the name it has there.
        auto item = MakeItem(Copy, reason, direction, entry);
        item->counterpart = other.Owned();
        Hand(item.release());
    });
}

void Comparison::PlanCaseRename(const ListedEntry& entry, const ListedEntry& other,
                                SyncDirection direction) {
    // One name to the file systems, another to the user: only the spelling of
    // the entry's own name travels (its folder's spelling is its folder's row),
    // and only its case: a Mac writes its own Unicode form back at every save.
    if (!DifferInCase(entry.name, other.name))
        return;
    auto item = MakeItem(Move, NameCase, direction, entry);
    item->counterpart = other.Owned();
    Hand(item.release());
}

void Comparison::PlanTwoWayCaseRename(const ListedEntry& entry, const ListedEntry& other,
                                      const std::string& key, SyncDirection direction) {
    // The side whose spelling is not the one remembered renamed it; without a
    // memory, or where both did, nothing tells which spelling is meant.
    if (!DifferInCase(entry.name, other.name) || last_ == nullptr || key.empty())
        return;
    std::optional<RememberedRecord> record = last_->FindRecord(key);
    if (!record)
        return;
    const std::wstring remembered = WideFromText(record->relativePath);
    std::wstring rememberedName = remembered.substr(remembered.rfind(L'\\') + 1);
    if (WideFromText(other.name) == rememberedName && WideFromText(entry.name) != rememberedName)
        PlanCaseRename(entry, other, direction);
}

void Comparison::PlanKindChange(const ListedEntry& entry, const ListedEntry& other,
                                const FolderListing& matching, SyncDirection direction) {
    // A folder that became a file takes everything below it on the other side
    // away, which only a job that deletes does.
    if (other.IsFolder() && job_.deleteEnabled == 0)
        return;
    // The other side's entry goes to its net first, then the new one is made
    // where it was (everything below a new folder comes as new entries).
    Hand(MakeItem(Delete, KindChanged, direction, other).release());
    auto item = MakeItem(entry.IsFolder() ? Create : Copy, Existence, direction, entry);
    item->counterpart.rootFolder = matching.RootFolder();
    Hand(item.release());
}

bool Comparison::DeletionPass(const FolderListing& reading, const FolderListing& matching,
                              SyncDirection direction) {
    return EachEntry(reading, [&](const ListedEntry& entry, size_t index) {
        if (Match(matching, reading, index) >= 0)
            return;
        if (!entry.IsFolder() && job_.bothSidesOnly != 0)
            return;
        Hand(MakeItem(Delete, Existence, direction, entry).release());
    });
}

std::optional<RememberedEntry> Comparison::LastOf(std::string_view key) const {
    if (last_ == nullptr)
        return std::nullopt;
    std::optional<RememberedEntry> found = last_->Find(key);
    return found ? *found : RememberedEntry();
}

TwoWayAction Comparison::Decide(const ListedEntry* processing, const ListedEntry* reference,
                                const std::optional<RememberedEntry>& last) const {
    return DecideTwoWay(StateOf(processing), StateOf(reference), last ? &*last : nullptr, times_);
}

bool Comparison::AllBelowGo(const FolderListing& reading, size_t folderIndex,
                            bool readingIsProcessing) {
    // Sorted by key, everything below the folder is one run of entries, after
    // names that only begin like the folder's ("a.txt" before "a\\x").
    std::string below = KeyOf(reading, folderIndex) + NameKey("\\");
    TwoWayAction goes =
        readingIsProcessing ? TwoWayAction::DeleteOnProcessing : TwoWayAction::DeleteOnReference;
    size_t low = folderIndex + 1, high = reading.Size();
    while (low < high) {
        size_t middle = low + (high - low) / 2;
        if (KeyOf(reading, middle) < below)
            low = middle + 1;
        else
            high = middle;
    }
    for (size_t i = low; i < reading.Size(); ++i) {
        std::string key = KeyOf(reading, i);
        if (key.compare(0, below.size(), below) != 0)
            break;
        const ListedEntry entry = reading[i];
        // The other side has no such folder, so nothing below it either.
        TwoWayAction action = readingIsProcessing ? Decide(&entry, nullptr, LastOf(key))
                                                  : Decide(nullptr, &entry, LastOf(key));
        if (action != goes || (!entry.IsFolder() && job_.bothSidesOnly != 0))
            return false;
    }
    return true;
}

void Comparison::PlanTwoWay(const FolderListing& reading, const FolderListing& matching,
                            size_t index, int found, SyncDirection direction) {
    const ListedEntry entry = reading[index];
    ListedEntry otherEntry;
    if (found >= 0)
        otherEntry = matching[static_cast<size_t>(found)];
    const ListedEntry* other = found >= 0 ? &otherEntry : nullptr;
    const bool readingIsProcessing = direction == ProcessingToReference;
    // Keys only for a memory: a run without one plans as fast as ever.
    const bool remembers = last_ != nullptr || next_ != nullptr;
    const std::string key = remembers ? KeyOf(reading, index) : std::string();
    const std::optional<RememberedEntry> last = LastOf(key);
    const ListedEntry* processing = readingIsProcessing ? &entry : other;
    const ListedEntry* reference = readingIsProcessing ? other : &entry;
    // Two files of one size whose times differ may hold the same bytes: then
    // they are equal, whatever the times say.
    const bool sameBytes = other != nullptr &&
                           !SameTime(entry.lastWriteTime, other->lastWriteTime, times_) &&
                           SameBytes(entry, *other);
    // What the pair holds unless a row changes it: found equal now, or as last time.
    if (next_ != nullptr && readingIsProcessing && other != nullptr &&
        entry.IsFolder() == other->IsFolder() &&
        (entry.IsFolder() ||
         (entry.Size() == other->Size() &&
          (sameBytes || SameTime(entry.lastWriteTime, other->lastWriteTime, times_))))) {
        RememberedEntry now;
        now.present = true;
        now.folder = entry.IsFolder();
        now.size = entry.Size();
        now.processingTime = entry.lastWriteTime;
        now.referenceTime = other->lastWriteTime;
        next_->Put(key, entry.RelativePath(), now);
    } else if (next_ != nullptr && last && last->present && (readingIsProcessing || !other)) {
        // A path on both sides is the processing side's pass to put: each
        // path once, and each pass in key order.
        next_->Put(key, entry.RelativePath(), *last);
    }

    if (sameBytes || stopped_)
        return;
    const TwoWayAction copiesFromReading =
        readingIsProcessing ? TwoWayAction::CopyToReference : TwoWayAction::CopyToProcessing;
    if (other != nullptr && entry.IsFolder() != other->IsFolder()) {
        // Which side made a file of a folder, or the reverse, only the memory
        // tells: that side wins; both, or no memory, leave it to the user.
        TwoWayAction action = last ? Decide(processing, reference, last) : TwoWayAction::Conflict;
        if (action == copiesFromReading) {
            PlanKindChange(entry, *other, matching, direction);
        } else if (action == TwoWayAction::Conflict && readingIsProcessing) {
            auto item = MakeItem(Conflict, KindChanged, direction, entry);
            item->counterpart = other->Owned();
            Hand(item.release());
        }
        return;
    }
    if (other != nullptr && entry.IsFolder()) {
        PlanTwoWayCaseRename(entry, *other, key, direction);
        return;
    }
    if (other == nullptr && !entry.IsFolder() && job_.bothSidesOnly != 0)
        return;
    TwoWayAction action = Decide(processing, reference, last);
    if (action == TwoWayAction::None && other != nullptr)
        PlanTwoWayCaseRename(entry, *other, key, direction);
    const TwoWayAction deletesReading =
        readingIsProcessing ? TwoWayAction::DeleteOnProcessing : TwoWayAction::DeleteOnReference;
    if (action == deletesReading && entry.IsFolder() &&
        !AllBelowGo(reading, index, readingIsProcessing))
        action = copiesFromReading; // something below it changed there: the folder stays
    if (action == copiesFromReading) {
        if (other == nullptr) {
            auto item = MakeItem(entry.IsFolder() ? Create : Copy, Existence, direction, entry);
            item->counterpart.rootFolder = matching.RootFolder();
            Hand(item.release());
        } else {
            auto item = MakeItem(Copy, Date, direction, entry);
            item->counterpart = other->Owned();
            Hand(item.release());
        }
    } else if (action == deletesReading) {
        if (job_.deleteEnabled == 0)
            return;
        // The update flows towards the reading side, where the entry goes.
        SyncDirection towards = readingIsProcessing ? ReferenceToProcessing : ProcessingToReference;
        auto item = MakeItem(Delete, Deleted, towards, entry);
        item->counterpart.rootFolder = matching.RootFolder();
        Hand(item.release());
    } else if (action == TwoWayAction::Conflict && (readingIsProcessing || other == nullptr)) {
        // One row per path: the processing side's pass has it when both hold it.
        bool bothChanged = other != nullptr;
        auto item = MakeItem(Conflict, bothChanged ? Date : Deleted, direction, entry);
        if (other != nullptr)
            item->counterpart = other->Owned();
        else
            item->counterpart.rootFolder = matching.RootFolder();
        Hand(item.release());
    }
}

bool Comparison::TwoWayPass(const FolderListing& reading, const FolderListing& matching,
                            SyncDirection direction) {
    return EachEntry(reading, [&](const ListedEntry&, size_t index) {
        PlanTwoWay(reading, matching, index, Match(matching, reading, index), direction);
    });
}

bool Comparison::RunPasses(const FolderListing& processing, const FolderListing& reference) {
    bool deletions = job_.deleteEnabled != 0;
    switch (job_.mode) {
    case Bidirectional:
        return TwoWayPass(reference, processing, ReferenceToProcessing) &&
               TwoWayPass(processing, reference, ProcessingToReference);
    case UpdateProcessing:
        return CopyPass(reference, processing, ReferenceToProcessing) &&
               (!deletions || DeletionPass(processing, reference, ReferenceToProcessing));
    case UpdateReference:
        return CopyPass(processing, reference, ProcessingToReference) &&
               (!deletions || DeletionPass(reference, processing, ProcessingToReference));
    }
    return true;
}
