// The recording's date stamp read back to the same calendar date within the
// years recordings come from, and the calendar arithmetic under it.
#include <gtest/gtest.h>

#include "engine/tracks/sim_date.h"

static uint32_t EncodeDateStamp(int32_t year, uint32_t dayOfYear, uint32_t hour, uint32_t minute, uint32_t second) {
    return DateStamp(HostDateTime{static_cast<int16_t>(year), static_cast<uint16_t>(dayOfYear), hour, minute,
                                  static_cast<uint8_t>(second)});
}

TEST(DateStamp, ReadsBackEveryYearOfTheEraItIsResolvedTo) {
    for (int32_t year = 1990; year <= 2100; ++year) {
        for (uint32_t day : {1u, 59u, 60u, 200u, IsLeapYear(year) ? 366u : 365u}) {
            uint32_t stamp = EncodeDateStamp(year, day, 23, 59, 58);
            CalendarTime when{};
            ASSERT_TRUE(DecodeDateStamp(stamp, &when)) << year << " day " << day;
            EXPECT_EQ(when.year, year);
            EXPECT_EQ(when.dayOfYear, day);
            EXPECT_EQ(when.hour, 23u);
            EXPECT_EQ(when.minute, 59u);
            EXPECT_EQ(when.second, 58u);
        }
    }
}

TEST(DateStamp, ReadsTheExampleFlightsDate) {
    CalendarTime when{};
    ASSERT_TRUE(DecodeDateStamp(EncodeDateStamp(2004, 160, 14, 5, 9), &when));
    EXPECT_EQ(when.month, 6u);
    EXPECT_EQ(when.day, 8u);
}

TEST(DateStamp, NeverReadsADayTheYearDoesNotHave) {
    // Day 366 of a common year and day 0 are no dates: within the era no
    // reading exists, and a reading from another era is a real day.
    for (uint32_t stamp : {EncodeDateStamp(2003, 366, 0, 0, 0), EncodeDateStamp(2004, 0, 12, 0, 0)}) {
        CalendarTime when{};
        if (DecodeDateStamp(stamp, &when)) {
            EXPECT_TRUE(when.year < 1990 || when.year > 2100) << when.year;
            EXPECT_GE(when.dayOfYear, 1u);
            EXPECT_LE(when.dayOfYear, IsLeapYear(when.year) ? 366u : 365u);
        }
    }
}

TEST(DateStamp, DayOfYearIsTheCalendarDatesInverse) {
    for (int32_t year : {1900, 2003, 2004, 2100}) {
        for (uint32_t day = 1; day <= (IsLeapYear(year) ? 366u : 365u); ++day) {
            uint32_t month, dayOfMonth;
            CalendarDate(year, day, &month, &dayOfMonth);
            ASSERT_EQ(DayOfYear(year, month, dayOfMonth), day) << year;
        }
    }
    EXPECT_FALSE(IsLeapYear(1900));
    EXPECT_TRUE(IsLeapYear(2000));
}
