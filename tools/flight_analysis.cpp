// The take-offs, landings and flight figures of a track. The samples are
// walked once for the speeds and the distance along the ground track; each
// change of the on-ground flag is then measured where it happened.
#include "flight_analysis.h"

#include <algorithm>
#include <cmath>

#include "geodesy.h"
#include "recording_reader.h"

namespace {

const double KnotsPerMps = 3600.0 / 1852.0;
const double SpeedHalfWindowSeconds = 1.0;
const double FpmPerMps = 60.0 / MetresPerFoot;
// A fit needs two samples this far apart at least.
const double ShortestFitSeconds = 0.5;

Figure Known(double value) { return Figure{true, value, {}}; }
Figure Unknown(const char* reason) { return Figure{false, 0.0, reason}; }

double Lerp(double a, double b, double fraction) { return a + (b - a) * fraction; }
double AngleLerp(double a, double b, double fraction) { return a + std::remainder(b - a, 360.0) * fraction; }

// The samples and what is worked out for each once.
struct Walk {
    const std::vector<TrackPoint>& points;
    std::vector<double> knots;
    std::vector<double> along;  // metres along the ground track from the first sample

    // Metres along the track at a moment at or before sample i's successor.
    double AlongAtMoment(size_t i, double seconds) const {
        while (i > 0 && points[i].seconds > seconds) --i;
        return AlongAt(i, seconds);
    }
    // Metres along the track at a moment between samples i and i + 1.
    double AlongAt(size_t i, double seconds) const {
        if (i + 1 >= points.size()) return along[i];
        return Lerp(along[i], along[i + 1], Fraction(i, seconds));
    }
    double Fraction(size_t i, double seconds) const {
        const double span = points[i + 1].seconds - points[i].seconds;
        return span > 0 ? std::clamp((seconds - points[i].seconds) / span, 0.0, 1.0) : 0.0;
    }
    // The moment between samples i and i + 1 at which the speed passes knots.
    double SpeedCrossing(size_t i, double target) const {
        const double a = knots[i], b = knots[i + 1];
        const double fraction = a != b ? std::clamp((target - a) / (b - a), 0.0, 1.0) : 0.0;
        return Lerp(points[i].seconds, points[i + 1].seconds, fraction);
    }
};

// The altitude's rate in metres per second: a line fitted over the samples
// first .. last (inclusive) that lie within FitSeconds of the last, from the
// highest of them on (so that a bounce is measured on its way down).
Figure FittedRate(const Walk& walk, size_t first, size_t last, bool startsAtRecordingStart) {
    const std::vector<TrackPoint>& p = walk.points;
    const double from = p[last].seconds - FitSeconds;
    if (startsAtRecordingStart && p[first].seconds > from)
        return Unknown("too near the recording's start for a fit");
    size_t begin = last;
    while (begin > first && p[begin - 1].seconds >= from) --begin;
    size_t highest = begin;
    for (size_t i = begin; i <= last; ++i)
        if (p[i].altitudeMetres > p[highest].altitudeMetres) highest = i;
    begin = highest;
    if (last <= begin || p[last].seconds - p[begin].seconds < ShortestFitSeconds)
        return Unknown("too few samples for a fit");
    double meanT = 0, meanA = 0;
    const double count = static_cast<double>(last - begin + 1);
    for (size_t i = begin; i <= last; ++i) {
        meanT += p[i].seconds / count;
        meanA += p[i].altitudeMetres / count;
    }
    double products = 0, squares = 0;
    for (size_t i = begin; i <= last; ++i) {
        products += (p[i].seconds - meanT) * (p[i].altitudeMetres - meanA);
        squares += (p[i].seconds - meanT) * (p[i].seconds - meanT);
    }
    return Known(products / squares);
}

// The index of the sample at least a second before and after sample i.
size_t SecondBefore(const std::vector<TrackPoint>& p, size_t i, double seconds) {
    while (i > 0 && p[i].seconds > seconds - SpeedHalfWindowSeconds) --i;
    return i;
}
size_t SecondAfter(const std::vector<TrackPoint>& p, size_t i, double seconds) {
    while (i + 1 < p.size() && p[i].seconds < seconds + SpeedHalfWindowSeconds) ++i;
    return i;
}

// Touchdown between the last airborne sample `air` and the first on the
// ground; the airborne period began at sample `periodStart`.
Touchdown MeasureTouchdown(const Walk& walk, size_t air, size_t periodStart) {
    const std::vector<TrackPoint>& p = walk.points;
    const TrackPoint& a = p[air];
    const TrackPoint& g = p[air + 1];
    Touchdown touchdown{};
    const Figure rate = FittedRate(walk, periodStart, air, periodStart == 0);
    // The moment the fitted descent reaches the altitude the aircraft has
    // on the ground; without a descent, the first sample on the ground.
    double moment = g.seconds;
    if (rate.known && rate.value < 0)
        moment = std::clamp(a.seconds + (g.altitudeMetres - a.altitudeMetres) / rate.value, a.seconds, g.seconds);
    touchdown.verticalSpeedFpm = rate.known ? Known(rate.value * FpmPerMps) : rate;
    const double f = walk.Fraction(air, moment);
    touchdown.seconds = moment;
    touchdown.latitude = Lerp(a.latitude, g.latitude, f);
    touchdown.longitude = AngleLerp(a.longitude, g.longitude, f);
    // Over the second before the moment: the braking after it would pull a
    // window about it down.
    const double before = moment - SpeedHalfWindowSeconds;
    touchdown.groundSpeedKnots =
        before >= p.front().seconds
            ? (walk.AlongAt(air, moment) - walk.AlongAtMoment(air, before)) / SpeedHalfWindowSeconds * KnotsPerMps
            : Lerp(walk.knots[air], walk.knots[air + 1], f);
    touchdown.pitchDegrees = AngleLerp(a.pitchDegrees, g.pitchDegrees, f);
    touchdown.bankDegrees = AngleLerp(a.bankDegrees, g.bankDegrees, f);
    if (touchdown.groundSpeedKnots <= MovingKnots) {
        touchdown.crabDegrees = Unknown("too slow for a ground track");
    } else {
        const TrackPoint& from = p[SecondBefore(p, air, moment)];
        const TrackPoint& to = p[SecondAfter(p, air + 1, moment)];
        const double track = CourseDegrees(from.latitude, from.longitude, to.latitude, to.longitude);
        touchdown.crabDegrees = Known(CourseDifference(track, AngleLerp(a.headingDegrees, g.headingDegrees, f)));
    }
    return touchdown;
}

// From the last moment 50 ft above the touchdown point to the touchdown.
Figure AirDistance(const Walk& walk, size_t air, size_t periodStart, double groundAltitude, double moment) {
    const std::vector<TrackPoint>& p = walk.points;
    const double threshold = groundAltitude + ThresholdFeet * MetresPerFoot;
    for (size_t k = air + 1; k-- > periodStart;) {
        if (p[k].altitudeMetres < threshold) continue;
        // Between k (at or above) and k + 1 (below).
        const double drop = p[k].altitudeMetres - p[k + 1].altitudeMetres;
        const double f = drop > 0 ? (p[k].altitudeMetres - threshold) / drop : 0.0;
        const double crossing = Lerp(p[k].seconds, p[k + 1].seconds, f);
        return Known(walk.AlongAt(air, moment) - walk.AlongAt(k, crossing));
    }
    return Unknown(periodStart == 0 ? "starts below 50 ft"
                                    : "not 50 ft up since the lift-off");
}

// From the touchdown (the first sample on the ground is `ground`) until the
// speed is below 30 knots; none after a touchdown below that.
Figure RollAfter(const Walk& walk, size_t ground, const Touchdown& touchdown) {
    const std::vector<TrackPoint>& p = walk.points;
    const double moment = touchdown.seconds;
    if (touchdown.groundSpeedKnots < RollEndKnots) return Known(0.0);
    for (size_t j = ground; j < p.size(); ++j) {
        if (!p[j].onGround) return Unknown("airborne again above 30 kt");
        if (walk.knots[j] >= RollEndKnots) continue;
        const double stop = std::max(moment, walk.SpeedCrossing(j - 1, RollEndKnots));
        return Known(walk.AlongAt(j - 1, stop) - walk.AlongAt(ground - 1, moment));
    }
    return Unknown("ends above 30 kt");
}

TakeOff MeasureTakeOff(const Walk& walk, size_t air, size_t groundStart) {
    const std::vector<TrackPoint>& p = walk.points;
    TakeOff takeOff{};
    takeOff.seconds = p[air].seconds;
    takeOff.latitude = p[air].latitude;
    takeOff.longitude = p[air].longitude;
    takeOff.groundSpeedKnots = walk.knots[air];
    takeOff.rollMetres = Unknown(groundStart == 0 ? "starts above 30 kt"
                                                  : "not below 30 kt since the touchdown");
    for (size_t j = air; j-- > groundStart;) {
        if (walk.knots[j] >= RollEndKnots) continue;
        const double start = walk.SpeedCrossing(j, RollEndKnots);
        takeOff.rollMetres = Known(walk.along[air] - walk.AlongAt(j, start));
        break;
    }
    const double end = takeOff.seconds + ClimbSeconds;
    takeOff.climbFpm = Unknown("ends within the minute");
    for (size_t k = air; k + 1 < p.size(); ++k) {
        if (p[k + 1].seconds < end) continue;
        const double altitude = Lerp(p[k].altitudeMetres, p[k + 1].altitudeMetres, walk.Fraction(k, end));
        takeOff.climbFpm = Known((altitude - p[air].altitudeMetres) / ClimbSeconds * FpmPerMps);
        break;
    }
    return takeOff;
}

void MeasureBlockAndAirTime(const Walk& walk, FlightFigures* figures) {
    const std::vector<TrackPoint>& p = walk.points;
    const size_t n = p.size();
    if (!p.front().onGround || !p.back().onGround) {
        const char* reason = !p.front().onGround ? "starts in the air" : "ends in the air";
        figures->blockSeconds = Unknown(reason);
        figures->airSeconds = Unknown(reason);
        return;
    }
    size_t first = 0, last = n;
    for (size_t i = 0; i < n; ++i) {
        if (walk.knots[i] <= MovingKnots) continue;
        if (last == n) first = i;
        last = i;
    }
    if (last == n)
        figures->blockSeconds = Unknown("never moves");
    else if (first == 0)
        figures->blockSeconds = Unknown("starts moving");
    else if (last == n - 1)
        figures->blockSeconds = Unknown("ends before the stop");
    else
        figures->blockSeconds = Known(p[last + 1].seconds - p[first - 1].seconds);
}

}  // namespace

