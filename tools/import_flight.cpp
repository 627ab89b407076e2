// Building a flight from a real-world track: the fixes resampled at the
// recording interval, the attitude and velocities a pilot would have flown
// them with, on-ground at taxiing ends, written as a recording through the
// module's recording track code.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "engine/tracks/recording_assemble.h"
#include "engine/tracks/sim_date.h"
#include "engine/tracks/track.h"
#include "geodesy.h"
#include "import.h"
#include "text_out.h"
#include "tool_common.h"

static const double Gravity = 9.80665;
// Longest flight a recording's 32-bit time stamps (1/10000 s) can hold.
static const double MaxSpanSeconds = 4294967295.0 / 10000.0 - 1.0;
// Times before this are taken as seconds from the start, not as a date.
static const double EarliestDatedEpoch = 315532800.0;  // 1980-01-01
// Below this ground speed the course is noise: the heading is held.
static const double CourseSpeedMps = 1.0;

namespace {

// Position on the fixes' polyline at a time (clamped to its ends).
struct Polyline {
    const std::vector<Fix>& fixes;
    mutable size_t hint = 0;

    Fix At(double epoch) const {
        if (epoch <= fixes.front().epoch) return fixes.front();
        if (epoch >= fixes.back().epoch) return fixes.back();
        if (hint >= fixes.size() - 1 || fixes[hint].epoch > epoch) hint = 0;
        while (fixes[hint + 1].epoch < epoch) ++hint;
        const Fix& a = fixes[hint];
        const Fix& b = fixes[hint + 1];
        double f = (epoch - a.epoch) / (b.epoch - a.epoch);
        Fix p;
        p.epoch = epoch;
        p.latitude = a.latitude + f * (b.latitude - a.latitude);
        // Across the date line the short way.
        p.longitude = a.longitude + f * std::remainder(b.longitude - a.longitude, 360.0);
        p.altitude = a.altitude + f * (b.altitude - a.altitude);
        return p;
    }
};

}  // namespace

// The fixes in time order, one per time.
static std::vector<Fix> OnePerTime(std::vector<Fix> fixes) {
    std::stable_sort(fixes.begin(), fixes.end(), [](const Fix& a, const Fix& b) { return a.epoch < b.epoch; });
    std::vector<Fix> unique;
    for (const Fix& fix : fixes)
        if (unique.empty() || fix.epoch > unique.back().epoch) unique.push_back(fix);
    if (unique.size() < 2) throw ToolError("the track needs at least two points at different times");
    return unique;
}

// Epoch seconds near 2^30 hold about 0.2 microseconds: spans are compared
// with this much room, so that 0.994 s is 994 ms.
static const double TimeSlackSeconds = 1e-6;

static std::string SpanText(double seconds) {
    char text[64];
    std::snprintf(text, sizeof text, "%.3f s", seconds);
    return text;
}

uint32_t IntervalKeepingFixes(const std::vector<Fix>& fixes, uint32_t intervalMs) {
    const std::vector<Fix> unique = OnePerTime(fixes);
    const double spanMs = (unique.back().epoch - unique.front().epoch + TimeSlackSeconds) * 1000.0;
    if (spanMs >= intervalMs) return intervalMs;
    const double shortest = 10.0;
    if (spanMs < shortest)
        throw ToolError("the track's times span only " + SpanText(spanMs / 1000.0) +
                        ": a recording needs two samples at least 10 ms apart");
    // A sample between each two fixes, as far as 10 ms allows.
    return static_cast<uint32_t>(std::max(shortest, std::floor(spanMs / static_cast<double>(unique.size() - 1))));
}

