// Date stamps and calendar dates from the simulator's clock fields, and
// the date and time a stamp was made from.
#include "engine/tracks/sim_date.h"

uint32_t DateStamp(const HostDateTime& now) {
    uint32_t stamp = static_cast<uint32_t>(static_cast<int32_t>(now.year)) * 366u + now.dayOfYear;
    stamp = stamp * 24u + now.hour;
    stamp = stamp * 60u + now.minute;
    stamp = stamp * 60u + now.second;
    return stamp + 46982144u;
}

bool IsLeapYear(int32_t year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

static uint32_t MonthLength(int32_t year, uint32_t month) {
    static const uint32_t Lengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return Lengths[month - 1] + (month == 2 && IsLeapYear(year) ? 1 : 0);
}

void CalendarDate(int32_t year, uint32_t dayOfYear, uint32_t* month, uint32_t* day) {
    uint32_t m = 1, d = dayOfYear;
    for (; m < 12; ++m) {
        uint32_t length = MonthLength(year, m);
        if (d <= length) break;
        d -= length;
    }
    *month = m;
    *day = d;
}

uint32_t DayOfYear(int32_t year, uint32_t month, uint32_t day) {
    uint32_t total = day;
    for (uint32_t m = 1; m < month && m <= 12; ++m) total += MonthLength(year, m);
    return total;
}

// Years searched for candidates; wide enough to hold two wraps on either side
// of the range we prefer.
static const int32_t EarliestYear = 1700;
static const int32_t LatestYear = 2400;
static const int32_t PreferredFirst = 1990;
static const int32_t PreferredLast = 2100;

static int32_t DistanceToPreferred(int32_t year) {
    if (year < PreferredFirst) return PreferredFirst - year;
    if (year > PreferredLast) return year - PreferredLast;
    return 0;
}

int DecodeDateStamp(uint32_t stamp, CalendarTime* out) {
    const uint32_t value = stamp - DateStamp(HostDateTime{0, 0, 0, 0, 0});
    const uint32_t yearSeconds = 366u * 86400u;
    bool found = false;
    CalendarTime best{};
    for (int32_t year = EarliestYear; year <= LatestYear; ++year) {
        // What is left after the year's share, in wrapping arithmetic.
        uint32_t rest = value - static_cast<uint32_t>(year) * yearSeconds;
        uint32_t dayOfYear = rest / 86400u;
        if (dayOfYear < 1 || dayOfYear > (IsLeapYear(year) ? 366u : 365u)) continue;
        if (found && DistanceToPreferred(year) >= DistanceToPreferred(best.year)) continue;
        uint32_t inDay = rest % 86400u;
        best.year = year;
        best.dayOfYear = dayOfYear;
        best.hour = inDay / 3600u;
        best.minute = inDay / 60u % 60u;
        best.second = inDay % 60u;
        CalendarDate(year, dayOfYear, &best.month, &best.day);
        found = true;
    }
    if (!found) return 0;
    *out = best;
    return 1;
}
