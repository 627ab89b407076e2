// The flight report read back as a document: its maps and plots parsed as
// SVG (the page is well-formed XML), with the polylines, points, axes and
// take-off and touchdown markers a recording of known tracks must give; the
// line simplification on its own; and the page rendered and printed by a
// real browser.
#include <gtest/gtest.h>

#include <pugixml.hpp>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>

#include "geodesy.h"
#include "recording_fixture.h"
#include "report.h"
#include "tool_support.h"

namespace {

FullSample At(double seconds, double latitude, double longitude, double metres, bool onGround) {
    FullSample s{};
    s.position = {EncodeLatitude(latitude), EncodeLongitude(longitude), EncodeAltitude(metres)};
    s.onGround = onGround ? 1 : 0;
    s.time = static_cast<uint32_t>(std::llround(seconds * 10000));
    return s;
}

// Three tracks whose drawing is known:
//  1. nine fixes 10 s apart in a zigzag of kilometre legs, every corner
//     kept; on the ground until 30 s and again from 70 s;
//  2. 201 fixes a second apart due north along one meridian: a straight
//     line, two points, at 0.0005 degrees (55.6 m) a second;
//  3. 20000 fixes of circling with one altitude spike: decimated.
const double ZigzagMetres[] = {400, 400, 400, 600, 900, 1200, 800, 400, 400};

std::vector<SampleTrack> KnownTracks() {
    SampleTrack zigzag{"Zigzag \"one\" & <co>", 10000, {}};
    for (int i = 0; i < 9; ++i)
        zigzag.samples.push_back(At(i * 10.0, 47.0 + (i % 2) * 0.01, 8.0 + i * 0.02, ZigzagMetres[i], i < 3 || i > 6));
    SampleTrack straight{"Straight", 1000, {}};
    for (int i = 0; i <= 200; ++i) straight.samples.push_back(At(i, 47.0 + i * 0.0005, 8.3, 1000, false));
    SampleTrack circling{"Circling", 250, {}};
    for (int i = 0; i < 20000; ++i) {
        const double t = i * 0.25;
        circling.samples.push_back(At(t, 47.2 + 0.02 * std::sin(t / 60), 8.2 + 0.03 * std::cos(t / 60),
                                      i == 12345 ? 5000.0 : 1000 + 300 * std::sin(t / 300), false));
    }
    return {zigzag, straight, circling};
}

std::vector<PlanePoint> PointsOf(pugi::xml_node polyline) {
    std::vector<PlanePoint> points;
    std::istringstream text(polyline.attribute("points").value());
    std::string pair;
    while (text >> pair) {
        PlanePoint p{};
        EXPECT_EQ(std::sscanf(pair.c_str(), "%lf,%lf", &p.x, &p.y), 2) << pair;
        points.push_back(p);
    }
    return points;
}

double Number(pugi::xml_node node, const char* attribute) { return node.attribute(attribute).as_double(NAN); }

pugi::xml_node One(pugi::xml_node scope, const std::string& path) {
    pugi::xpath_node_set found = scope.select_nodes(path.c_str());
    EXPECT_EQ(found.size(), 1u) << path;
    return found.empty() ? pugi::xml_node() : found.first().node();
}

std::string Section(int track) { return "//section[@id='track-" + std::to_string(track) + "']"; }

class Report : public ToolTest {
protected:
    void SetUp() override {
        ToolTest::SetUp();
        ASSERT_TRUE(WriteSampleRecording("known.atr", KnownTracks()));
        ASSERT_EQ(RunTool("report known.atr -o known.html"), 0);
        const pugi::xml_parse_result parsed = page.load_file("known.html");
        ASSERT_TRUE(parsed) << "the page is not well-formed at byte " << parsed.offset << ": " << parsed.description();
    }
    pugi::xml_document page;
};

TEST_F(Report, MapsHoldEveryTrackAsAPolylineDrawnToScale) {
    // The first page: all three on one map, in three colours.
    pugi::xpath_node_set all = page.select_nodes("//section[contains(@class,'overview')]//svg[@class='map']/g[@class='track']");
    ASSERT_EQ(all.size(), 3u);
    EXPECT_STRNE(all[0].node().attribute("stroke").value(), all[1].node().attribute("stroke").value());
    EXPECT_STRNE(all[1].node().attribute("stroke").value(), all[2].node().attribute("stroke").value());
    for (const pugi::xpath_node& track : all) EXPECT_EQ(track.node().select_nodes("polyline").size(), 1u);

    // Each track's own map: every zigzag corner, the straight line's ends,
    // and the circles reduced from 20000 points to what the map shows.
    const std::vector<PlanePoint> zigzag = PointsOf(One(page, Section(1) + "//svg[@class='map']//polyline"));
    EXPECT_EQ(zigzag.size(), 9u);
    EXPECT_EQ(PointsOf(One(page, Section(2) + "//svg[@class='map']//polyline")).size(), 2u);
    const size_t circling = PointsOf(One(page, Section(3) + "//svg[@class='map']//polyline")).size();
    EXPECT_GT(circling, 20u);
    EXPECT_LT(circling, 2000u);

    // To scale: a leg measured on the map is the leg on the earth.
    const pugi::xml_node map = One(page, Section(1) + "//svg[@class='map']");
    const double unitsPerMetre = Number(map, "data-units-per-metre");
    ASSERT_GT(unitsPerMetre, 0);
    for (int leg = 0; leg < 8; ++leg) {
        const double drawn = std::hypot(zigzag[leg + 1].x - zigzag[leg].x, zigzag[leg + 1].y - zigzag[leg].y);
        const double metres = DistanceMetres(47.0 + (leg % 2) * 0.01, 8.0 + leg * 0.02, 47.0 + ((leg + 1) % 2) * 0.01,
                                             8.0 + (leg + 1) * 0.02);
        EXPECT_NEAR(drawn / unitsPerMetre, metres, metres * 0.003) << "leg " << leg;
    }
    // North is up: the second point lies north of the first.
    EXPECT_LT(zigzag[1].y, zigzag[0].y);
    // Both distance scales are round lengths drawn at the map's scale.
    pugi::xpath_node_set scales = map.select_nodes(".//g[@class='scale']");
    ASSERT_EQ(scales.size(), 2u);
    for (const pugi::xpath_node& scale : scales) {
        const double width = Number(scale.node().child("rect"), "width");
        EXPECT_NEAR(width, Number(scale.node(), "data-metres") * unitsPerMetre, 0.06);
        EXPECT_GT(width, 40);
    }
    // On every map, a metric bar of a kilometre or more is labelled in kilometres.
    for (const pugi::xpath_node& scale : page.select_nodes("//g[@class='scale']")) {
        const double metres = Number(scale.node(), "data-metres");
        const std::string label = scale.node().select_node("text[@class='scale-label']").node().child_value();
        const size_t blank = label.find(' ');
        const std::string unit = blank == std::string::npos ? "" : label.substr(blank + 1);
        if (unit == "m") {
            EXPECT_LT(metres, 1000.0) << label;
        } else if (unit == "km") {
            EXPECT_DOUBLE_EQ(std::stod(label) * 1000.0, metres) << label;
        }
    }
    EXPECT_FALSE(map.select_node(".//g[@class='north']").node().empty());
}

TEST_F(Report, PlotsHaveAxesAroundEveryValueAndKeepEveryPeak) {
    const std::vector<SampleTrack> tracks = KnownTracks();
    for (int number = 1; number <= 3; ++number) {
        const std::vector<FullSample>& samples = tracks[number - 1].samples;
        double low = HUGE_VAL, high = -HUGE_VAL;
        for (const FullSample& s : samples) {
            low = std::min(low, DecodeAltitude(s.position.altitude) * FeetPerMetre);
            high = std::max(high, DecodeAltitude(s.position.altitude) * FeetPerMetre);
        }
        for (const char* kind : {"altitude", "speed"}) {
            const std::string where = Section(number) + "//svg[@class='plot " + kind + "']";
            const pugi::xml_node plot = One(page, where);
            const pugi::xml_node frame = One(page, where + "/rect[@class='frame']");
            const std::vector<PlanePoint> points = PointsOf(One(page, where + "/polyline"));
            ASSERT_FALSE(points.empty()) << where;
            EXPECT_LE(points.size(), 2 * (PlotRight - PlotLeft) + 2) << where;
            const double x0 = Number(frame, "x"), y0 = Number(frame, "y");
            const double x1 = x0 + Number(frame, "width"), y1 = y0 + Number(frame, "height");
            for (const PlanePoint& p : points) {
                EXPECT_TRUE(p.x >= x0 - 0.05 && p.x <= x1 + 0.05 && p.y >= y0 - 0.05 && p.y <= y1 + 0.05)
                    << where << ": " << p.x << "," << p.y << " outside the axes";
            }
            EXPECT_NEAR(Number(plot, "data-x-min"), samples.front().time / 10000.0, 1e-3);
            EXPECT_NEAR(Number(plot, "data-x-max"), samples.back().time / 10000.0, 1e-3);
            if (std::string(kind) == "altitude") {
                EXPECT_LE(Number(plot, "data-y-min"), low) << where;
                EXPECT_GE(Number(plot, "data-y-max"), high) << where;
                // The highest sample is drawn at the top of the line, even decimated.
                double top = HUGE_VAL;
                for (const PlanePoint& p : points) top = std::min(top, p.y);
                const double expected = y1 - (high - Number(plot, "data-y-min")) /
                                                 (Number(plot, "data-y-max") - Number(plot, "data-y-min")) * (y1 - y0);
                EXPECT_NEAR(top, expected, 0.06) << where;
            } else {
                EXPECT_EQ(Number(plot, "data-y-min"), 0.0);
            }
            // Labelled axes with their units.
            std::string labels;
            for (const pugi::xpath_node& label : plot.select_nodes(".//text[contains(@class,'axis-label')]"))
                labels += std::string(label.node().child_value()) + "|";
            EXPECT_NE(labels.find(std::string(kind) == "altitude" ? "Altitude (ft)" : "Ground speed (kt)"),
                      std::string::npos);
            EXPECT_NE(labels.find("Time since the recording started (min:s)"), std::string::npos) << labels;
        }
    }
    // The straight track's ground speed: 55.6 m/s, 108 kt, all along.
    const pugi::xml_node speed = One(page, Section(2) + "//svg[@class='plot speed']");
    EXPECT_GE(Number(speed, "data-y-max"), 108.0);
    EXPECT_LE(Number(speed, "data-y-max"), 150.0);
    const std::vector<PlanePoint> flat = PointsOf(One(page, Section(2) + "//svg[@class='plot speed']/polyline"));
    for (const PlanePoint& p : flat) EXPECT_NEAR(p.y, flat.front().y, 0.15);
    // Drawn at its value in knots of 1,852 m.
    const pugi::xml_node speedFrame = One(page, Section(2) + "//svg[@class='plot speed']/rect[@class='frame']");
    const double top = Number(speedFrame, "y"), bottom = top + Number(speedFrame, "height");
    const double low = Number(speed, "data-y-min"), high = Number(speed, "data-y-max");
    const double metresPerSecond = 0.0005 * Pi / 180.0 * EarthRadiusMetres;
    EXPECT_NEAR(low + (bottom - flat.front().y) / (bottom - top) * (high - low), metresPerSecond * 3600.0 / 1852.0, 0.5);
}

TEST_F(Report, MarksTakeOffAndTouchdownWhereTheGroundFlagChanges) {
    for (const char* drawing : {"map", "plot altitude", "plot speed"}) {
        const std::string where = Section(1) + "//svg[@class='" + drawing + "']";
        pugi::xpath_node_set takeOffs = page.select_nodes((where + "//path[@class='takeoff']").c_str());
        pugi::xpath_node_set touchdowns = page.select_nodes((where + "//path[@class='touchdown']").c_str());
        ASSERT_EQ(takeOffs.size(), 1u) << drawing;
        ASSERT_EQ(touchdowns.size(), 1u) << drawing;
        EXPECT_DOUBLE_EQ(Number(takeOffs[0].node(), "data-seconds"), 30.0) << drawing;
        EXPECT_DOUBLE_EQ(Number(touchdowns[0].node(), "data-seconds"), 70.0) << drawing;
    }
    // Airborne throughout: no marker.
    EXPECT_TRUE(page.select_nodes((Section(2) + "//path[@class='takeoff']").c_str()).empty());
    // The plot's take-off line stands at 30 s on the time axis.
    const std::string plot = Section(1) + "//svg[@class='plot altitude']";
    const pugi::xml_node line = One(page, plot + "/line[@class='event takeoff']");
    const pugi::xml_node frame = One(page, plot + "/rect[@class='frame']");
    EXPECT_NEAR(Number(line, "x1"), Number(frame, "x") + Number(frame, "width") * 30.0 / 80.0, 0.06);
    // And the summary says when, on the clock too.
    std::string rows;
    for (pugi::xml_node row : One(page, Section(1) + "/dl").children()) rows += std::string(row.child_value()) + "|";
    EXPECT_NE(rows.find("take-off|0:00:30 after the start (14:05:39 UTC)|"), std::string::npos) << rows;
    EXPECT_NE(rows.find("touchdown|0:01:10 after the start (14:06:19 UTC)|"), std::string::npos) << rows;
    EXPECT_NE(rows.find("samples|9|"), std::string::npos) << rows;
    // The title, escaped in the file, reads back as it is.
    EXPECT_NE(std::string(One(page, Section(1) + "/h2").text().get()).find("Zigzag \"one\" & <co>"),
              std::string::npos);
}

TEST(ReportLines, SimplifiedLinesStayWithinTheToleranceOfEveryPoint) {
    std::mt19937 random(7);
    std::normal_distribution<double> step(0.0, 3.0);
    std::vector<PlanePoint> walk{{0, 0}};
    for (int i = 0; i < 5000; ++i) walk.push_back({walk.back().x + step(random) + 0.5, walk.back().y + step(random)});
    // Out and back along one line, then a loop that ends where it began.
    std::vector<PlanePoint> outAndBack;
    for (int i = 0; i <= 10; ++i) outAndBack.push_back({i * 10.0, 0});
    for (int i = 9; i >= 5; --i) outAndBack.push_back({i * 10.0, 0});
    std::vector<PlanePoint> loop;
    for (int i = 0; i <= 100; ++i) loop.push_back({50 * std::cos(i * Pi / 50), 50 * std::sin(i * Pi / 50)});
    for (const std::vector<PlanePoint>* line : {&walk, &outAndBack, &loop}) {
        const std::vector<size_t> kept = SimplifyPolyline(*line, 0.5);
        ASSERT_GE(kept.size(), 2u);
        EXPECT_EQ(kept.front(), 0u);
        EXPECT_EQ(kept.back(), line->size() - 1);
        // Each point lies within the tolerance of the kept segment over it.
        for (size_t k = 0; k + 1 < kept.size(); ++k) {
            ASSERT_LT(kept[k], kept[k + 1]);
            const PlanePoint a = (*line)[kept[k]], b = (*line)[kept[k + 1]];
            for (size_t i = kept[k]; i <= kept[k + 1]; ++i) {
                const PlanePoint p = (*line)[i];
                const double dx = b.x - a.x, dy = b.y - a.y;
                const double lengthSquared = dx * dx + dy * dy;
                const double t = lengthSquared > 0 ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / lengthSquared, 0.0, 1.0) : 0;
                EXPECT_LE(std::hypot(p.x - a.x - t * dx, p.y - a.y - t * dy), 0.5 + 1e-9) << "point " << i;
            }
        }
        EXPECT_LT(kept.size(), line->size());
    }
    EXPECT_EQ(SimplifyPolyline(outAndBack, 0.5), (std::vector<size_t>{0, 10, 15})) << "the far end stays";
}

