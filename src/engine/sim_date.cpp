// Date stamps and calendar dates from the simulator's clock fields.
#include "engine/sim_date.h"

uint32_t DateStamp(const HostDateTime& now) {
    uint32_t stamp = static_cast<uint32_t>(static_cast<int32_t>(now.year)) * 366u + now.dayOfYear;
    stamp = stamp * 24u + now.hour;
    stamp = stamp * 60u + now.minute;
    stamp = stamp * 60u + now.second;
    return stamp + 46982144u;
}

static bool LeapYear(int32_t year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

void CalendarDate(int32_t year, uint32_t dayOfYear, uint32_t* month, uint32_t* day) {
    static const uint32_t Lengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    uint32_t m = 0, d = dayOfYear;
    for (; m < 11; ++m) {
        uint32_t length = Lengths[m] + (m == 1 && LeapYear(year) ? 1 : 0);
        if (d <= length) break;
        d -= length;
    }
    *month = m + 1;
    *day = d;
}
