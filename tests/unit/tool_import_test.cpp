// Reading real-world tracks: GPX, IGC and CSV as other programs write them,
// and the flight built from their fixes (order, gaps, the date line, too few
// points).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>

#include "../../fuzz/import_exercise.h"
#include "engine/tracks/host_encoding.h"
#include "import.h"
#include "text_out.h"
#include "recording_reader.h"
#include "tool_common.h"
#include "tool_support.h"

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

// The same two points written the plain way and as other programs and
// hand-editing write them: a namespace prefix, CDATA, entities and
// character references, comments inside values, an <extensions> block with
// elements of other namespaces (one of them a look-alike trkpt), attributes
// in the other order, and UTF-16.
TEST(ImportGpx, EveryWayOfWritingTheSamePointsGivesTheSameFixes) {
    const std::string plain =
        "<?xml version=\"1.0\"?>\n<gpx version=\"1.1\" creator=\"x\" xmlns=\"http://www.topografix.com/GPX/1/1\">\n"
        "<trk><name>Flight</name><trkseg>\n"
        "<trkpt lat=\"47.4582\" lon=\"8.5491\"><ele>432.5</ele><time>2004-06-08T14:05:09Z</time></trkpt>\n"
        "<trkpt lat=\"47.4583\" lon=\"8.5492\"><ele>433</ele><time>2004-06-08T14:05:10Z</time></trkpt>\n"
        "</trkseg></trk></gpx>\n";
    const std::string dressed =
        "<?xml version='1.0' encoding='UTF-8'?>\n<!DOCTYPE gpx>\n"
        "<g:gpx xmlns:g='http://www.topografix.com/GPX/1/1' xmlns:ext='urn:example:ext' creator='x' version='1.1'>\n"
        "<g:metadata><g:name><![CDATA[<Zürich> & back]]></g:name></g:metadata>\n"
        "<g:trk><g:name><![CDATA[Leg <1>]]></g:name><g:trkseg>\n"
        "<g:trkpt lon='8.5491' lat='47.4582'>\n"
        "  <g:ele><!-- measured -->432.5</g:ele>\n"
        "  <g:time>2004-06-08T14:05:09Z</g:time>\n"
        "  <g:extensions><ext:trkpt lat='1' lon='1'/><ext:ele>9</ext:ele>\n"
        "    <g:trkpt lat='2' lon='2'><g:ele>9</g:ele><g:time>2004-06-08T14:05:11Z</g:time></g:trkpt>\n"
        "  </g:extensions>\n"
        "</g:trkpt>\n"
        "<!-- <g:trkpt lat='3' lon='3'><g:ele>1</g:ele><g:time>2004-06-08T14:05:12Z</g:time></g:trkpt> -->\n"
        "<ext:trkpt lat='4' lon='4'><ext:ele>1</ext:ele><ext:time>2004-06-08T14:05:13Z</ext:time></ext:trkpt>\n"
        "<g:trkpt lon=\"&#56;.5492\" lat=\"47.458&#x33;\"><g:time> 2004-06-08T14:05:10Z </g:time>"
        "<g:ele><![CDATA[433]]></g:ele></g:trkpt>\n"
        "</g:trkseg></g:trk></g:gpx>\n";
    // A default namespace declared on an inner element counts there too.
    const std::string inner =
        "<gpx><trk><trkseg xmlns='http://www.topografix.com/GPX/1/0'>"
        "<trkpt lat='47.4582' lon='8.5491'><ele>432.5</ele><time>2004-06-08T14:05:09Z</time></trkpt>"
        "<trkpt lat='47.4583' lon='8.5492'><ele>433</ele><time>2004-06-08T14:05:10Z</time></trkpt>"
        "</trkseg></trk></gpx>";
    std::string utf16 = "\xFF\xFE";  // little-endian with its byte-order mark
    for (char c : plain) utf16 += std::string{c, '\0'};

    const std::vector<Fix> expected = ReadGpxFixes(plain);
    ASSERT_EQ(expected.size(), 2u);
    EXPECT_DOUBLE_EQ(expected[0].latitude, 47.4582);
    EXPECT_DOUBLE_EQ(expected[0].longitude, 8.5491);
    EXPECT_DOUBLE_EQ(expected[0].altitude, 432.5);
    EXPECT_DOUBLE_EQ(expected[0].epoch, June8 + 14 * 3600 + 5 * 60 + 9);
    EXPECT_DOUBLE_EQ(expected[1].altitude, 433.0);
    for (const std::string* variant : std::vector<const std::string*>{&dressed, &inner, &utf16}) {
        const std::vector<Fix> fixes = ReadGpxFixes(*variant);
        ASSERT_EQ(fixes.size(), expected.size()) << *variant;
        for (size_t i = 0; i < fixes.size(); ++i) {
            EXPECT_DOUBLE_EQ(fixes[i].latitude, expected[i].latitude) << i << *variant;
            EXPECT_DOUBLE_EQ(fixes[i].longitude, expected[i].longitude) << i << *variant;
            EXPECT_DOUBLE_EQ(fixes[i].altitude, expected[i].altitude) << i << *variant;
            EXPECT_DOUBLE_EQ(fixes[i].epoch, expected[i].epoch) << i << *variant;
        }
    }
}

