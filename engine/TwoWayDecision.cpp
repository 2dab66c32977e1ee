#include "engine/TwoWayDecision.h"

#include "engine/FileTimes.h"

namespace {

bool SameContent(const EntryState& a, const EntryState& b, TimeRule tolerance) {
    if (a.folder != b.folder)
        return false;
    return a.folder || (a.size == b.size && SameTime(a.lastWriteTime, b.lastWriteTime, tolerance));
}

bool ChangedSince(const EntryState& now, const RememberedEntry& last, const FILETIME& lastTime,
                  TimeRule tolerance) {
    if (now.folder != last.folder)
        return true;
    return !now.folder &&
           (now.size != last.size || !SameTime(now.lastWriteTime, lastTime, tolerance));
}

TwoWayAction WithoutMemory(const EntryState& processing, const EntryState& reference,
                           TimeRule tolerance) {
    if (!reference.present)
        return TwoWayAction::CopyToReference;
    if (!processing.present)
        return TwoWayAction::CopyToProcessing;
    if (processing.folder || reference.folder)
        return TwoWayAction::None; // a folder is never compared
    if (IsNewer(processing.lastWriteTime, reference.lastWriteTime, tolerance))
        return TwoWayAction::CopyToReference;
    if (IsNewer(reference.lastWriteTime, processing.lastWriteTime, tolerance))
        return TwoWayAction::CopyToProcessing;
    return processing.size != reference.size ? TwoWayAction::Conflict : TwoWayAction::None;
}

} // namespace

bool SameTime(const FILETIME& a, const FILETIME& b, TimeRule rule) {
    return !IsNewer(a, b, rule) && !IsNewer(b, a, rule);
}

TwoWayAction DecideTwoWay(const EntryState& processing, const EntryState& reference,
                          const RememberedEntry* last, TimeRule tolerance) {
    if (!processing.present && !reference.present)
        return TwoWayAction::None;
    if (last == nullptr)
        return WithoutMemory(processing, reference, tolerance);
    if (processing.present && reference.present && SameContent(processing, reference, tolerance))
        return TwoWayAction::None;
    if (!last->present) {
        // New since the last run: on one side it is copied; on both, different, nobody knows.
        if (processing.present && reference.present)
            return TwoWayAction::Conflict;
        return processing.present ? TwoWayAction::CopyToReference : TwoWayAction::CopyToProcessing;
    }
    bool processingChanged =
        !processing.present || ChangedSince(processing, *last, last->processingTime, tolerance);
    bool referenceChanged =
        !reference.present || ChangedSince(reference, *last, last->referenceTime, tolerance);
    if (!processing.present)
        return referenceChanged ? TwoWayAction::Conflict : TwoWayAction::DeleteOnReference;
    if (!reference.present)
        return processingChanged ? TwoWayAction::Conflict : TwoWayAction::DeleteOnProcessing;
    if (processingChanged && referenceChanged)
        return TwoWayAction::Conflict;
    if (processingChanged)
        return TwoWayAction::CopyToReference;
    if (referenceChanged)
        return TwoWayAction::CopyToProcessing;
    // Neither changed beyond the tolerance, yet they differ: the time decides.
    return WithoutMemory(processing, reference, tolerance);
}
