// The recording's DateStamp: the simulator's date and time packed into one
// wrapping 32-bit number, and the calendar date and time read back from it.
// Also the month and day of a day of the year, which file names need.
#pragma once

#include <cstdint>

struct CalendarTime {
    int32_t year;
    uint32_t month;      // 1..12
    uint32_t day;        // 1..31
    uint32_t dayOfYear;  // 1-based
    uint32_t hour;
    uint32_t minute;
    uint32_t second;
};

// ((((year x 366 + dayOfYear) x 24 + hour) x 60 + minute) x 60 + second)
// + 46982144, in wrapping 32-bit arithmetic.
uint32_t EncodeDateStamp(int32_t year, uint32_t dayOfYear, uint32_t hour, uint32_t minute, uint32_t second);

// The stamp wraps about every 136 years, so a value names one date in each
// 136-year span. The one taken is the candidate whose year lies in
// 1990..2100, or nearest to that range. Fails (0) for a value no real date
// and time encode to (a day of the year beyond the year's length).
int DecodeDateStamp(uint32_t stamp, CalendarTime* out);

bool IsLeapYear(int32_t year);
// Month (1..12) and day of the month for a 1-based day of the year; days past
// the year's end stay in December.
void MonthAndDay(int32_t year, uint32_t dayOfYear, uint32_t* month, uint32_t* day);
// The 1-based day of the year of a calendar date (month 1..12).
uint32_t DayOfYear(int32_t year, uint32_t month, uint32_t day);
