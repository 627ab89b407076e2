// Take-offs, landings and flight figures measured on flights whose truth is
// known: motions given in closed form (speed along a meridian, altitude
// against time), sampled and measured back; and the stand-in's scripted
// circuit recorded as the module records it, measured by "aerotrace info
// --landings" and shown in the report's tables.
#include <gtest/gtest.h>

#include <pugixml.hpp>

#include <cmath>
#include <functional>

#include "flight_analysis.h"
#include "recording_fixture.h"
#include "recording_reader.h"
#include "tool_support.h"

namespace {

const double MetresPerDegree = 3.14159265358979323846 / 180.0 * 6371000.0;  // the tool's sphere
const double MetresPerKnot = 1852.0 / 3600.0;
const double MetresPerFpm = 0.3048 / 60.0;
const double Ground = 100.0;  // the altitude the aircraft has on the ground

struct Motion {
    double northMetres, altitudeMetres;
};

// Samples every `interval` seconds from 0 to `end`, on the ground wherever
// the altitude is at Ground, heading `heading`, pitched `pitch` nose-up.
std::vector<TrackPoint> Sampled(double interval, double end, const std::function<Motion(double)>& motion,
                                 double heading = 0.0, double pitch = 3.0) {
    std::vector<TrackPoint> points;
    for (int i = 0; i * interval <= end + 1e-9; ++i) {
        const double t = i * interval;
        const Motion m = motion(t);
        const double altitude = std::max(Ground, m.altitudeMetres);
        points.push_back({t, 47.0 + m.northMetres / MetresPerDegree, 8.0, altitude, pitch, 1.5, heading,
                          altitude <= Ground});
    }
    return points;
}

// North distance at constant speed v0 (m/s) until `at`, then slowing at
// `decelerate` (m/s²) down to a stop.
double Rolled(double t, double at, double v0, double decelerate) {
    if (t <= at) return v0 * t;
    const double dt = std::min(t - at, v0 / decelerate);
    return v0 * at + v0 * dt - 0.5 * decelerate * dt * dt;
}

TEST(FlightAnalysis, ASteadyDescentTouchesDownBetweenSamplesAtItsOwnRate) {
    // 60 knots and -150 ft/min, touching down at 40.3 s, 5 degrees of crab;
    // then slowing at 1.5 knots a second.
    const double v0 = 60 * MetresPerKnot, rate = 150 * MetresPerFpm, touchdown = 40.3;
    const std::vector<TrackPoint> points = Sampled(
        1.0, 90.0,
        [&](double t) {
            return Motion{Rolled(t, touchdown, v0, 1.5 * MetresPerKnot), Ground + (touchdown - t) * rate};
        },
        5.0);
    const FlightFigures flight = AnalyseFlight(points);
    ASSERT_EQ(flight.landings.size(), 1u);
    ASSERT_EQ(flight.landings[0].touchdowns.size(), 1u);
    EXPECT_TRUE(flight.takeOffs.empty());
    const Touchdown& at = flight.landings[0].touchdowns[0];
    EXPECT_NEAR(at.seconds, touchdown, 0.01);
    ASSERT_TRUE(at.verticalSpeedFpm.known) << at.verticalSpeedFpm.reason;
    EXPECT_NEAR(at.verticalSpeedFpm.value, -150.0, 5.0);
    EXPECT_NEAR(at.groundSpeedKnots, 60.0, 0.5);
    EXPECT_NEAR(at.pitchDegrees, 3.0, 1e-6);
    EXPECT_NEAR(at.bankDegrees, 1.5, 1e-6);
    ASSERT_TRUE(at.crabDegrees.known);
    EXPECT_NEAR(at.crabDegrees.value, 5.0, 0.01);
    EXPECT_NEAR((at.latitude - 47.0) * MetresPerDegree, v0 * touchdown, 0.5);
    // 50 ft above the runway 20 s before, at 60 knots; 20 s of roll to 30 knots at 45 on average.
    ASSERT_TRUE(flight.landings[0].airDistanceMetres.known);
    EXPECT_NEAR(flight.landings[0].airDistanceMetres.value, v0 * 20.0, 1.0);
    ASSERT_TRUE(flight.landings[0].rollMetres.known);
    EXPECT_NEAR(flight.landings[0].rollMetres.value, 45 * MetresPerKnot * 20.0, 2.0);
    // It starts in the air: no block or air time.
    EXPECT_FALSE(flight.blockSeconds.known);
    EXPECT_EQ(flight.airSeconds.reason, "starts in the air");
    EXPECT_NEAR(flight.highestMetres, Ground + touchdown * rate, 1e-6);
}

TEST(FlightAnalysis, ABounceIsOneLandingWithEachTouchdownAtItsOwnRate) {
    // -600 ft/min to 30.6 s; off again at 30.9 s climbing 300 ft/min for a
    // second, then down at 250 ft/min to 33.1 s. Sampled at 4 Hz, 50 knots.
    const double v0 = 50 * MetresPerKnot;
    const std::vector<TrackPoint> points = Sampled(0.25, 70.0, [&](double t) {
        double altitude = Ground + (30.6 - t) * 600 * MetresPerFpm;
        if (t > 30.9 && t <= 31.9) altitude = Ground + (t - 30.9) * 300 * MetresPerFpm;
        if (t > 31.9) altitude = Ground + 300 * MetresPerFpm - (t - 31.9) * 250 * MetresPerFpm;
        return Motion{Rolled(t, 33.1, v0, 2 * MetresPerKnot), altitude};
    });
    const FlightFigures flight = AnalyseFlight(points);
    EXPECT_TRUE(flight.takeOffs.empty());  // the bounce is no take-off
    ASSERT_EQ(flight.landings.size(), 1u);
    const std::vector<Touchdown>& touchdowns = flight.landings[0].touchdowns;
    ASSERT_EQ(touchdowns.size(), 2u);
    EXPECT_NEAR(touchdowns[0].seconds, 30.6, 0.01);
    EXPECT_NEAR(touchdowns[0].verticalSpeedFpm.value, -600.0, 5.0);
    EXPECT_NEAR(touchdowns[1].seconds, 33.1, 0.01);
    ASSERT_TRUE(touchdowns[1].verticalSpeedFpm.known) << touchdowns[1].verticalSpeedFpm.reason;
    EXPECT_NEAR(touchdowns[1].verticalSpeedFpm.value, -250.0, 5.0);  // measured on its way down only
    // The roll runs from the last touchdown.
    ASSERT_TRUE(flight.landings[0].rollMetres.known);
    EXPECT_NEAR(flight.landings[0].rollMetres.value, 40 * MetresPerKnot * 10.0, 2.0);
}

TEST(FlightAnalysis, ACircuitHasItsTakeOffLandingAndFlightFigures) {
    // Parked 10 s; 3 knots a second up to 60 knots, off at 30 s; 500 ft/min
    // for two minutes, level, a 300 ft/min descent to 330 s; slowing at 3
    // knots a second to a stop at 350 s; parked to 400 s.
    const double a = 3 * MetresPerKnot, v = 60 * MetresPerKnot;
    const auto north = [&](double t) {
        if (t <= 10) return 0.0;
        if (t <= 30) return 0.5 * a * (t - 10) * (t - 10);
        const double rolled = 0.5 * a * 400;
        if (t <= 330) return rolled + v * (t - 30);
        const double dt = std::min(t - 330, 20.0);
        return rolled + v * 300 + v * dt - 0.5 * a * dt * dt;
    };
    const auto altitude = [&](double t) {
        if (t < 30) return Ground;
        const double top = Ground + 120 * 500 * MetresPerFpm;
        if (t <= 150) return Ground + 1e-3 + (t - 30) * 500 * MetresPerFpm;
        return std::min(top, Ground + (330 - t) * 300 * MetresPerFpm);
    };
    const std::vector<TrackPoint> points =
        Sampled(1.0, 400.0, [&](double t) { return Motion{north(t), altitude(t)}; });
    const FlightFigures flight = AnalyseFlight(points);
    ASSERT_EQ(flight.takeOffs.size(), 1u);
    ASSERT_EQ(flight.landings.size(), 1u);
    const TakeOff& off = flight.takeOffs[0];
    EXPECT_DOUBLE_EQ(off.seconds, 30.0);
    EXPECT_NEAR(off.groundSpeedKnots, 60.0, 1.6);  // the speed's two-second window spans the lift-off's knee
    ASSERT_TRUE(off.rollMetres.known);
    EXPECT_NEAR(off.rollMetres.value, 45 * MetresPerKnot * 10, 2.0);  // from 30 knots, 10 s before
    ASSERT_TRUE(off.climbFpm.known);
    EXPECT_NEAR(off.climbFpm.value, 500.0, 1.0);
    EXPECT_NEAR(flight.landings[0].touchdowns[0].verticalSpeedFpm.value, -300.0, 5.0);
    ASSERT_TRUE(flight.landings[0].airDistanceMetres.known);
    EXPECT_NEAR(flight.landings[0].airDistanceMetres.value, v * 50 * 0.3048 / (300 * MetresPerFpm), 1.0);

    ASSERT_TRUE(flight.airSeconds.known);
    EXPECT_NEAR(flight.airSeconds.value, 300.0, 0.1);
    ASSERT_TRUE(flight.blockSeconds.known) << flight.blockSeconds.reason;
    EXPECT_NEAR(flight.blockSeconds.value, 340.0, 2.0);  // 10 s to 350 s, to the sample and the speed's window
    EXPECT_NEAR(flight.distanceMetres, north(400), 0.5);
    EXPECT_NEAR(flight.highestMetres, Ground + 1000 * 0.3048, 0.01);
}

TEST(FlightAnalysis, WhatARecordingCannotTellIsNotKnownWithItsReason) {
    // On the ground already moving, airborne at 2 s, down at 2.5 s, and the
    // recording ends before the aircraft stops.
    const std::vector<TrackPoint> points = Sampled(0.5, 20.0, [](double t) {
        return Motion{t * 40 * MetresPerKnot, t > 1.9 && t < 2.5 ? Ground + 0.5 : Ground};
    });
    const FlightFigures flight = AnalyseFlight(points);
    ASSERT_EQ(flight.takeOffs.size(), 1u);
    EXPECT_EQ(flight.takeOffs[0].rollMetres.reason, "starts above 30 kt");
    ASSERT_EQ(flight.landings.size(), 1u);
    const Landing& landing = flight.landings[0];
    EXPECT_FALSE(landing.touchdowns[0].verticalSpeedFpm.known);  // one sample in the air
    EXPECT_EQ(landing.airDistanceMetres.reason, "not 50 ft up since the lift-off");
    EXPECT_EQ(landing.rollMetres.reason, "ends above 30 kt");
    EXPECT_EQ(flight.blockSeconds.reason, "starts moving");
    EXPECT_TRUE(flight.airSeconds.known);

    // Touching down two seconds into a recording: too close to its start for a fit.
    const FlightFigures early = AnalyseFlight(Sampled(1.0, 10.0, [](double t) {
        return Motion{t * 50, Ground + (2.5 - t) * 3};
    }));
    ASSERT_EQ(early.landings.size(), 1u);
    EXPECT_EQ(early.landings[0].touchdowns[0].verticalSpeedFpm.reason,
              "too near the recording's start for a fit");
    EXPECT_EQ(early.landings[0].airDistanceMetres.reason,
              "starts below 50 ft");
    EXPECT_EQ(AnalyseFlight({}).airSeconds.reason, "no samples");
}

// The stand-in's circuit from world time 0.1 s, a sample every 250 ms: off
// the ground at 95 s climbing 6 m/s, down at 560 s (between two samples)
// descending 870 m in 160 s at 75 m/s, and slowing from there.
using StandInCircuit = ToolTest;

TEST_F(StandInCircuit, ItsTouchdownIsMeasuredAtTheScriptsRateAndShownByInfoAndTheReport) {
    ASSERT_TRUE(WriteFixtureRecording("circuit.atr", {{"Circuit", 0x7F, 0.1, 640.0, 250, 0.0}}));
    std::unique_ptr<RecordingFile> recording = OpenRecording("circuit.atr");
    const FlightFigures flight = AnalyseFlight(ReadTrackPoints(recording->tracks[0]));
    ASSERT_EQ(flight.takeOffs.size(), 1u);
    ASSERT_EQ(flight.landings.size(), 1u);
    const Touchdown& down = flight.landings[0].touchdowns[0];
    EXPECT_NEAR(down.seconds, 560.0, 0.05);
    EXPECT_NEAR(down.verticalSpeedFpm.value, -870.0 / 160.0 * 60 / 0.3048, 5.0);
    EXPECT_NEAR(down.groundSpeedKnots, 75 / MetresPerKnot, 0.5);
    EXPECT_NEAR(flight.takeOffs[0].climbFpm.value, 6.0 * 60 / 0.3048, 1.0);
    EXPECT_NEAR(flight.airSeconds.value, 465.0, 0.3);
    EXPECT_NEAR(flight.blockSeconds.value, 605.0, 2.0);  // moving from 20 s to 625 s

    std::string output;
    ASSERT_EQ(RunTool("info --landings circuit.atr", &output), 0);
    EXPECT_NE(output.find("take-offs            1\n"), std::string::npos) << output;
    EXPECT_NE(output.find("landing 1  560.0 s  -1070 ft/min (-5.4"), std::string::npos) << output;

    ASSERT_EQ(RunTool("report circuit.atr -o circuit.html"), 0);
    pugi::xml_document page;
    ASSERT_TRUE(page.load_file("circuit.html"));
    const pugi::xpath_node_set cells = page.select_nodes("//table[@class='figures landings']/tbody/tr/td");
    ASSERT_EQ(cells.size(), 9u);
    EXPECT_STREQ(cells[0].node().child_value(), "landing 1");
    EXPECT_STREQ(cells[1].node().child_value(), "0:09:20 (14:14:29 UTC)");
    EXPECT_EQ(std::string(cells[2].node().child_value()).rfind("-1070 ft/min", 0), 0u);
    EXPECT_EQ(page.select_nodes("//table[@class='figures takeoffs']/tbody/tr").size(), 1u);

    // The JSON export carries the same figures; an unknown one is null with its reason.
    ASSERT_EQ(RunTool("export circuit.atr --format json -o circuit.json"), 0);
    const std::string figures = Shell(
        "python3 -c \"import json; f=json.load(open('circuit.json'))['tracks'][0]['flight']; "
        "t=f['landings'][0]['touchdowns'][0]; "
        "print(len(f['take_offs']), len(f['landings']), t['vertical_speed_fpm'], t['time_s'], "
        "f['take_offs'][0]['climb_first_minute_fpm'], 'unknown' in f)\"");
    EXPECT_EQ(figures, "1 1 -1070 560.0 1181 False\n");
    ASSERT_TRUE(WriteFixtureRecording("airborne.atr", {{"Airborne", 0x7F, 300.0, 300.0, 250, 0.0}}));
    ASSERT_EQ(RunTool("export airborne.atr --format json -o airborne.json"), 0);
    const std::string unknown = Shell(
        "python3 -c \"import json; f=json.load(open('airborne.json'))['tracks'][0]['flight']; "
        "print(f['block_time_s'], f['unknown'], f['landings'][0]['roll_to_30_kt_m'] > 1000)\"");
    EXPECT_EQ(unknown, "None {'block_time_s': 'starts in the air', 'air_time_s': 'starts in the air'} True\n");
}

}  // namespace
