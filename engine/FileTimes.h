#pragma once
// Whether one last-write time counts as newer than another.
#include <windows.h>

// Whole seconds since 1970 of the time's local calendar fields (milliseconds
// dropped). False for a local time outside the years 1970 to 3000.
bool ToLocalWholeSeconds(const FILETIME& time, long long* seconds);

// How two last-write times are compared.
struct TimeRule {
    // A rule from the two-second switch alone.
    TimeRule(bool twoSeconds = false) : twoSecondTolerance(twoSeconds) {}
    bool twoSecondTolerance = false;
    // Times exactly one hour apart (within the tolerance) are the same: a FAT
    // volume keeps local times, which shift by an hour at a daylight-saving change.
    bool ignoreHourShift = false;
};

// Exact: later by at least one 100-nanosecond unit. With the two-second
// tolerance: at least 3 whole seconds later, so FAT's two-second rounding and
// copies between file systems do not count as changes. A time the seconds
// conversion cannot take falls back to the exact comparison for that pair.
// With the hour shift ignored, one hour later (exactly, or within the
// tolerance) is not newer.
bool IsNewer(const FILETIME& candidate, const FILETIME& other, TimeRule rule);
