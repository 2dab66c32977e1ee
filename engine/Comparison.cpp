#include "engine/Comparison.h"

#include "engine/FileTimes.h"

#include <memory>

namespace {

std::unique_ptr<SyncItem> MakeItem(SyncOperation operation, SyncReason reason,
                                   SyncDirection direction, const FileEntry& subject) {
    auto item = std::make_unique<SyncItem>();
    item->operation = operation;
    item->reason = reason;
    item->direction = direction;
    item->isFolder = subject.IsFolder() ? 1 : 0;
    item->subject = subject;
    return item;
}

} // namespace

Comparison::Comparison(const JobSettings& job, IProgress& progress, IRowSink& sink)
    : job_(job), progress_(progress), sink_(sink) {}

void Comparison::Hand(SyncItem* item) {
    // The sink owns the item from here on, also when it refuses the row.
    sink_.InsertRow(item, nextPosition_++);
}

template <class Visit> bool Comparison::EachEntry(const FolderListing& reading, Visit visit) {
    nextPosition_ = 0;
    nextMatch_ = 0;
    for (size_t i = 0; i < reading.Size(); ++i) {
        if (progress_.PollStop())
            return false;
        visit(reading[i], i);
    }
    return true;
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
    return EachEntry(reading, [&](const FileEntry& entry, size_t index) {
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
        // Folders on both sides are never compared; a file is compared with
        // whatever has its path on the other side, folder or not.
        if (entry.IsFolder())
            return;
        const FileEntry& other = matching[static_cast<size_t>(found)];
        if (!IsNewer(entry.lastWriteTime, other.lastWriteTime, job_.twoSecondTolerance != 0))
            return;
        // The whole counterpart, so the copy overwrites the file under the name it has there.
        auto item = MakeItem(Copy, Date, direction, entry);
        item->counterpart = other;
        Hand(item.release());
    });
}

bool Comparison::DeletionPass(const FolderListing& reading, const FolderListing& matching,
                              SyncDirection direction) {
    return EachEntry(reading, [&](const FileEntry& entry, size_t index) {
        if (Match(matching, reading, index) >= 0)
            return;
        if (!entry.IsFolder() && job_.bothSidesOnly != 0)
            return;
        Hand(MakeItem(Delete, Existence, direction, entry).release());
    });
}

bool Comparison::RunPasses(const FolderListing& processing, const FolderListing& reference) {
    bool deletions = job_.deleteEnabled != 0;
    switch (job_.mode) {
    case Bidirectional:
        return CopyPass(reference, processing, ReferenceToProcessing) &&
               CopyPass(processing, reference, ProcessingToReference);
    case UpdateProcessing:
        return CopyPass(reference, processing, ReferenceToProcessing) &&
               (!deletions || DeletionPass(processing, reference, ReferenceToProcessing));
    case UpdateReference:
        return CopyPass(processing, reference, ProcessingToReference) &&
               (!deletions || DeletionPass(reference, processing, ProcessingToReference));
    }
    return true;
}
