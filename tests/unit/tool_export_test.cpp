// Exports read back by an independent reader (gpsbabel) with the right
// number of points and coordinates, the export-import round trip that flies
// the same path, and the CSV and JSON dumps of every recorded value.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "geodesy.h"
#include "recording_fixture.h"
#include "recording_reader.h"
#include "sim.h"
#include "tool_support.h"

namespace {

const uint32_t AllFlags = FlagAllGroups;
const char StandInSettings[] = "[SETTINGS]\nNoRecDlg=1\nRecFlags=4095\n[RECORD]\nDfltItvlIdx=1\nRecAI=1\n";

// Two aircraft side by side for five minutes: taxi, take-off, climb, a turn.
void WriteFormation(const std::string& path) {
    ASSERT_TRUE(WriteFixtureRecording(path, {{"Cessna Skyhawk 172SP", AllFlags, 0.0, 300.0, 250, 0.0},
                                             {"Beech Baron 58", AllFlags & 0x7F, 0.0, 300.0, 500, 200.0}}));
}

struct Point {
    double lat, lon, alt;
};

// gpsbabel's universal CSV (lat, lon, alt columns) of a file it read.
std::vector<Point> ReadWithGpsbabel(const std::string& format, const std::string& path) {
    // Columns: No, Latitude, Longitude, Altitude, Date, Time (six decimals).
    std::string csv = Shell("gpsbabel -t -i " + format + " -f " + path + " -o unicsv -F - 2>&1");
    std::vector<Point> points;
    std::istringstream lines(csv);
    std::string line;
    std::getline(lines, line);  // header
    while (std::getline(lines, line)) {
        Point p{};
        if (std::sscanf(line.c_str(), "%*d,%lf,%lf,%lf", &p.lat, &p.lon, &p.alt) == 3) points.push_back(p);
    }
    return points;
}

std::vector<FullSample> Samples(const std::string& path, uint32_t trackIndex) {
    std::unique_ptr<RecordingFile> recording = OpenRecording(path);
    std::vector<FullSample> samples;
    SampleCursor cursor(recording->tracks.at(trackIndex));
    FullSample s;
    while (cursor.Next(&s)) samples.push_back(s);
    return samples;
}

using ExportReadBack = ToolTest;

TEST_F(ExportReadBack, GpxKmlAndIgcReadByGpsbabelWithEveryPointInPlace) {
    ASSERT_TRUE(HaveProgram("gpsbabel")) << "gpsbabel is not installed (scripts/setup.sh installs it)";
    WriteFormation("flight.atr");
    const std::vector<FullSample> user = Samples("flight.atr", 0);
    const std::vector<FullSample> ai = Samples("flight.atr", 1);
    ASSERT_EQ(user.size(), 1201u);
    ASSERT_EQ(ai.size(), 601u);
    for (const char* format : {"gpx", "kml"}) {
        ASSERT_EQ(RunTool(std::string("export flight.atr --format ") + format + " -o out." + format), 0);
        std::vector<Point> points = ReadWithGpsbabel(format, std::string("out.") + format);
        ASSERT_EQ(points.size(), user.size() + ai.size()) << format;
        for (size_t i = 0; i < points.size(); i += 97) {
            const FullSample& s = i < user.size() ? user[i] : ai[i - user.size()];
            EXPECT_NEAR(points[i].lat, DecodeLatitude(s.position.latitude), 6e-7) << format << " point " << i;
            EXPECT_NEAR(points[i].lon, DecodeLongitude(s.position.longitude), 6e-7) << format << " point " << i;
            EXPECT_NEAR(points[i].alt, DecodeAltitude(s.position.altitude), 0.06) << format << " point " << i;
        }
    }
    // IGC: the chosen aircraft, one fix per second, to a thousandth of a minute and a metre.
    ASSERT_EQ(RunTool("export flight.atr --format igc --track 2 -o out.igc"), 0);
    std::vector<Point> fixes = ReadWithGpsbabel("igc", "out.igc");
    ASSERT_EQ(fixes.size(), 301u);
    for (size_t second = 0; second < fixes.size(); second += 20) {
        const FullSample& s = ai[second * 2];
        EXPECT_NEAR(fixes[second].lat, DecodeLatitude(s.position.latitude), 1e-5) << second;
        EXPECT_NEAR(fixes[second].lon, DecodeLongitude(s.position.longitude), 1e-5) << second;
        EXPECT_NEAR(fixes[second].alt, DecodeAltitude(s.position.altitude), 0.51) << second;
    }
    std::string igc = Shell("head -c 200 out.igc");
    EXPECT_NE(igc.find("HFDTE080604\r\n"), std::string::npos);
    EXPECT_NE(igc.find("\r\nB140509"), std::string::npos);
    EXPECT_NE(igc.find("A0000000130\r\n"), std::string::npos) << "no pressure altitude, GNSS altitude 130 m";
}

using ExportImportRoundTrip = ToolTest;

// Within the tolerance docs/aerotrace.md gives: positions to 0.2 m through
// GPX and CSV (seven decimals of a degree), 2 m through IGC.
TEST_F(ExportImportRoundTrip, TheImportedFlightFliesTheRecordedPath) {
    WriteFormation("flight.atr");
    const std::vector<FullSample> recorded = Samples("flight.atr", 0);
    struct Case {
        const char* format;
        const char* import;
        double metres;
        uint32_t step;  // compare every step-th recorded sample
    } cases[] = {{"gpx", "", 0.2, 1},
                 {"csv", "--track 1", 0.2, 1},
                 // An IGC flight is airborne once it moves; this one taxis at 16 knots.
                 {"igc", "--taxi-speed 29", 2.0, 4}};
    for (const Case& c : cases) {
        const std::string exported = std::string("out.") + c.format;
        ASSERT_EQ(RunTool(std::string("export flight.atr --format ") + c.format + " -o " + exported), 0);
        ASSERT_EQ(
            RunTool("import " + exported + " -o back.atr --interval 250 --title \"Cessna Skyhawk 172SP\" " + c.import),
            0)
            << c.format;
        std::unique_ptr<RecordingFile> back = OpenRecording("back.atr");
        ASSERT_EQ(back->tracks.size(), 1u);
        EXPECT_STREQ(back->tracks[0].title, "Cessna Skyhawk 172SP");
        EXPECT_EQ(back->dateStamp, OpenRecording("flight.atr")->dateStamp) << c.format;
        const std::vector<FullSample> imported = Samples("back.atr", 0);
        ASSERT_EQ(imported.size(), recorded.size()) << c.format;
        for (size_t i = 0; i < imported.size(); i += c.step) {
            const FullSample& a = recorded[i];
            const FullSample& b = imported[i];
            ASSERT_EQ(a.time, b.time) << c.format << " sample " << i;
            double distance =
                DistanceMetres(DecodeLatitude(a.position.latitude), DecodeLongitude(a.position.longitude),
                               DecodeLatitude(b.position.latitude), DecodeLongitude(b.position.longitude));
            ASSERT_LT(distance, c.metres) << c.format << " sample " << i;
            ASSERT_NEAR(DecodeAltitude(a.position.altitude), DecodeAltitude(b.position.altitude), c.metres / 2 + 0.01)
                << c.format << " sample " << i;
        }
        // The attitude a pilot would have flown: the scripted flight heads
        // north climbing at 6 m/s (about 4.6 degrees nose-up at 75 m/s), then
        // turns right at 3 degrees a second (a 22-degree bank).
        const FullSample& climbing = imported[4 * 120];
        EXPECT_NEAR(HeadingDegrees(climbing.heading), 0.0, 2.0) << c.format;
        EXPECT_NEAR(-DecodeAngle(climbing.pitch), 4.6, 1.0) << c.format;
        EXPECT_NEAR(DecodeAngle(climbing.bank), 0.0, 2.0) << c.format;
        const FullSample& turning = imported[4 * 165];
        EXPECT_NEAR(DecodeAngle(turning.bank), 21.8, 4.0) << c.format;
        // Taxiing at both ends is on the ground; flying is not.
        EXPECT_EQ(imported[4 * 30].onGround, 1) << c.format;
        EXPECT_EQ(climbing.onGround, 0) << c.format;
        EXPECT_NEAR(climbing.motion[2], 75.0, 1.5) << c.format;  // north velocity
        EXPECT_NEAR(climbing.motion[1], 6.0, 0.6) << c.format;   // climb
    }
}

// A flight recorded by the module on the stand-in simulator, exported as
// GPX and imported again at the recording's interval: the same positions.
TEST_F(ExportImportRoundTrip, AFlightRecordedOnTheStandInComesBackThroughGpx) {
    SimEnterDirectory(folder);  // the simulator's folder, with Modules
    WriteWholeFile("Modules/Aerotrace.ini",
                   std::vector<uint8_t>(std::begin(StandInSettings), std::end(StandInSettings) - 1));
    SimReset(SimStandardConfig(2));
    ASSERT_TRUE(SimLoadModule());
    SimFireEvent(38, 0, 1);
    SimRunSeconds(10.0);
    EXPECT_FALSE(SimChooseMenuCommand(SimCmdRecord));  // "Record..."
    SimRunSeconds(240.0);
    EXPECT_FALSE(SimChooseMenuCommand(SimCmdRecord));  // "Stop recording..."
    SimUnloadModule();
    std::vector<std::string> saved;
    DirectoryList(
        "Recordings", "Rec_*.atr",
        [](const char* name, void* list) {
            static_cast<std::vector<std::string>*>(list)->push_back(std::string("Recordings/") + name);
        },
        &saved);
    ASSERT_EQ(saved.size(), 1u);
    std::string output;
    ASSERT_EQ(RunTool("validate " + saved[0], &output), 0) << output;
    ASSERT_EQ(RunTool("info " + saved[0], &output), 0);
    EXPECT_NE(output.find("tracks                 3"), std::string::npos) << output;
    ASSERT_EQ(RunTool("export " + saved[0] + " --format gpx -o flight.gpx"), 0);
    ASSERT_EQ(RunTool("import flight.gpx -o back.atr --interval 250"), 0);
    const std::vector<FullSample> recorded = Samples(saved[0], 0);
    const std::vector<FullSample> imported = Samples("back.atr", 0);
    ASSERT_GT(recorded.size(), 900u);
    // Resampled at exact quarter seconds from the first sample.
    size_t compared = 0;
    for (const FullSample& a : recorded) {
        uint32_t offset = a.time - recorded[0].time;
        if (offset % 2500 != 0) continue;
        const FullSample& b = imported.at(offset / 2500);
        double distance = DistanceMetres(DecodeLatitude(a.position.latitude), DecodeLongitude(a.position.longitude),
                                         DecodeLatitude(b.position.latitude), DecodeLongitude(b.position.longitude));
        ASSERT_LT(distance, 0.2) << "at " << a.time;
        ASSERT_NEAR(DecodeAltitude(a.position.altitude), DecodeAltitude(b.position.altitude), 0.11) << "at " << a.time;
        ++compared;
    }
    EXPECT_GT(compared, 900u);
}

using TableExport = ToolTest;

// One CSV line's fields, quotes undone.
std::vector<std::string> SplitCsv(const std::string& line) {
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
        char c = line[i];
        if (quoted && c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
            fields.back() += '"';
            ++i;
        } else if (c == '"') {
            quoted = !quoted;
        } else if (c == ',' && !quoted) {
            fields.emplace_back();
        } else {
            fields.back() += c;
        }
    }
    return fields;
}

