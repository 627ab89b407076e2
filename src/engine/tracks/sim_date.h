// The simulator's date as recordings use it: the date stamp a recording
// carries (and the date read back from it), and the calendar date that names
// automatically saved recordings. The host keeps the day of the year; months
// are worked out here.
#pragma once

#include <cstdint>

#include "core/abi/host_abi.h"

// The recording's date stamp: seconds counted in a 366-day year, offset so
// that recordings of different years never meet; 32-bit, wrapping.
uint32_t DateStamp(const HostDateTime& now);

// Month (1..12) and day of month for a 1-based day of the year. Days past
// the end of the year stay in December.
void CalendarDate(int32_t year, uint32_t dayOfYear, uint32_t* month, uint32_t* day);

bool IsLeapYear(int32_t year);
// The 1-based day of the year of a calendar date (month 1..12).
uint32_t DayOfYear(int32_t year, uint32_t month, uint32_t day);

// A date and time read back from a date stamp.
struct CalendarTime {
    int32_t year;
    uint32_t month;      // 1..12
    uint32_t day;        // 1..31
    uint32_t dayOfYear;  // 1-based
    uint32_t hour;
    uint32_t minute;
    uint32_t second;
};

// The stamp wraps about every 136 years, so a value names one date in each
// 136-year span. The one taken is the candidate whose year lies in
// 1990..2100, or nearest to that range. Fails (0) for a value no real date
// and time encode to (a day of the year beyond the year's length).
int DecodeDateStamp(uint32_t stamp, CalendarTime* out);