// What the message names: the line where the XML breaks, or that of the
// point whose position, time or elevation cannot be read. A point that
// lacks its time or elevation is read, flagged, for FillGaps.
TEST(ImportGpx, RefusesMalformedFilesAndIncompletePointsNamingTheLine) {
    const std::string head = "<gpx xmlns='http://www.topografix.com/GPX/1/1'><trk><trkseg>\n";
    const std::string tail = "\n</trkseg></trk></gpx>";
    const struct {
        std::string text;
        const char* message;  // how the message begins
    } bad[] = {
        {head + "<trkpt lat='97' lon='8'><ele>3</ele><time>2004-06-08T14:05:09Z</time></trkpt>" + tail, "line 2: a track point needs lat"},
        {head + "<trkpt lat='47'><ele>3</ele><time>2004-06-08T14:05:09Z</time></trkpt>" + tail, "line 2: a track point needs lat"},
        {head + "<trkpt lat='47' lon='8'><ele>3</ele><time>2004-13-08T14:05:09Z</time></trkpt>" + tail, "line 2: a time (<time>) that is not"},
        // An entity a DTD declares is never expanded.
        {"<!DOCTYPE gpx [<!ENTITY e '3'>]>\n" + head + "<trkpt lat='47' lon='8'><ele>&e;</ele><time>2004-06-08T14:05:09Z</time></trkpt>" + tail,
         "line 3: an elevation (<ele>) that is not a number"},
        {head + "\n\n<trkpt lat='47' lon='8'><ele>3</elevation>" + tail, "line 4: not well-formed XML"},
        {head + "<trkpt lat='47' lon='8'><ele>3</ele>\n<time>2004" + tail, "line 4: not well-formed XML"},
        {"\n<gpx><trk attr='no closing quote></trk></gpx>", "line 2: not well-formed XML"},
        {"", "line 1: not well-formed XML"},
        {"<?xml version='1.0'?>\n<kml><Document/></kml>", "line 2: not a GPX file (its root element is <kml>)"},
        {"<x:gpx xmlns:x='urn:not-gpx'/>", "line 1: not a GPX file"},
    };
    for (const auto& input : bad) {
        try {
            ReadGpxFixes(input.text);
            ADD_FAILURE() << "accepted: " << input.text;
        } catch (const ToolError& error) {
            EXPECT_EQ(std::string(error.what()).rfind(input.message, 0), 0u) << error.what() << "\n" << input.text;
        }
    }
    EXPECT_TRUE(ReadGpxFixes("<gpx version='1.1'/>").empty()) << "a file without points is not malformed";

    // Without a time, without an elevation, and with one in another namespace only.
    const std::vector<Fix> lacking = ReadGpxFixes(
        head + "<trkpt lat='47' lon='8'><ele>3</ele></trkpt><trkpt lat='47' lon='8'><time>2004-06-08T14:05:09Z</time>"
               "</trkpt><trkpt lat='47' lon='8' xmlns:x='urn:x'><x:ele>3</x:ele><time>2004-06-08T14:05:09Z</time></trkpt>" +
        tail);
    ASSERT_EQ(lacking.size(), 3u);
    EXPECT_FALSE(lacking[0].timed);
    EXPECT_TRUE(lacking[0].elevated);
    EXPECT_TRUE(lacking[1].timed);
    EXPECT_FALSE(lacking[1].elevated);
    EXPECT_FALSE(lacking[2].elevated);
}

