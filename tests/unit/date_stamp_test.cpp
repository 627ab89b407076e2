// The recording's date stamp: packed as the simulator's date and time, read
// back to the same calendar date within the years recordings come from, and
// the calendar arithmetic under it.
#include "engine/date_stamp.h"

#include <gtest/gtest.h>

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

TEST(DateStamp, PacksAsTheSimulatorsFormulaWithWrapping) {
    // ((((2004 x 366 + 160) x 24 + 14) x 60 + 5) x 60 + 9) + 46982144, modulo 2^32.
    uint64_t value = ((((2004ull * 366 + 160) * 24 + 14) * 60 + 5) * 60 + 9) + 46982144ull;
    EXPECT_EQ(EncodeDateStamp(2004, 160, 14, 5, 9), static_cast<uint32_t>(value));
    CalendarTime when{};
    ASSERT_TRUE(DecodeDateStamp(static_cast<uint32_t>(value), &when));
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

TEST(DateStamp, MonthsAndLeapYears) {
    uint32_t month, day;
    MonthAndDay(2004, 60, &month, &day);
    EXPECT_EQ(month, 2u);
    EXPECT_EQ(day, 29u);
    MonthAndDay(2005, 60, &month, &day);
    EXPECT_EQ(month, 3u);
    EXPECT_EQ(day, 1u);
    MonthAndDay(2000, 366, &month, &day);
    EXPECT_EQ(month, 12u);
    EXPECT_EQ(day, 31u);
    EXPECT_FALSE(IsLeapYear(1900));
    EXPECT_TRUE(IsLeapYear(2000));
    EXPECT_EQ(DayOfYear(2004, 3, 1), 61u);
    EXPECT_EQ(DayOfYear(2005, 12, 31), 365u);
}