std::vector<TrackPoint> ReadTrackPoints(Track& track) {
    std::vector<TrackPoint> points;
    points.reserve(track.count);
    SampleCursor cursor(track);
    FullSample s;
    while (cursor.Next(&s))
        points.push_back({s.time / 10000.0, DecodeLatitude(s.position.latitude), DecodeLongitude(s.position.longitude),
                          DecodeAltitude(s.position.altitude), -DecodeAngle(s.pitch), DecodeAngle(s.bank),
                          HeadingDegrees(s.heading), s.onGround != 0});
    return points;
}

std::vector<double> GroundSpeedsKnots(const std::vector<TrackPoint>& p) {
    const size_t n = p.size();
    std::vector<double> knots(n, 0.0);
    // Two indexes that only move forward: the samples a half window before
    // and after sample i. Times that run backwards (a damaged recording)
    // give odd speeds there, never a long search.
    size_t before = 0, after = 0;
    for (size_t i = 0; i < n; ++i) {
        while (before < i && p[before + 1].seconds <= p[i].seconds - SpeedHalfWindowSeconds) ++before;
        after = std::max(after, i);
        while (after + 1 < n && p[after].seconds < p[i].seconds + SpeedHalfWindowSeconds) ++after;
        const double dt = p[after].seconds - p[before].seconds;
        if (dt > 0)
            knots[i] = DistanceMetres(p[before].latitude, p[before].longitude, p[after].latitude, p[after].longitude) /
                       dt * KnotsPerMps;
    }
    return knots;
}