// A route's points, or else the waypoints, when the file has no track.
TEST(ImportGpx, ARouteOrAListOfWaypointsIsReadInItsOrder) {
    const std::vector<Fix> route = ReadGpxFixes(
        "<gpx xmlns='http://www.topografix.com/GPX/1/1'><wpt lat='1' lon='1'/><rte><rtept lat='47' lon='8'/>"
        "<rtept lat='47.1' lon='8'><ele>500</ele></rtept></rte><rte><rtept lat='47.2' lon='8'/></rte></gpx>");
    ASSERT_EQ(route.size(), 3u);
    EXPECT_DOUBLE_EQ(route[2].latitude, 47.2);
    EXPECT_FALSE(route[0].timed);
    EXPECT_TRUE(route[1].elevated);
    const std::vector<Fix> waypoints =
        ReadGpxFixes("<gpx xmlns='http://www.topografix.com/GPX/1/1'><wpt lat='1' lon='2'/><wpt lat='3' lon='4'/></gpx>");
    ASSERT_EQ(waypoints.size(), 2u);
    EXPECT_DOUBLE_EQ(waypoints[1].longitude, 4.0);
}

Fix Untimed(double latitude, double altitude, bool elevated = true) {
    Fix fix{0, latitude, 8.0, altitude};
    fix.timed = false;
    fix.elevated = elevated;
    return fix;
}

TEST(ImportGaps, TimesComeFromTheDistanceBetweenTimedPointsAndElevationsFromTheirNeighbours) {
    const double metre = 1.0 / 111194.93;  // of latitude, on the tool's sphere
    // Timed at 0 and 100 s, three points between 100, 300 and 500 m along
    // a 1,000 m leg; an untimed point after the last timed one.
    std::vector<Fix> fixes = {{June8, 47.0, 8.0, 100}, Untimed(47.0 + 100 * metre, 0, false),
                              Untimed(47.0 + 300 * metre, 0, false), Untimed(47.0 + 500 * metre, 0, false),
                              {June8 + 100, 47.0 + 1000 * metre, 8.0, 600}, Untimed(47.1, 0)};
    const GapReport report = FillGaps(&fixes, GapOptions{});
    EXPECT_EQ(report.timesFilled, 3u);
    EXPECT_EQ(report.endsDropped, 1u);
    EXPECT_EQ(report.elevationsFilled, 3u);
    ASSERT_EQ(fixes.size(), 5u);
    EXPECT_NEAR(fixes[1].epoch - June8, 10.0, 1e-6);
    EXPECT_NEAR(fixes[3].epoch - June8, 50.0, 1e-6);
    EXPECT_NEAR(fixes[3].altitude, 350.0, 1e-6);  // half-way in time from 100 m to 600 m

    // Elevations only at the ends of the time line are held beyond them.
    std::vector<Fix> held = {{June8 + 5, 47, 8, 0}, {June8 + 10, 47, 8, 250}, {June8 + 20, 47, 8, 0}};
    held[0].elevated = held[2].elevated = false;
    FillGaps(&held, GapOptions{});
    EXPECT_EQ(held[0].altitude, 250.0);
    EXPECT_EQ(held[2].altitude, 250.0);

    // No elevation anywhere: refused unless one is given for the whole track.
    std::vector<Fix> flat = {{June8, 47, 8, 0}, {June8 + 10, 47.01, 8, 0}};
    flat[0].elevated = flat[1].elevated = false;
    std::vector<Fix> copy = flat;
    try {
        FillGaps(&copy, GapOptions{});
        ADD_FAILURE() << "a track without elevations was taken";
    } catch (const ToolError& error) {
        EXPECT_NE(std::string(error.what()).find("give --altitude FEET"), std::string::npos) << error.what();
    }
    GapOptions high;
    high.altitudeMetres = 900.0;
    FillGaps(&flat, high);
    EXPECT_EQ(flat[1].altitude, 900.0);
}

