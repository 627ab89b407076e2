// Packing and unpacking of the DateStamp, and the calendar arithmetic that
// goes with it (month lengths, leap years).
#include "engine/date_stamp.h"

static const uint32_t StampOffset = 46982144u;
static const uint32_t SecondsPerDay = 86400u;
static const uint32_t MonthDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

// Years searched for candidates; wide enough to hold two wraps on either side
// of the range we prefer.
static const int32_t EarliestYear = 1700;
static const int32_t LatestYear = 2400;
static const int32_t PreferredFirst = 1990;
static const int32_t PreferredLast = 2100;

uint32_t EncodeDateStamp(int32_t year, uint32_t dayOfYear, uint32_t hour, uint32_t minute, uint32_t second) {
    uint32_t value = static_cast<uint32_t>(year) * 366u + dayOfYear;
    value = value * 24u + hour;
    value = value * 60u + minute;
    value = value * 60u + second;
    return value + StampOffset;
}

bool IsLeapYear(int32_t year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

static uint32_t MonthLength(int32_t year, uint32_t month) {
    return month == 2 && IsLeapYear(year) ? 29u : MonthDays[month - 1];
}

void MonthAndDay(int32_t year, uint32_t dayOfYear, uint32_t* month, uint32_t* day) {
    uint32_t m = 1;
    uint32_t d = dayOfYear;
    while (m < 12 && d > MonthLength(year, m)) {
        d -= MonthLength(year, m);
        ++m;
    }
    *month = m;
    *day = d;
}

uint32_t DayOfYear(int32_t year, uint32_t month, uint32_t day) {
    uint32_t total = day;
    for (uint32_t m = 1; m < month && m <= 12; ++m) total += MonthLength(year, m);
    return total;
}

static int32_t DistanceToPreferred(int32_t year) {
    if (year < PreferredFirst) return PreferredFirst - year;
    if (year > PreferredLast) return year - PreferredLast;
    return 0;
}

int DecodeDateStamp(uint32_t stamp, CalendarTime* out) {
    const uint32_t value = stamp - StampOffset;
    const uint32_t yearSeconds = 366u * SecondsPerDay;
    bool found = false;
    CalendarTime best{};
    for (int32_t year = EarliestYear; year <= LatestYear; ++year) {
        // What is left after the year's share, in wrapping arithmetic.
        uint32_t rest = value - static_cast<uint32_t>(year) * yearSeconds;
        uint32_t dayOfYear = rest / SecondsPerDay;
        if (dayOfYear < 1 || dayOfYear > (IsLeapYear(year) ? 366u : 365u)) continue;
        if (found && DistanceToPreferred(year) >= DistanceToPreferred(best.year)) continue;
        uint32_t inDay = rest % SecondsPerDay;
        best.year = year;
        best.dayOfYear = dayOfYear;
        best.hour = inDay / 3600u;
        best.minute = inDay / 60u % 60u;
        best.second = inDay % 60u;
        MonthAndDay(year, dayOfYear, &best.month, &best.day);
        found = true;
    }
    if (!found) return 0;
    *out = best;
    return 1;
}
