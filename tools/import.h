// Importing a real-world track (GPX, IGC or CSV) as a recording that plays
// on the user aircraft or as traffic: the readers of the three formats and
// the flight built from their fixes.
#pragma once

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

// One position of the source track. A GPX point may lack its time or its
// elevation: FillGaps gives it one before the flight is built.
struct Fix {
    double epoch;  // UTC seconds since 1970, with fraction
    double latitude;
    double longitude;
    double altitude;  // metres above sea level
    bool timed = true;
    bool elevated = true;
};

// Readers: every fix in the file, in file order. A ToolError names the line
// (or element) that could not be read. GPX: the points of its tracks, or
// without any, of its routes, or without any, its waypoints; a point may
// lack a time or an elevation, but one it has must read.
std::vector<Fix> ReadGpxFixes(const std::string& text);
std::vector<Fix> ReadIgcFixes(const std::string& text);
// trackNumber: only rows whose "track" column holds it (when there is one).
std::vector<Fix> ReadCsvFixes(const std::string& text, uint32_t trackNumber);

// A decimal number with blanks around it; false for anything else
// (including infinities and NaN).
bool ParseReal(const std::string& text, double* value);

// ISO-8601 date and time ("2004-06-08T14:05:09.250Z", offsets allowed) as
// epoch seconds; false when it is not one.
bool ParseIsoTime(const std::string& text, double* epoch);

// What the user gives for what a track lacks (NaN: not given).
struct GapOptions {
    double altitudeMetres = NAN;  // --altitude: the whole track at this height
    double speedMps = NAN;        // --speed: the points flown in order at this ground speed
    double startEpoch = NAN;      // --start: when that flight starts
};
// What FillGaps did.
struct GapReport {
    size_t timesFilled = 0;       // between timed neighbours, along the distance
    size_t elevationsFilled = 0;  // from their neighbours in time
    size_t endsDropped = 0;       // untimed points before the first or after the last timed one
    bool timedBySpeed = false;
};
// Gives every fix a time and an elevation, in file order: --speed times
// them all from --start (or the first time the track has, or 0); otherwise
// a point without a time between two timed ones gets one along the distance
// between them, and untimed points at the ends are left out. Then --altitude
// puts the whole track at that height; otherwise a missing elevation comes
// from its neighbours in time (held at the ends). A ToolError naming the
// option when the track has no times or no elevations at all.
GapReport FillGaps(std::vector<Fix>* fixes, const GapOptions& options);

// What the built flight derives for one moment.
struct FlightPoint {
    double seconds;  // from the first fix
    double latitude, longitude, altitude;
    double headingDeg, pitchDeg, bankDeg;  // pitch nose-up positive, bank right wing down positive
    double velocityEast, velocityUp, velocityNorth;
    bool onGround;
};

// Limits of the derived attitude and the speed below which the ends of the
// track count as taxiing on the ground.
constexpr double MaxBankDeg = 60.0;
constexpr double MaxPitchDeg = 30.0;
constexpr double TaxiSpeedMps = 15.0;  // about 30 knots
// An IGC file is a flight, often a slow one (a paraglider flies at 8 to 14
// m/s): airborne from the moment it moves faster than a walking pace for
// some seconds until it comes to rest.
constexpr double WalkingPaceMps = 1.5;
constexpr double FlightFileSustainSeconds = 5.0;

// When the aircraft is on the ground: at the start until its speed has been
// above taxiSpeedMps for sustainSeconds (0: from the first sample above),
// and at the end after the last sample above it.
struct GroundRule {
    double taxiSpeedMps = TaxiSpeedMps;
    double sustainSeconds = 0.0;
};

// The interval to resample at: the one asked for, or where the fixes span
// less than it, one short enough (10 ms at least) for a sample between each
// two, so that no track becomes a recording of one sample. A ToolError with
// the span when even 10 ms is too long.
uint32_t IntervalKeepingFixes(const std::vector<Fix>& fixes, uint32_t intervalMs);

// Fixes sorted by time, the same time kept once, resampled every intervalMs
// with heading, pitch, bank, velocities and on-ground derived. A ToolError
// when fewer than two usable fixes remain, the span is too long, or too
// short for two samples at the interval.
std::vector<FlightPoint> BuildFlight(std::vector<Fix> fixes, uint32_t intervalMs, const GroundRule& ground = {});

// Writes the flight as a one-track recording at outPath through the module's
// recording track code. startEpoch is the first fix's time.
void WriteFlightRecording(const std::vector<FlightPoint>& flight, double startEpoch, const std::string& title,
                          uint32_t intervalMs, const std::string& outPath);