FlightFigures AnalyseFlight(const std::vector<TrackPoint>& p) {
    FlightFigures figures;
    const size_t n = p.size();
    if (n == 0) {
        figures.blockSeconds = figures.airSeconds = Unknown("no samples");
        return figures;
    }
    Walk walk{p, GroundSpeedsKnots(p), std::vector<double>(n, 0.0)};
    figures.highestMetres = p[0].altitudeMetres;
    for (size_t i = 1; i < n; ++i) {
        walk.along[i] = walk.along[i - 1] + DistanceMetres(p[i - 1].latitude, p[i - 1].longitude, p[i].latitude,
                                                           p[i].longitude);
        figures.highestMetres = std::max(figures.highestMetres, p[i].altitudeMetres);
    }
    figures.distanceMetres = walk.along[n - 1];

    size_t periodStart = 0;  // the first sample of the current airborne or ground period
    double liftOffSeconds = p[0].seconds, airSeconds = 0;
    // Whether the last touchdown's landing is still open: a lift-off within
    // BounceSeconds of it is a bounce, and the next touchdown joins it.
    bool bouncing = false;
    for (size_t i = 1; i < n; ++i) {
        if (p[i].onGround == p[i - 1].onGround) continue;
        if (p[i].onGround) {
            const Touchdown touchdown = MeasureTouchdown(walk, i - 1, periodStart);
            airSeconds += touchdown.seconds - liftOffSeconds;
            if (!bouncing) {
                figures.landings.push_back({});
                figures.landings.back().airDistanceMetres =
                    AirDistance(walk, i - 1, periodStart, p[i].altitudeMetres, touchdown.seconds);
            }
            Landing& landing = figures.landings.back();
            landing.touchdowns.push_back(touchdown);
            landing.rollMetres = RollAfter(walk, i, touchdown);
            bouncing = true;
        } else {
            liftOffSeconds = p[i].seconds;
            bouncing = bouncing && p[i].seconds - figures.landings.back().touchdowns.back().seconds <= BounceSeconds;
            if (!bouncing) figures.takeOffs.push_back(MeasureTakeOff(walk, i, periodStart));
        }
        periodStart = i;
    }
    MeasureBlockAndAirTime(walk, &figures);
    if (figures.airSeconds.reason.empty()) figures.airSeconds = Known(airSeconds);
    return figures;
}