std::vector<FlightPoint> BuildFlight(std::vector<Fix> fixes, uint32_t intervalMs, const GroundRule& ground) {
    if (intervalMs == 0) throw UsageError("--interval must be at least 1 millisecond");
    const std::vector<Fix> unique = OnePerTime(std::move(fixes));
    const double start = unique.front().epoch;
    const double span = unique.back().epoch - start;
    if (span > MaxSpanSeconds) throw ToolError("the track lasts longer than a recording can (119 hours)");
    if ((span + TimeSlackSeconds) * 1000.0 < intervalMs)
        throw ToolError("the track's times span only " + SpanText(span) +
                        ", less than the interval: a recording of one sample cannot play");

    const Polyline path{unique};
    const double step = intervalMs / 1000.0;
    // Derivatives over at least a second either side: GPS noise would
    // otherwise shake the attitude.
    const double half = std::max(1.0, step);
    const size_t count = static_cast<size_t>(std::floor((span + TimeSlackSeconds) / step)) + 1;
    std::vector<FlightPoint> flight(count);
    std::vector<double> speeds(count);
    double heldCourse = -1.0;
    for (size_t i = 0; i < count; ++i) {
        FlightPoint& p = flight[i];
        p.seconds = std::min(i * step, span);
        Fix here = path.At(start + p.seconds);
        Fix before = path.At(start + p.seconds - half);
        Fix after = path.At(start + p.seconds + half);
        double dt = after.epoch - before.epoch;
        p.latitude = here.latitude;
        p.longitude = std::remainder(here.longitude, 360.0);
        p.altitude = here.altitude;
        double speed =
            dt > 0 ? DistanceMetres(before.latitude, before.longitude, after.latitude, after.longitude) / dt : 0;
        double climb = dt > 0 ? (after.altitude - before.altitude) / dt : 0;
        if (speed >= CourseSpeedMps)
            heldCourse = CourseDegrees(before.latitude, before.longitude, after.latitude, after.longitude);
        p.headingDeg = heldCourse;  // -1 until the first movement: filled below
        p.velocityEast = speed * std::sin(std::max(heldCourse, 0.0) * Pi / 180.0);
        p.velocityNorth = speed * std::cos(std::max(heldCourse, 0.0) * Pi / 180.0);
        p.velocityUp = climb;
        p.pitchDeg =
            std::clamp(std::atan2(climb, std::max(speed, CourseSpeedMps)) * 180.0 / Pi, -MaxPitchDeg, MaxPitchDeg);
        speeds[i] = speed;
    }
    // Before the first movement the aircraft already points where it will go.
    double firstCourse = 0.0;
    for (const FlightPoint& p : flight)
        if (p.headingDeg >= 0) {
            firstCourse = p.headingDeg;
            break;
        }
    for (FlightPoint& p : flight) {
        if (p.headingDeg >= 0) break;
        p.headingDeg = firstCourse;
    }
    // Bank of a coordinated turn: tan(bank) = speed x turn rate / g.
    const size_t reach = std::max<size_t>(1, static_cast<size_t>(std::lround(half / step)));
    std::vector<double> bank(count, 0.0);
    for (size_t i = 0; i < count; ++i) {
        size_t a = i >= reach ? i - reach : 0;
        size_t b = std::min(count - 1, i + reach);
        double dt = flight[b].seconds - flight[a].seconds;
        double rate = dt > 0 ? CourseDifference(flight[a].headingDeg, flight[b].headingDeg) * Pi / 180.0 / dt : 0;
        double speed = speeds[i];
        bank[i] = std::clamp(std::atan(speed * rate / Gravity) * 180.0 / Pi, -MaxBankDeg, MaxBankDeg);
    }
    // On the ground where the track begins and ends at taxiing speed: until
    // the speed has stayed above it for the rule's seconds, and after the
    // last moment above it.
    size_t airborne = count;
    for (size_t i = 0, runStart = count; i < count && airborne == count; ++i) {
        if (speeds[i] <= ground.taxiSpeedMps) {
            runStart = count;
            continue;
        }
        if (runStart == count) runStart = i;
        if (flight[i].seconds - flight[runStart].seconds >= ground.sustainSeconds) airborne = runStart;
    }
    for (size_t i = 0; i < std::min(airborne, count); ++i) flight[i].onGround = true;
    for (size_t i = count; i-- > airborne && speeds[i] <= ground.taxiSpeedMps;) flight[i].onGround = true;
    for (size_t i = 0; i < count; ++i) {
        flight[i].bankDeg = flight[i].onGround ? 0.0 : bank[i];
        if (flight[i].onGround) flight[i].pitchDeg = 0.0;
    }
    return flight;
}

// timeOffset: the first fix's fraction of a second, since the date stamp
// holds whole seconds.
static FullSample SampleOf(const FlightPoint& p, double timeOffset) {
    FullSample s{};
    s.position.latitude = EncodeLatitude(p.latitude);
    s.position.longitude = EncodeLongitude(p.longitude);
    s.position.altitude = EncodeAltitude(p.altitude);
    s.pitch = EncodeAngle(-p.pitchDeg);  // the host counts nose-down positive
    s.bank = EncodeAngle(p.bankDeg);
    s.heading = EncodeAngle(p.headingDeg);
    s.motion[0] = p.velocityEast;
    s.motion[1] = p.velocityUp;
    s.motion[2] = p.velocityNorth;
    s.onGround = p.onGround ? 1 : 0;
    s.time = static_cast<uint32_t>(std::llround((p.seconds + timeOffset) * 10000.0));
    return s;
}

void WriteFlightRecording(const std::vector<FlightPoint>& flight, double startEpoch, const std::string& title,
                          uint32_t intervalMs, const std::string& outPath) {
    // The samples go through a recording track with its own file, exactly as
    // the module records, and then into the recording.
    const std::string trackPath = outPath + ".track.tmp";
    PlatformFile* file = FileOpen(trackPath.c_str(), "w+b");
    if (!file) throw ToolError("cannot create " + trackPath);
    const bool dated = startEpoch >= EarliestDatedEpoch;
    const double offset = dated ? startEpoch - std::floor(startEpoch) : 0.0;
    Track track{};
    bool ok = TrackInit(&track, TrackWindowSamples, file, 0, 0, title.c_str(), 1, intervalMs, 1);
    for (size_t i = 0; ok && i < flight.size(); ++i) ok = AppendSample(&track, SampleOf(flight[i], offset)) != 0;
    ok = ok && FlushTrack(&track);
    uint32_t dateStamp = 0;
    if (dated) {
        UtcTime t = UtcFromEpoch(static_cast<int64_t>(std::floor(startEpoch)));
        HostDateTime when{static_cast<int16_t>(t.year), static_cast<uint16_t>(DayOfYear(t.year, t.month, t.day)),
                          t.hour, t.minute, static_cast<uint8_t>(t.second)};
        dateStamp = DateStamp(when);
    }
    TrackSource source{};
    source.file = file;
    source.dataOffset = track.dataOffset;
    source.flags = track.flags;
    source.count = track.count;
    source.title = track.title;
    source.referenceElevation = 0.0f;  // altitudes are of the wheels: the aircraft's own elevation lifts it
    source.interval = intervalMs;
    ok = ok && WriteRecordingFile(outPath.c_str(), dateStamp, &source, 1, nullptr, nullptr);
    ReleaseWindow(&track);
    FileClose(file);
    FileDelete(trackPath.c_str());
    if (!ok) throw ToolError("could not write " + outPath);
}
