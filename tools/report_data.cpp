// The report's reading of a track: its samples once, in order, turned into
// the ground speed, the on-ground changes and the series and path the page
// draws, reduced to what its maps and plots can show.
#include <algorithm>
#include <cmath>

#include "flight_analysis.h"
#include "geodesy.h"
#include "report.h"

namespace {

// Two points per column: the lowest and the highest sample that falls in
// it, in the order they came, and the first and last sample of all. A plot
// drawn through them has every peak and trough of the full series.
std::vector<SeriesPoint> ReduceForPlot(const std::vector<double>& seconds, const std::vector<double>& values,
                                       double first, double last, size_t columns) {
    const size_t n = values.size();
    if (n <= 2 * columns + 2) {
        std::vector<SeriesPoint> all(n);
        for (size_t i = 0; i < n; ++i) all[i] = {seconds[i], values[i]};
        return all;
    }
    const double span = last > first ? last - first : 1.0;
    std::vector<size_t> low(columns, n), high(columns, n);
    for (size_t i = 0; i < n; ++i) {
        size_t column = static_cast<size_t>(std::clamp((seconds[i] - first) / span * columns, 0.0, columns - 1.0));
        if (low[column] == n || values[i] < values[low[column]]) low[column] = i;
        if (high[column] == n || values[i] > values[high[column]]) high[column] = i;
    }
    std::vector<size_t> kept{0, n - 1};
    for (size_t column = 0; column < columns; ++column) {
        if (low[column] == n) continue;
        kept.push_back(low[column]);
        kept.push_back(high[column]);
    }
    std::sort(kept.begin(), kept.end());
    kept.erase(std::unique(kept.begin(), kept.end()), kept.end());
    std::vector<SeriesPoint> reduced;
    reduced.reserve(kept.size());
    for (size_t i : kept) reduced.push_back({seconds[i], values[i]});
    return reduced;
}

}  // namespace

static const size_t PlotColumns = static_cast<size_t>(PlotRight - PlotLeft);

ReportTrack ReadReportTrack(Track& track) {
    ReportTrack report;
    report.title = Latin1ToUtf8(track.title);
    report.summary = TrackSummary(track);
    std::vector<TrackPoint> points = ReadTrackPoints(track);
    const size_t n = points.size();
    if (n == 0) return report;
    report.flight = AnalyseFlight(points);

    const std::vector<double> speed = GroundSpeedsKnots(points);
    std::vector<double> seconds(n), altitude(n);
    report.firstSeconds = report.lastSeconds = points[0].seconds;
    std::vector<GroundPoint> path(n);
    for (size_t i = 0; i < n; ++i) {
        const TrackPoint& p = points[i];
        seconds[i] = p.seconds;
        altitude[i] = p.altitudeMetres * FeetPerMetre;
        path[i] = {p.latitude, p.longitude};
        report.firstSeconds = std::min(report.firstSeconds, p.seconds);
        report.lastSeconds = std::max(report.lastSeconds, p.seconds);
        if (i > 0 && p.onGround != points[i - 1].onGround) report.events.push_back({!p.onGround, p.seconds, path[i]});
    }
    points.clear();
    points.shrink_to_fit();
    const auto altitudeRange = std::minmax_element(altitude.begin(), altitude.end());
    const auto speedRange = std::minmax_element(speed.begin(), speed.end());
    report.altitudeLow = *altitudeRange.first;
    report.altitudeHigh = *altitudeRange.second;
    report.speedLow = *speedRange.first;
    report.speedHigh = *speedRange.second;
    report.altitude = ReduceForPlot(seconds, altitude, report.firstSeconds, report.lastSeconds, PlotColumns);
    report.speed = ReduceForPlot(seconds, speed, report.firstSeconds, report.lastSeconds, PlotColumns);

    // The path, reduced to what its own map shows (a map of more tracks
    // covers at least as much ground, so it shows no more).
    const MapProjection projection = ProjectionAbout({&path});
    std::vector<PlanePoint> plane(n);
    for (size_t i = 0; i < n; ++i) plane[i] = projection.Project(path[i]);
    const double metresPerUnit = 1.0 / MapScale(plane);
    for (size_t i : SimplifyPolyline(plane, DrawTolerance * metresPerUnit)) report.path.push_back(path[i]);
    return report;
}

std::vector<size_t> SimplifyPolyline(const std::vector<PlanePoint>& points, double tolerance) {
    const size_t n = points.size();
    if (n <= 2) {
        std::vector<size_t> all(n);
        for (size_t i = 0; i < n; ++i) all[i] = i;
        return all;
    }
    // First the points closer than half the tolerance to the last one kept
    // go (long stretches of a parked or circling aircraft), then
    // Douglas-Peucker with the other half on what is left.
    const double half = tolerance / 2;
    std::vector<size_t> near{0};
    for (size_t i = 1; i + 1 < n; ++i) {
        const PlanePoint& a = points[near.back()];
        if (std::hypot(points[i].x - a.x, points[i].y - a.y) >= half) near.push_back(i);
    }
    near.push_back(n - 1);
    std::vector<bool> keep(near.size(), false);
    keep.front() = keep.back() = true;
    std::vector<std::pair<size_t, size_t>> stack{{0, near.size() - 1}};
    while (!stack.empty()) {
        const auto [first, last] = stack.back();
        stack.pop_back();
        if (last <= first + 1) continue;
        const PlanePoint& a = points[near[first]];
        const PlanePoint& b = points[near[last]];
        const double dx = b.x - a.x, dy = b.y - a.y;
        const double lengthSquared = dx * dx + dy * dy;
        double farthest = -1.0;
        size_t at = first;
        for (size_t k = first + 1; k < last; ++k) {
            const PlanePoint& p = points[near[k]];
            // Distance to the segment, not to its line: a leg flown out and
            // back along the same line keeps its far end.
            double t = lengthSquared > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / lengthSquared : 0.0;
            t = std::clamp(t, 0.0, 1.0);
            const double d = std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
            if (d > farthest) {
                farthest = d;
                at = k;
            }
        }
        if (farthest <= half) continue;
        keep[at] = true;
        stack.push_back({first, at});
        stack.push_back({at, last});
    }
    std::vector<size_t> kept;
    for (size_t k = 0; k < near.size(); ++k)
        if (keep[k]) kept.push_back(near[k]);
    return kept;
}
