// Importing a real-world track (GPX, IGC or CSV) as a recording that plays
// on the user aircraft or as traffic: the readers of the three formats and
// the flight built from their fixes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One position of the source track.
struct Fix {
    double epoch;  // UTC seconds since 1970, with fraction
    double latitude;
    double longitude;
    double altitude;  // metres above sea level
};

// Readers: every fix in the file, in file order. A ToolError names the line
// (or element) that could not be read.
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

// Fixes sorted by time, the same time kept once, resampled every intervalMs
// with heading, pitch, bank, velocities and on-ground derived. A ToolError
// when fewer than two usable fixes remain or the span is too long.
std::vector<FlightPoint> BuildFlight(std::vector<Fix> fixes, uint32_t intervalMs);

// Writes the flight as a one-track recording at outPath through the module's
// recording track code. startEpoch is the first fix's time.
void WriteFlightRecording(const std::vector<FlightPoint>& flight, double startEpoch, const std::string& title,
                          uint32_t intervalMs, const std::string& outPath);