TEST(ImportGaps, ATrackWithoutTimesFliesAtTheGivenSpeedOrIsRefusedNamingTheOption) {
    const double metre = 1.0 / 111194.93;
    std::vector<Fix> route = {Untimed(47.0, 300), Untimed(47.0 + 600 * metre, 300), Untimed(47.0 + 1800 * metre, 300)};
    std::vector<Fix> copy = route;
    try {
        FillGaps(&copy, GapOptions{});
        ADD_FAILURE() << "a route without times was taken";
    } catch (const ToolError& error) {
        EXPECT_NE(std::string(error.what()).find("give --speed KNOTS (and --start TIME)"), std::string::npos);
    }
    GapOptions options;
    options.speedMps = 60.0;
    options.startEpoch = June8;
    EXPECT_TRUE(FillGaps(&route, options).timedBySpeed);
    EXPECT_NEAR(route[1].epoch - June8, 10.0, 1e-6);
    EXPECT_NEAR(route[2].epoch - June8, 30.0, 1e-6);
}

TEST(ImportFlight, TimesThatHardlyAdvanceAreResampledFinerOrRefused) {
    // Two points 0.994 s apart, or 184 at one instant but one a half second later.
    EXPECT_EQ(IntervalKeepingFixes({{June8, 47, 8, 0}, {June8 + 0.994, 47.001, 8, 0}}, 1000), 994u);
    std::vector<Fix> stuck(183, Fix{June8, 47, 8, 0});
    stuck.push_back({June8 + 0.5, 47.001, 8, 0});
    EXPECT_EQ(IntervalKeepingFixes(stuck, 1000), 500u);
    EXPECT_EQ(BuildFlight(stuck, 500).size(), 2u);
    EXPECT_EQ(IntervalKeepingFixes({{June8, 47, 8, 0}, {June8 + 2, 47.001, 8, 0}, {June8 + 3, 47.002, 8, 0}}, 1000),
              1000u);
    try {
        IntervalKeepingFixes({{June8, 47, 8, 0}, {June8 + 0.005, 47.001, 8, 0}}, 1000);
        ADD_FAILURE() << "5 ms of times were taken";
    } catch (const ToolError& error) {
        EXPECT_NE(std::string(error.what()).find("span only 0.005 s"), std::string::npos) << error.what();
    }
    EXPECT_THROW(BuildFlight(stuck, 1000), ToolError) << "a recording of one sample";
}