TEST_F(TableExport, CsvNamesUnitsQuotesTitlesAndConvertsEveryGroup) {
    ASSERT_TRUE(WriteFixtureRecording("flight.atr", {{"Cessna \"Skyhawk\", 172SP", AllFlags, 100.0, 2.0, 1000, 0.0},
                                                     {"Baron", 0, 100.0, 2.0, 1000, 0.0}}));
    std::string csv;
    ASSERT_EQ(RunTool("export flight.atr --format csv", &csv), 0);
    std::vector<std::string> lines;
    size_t at = 0, end;
    while ((end = csv.find("\r\n", at)) != std::string::npos) {
        lines.push_back(csv.substr(at, end - at));
        at = end + 2;
    }
    EXPECT_EQ(at, csv.size()) << "every line ends in CRLF";
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[0].rfind("track,title,time_s,time_utc,latitude_deg,longitude_deg,altitude_m,altitude_ft,pitch_deg,"
                             "bank_deg,heading_deg,",
                             0),
              0u);
    EXPECT_NE(lines[0].find(",throttle1_pct,"), std::string::npos);
    EXPECT_NE(lines[0].find(",com1_mhz,"), std::string::npos);
    // The first aircraft: quoted title, the date stamp plus the sample time,
    // levers in percent and radios in MHz.
    EXPECT_EQ(lines[1].rfind("1,\"Cessna \"\"Skyhawk\"\", 172SP\",100.0000,2004-06-08T14:06:49.000Z,", 0), 0u);
    const std::vector<std::string> header = SplitCsv(lines[0]);
    auto field = [&](const std::string& line, const std::string& name) {
        std::vector<std::string> row = SplitCsv(line);
        EXPECT_EQ(row.size(), header.size());
        for (size_t i = 0; i < header.size() && i < row.size(); ++i)
            if (header[i] == name) return row[i];
        return std::string("<no column>");
    };
    EXPECT_EQ(SplitCsv(lines[1])[1], "Cessna \"Skyhawk\", 172SP");
    EXPECT_EQ(field(lines[1], "throttle1_pct"), "100.0");
    EXPECT_EQ(field(lines[1], "com1_mhz"), "123.30");
    EXPECT_EQ(field(lines[1], "nav1_mhz"), "111.30");
    EXPECT_EQ(field(lines[1], "transponder_code"), "1200");
    EXPECT_EQ(field(lines[1], "gear_pct"), "100.0");
    EXPECT_EQ(field(lines[1], "sim_year"), "2004");
    EXPECT_EQ(field(lines[1], "on_ground"), "0");
    EXPECT_EQ(field(lines[1], "heading_deg"), "0.00");
    // The second aircraft records no groups: those columns stay empty.
    EXPECT_EQ(lines[4].rfind("2,Baron,100.0000,", 0), 0u);
    EXPECT_EQ(field(lines[4], "throttle1_pct"), "");
    EXPECT_EQ(field(lines[4], "heading_deg"), "0.00");
}

