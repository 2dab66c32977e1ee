#include "engine/FileTimes.h"

namespace {

// Days from 1970-01-01 to a date of the proleptic Gregorian calendar.
long long DaysFromCivil(long long year, unsigned month, unsigned day) {
    year -= month <= 2 ? 1 : 0;
    long long era = (year >= 0 ? year : year - 399) / 400;
    long long yearOfEra = year - era * 400;
    unsigned shiftedMonth = month > 2 ? month - 3 : month + 9;
    long long dayOfYear = (153 * shiftedMonth + 2) / 5 + day - 1;
    long long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

} // namespace

bool ToLocalWholeSeconds(const FILETIME& time, long long* seconds) {
    FILETIME local;
    SYSTEMTIME fields;
    if (!FileTimeToLocalFileTime(&time, &local) || !FileTimeToSystemTime(&local, &fields))
        return false;
    if (fields.wYear < 1970 || fields.wYear > 3000)
        return false;
    // Counted as if the local fields were UTC: the zone's offset, daylight bias
    // included, is the same for both times of a comparison and cancels out.
    long long days = DaysFromCivil(fields.wYear, fields.wMonth, fields.wDay);
    *seconds = ((days * 24 + fields.wHour) * 60 + fields.wMinute) * 60 + fields.wSecond;
    return true;
}

namespace {

bool IsNewerBy(const FILETIME& candidate, const FILETIME& other, bool twoSecondTolerance) {
    if (twoSecondTolerance) {
        long long candidateSeconds = 0;
        long long otherSeconds = 0;
        if (ToLocalWholeSeconds(candidate, &candidateSeconds) &&
            ToLocalWholeSeconds(other, &otherSeconds))
            return candidateSeconds - otherSeconds >= 3;
    }
    return CompareFileTime(&candidate, &other) == 1;
}

FILETIME HourEarlier(const FILETIME& time) {
    ULARGE_INTEGER ticks = {{time.dwLowDateTime, time.dwHighDateTime}};
    ticks.QuadPart -= 36000000000ull;
    return {ticks.LowPart, ticks.HighPart};
}

} // namespace

bool IsNewer(const FILETIME& candidate, const FILETIME& other, TimeRule rule) {
    if (!IsNewerBy(candidate, other, rule.twoSecondTolerance))
        return false;
    // An hour later, give or take the tolerance, is the same time an hour on.
    if (rule.ignoreHourShift) {
        FILETIME shifted = HourEarlier(candidate);
        if (!IsNewerBy(shifted, other, rule.twoSecondTolerance) &&
            !IsNewerBy(other, shifted, rule.twoSecondTolerance))
            return false;
    }
    return true;
}
