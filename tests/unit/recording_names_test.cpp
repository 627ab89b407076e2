// Dates and names of recordings: the date stamp, the calendar date behind
// automatic names, and the temporary files' names.
#include <gtest/gtest.h>

#include "engine/session/recording_paths.h"
#include "engine/tracks/sim_date.h"

namespace {

HostDateTime At(int16_t year, uint16_t day, uint32_t hour, uint32_t minute, uint8_t second) {
    HostDateTime now;
    now.year = year;
    now.dayOfYear = day;
    now.hour = hour;
    now.minute = minute;
    now.second = second;
    return now;
}

std::string AutomaticName(const HostDateTime& now) {
    char path[RecordingPathSize];
    AutomaticRecordingPath(now, path, sizeof path);
    return path;
}

}  // namespace

TEST(RecordingNames, DateStampCountsSecondsOfA366DayYear) {
    // ((((2004 x 366 + 160) x 24 + 14) x 60 + 5) x 60 + 9) + 46982144, modulo 2^32.
    uint64_t seconds = ((((2004ull * 366 + 160) * 24 + 14) * 60 + 5) * 60 + 9) + 46982144ull;
    EXPECT_EQ(DateStamp(At(2004, 160, 14, 5, 9)), static_cast<uint32_t>(seconds));
    EXPECT_EQ(DateStamp(At(2004, 160, 14, 5, 10)) - DateStamp(At(2004, 160, 14, 5, 9)), 1u);
    EXPECT_EQ(DateStamp(At(2005, 1, 0, 0, 0)) - DateStamp(At(2004, 1, 0, 0, 0)), 366u * 86400u);
}

TEST(RecordingNames, AutomaticNamesFollowTheCalendar) {
    EXPECT_EQ(AutomaticName(At(2004, 60, 14, 5, 9)), "Recordings\\Rec_2004-02-29_14-05-09.atr");
    EXPECT_EQ(AutomaticName(At(2005, 60, 14, 5, 9)), "Recordings\\Rec_2005-03-01_14-05-09.atr");
    EXPECT_EQ(AutomaticName(At(1900, 60, 0, 0, 0)), "Recordings\\Rec_1900-03-01_00-00-00.atr");
    EXPECT_EQ(AutomaticName(At(2000, 60, 23, 59, 59)), "Recordings\\Rec_2000-02-29_23-59-59.atr");
    EXPECT_EQ(AutomaticName(At(2004, 1, 0, 0, 0)), "Recordings\\Rec_2004-01-01_00-00-00.atr");
    EXPECT_EQ(AutomaticName(At(2004, 366, 0, 0, 0)), "Recordings\\Rec_2004-12-31_00-00-00.atr");
    EXPECT_EQ(AutomaticName(At(2003, 365, 0, 0, 0)), "Recordings\\Rec_2003-12-31_00-00-00.atr");
    // A day the year does not have stays in December rather than running off the table.
    EXPECT_EQ(AutomaticName(At(2003, 400, 0, 0, 0)), "Recordings\\Rec_2003-12-66_00-00-00.atr");
}

TEST(RecordingNames, TempFilesAreNamedForTheirAircraft) {
    char name[64];
    TempTrackFileName(1, name, sizeof name);
    EXPECT_STREQ(name, "Modules\\Aerotrace1.tmp");
    TempTrackFileName(1000, name, sizeof name);
    EXPECT_STREQ(name, "Modules\\Aerotrace1000.tmp");
}