TEST(ImportFlight, ASlowFlightFileLeavesTheGroundOnceItMovesUntilItComesToRest) {
    // A paraglider: standing 10 s, a few noisy steps, then flying north at
    // 10 m/s for 100 s down 300 m, standing again 20 s.
    std::vector<Fix> fixes;
    double north = 0;
    for (int t = 0; t <= 130; ++t) {
        const double speed = t >= 10 && t < 110 ? 10.0 : (t == 4 ? 5.0 : 0.0);
        north += speed;
        fixes.push_back({June8 + t, 47.0 + north / 111194.93, 8.0, 1000.0 - 3.0 * std::clamp(t - 10, 0, 100)});
    }
    const std::vector<FlightPoint> flight = BuildFlight(fixes, 1000, GroundRule{WalkingPaceMps, FlightFileSustainSeconds});
    EXPECT_TRUE(flight[5].onGround) << "a few steps are no take-off";
    EXPECT_TRUE(flight[8].onGround);
    EXPECT_FALSE(flight[12].onGround);
    EXPECT_FALSE(flight[100].onGround);
    EXPECT_TRUE(flight[115].onGround);
    // By the rule for aircraft it would never leave the ground.
    const std::vector<FlightPoint> taxiing = BuildFlight(fixes, 1000);
    EXPECT_TRUE(std::all_of(taxiing.begin(), taxiing.end(), [](const FlightPoint& p) { return p.onGround; }));
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
    // Positions off the earth: 94 degrees north, 181 east, 60 minutes.
    EXPECT_THROW(ReadIgcFixes("HFDTE080604\nB1405099455128N00832946EA0043200432\n"), ToolError);
    EXPECT_THROW(ReadIgcFixes("HFDTE080604\nB1405094727492N18100000EA0043200432\n"), ToolError);
    EXPECT_THROW(ReadIgcFixes("HFDTE080604\nB1405094760000N00832946EA0043200432\n"), ToolError);
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

// Every seed of the three import fuzzers, through the fuzzers' own checks.
// The seeds not named invalid-* are tracks the readers take whole, so that
// the fuzzers start from inputs that reach the flight builder.
TEST(ImportFuzzCorpora, EverySeedReplaysCleanlyAndTheValidOnesHoldTracks) {
    namespace fs = std::filesystem;
    const struct {
        const char* folder;
        import_exercise::Format format;
    } corpora[] = {{"gpx_import", import_exercise::Gpx},
                   {"igc_import", import_exercise::Igc},
                   {"csv_import", import_exercise::Csv}};
    for (const auto& corpus : corpora) {
        const fs::path folder = fs::path(AEROTRACE_FUZZ_CORPUS) / corpus.folder;
        ASSERT_TRUE(fs::is_directory(folder)) << folder;
        int valid = 0;
        for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
            std::ifstream stream(entry.path(), std::ios::binary);
            const std::string bytes((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
            const char* problem =
                import_exercise::Run(corpus.format, reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
            EXPECT_EQ(problem, nullptr) << entry.path() << ": " << (problem ? problem : "");
            if (entry.path().filename().string().rfind("invalid-", 0) == 0) continue;
            ++valid;
            std::vector<Fix> fixes = corpus.format == import_exercise::Gpx   ? ReadGpxFixes(bytes)
                                     : corpus.format == import_exercise::Igc ? ReadIgcFixes(bytes)
                                                                             : ReadCsvFixes(bytes, 1);
            EXPECT_GE(fixes.size(), 2u) << entry.path();
        }
        EXPECT_GT(valid, 0) << folder;
    }
}

// The import as a user runs it: a planned route flown with --speed, and the
// summary line's word on a flight that never leaves the ground.
using ImportCommand = ToolTest;

TEST_F(ImportCommand, ARouteFliesWithTheOptionsItNeedsAndTheSummarySaysWhatWasFilledIn) {
    {
        std::ofstream route("route.gpx");
        route << "<gpx xmlns='http://www.topografix.com/GPX/1/1'><rte><rtept lat='47.0' lon='8.0'/>"
                 "<rtept lat='47.1' lon='8.0'/><rtept lat='47.1' lon='8.2'/></rte></gpx>";
    }
    std::string output, errors;
    EXPECT_EQ(RunTool("import route.gpx -o route.atr", nullptr, &errors), 1);
    EXPECT_NE(errors.find("route.gpx: the track has no times: give --speed KNOTS"), std::string::npos) << errors;
    EXPECT_EQ(RunTool("import route.gpx -o route.atr --speed 120", nullptr, &errors), 1);
    EXPECT_NE(errors.find("give --altitude FEET"), std::string::npos) << errors;
    ASSERT_EQ(RunTool("import route.gpx -o route.atr --speed 120 --altitude 3000 --start 2004-06-08T10:00:00Z", &output),
              0);
    EXPECT_NE(output.find("(flown in order at --speed, all at --altitude)"), std::string::npos) << output;
    std::unique_ptr<RecordingFile> recording = OpenRecording("route.atr");
    // 11.1 km north and 15.2 km east at 61.7 m/s: about 426 s.
    EXPECT_NEAR(recording->tracks[0].lastTime / 10000.0, 426.0, 2.0);
    const FullSample first = SampleAt(recording->tracks[0], 0);
    EXPECT_NEAR(DecodeAltitude(first.position.altitude), 914.4, 0.01);

    // Ten metres a second along a meridian: below the taxi speed throughout.
    {
        std::ofstream slow("slow.gpx");
        slow << "<gpx xmlns='http://www.topografix.com/GPX/1/1'><trk><trkseg>";
        for (int t = 0; t < 60; ++t)
            slow << "<trkpt lat='" << 47.0 + t * 10 / 111194.93 << "' lon='8'><ele>500</ele><time>2004-06-08T10:00:"
                 << (t < 10 ? "0" : "") << t << "Z</time></trkpt>";
        slow << "</trkseg></trk></gpx>";
    }
    ASSERT_EQ(RunTool("import slow.gpx -o slow.atr", &output), 0);
    EXPECT_NE(output.find("it never leaves the ground: it never moves faster than 29.2 knots (--taxi-speed)"),
              std::string::npos)
        << output;
    ASSERT_EQ(RunTool("import slow.gpx -o slow-flying.atr --taxi-speed 10", &output), 0);
    EXPECT_EQ(output.find("never leaves the ground"), std::string::npos) << output;
}

}  // namespace
