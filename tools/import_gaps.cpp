// What a track lacks, filled before its flight is built: times along the
// distance between timed points (or, with a ground speed, for all points),
// elevations from their neighbours in time, or one height for the whole
// track. What cannot be filled is refused with the option that would.
#include <algorithm>
#include <numeric>

#include "geodesy.h"
#include "import.h"
#include "tool_common.h"

namespace {

double Step(const Fix& a, const Fix& b) { return DistanceMetres(a.latitude, a.longitude, b.latitude, b.longitude); }

// Every point in order at one ground speed from start.
void TimeBySpeed(std::vector<Fix>* fixes, double speed, double start) {
    double along = 0;
    for (size_t i = 0; i < fixes->size(); ++i) {
        if (i > 0) along += Step((*fixes)[i - 1], (*fixes)[i]);
        (*fixes)[i].epoch = start + along / speed;
        (*fixes)[i].timed = true;
    }
}

// Untimed runs between two timed points take times along the distance
// (evenly, where the run does not move); untimed ends are dropped.
void TimeBetween(std::vector<Fix>* fixes, GapReport* report) {
    std::vector<Fix>& f = *fixes;
    size_t last = f.size();  // the last timed point seen
    for (size_t i = 0; i < f.size(); ++i) {
        if (!f[i].timed) continue;
        if (last != f.size() && i > last + 1) {
            std::vector<double> along(i - last + 1, 0.0);
            for (size_t k = last + 1; k <= i; ++k) along[k - last] = along[k - last - 1] + Step(f[k - 1], f[k]);
            const double total = along.back();
            for (size_t k = last + 1; k < i; ++k) {
                const double share = total > 0 ? along[k - last] / total : double(k - last) / double(i - last);
                f[k].epoch = f[last].epoch + (f[i].epoch - f[last].epoch) * share;
                f[k].timed = true;
                ++report->timesFilled;
            }
        }
        last = i;
    }
    const size_t before = f.size();
    f.erase(std::remove_if(f.begin(), f.end(), [](const Fix& fix) { return !fix.timed; }), f.end());
    report->endsDropped = before - f.size();
}

// A missing elevation from the elevated neighbours before and after it in
// time, interpolated; held at the ends.
void ElevateFromNeighbours(std::vector<Fix>* fixes, GapReport* report) {
    std::vector<Fix>& f = *fixes;
    std::vector<size_t> order(f.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return f[a].epoch < f[b].epoch; });
    // The next elevated point after each place in time order, found backwards.
    const size_t none = f.size();
    std::vector<size_t> nextElevated(order.size() + 1, none);
    for (size_t n = order.size(); n-- > 0;) nextElevated[n] = f[order[n]].elevated ? order[n] : nextElevated[n + 1];
    size_t previous = none;
    for (size_t n = 0; n < order.size(); ++n) {
        Fix& fix = f[order[n]];
        if (fix.elevated) {
            previous = order[n];
            continue;
        }
        const size_t next = nextElevated[n];
        if (previous == none) {
            fix.altitude = f[next].altitude;
        } else if (next == none || f[next].epoch <= f[previous].epoch) {
            fix.altitude = f[previous].altitude;
        } else {
            const double share = (fix.epoch - f[previous].epoch) / (f[next].epoch - f[previous].epoch);
            fix.altitude = f[previous].altitude + (f[next].altitude - f[previous].altitude) * share;
        }
        ++report->elevationsFilled;
    }
    for (Fix& fix : f) fix.elevated = true;
}

}  // namespace

GapReport FillGaps(std::vector<Fix>* fixes, const GapOptions& options) {
    GapReport report;
    if (fixes->empty()) return report;
    const size_t timed = std::count_if(fixes->begin(), fixes->end(), [](const Fix& fix) { return fix.timed; });
    if (std::isfinite(options.speedMps)) {
        double start = std::isfinite(options.startEpoch) ? options.startEpoch : 0.0;
        if (!std::isfinite(options.startEpoch))
            for (const Fix& fix : *fixes)
                if (fix.timed) {
                    start = fix.epoch;
                    break;
                }
        TimeBySpeed(fixes, options.speedMps, start);
        report.timedBySpeed = true;
    } else if (timed < 2) {
        throw ToolError(timed == 0 ? "the track has no times: give --speed KNOTS (and --start TIME) to fly its "
                                     "points in order at that ground speed"
                                   : "only one point of the track has a time: give --speed KNOTS (and --start "
                                     "TIME) to fly its points in order at that ground speed");
    } else if (timed < fixes->size()) {
        TimeBetween(fixes, &report);
    }
    if (std::isfinite(options.altitudeMetres)) {
        for (Fix& fix : *fixes) {
            fix.altitude = options.altitudeMetres;
            fix.elevated = true;
        }
        return report;
    }
    if (std::none_of(fixes->begin(), fixes->end(), [](const Fix& fix) { return fix.elevated; }))
        throw ToolError("no point of the track has an elevation (<ele>): give --altitude FEET to fly the whole "
                        "track at that height");
    ElevateFromNeighbours(fixes, &report);
    return report;
}
