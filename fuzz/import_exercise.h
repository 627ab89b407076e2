// What the import fuzzers do with one input, shared with the unit test that
// replays their seed corpora: the bytes are read as a GPX, IGC or CSV track.
// A reader may refuse them, with a message naming the line, but must not
// crash, and what it accepts are positions on the earth. Accepted fixes get
// their gaps filled and are flown through the flight builder at a coarse
// interval (so that a long track stays quick): every derived value must be
// finite and within its limits. Returns null when everything held, otherwise what went wrong.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "import.h"
#include "tool_common.h"

namespace import_exercise {

enum Format { Gpx, Igc, Csv };

inline bool Between(double value, double low, double high) { return std::isfinite(value) && value >= low && value <= high; }

inline const char* CheckFlight(const std::vector<FlightPoint>& flight) {
    double previous = -1.0;
    for (const FlightPoint& p : flight) {
        if (!(p.seconds > previous)) return "the flight's times do not run forward";
        previous = p.seconds;
        if (!Between(p.latitude, -90, 90) || !Between(p.longitude, -180, 180) || !std::isfinite(p.altitude))
            return "a flown position is off the earth";
        if (!Between(p.headingDeg, 0, 360)) return "a heading outside 0..360";
        if (!Between(p.pitchDeg, -MaxPitchDeg, MaxPitchDeg)) return "a pitch beyond its limit";
        if (!Between(p.bankDeg, -MaxBankDeg, MaxBankDeg)) return "a bank beyond its limit";
        if (!std::isfinite(p.velocityEast) || !std::isfinite(p.velocityUp) || !std::isfinite(p.velocityNorth))
            return "a velocity that is not a number";
        if (p.onGround && (p.pitchDeg != 0 || p.bankDeg != 0)) return "pitch or bank on the ground";
    }
    return nullptr;
}

inline const char* Run(Format format, const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::vector<Fix> fixes;
    try {
        if (format == Gpx)
            fixes = ReadGpxFixes(text);
        else if (format == Igc)
            fixes = ReadIgcFixes(text);
        else
            fixes = ReadCsvFixes(text, 1 + static_cast<uint32_t>(size % 3));
    } catch (const ToolError& error) {
        return std::strncmp(error.what(), "line ", 5) == 0 ? nullptr : "a refusal that names no line";
    }
    for (const Fix& fix : fixes)
        if (!Between(fix.latitude, -90, 90) || !Between(fix.longitude, -180, 180) || !std::isfinite(fix.altitude) ||
            !std::isfinite(fix.epoch))
            return "a fix off the earth or without a time";
    std::vector<FlightPoint> flight;
    try {
        FillGaps(&fixes, GapOptions{});
        for (const Fix& fix : fixes)
            if (!fix.timed || !fix.elevated || !std::isfinite(fix.altitude) || !std::isfinite(fix.epoch))
                return "a gap left unfilled";
        flight = BuildFlight(fixes, IntervalKeepingFixes(fixes, 60000));
    } catch (const ToolError&) {
        return nullptr;  // no times or elevations, too few points, or too short or long for a recording
    }
    return CheckFlight(flight);
}

}  // namespace import_exercise
