// How a track was flown, from its samples alone: each take-off and landing
// measured, and the flight's times and distances. Vertical speeds come from
// the recorded altitudes (a line fitted over the last seconds before the
// moment), never from the host's motion record, whose meaning the host does
// not document. A figure the recording cannot give (it starts in the air,
// ends before the aircraft stops, a touchdown too close to the start for a
// fit) is not known, with the reason, never a made-up number.
#pragma once

#include <string>
#include <vector>

#include "engine/tracks/track.h"

// One sample as the analysis reads it: seconds since the recording's time
// 0, degrees, metres; pitch positive nose-up, bank and heading as recorded.
struct TrackPoint {
    double seconds;
    double latitude, longitude;
    double altitudeMetres;
    double pitchDegrees, bankDegrees, headingDegrees;
    bool onGround;
};

// A quantity, or why the recording cannot give it.
struct Figure {
    bool known = false;
    double value = 0;
    std::string reason;  // when not known
};

struct Touchdown {
    double seconds;  // the moment, found between the last airborne sample and the first on the ground
    double latitude, longitude;
    Figure verticalSpeedFpm;  // negative descending
    double groundSpeedKnots;
    double pitchDegrees, bankDegrees;
    Figure crabDegrees;  // heading minus ground track
};

// A landing: its first touchdown and each bounce after it.
struct Landing {
    std::vector<Touchdown> touchdowns;
    Figure airDistanceMetres;  // from the last moment 50 ft above the touchdown point to the touchdown
    Figure rollMetres;         // from the last touchdown until below 30 knots
};

struct TakeOff {
    double seconds;  // the first sample off the ground
    double latitude, longitude;
    double groundSpeedKnots;
    Figure rollMetres;  // from the last time below 30 knots
    Figure climbFpm;    // the average over the first minute
};

struct FlightFigures {
    std::vector<TakeOff> takeOffs;
    std::vector<Landing> landings;
    Figure blockSeconds;  // first movement to last stop
    Figure airSeconds;    // the airborne periods together
    double distanceMetres = 0;  // along the ground track
    double highestMetres = 0;
};

// The thresholds the figures use.
constexpr double FitSeconds = 3.0;         // the vertical speed's fit before a touchdown
constexpr double BounceSeconds = 5.0;      // airborne again within this long: a bounce
constexpr double RollEndKnots = 30.0;      // where a ground roll starts and ends
constexpr double ThresholdFeet = 50.0;     // the height an approach is measured from
constexpr double MovingKnots = 3.0;        // faster than this the aircraft moves
constexpr double ClimbSeconds = 60.0;      // the climb rate's span after lift-off

// A track's samples in order (a read failure is a ToolError).
std::vector<TrackPoint> ReadTrackPoints(Track& track);
// The ground speed at each point in knots, over at least a second either
// side of it: closer samples would turn the recording's rounding into noise.
std::vector<double> GroundSpeedsKnots(const std::vector<TrackPoint>& points);
FlightFigures AnalyseFlight(const std::vector<TrackPoint>& points);