// The page in a real browser: drawn (not blank) and printed on one page per
// track after the page of all tracks.
using ReportInBrowser = ToolTest;

TEST_F(ReportInBrowser, RendersAndPrintsOnePagePerTrack) {
    ASSERT_TRUE(HaveProgram("chromium")) << "chromium is not installed (scripts/setup.sh installs it)";
    ASSERT_TRUE(HaveProgram("convert")) << "ImageMagick is not installed (scripts/setup.sh installs it)";
    ASSERT_TRUE(WriteSampleRecording("known.atr", KnownTracks()));
    ASSERT_EQ(RunTool("report known.atr -o known.html"), 0);
    const std::string shot = std::string(AEROTRACE_SCRIPTS) + "/browser-shot.sh";
    ASSERT_EQ(std::system((shot + " known.html known.png 1000,1400").c_str()), 0);
    // Not blank: the grey levels spread, and the tracks' colours are there.
    const std::string stats = Shell("convert known.png -format '%[fx:standard_deviation] %k' info:");
    double deviation = 0;
    unsigned colours = 0;
    ASSERT_EQ(std::sscanf(stats.c_str(), "%lf %u", &deviation, &colours), 2) << stats;
    EXPECT_GT(deviation, 0.05) << stats;
    EXPECT_GT(colours, 100u) << stats;
    const std::string blue = Shell("convert known.png -fill black +opaque '#1f77b4' -format '%[fx:mean]' info:");
    EXPECT_GT(std::atof(blue.c_str()), 0.0005) << "the first track's colour is drawn";
    ASSERT_EQ(std::system((shot + " known.html known.pdf").c_str()), 0);
    const std::string pages = Shell("grep -a -o '/Count [0-9]*' known.pdf | sort -u");
    EXPECT_EQ(pages, "/Count 4\n") << "a page for all tracks and one for each";
}

}  // namespace
