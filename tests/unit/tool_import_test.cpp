// Reading real-world tracks: GPX, IGC and CSV as other programs write them,
// and the flight built from their fixes (order, gaps, the date line, too few
// points).
#include <gtest/gtest.h>

#include <cmath>

#include "import.h"
#include "text_out.h"
#include "tool_common.h"

namespace {

const double June8 = 1086652800.0;  // 2004-06-08T00:00:00Z

TEST(ImportGpx, ReadsTrackPointsAsOtherProgramsWriteThem) {
    const std::string gpx =
        "<?xml version='1.0'?>\n<gpx version=\"1.0\" creator=\"logger\">\n"
        "<!-- <trkpt lat=\"1\" lon=\"1\"><ele>1</ele><time>2004-06-08T00:00:00Z</time></trkpt> -->\n"
        "<wpt lat=\"5\" lon=\"5\"><ele>9</ele></wpt>\n"
        "<trk><name>a &amp; b</name><trkseg>\n"
        "<trkpt lon='8.5491' lat='47.4582'>\n  <ele> 432.5 </ele>\n  <time>2004-06-08T14:05:09Z</time>\n"
        "  <extensions><speed>3</speed></extensions></trkpt>\n"
        "<trkpt lat=\"47.4583\"  lon=\"-8.5492\"><ele>433</ele><time>2004-06-08T16:05:10.5+02:00</time></trkpt>\n"
        "</trkseg></trk></gpx>\n";
    std::vector<Fix> fixes = ReadGpxFixes(gpx);
    ASSERT_EQ(fixes.size(), 2u);
    EXPECT_DOUBLE_EQ(fixes[0].latitude, 47.4582);
    EXPECT_DOUBLE_EQ(fixes[0].longitude, 8.5491);
    EXPECT_DOUBLE_EQ(fixes[0].altitude, 432.5);
    EXPECT_DOUBLE_EQ(fixes[0].epoch, June8 + 14 * 3600 + 5 * 60 + 9);
    EXPECT_DOUBLE_EQ(fixes[1].longitude, -8.5492);
    EXPECT_DOUBLE_EQ(fixes[1].epoch, June8 + 14 * 3600 + 5 * 60 + 10.5) << "the offset is taken off";
}

TEST(ImportGpx, RefusesPointsWithoutWhatAFlightNeeds) {
    const char* bad[] = {
        "<trkpt lat=\"47\" lon=\"8\"><time>2004-06-08T14:05:09Z</time></trkpt>",              // no elevation
        "<trkpt lat=\"47\" lon=\"8\"><ele>3</ele></trkpt>",                                   // no time
        "<trkpt lat=\"97\" lon=\"8\"><ele>3</ele><time>2004-06-08T14:05:09Z</time></trkpt>",  // latitude
        "<trkpt lat=\"47\" lon=\"8\"><ele>3</ele><time>2004-13-08T14:05:09Z</time></trkpt>",  // month 13
        "<trkpt lat=\"47\" lon=\"8\"/>",
        "\n\n<trkpt lat=\"47\" lon=\"8\"><ele>3</ele>",
    };
    for (const char* text : bad) EXPECT_THROW(ReadGpxFixes(text), ToolError) << text;
    try {
        ReadGpxFixes(bad[5]);
    } catch (const ToolError& error) {
        EXPECT_EQ(std::string(error.what()).rfind("line 3:", 0), 0u) << error.what();
    }
}

TEST(ImportIgc, ReadsFixesUnderTheirDateAcrossMidnight) {
    const std::string igc =
        "AXXXABC\r\nHFDTEDATE:080604,01\r\nHFGTYGLIDERTYPE:ASK21\r\n"
        "B2359584727492N00832946EA0043200441\r\n"
        "B2359594727492S00832946WA0043200000\r\n"  // no GNSS altitude: the pressure one
        "B0000014727492N00832946EV-001200012\r\n"  // after midnight, below sea level pressure
        "LXXXcomment\r\nG1234\r\n";
    std::vector<Fix> fixes = ReadIgcFixes(igc);
    ASSERT_EQ(fixes.size(), 3u);
    EXPECT_NEAR(fixes[0].latitude, 47 + 27.492 / 60, 1e-9);
    EXPECT_NEAR(fixes[0].longitude, 8 + 32.946 / 60, 1e-9);
    EXPECT_DOUBLE_EQ(fixes[0].altitude, 441.0);
    EXPECT_DOUBLE_EQ(fixes[0].epoch, June8 + 86400 - 2);
    EXPECT_LT(fixes[1].latitude, 0);
    EXPECT_LT(fixes[1].longitude, 0);
    EXPECT_DOUBLE_EQ(fixes[1].altitude, 432.0);
    EXPECT_DOUBLE_EQ(fixes[2].epoch, June8 + 86400 + 1);
    EXPECT_DOUBLE_EQ(fixes[2].altitude, 12.0);
    // The older date record, and what is refused.
    EXPECT_EQ(ReadIgcFixes("HFDTE080604\nB1405094727492N00832946EA0043200432\n").size(), 1u);
    EXPECT_THROW(ReadIgcFixes("B1405094727492N00832946EA0043200432\n"), ToolError);  // no date
    EXPECT_THROW(ReadIgcFixes("HFDTE080604\nB1405094727492X00832946EA0043200432\n"), ToolError);
    EXPECT_THROW(ReadIgcFixes("HFDTE080604\nB14050947274\n"), ToolError);
}

TEST(ImportCsv, ReadsQuotedFieldsFeetAndOneTrackOfMany) {
    const std::string csv =
        "\xEF\xBB\xBFtrack,title,time_utc,Latitude,Longitude,altitude_ft\r\n"
        "1,\"Lead, \"\"one\"\"\",2004-06-08T14:05:09Z,47.5,8.5,1000\r\n"
        "2,Wing,2004-06-08T14:05:09Z,47.6,8.6,2000\r\n"
        "\r\n"
        "1,\"multi\nline\",2004-06-08T14:05:10.250Z,47.51,8.51,1100\r\n";
    std::vector<Fix> fixes = ReadCsvFixes(csv, 1);
    ASSERT_EQ(fixes.size(), 2u);
    EXPECT_DOUBLE_EQ(fixes[0].altitude, 304.8);
    EXPECT_DOUBLE_EQ(fixes[1].epoch, June8 + 14 * 3600 + 5 * 60 + 10.25);
    EXPECT_EQ(ReadCsvFixes(csv, 2).size(), 1u);
    // Seconds from the start do as well; a header without positions does not.
    EXPECT_EQ(ReadCsvFixes("time_s,lat,lon,alt\n0,1,2,3\n1.5,1,2,3\n", 1).size(), 2u);
    EXPECT_THROW(ReadCsvFixes("time_s,x,y,alt\n0,1,2,3\n", 1), ToolError);
    EXPECT_THROW(ReadCsvFixes("time_s,lat,lon,alt\n0,1,2\n", 1), ToolError);
    EXPECT_THROW(ReadCsvFixes("time_s,lat,lon,alt\nnoon,1,2,3\n", 1), ToolError);
}

TEST(ImportFlight, SortsKeepsOneFixPerTimeAndCrossesTheDateLine) {
    // Eastbound across 180 degrees at the equator, fixes out of order and doubled.
    std::vector<Fix> fixes = {{June8 + 20, 0.0, -179.99, 1000},
                              {June8, 0.0, 179.99, 1000},
                              {June8 + 10, 0.0, 180.0, 1000},
                              {June8 + 10, 5.0, 5.0, 5}};
    std::vector<FlightPoint> flight = BuildFlight(fixes, 1000);
    ASSERT_EQ(flight.size(), 21u);
    for (const FlightPoint& p : flight) {
        EXPECT_NEAR(p.latitude, 0.0, 1e-9) << "the doubled fix is dropped";
        EXPECT_NEAR(p.headingDeg, 90.0, 0.01) << p.seconds;
        EXPECT_NEAR(p.velocityEast, 111.2, 0.5) << p.seconds;
        EXPECT_GT(std::fabs(p.longitude), 179.98) << "the short way round, not across the world";
    }
    EXPECT_FALSE(flight[10].onGround);
    EXPECT_THROW(BuildFlight({{June8, 1, 1, 1}}, 1000), ToolError);
    EXPECT_THROW(BuildFlight({{June8, 1, 1, 1}, {June8, 1, 2, 1}}, 1000), ToolError);
    EXPECT_THROW(BuildFlight({{0, 1, 1, 1}, {500000, 1, 2, 1}}, 1000), ToolError) << "longer than 119 hours";
}

TEST(ImportFlight, AStationaryStartPointsWhereTheAircraftWillGoAndStaysOnTheGround) {
    std::vector<Fix> fixes;
    for (int i = 0; i <= 60; ++i) {
        double north = i < 20 ? 0.0 : (i - 20) * 40.0;  // parked, then north at 40 m/s, climbing 2 m/s
        fixes.push_back({June8 + i, 47.0 + north / 111195.0, 8.0, i < 20 ? 400.0 : 400.0 + (i - 20) * 2.0});
    }
    std::vector<FlightPoint> flight = BuildFlight(fixes, 500);
    ASSERT_EQ(flight.size(), 121u);
    EXPECT_NEAR(flight[0].headingDeg, 0.0, 0.5);
    EXPECT_TRUE(flight[0].onGround);
    EXPECT_EQ(flight[0].pitchDeg, 0.0);
    EXPECT_FALSE(flight[80].onGround);
    EXPECT_NEAR(flight[80].pitchDeg, std::atan2(2.0, 40.0) * 180.0 / M_PI, 0.1);
    EXPECT_NEAR(flight[80].bankDeg, 0.0, 0.1);
}

TEST(ImportTimes, IsoTimesAndCalendarArithmeticAgree) {
    double epoch;
    ASSERT_TRUE(ParseIsoTime("2000-02-29T23:59:60Z", &epoch));  // a leap second runs on
    EXPECT_DOUBLE_EQ(epoch, 951868800.0);
    ASSERT_TRUE(ParseIsoTime("1999-12-31 23:00:00-0100", &epoch));
    EXPECT_DOUBLE_EQ(epoch, 946684800.0);
    for (const char* bad : {"", "2004-06-08", "2004-06-08T14:05", "2004-06-08T14:05:09Q", "2004-06-08T14:05:09."})
        EXPECT_FALSE(ParseIsoTime(bad, &epoch)) << bad;
    for (int64_t t : {0LL, 951782400LL, 4102444799LL, -86400LL}) {
        UtcTime u = UtcFromEpoch(t);
        EXPECT_EQ(EpochFromUtc(u.year, u.month, u.day, u.hour, u.minute, u.second), t);
    }
}

}  // namespace
