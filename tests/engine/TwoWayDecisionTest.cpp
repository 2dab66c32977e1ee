// Every row of the two-way table, with memory and without it: a side that
// changed since the last run wins, a deletion travels only from a side that
// changed nothing else, and whatever both sides changed is a conflict.
#include <gtest/gtest.h>

#include "TestFiles.h"
#include "engine/TwoWayDecision.h"

namespace {

const FILETIME kThen = UtcFileTime(2024, 5, 1, 12, 0, 0);
const FILETIME kLater = UtcFileTime(2024, 5, 2, 12, 0, 0);
const FILETIME kEarlier = UtcFileTime(2023, 1, 1, 12, 0, 0);
const FILETIME kOneSecondOn = UtcFileTime(2024, 5, 1, 12, 0, 1);

EntryState File(unsigned long long size, FILETIME time) {
    return {true, false, size, time};
}
const EntryState kNone;
const EntryState kFolder = {true, true, 0, kEarlier};

} // namespace

TEST(TwoWayDecision, EveryRowOfTheTableWithAndWithoutMemory) {
    using A = TwoWayAction;
    const RememberedEntry held = {true, false, 10, kThen, kThen};
    const RememberedEntry notHeld;
    const RememberedEntry heldFolder = {true, true, 0, kThen, kThen};
    const EntryState same = File(10, kThen);
    struct Case {
        const char* what;
        EntryState processing, reference;
        const RememberedEntry* last; // null: no memory
        bool tolerance;
        TwoWayAction expected;
    } cases[] = {
        {"both as last time", same, same, &held, false, A::None},
        {"processing changed", File(11, kLater), same, &held, false, A::CopyToReference},
        {"a restored older file is a change", File(10, kEarlier), same, &held, false,
         A::CopyToReference},
        {"reference changed", same, File(10, kLater), &held, false, A::CopyToProcessing},
        {"same time, other size on one side", same, File(12, kThen), &held, false,
         A::CopyToProcessing},
        {"deleted on processing", kNone, same, &held, false, A::DeleteOnReference},
        {"deleted on reference", same, kNone, &held, false, A::DeleteOnProcessing},
        {"changed on both", File(11, kLater), File(12, kLater), &held, false, A::Conflict},
        {"changed on both the same way", File(11, kLater), File(11, kLater), &held, false, A::None},
        {"new on both, different", File(1, kThen), File(2, kThen), &notHeld, false, A::Conflict},
        {"new on both, equal", same, same, &notHeld, false, A::None},
        {"deleted on processing, changed on reference", kNone, File(11, kLater), &held, false,
         A::Conflict},
        {"changed on processing, deleted on reference", File(10, kLater), kNone, &held, false,
         A::Conflict},
        {"new on processing", same, kNone, &notHeld, false, A::CopyToReference},
        {"new on reference", kNone, same, &notHeld, false, A::CopyToProcessing},
        {"gone from both", kNone, kNone, &held, false, A::None},
        {"a second within the tolerance is no change", same, File(10, kOneSecondOn), &held, true,
         A::None},
        {"a second without the tolerance is a change", same, File(10, kOneSecondOn), &held, false,
         A::CopyToProcessing},
        {"a file now where a folder was", File(10, kThen), kNone, &heldFolder, false, A::Conflict},
        {"a folder deleted on reference", kFolder, kNone, &heldFolder, false,
         A::DeleteOnProcessing},
        {"a new folder", kNone, kFolder, &notHeld, false, A::CopyToProcessing},
        {"folders on both", kFolder, kFolder, &notHeld, false, A::None},
        // No memory: the time decides, a missing entry is copied, nothing is deleted.
        {"no memory: processing newer", File(1, kLater), File(2, kThen), nullptr, false,
         A::CopyToReference},
        {"no memory: reference newer", File(1, kThen), File(2, kLater), nullptr, false,
         A::CopyToProcessing},
        {"no memory: an older file is not copied back", File(10, kEarlier), same, nullptr, false,
         A::CopyToProcessing},
        {"no memory: missing on reference", same, kNone, nullptr, false, A::CopyToReference},
        {"no memory: missing on processing", kNone, same, nullptr, false, A::CopyToProcessing},
        {"no memory: same time, other size", same, File(11, kThen), nullptr, false, A::Conflict},
        {"no memory: equal", same, same, nullptr, false, A::None},
        {"no memory: folders", kFolder, kFolder, nullptr, false, A::None},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, DecideTwoWay(c.processing, c.reference, c.last, c.tolerance))
            << c.what;
}