TEST_F(TableExport, JsonAndGeoJsonParseWithEveryPoint) {
    ASSERT_TRUE(HaveProgram("python3")) << "python3 is needed to parse JSON (scripts/setup.sh installs it)";
    WriteFormation("flight.atr");
    ASSERT_EQ(RunTool("export flight.atr --format json -o out.json"), 0);
    ASSERT_EQ(RunTool("export flight.atr --format geojson -o out.geojson"), 0);
    std::string summary = Shell(
        "python3 -c \"import json; d=json.load(open('out.json')); g=json.load(open('out.geojson')); "
        "print(len(d['tracks']), len(d['tracks'][0]['samples']), len(d['tracks'][1]['samples']), d['start_utc'], "
        "d['tracks'][0]['samples'][0]['throttle1_pct'], 'throttle1_pct' in d['tracks'][1]['samples'][0], "
        "g['type'], len(g['features']), len(g['features'][1]['geometry']['coordinates']), "
        "len(g['features'][1]['properties']['times']), g['features'][0]['properties']['title'])\"");
    EXPECT_EQ(summary, "2 1201 601 2004-06-08T14:05:09Z 0.0 True FeatureCollection 2 601 601 Cessna Skyhawk 172SP\n");
}

using ExportErrors = ToolTest;

TEST_F(ExportErrors, BadRequestsFailClearlyAndLeaveNoFile) {
    WriteFormation("flight.atr");
    std::string errors;
    EXPECT_EQ(RunTool("export flight.atr --format shp -o out.shp", nullptr, &errors), 2);
    EXPECT_NE(errors.find("unknown format"), std::string::npos);
    EXPECT_EQ(RunTool("export flight.atr --format gpx --track 3 -o out.gpx", nullptr, &errors), 2);
    EXPECT_NE(errors.find("2 track(s)"), std::string::npos);
    EXPECT_EQ(RunTool("export flight.atr --format gpx -o flight.atr", nullptr, &errors), 2);
    EXPECT_EQ(Shell("ls"), "flight.atr\ntool.err\ntool.out\n");
    std::vector<uint8_t> bytes = ReadWholeFile("flight.atr");
    bytes.resize(bytes.size() - 10);
    WriteWholeFile("cut.atr", bytes);
    EXPECT_EQ(RunTool("export cut.atr --format csv -o out.csv", nullptr, &errors), 1);
    EXPECT_NE(errors.find("damaged at byte"), std::string::npos) << errors;
    EXPECT_EQ(RunTool("export missing.atr --format csv", nullptr, &errors), 1);
    EXPECT_NE(errors.find("cannot be opened"), std::string::npos);
    std::string help;
    EXPECT_EQ(RunTool("export --help", &help), 0);
    EXPECT_NE(help.find("--format"), std::string::npos);
}

}  // namespace
