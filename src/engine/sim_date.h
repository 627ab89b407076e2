// The simulator's date as recordings use it: the date stamp a recording
// carries, and the calendar date that names automatically saved recordings.
// The host keeps the day of the year; months are worked out here.
#pragma once

#include <cstdint>

#include "core/host.h"

// The recording's date stamp: seconds counted in a 366-day year, offset so
// that recordings of different years never meet; 32-bit, wrapping.
uint32_t DateStamp(const HostDateTime& now);

// Month (1..12) and day of month for a 1-based day of the year. Days past
// the end of the year stay in December.
void CalendarDate(int32_t year, uint32_t dayOfYear, uint32_t* month, uint32_t* day);
