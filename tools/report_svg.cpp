// The report's drawings, as SVG written by hand: the map (an azimuthal
// equidistant projection about the tracks' centre, fitted to the drawing,
// with distance scales in kilometres and nautical miles and a north arrow)
// and the plots against time with their axes, ticks and units.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "geodesy.h"
#include "report.h"

// ---------------------------------------------------------------- projection

static const double Radians = Pi / 180.0;

PlanePoint MapProjection::Project(const GroundPoint& point) const {
    const double phi0 = centreLatitude * Radians, phi = point.latitude * Radians;
    const double dLambda = std::remainder(point.longitude - centreLongitude, 360.0) * Radians;
    const double cosC = std::clamp(
        std::sin(phi0) * std::sin(phi) + std::cos(phi0) * std::cos(phi) * std::cos(dLambda), -1.0, 1.0);
    const double c = std::acos(cosC);
    // k = c / sin c, 1 at the centre; the antipode (never a flight's) is held off.
    const double k = c < 1e-9 ? 1.0 : c / std::max(std::sin(c), 1e-9);
    return {EarthRadiusMetres * k * std::cos(phi) * std::sin(dLambda),
            EarthRadiusMetres * k *
                (std::cos(phi0) * std::sin(phi) - std::sin(phi0) * std::cos(phi) * std::cos(dLambda))};
}

MapProjection ProjectionAbout(const std::vector<const std::vector<GroundPoint>*>& paths) {
    // The mean of the points as unit vectors: right across the date line and
    // near the poles, where a mean of degrees is not.
    double x = 0, y = 0, z = 0;
    const GroundPoint* any = nullptr;
    for (const std::vector<GroundPoint>* path : paths)
        for (const GroundPoint& p : *path) {
            any = &p;
            x += std::cos(p.latitude * Radians) * std::cos(p.longitude * Radians);
            y += std::cos(p.latitude * Radians) * std::sin(p.longitude * Radians);
            z += std::sin(p.latitude * Radians);
        }
    const double length = std::sqrt(x * x + y * y + z * z);
    if (!any) return {0.0, 0.0};
    if (length < 1e-9) return {any->latitude, any->longitude};
    return {std::asin(z / length) / Radians, std::atan2(y, x) / Radians};
}

// The drawing area of a map: room around it for the scales and the arrow.
static const double MapLeft = 30, MapRight = MapWidth - 70, MapTop = 30, MapBottom = MapHeight - 70;
// Less ground than this fills no map: a parked aircraft is shown at this scale.
static const double SmallestMapMetres = 500.0;

struct Bounds {
    double minX = HUGE_VAL, maxX = -HUGE_VAL, minY = HUGE_VAL, maxY = -HUGE_VAL;
    void Add(const PlanePoint& p) {
        minX = std::min(minX, p.x);
        maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y);
        maxY = std::max(maxY, p.y);
    }
    bool Empty() const { return minX > maxX; }
};

static double ScaleOf(const Bounds& b) {
    if (b.Empty()) return (MapRight - MapLeft) / SmallestMapMetres;
    const double width = std::max(b.maxX - b.minX, SmallestMapMetres);
    const double height = std::max(b.maxY - b.minY, SmallestMapMetres);
    return std::min((MapRight - MapLeft) / width, (MapBottom - MapTop) / height);
}

double MapScale(const std::vector<PlanePoint>& points) {
    Bounds bounds;
    for (const PlanePoint& p : points) bounds.Add(p);
    return ScaleOf(bounds);
}

namespace {

// Metres of the projection to drawing units, the ground centred in the area.
struct MapFrame {
    double scale, left, top;
    MapFrame(const Bounds& b) : scale(ScaleOf(b)) {
        const double width = b.Empty() ? 0 : b.maxX - b.minX, height = b.Empty() ? 0 : b.maxY - b.minY;
        left = (MapLeft + MapRight - width * scale) / 2 - (b.Empty() ? 0 : b.minX * scale);
        top = (MapTop + MapBottom - height * scale) / 2 + (b.Empty() ? 0 : b.maxY * scale);
    }
    PlanePoint ToDrawing(const PlanePoint& metres) const { return {left + metres.x * scale, top - metres.y * scale}; }
};

void Number(TextOut& out, double value) { out.Fixed(value, 1); }

void Attribute(TextOut& out, const char* name, double value) {
    out.Char(' ');
    out.Text(name);
    out.Text("=\"");
    Number(out, value);
    out.Char('"');
}

void Points(TextOut& out, const std::vector<PlanePoint>& points) {
    out.Text(" points=\"");
    for (size_t i = 0; i < points.size(); ++i) {
        if (i) out.Char(' ');
        Number(out, points[i].x);
        out.Char(',');
        Number(out, points[i].y);
    }
    out.Char('"');
}

// The largest of 1, 2 and 5 times a power of ten not above value.
double NiceBelow(double value) {
    const double power = std::pow(10.0, std::floor(std::log10(value)));
    for (double m : {5.0, 2.0, 1.0})
        if (m * power <= value) return m * power;
    return power;
}

// The smallest of 1, 2 and 5 times a power of ten not below value.
double NiceAbove(double value) {
    const double power = std::pow(10.0, std::floor(std::log10(value)));
    for (double m : {1.0, 2.0, 5.0, 10.0})
        if (m * power >= value * (1 - 1e-12)) return m * power;
    return 10 * power;
}

// A scale bar of a round length near a fifth of the drawing's width.
void ScaleBar(TextOut& out, double unitsPerMetre, double metresPerUnit, const char* unit, double y) {
    const double target = (MapRight - MapLeft) / 5 / unitsPerMetre / metresPerUnit;
    double length = NiceBelow(target);
    const char* shown = unit;
    double label = length;
    if (metresPerUnit == 1.0 && length >= 1000) {
        shown = "km";
        label = length / 1000;
    }
    const double width = length * metresPerUnit * unitsPerMetre;
    const double x = MapLeft;
    out.Text("<g class=\"scale\" data-metres=\"");
    out.Fixed(length * metresPerUnit, 3);
    out.Text("\"><rect class=\"scale-bar\"");
    Attribute(out, "x", x);
    Attribute(out, "y", y);
    Attribute(out, "width", width);
    out.Text(" height=\"6\"/><rect class=\"scale-half\"");
    Attribute(out, "x", x);
    Attribute(out, "y", y);
    Attribute(out, "width", width / 2);
    out.Text(" height=\"6\"/><text class=\"scale-label\"");
    Attribute(out, "x", x + width + 8);
    Attribute(out, "y", y + 7);
    out.Char('>');
    out.Fixed(label, label < 1 ? 1 : 0);
    out.Char(' ');
    out.Text(shown);
    out.Text("</text></g>\n");
}

void NorthArrow(TextOut& out) {
    const double x = MapWidth - 35, y = 30;
    out.Text("<g class=\"north\"><path d=\"M");
    Number(out, x);
    out.Char(' ');
    Number(out, y);
    out.Text(" l 12 40 l -12 -10 l -12 10 z\"/><text class=\"north-label\"");
    Attribute(out, "x", x);
    Attribute(out, "y", y + 60);
    out.Text(">N</text></g>\n");
}

// A triangle pointing up (take-off) or down (touchdown) on its point.
void EventMarker(TextOut& out, const GroundEvent& event, const PlanePoint& at, size_t trackNumber, bool onMap) {
    out.Text(event.takeOff ? "<path class=\"takeoff\"" : "<path class=\"touchdown\"");
    out.Text(" data-track=\"");
    out.Integer(static_cast<int64_t>(trackNumber));
    out.Text("\" data-seconds=\"");
    out.Fixed(event.seconds, 3);
    out.Text("\" d=\"M");
    Number(out, at.x);
    out.Char(' ');
    Number(out, at.y);
    if (!onMap)
        out.Text(event.takeOff ? " m -6 10 l 6 -10 l 6 10 z\"" : " m -6 -10 l 6 10 l 6 -10 z\"");
    else
        out.Text(event.takeOff ? " m 0 -14 l -7 12 l 14 0 z\"" : " m 0 2 l -7 -12 l 14 0 z\"");
    out.Text("><title>");
    out.Text(event.takeOff ? "Take-off" : "Touchdown");
    out.Text("</title></path>\n");
}

}  // namespace

std::string TrackColour(size_t index) {
    static const char* const Distinct[] = {"#1f77b4", "#d62728", "#2ca02c", "#ff7f0e", "#9467bd",
                                           "#8c564b", "#e377c2", "#17becf", "#bcbd22", "#7f7f7f"};
    if (index < sizeof Distinct / sizeof Distinct[0]) return Distinct[index];
    // Then the golden angle around the wheel, dark enough to read on white.
    char colour[40];
    std::snprintf(colour, sizeof colour, "hsl(%d, 70%%, 38%%)", static_cast<int>(std::fmod(index * 137.508, 360.0)));
    return colour;
}

void DrawMap(TextOut& out, const std::vector<const ReportTrack*>& tracks, const std::vector<std::string>& colours) {
    std::vector<const std::vector<GroundPoint>*> paths;
    for (const ReportTrack* track : tracks) paths.push_back(&track->path);
    const MapProjection projection = ProjectionAbout(paths);
    std::vector<std::vector<PlanePoint>> plane(tracks.size());
    Bounds bounds;
    for (size_t t = 0; t < tracks.size(); ++t)
        for (const GroundPoint& p : tracks[t]->path) {
            plane[t].push_back(projection.Project(p));
            bounds.Add(plane[t].back());
        }
    const MapFrame frame(bounds);

    out.Text("<svg class=\"map\" xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 ");
    Number(out, MapWidth);
    out.Char(' ');
    Number(out, MapHeight);
    out.Text("\" data-centre-latitude=\"");
    out.Fixed(projection.centreLatitude, 6);
    out.Text("\" data-centre-longitude=\"");
    out.Fixed(projection.centreLongitude, 6);
    out.Text("\" data-units-per-metre=\"");
    out.Fixed(frame.scale, 9);
    out.Text("\" role=\"img\" aria-label=\"Map of the ground track\">\n<rect class=\"map-back\" x=\"0\" y=\"0\"");
    Attribute(out, "width", MapWidth);
    Attribute(out, "height", MapHeight);
    out.Text("/>\n");
    for (size_t t = 0; t < tracks.size(); ++t) {
        std::vector<PlanePoint> drawn;
        for (const PlanePoint& p : plane[t]) drawn.push_back(frame.ToDrawing(p));
        std::vector<PlanePoint> kept;
        for (size_t i : SimplifyPolyline(drawn, DrawTolerance)) kept.push_back(drawn[i]);
        if (kept.empty()) continue;
        out.Text("<g class=\"track\" stroke=\"");
        out.Text(colours[t]);
        out.Text("\" fill=\"");
        out.Text(colours[t]);
        out.Text("\" data-track=\"");
        out.Integer(static_cast<int64_t>(tracks[t]->number));
        out.Text("\">\n<polyline class=\"path\" fill=\"none\"");
        Points(out, kept);
        out.Text("/>\n<circle class=\"start\"");
        Attribute(out, "cx", kept.front().x);
        Attribute(out, "cy", kept.front().y);
        out.Text(" r=\"5\"><title>Start</title></circle>\n<rect class=\"end\"");
        Attribute(out, "x", kept.back().x - 4.5);
        Attribute(out, "y", kept.back().y - 4.5);
        out.Text(" width=\"9\" height=\"9\"><title>End</title></rect>\n");
        for (const GroundEvent& event : tracks[t]->events)
            EventMarker(out, event, frame.ToDrawing(projection.Project(event.where)), tracks[t]->number, true);
        out.Text("</g>\n");
    }
    ScaleBar(out, frame.scale, 1.0, "m", MapHeight - 52);
    ScaleBar(out, frame.scale, 1852.0, "NM", MapHeight - 28);
    NorthArrow(out);
    out.Text("</svg>\n");
}

// ---------------------------------------------------------------- plots

namespace {

// A round step of time for axis ticks: about a sixth of the span at least.
double TimeStep(double span) {
    static const double Steps[] = {1,    2,    5,    10,   15,    30,    60,    120,   300,   600,
                                   900,  1800, 3600, 7200, 10800, 21600, 43200, 86400, 172800};
    for (double step : Steps)
        if (step >= span / 7) return step;
    return NiceAbove(span / 7 / 86400) * 86400;
}

void TimeLabel(TextOut& out, double seconds, bool hours) {
    const int64_t whole = static_cast<int64_t>(std::llround(seconds));
    char text[32];
    if (hours)
        std::snprintf(text, sizeof text, "%lld:%02lld", static_cast<long long>(whole / 3600),
                      static_cast<long long>(whole / 60 % 60));
    else
        std::snprintf(text, sizeof text, "%lld:%02lld", static_cast<long long>(whole / 60),
                      static_cast<long long>(whole % 60));
    out.Text(text);
}

void Line(TextOut& out, const char* cssClass, double x1, double y1, double x2, double y2) {
    out.Text("<line class=\"");
    out.Text(cssClass);
    out.Char('"');
    Attribute(out, "x1", x1);
    Attribute(out, "y1", y1);
    Attribute(out, "x2", x2);
    Attribute(out, "y2", y2);
    out.Text("/>\n");
}

}  // namespace

void DrawPlot(TextOut& out, const ReportTrack& track, const char* kind, const std::string& colour) {
    const bool altitude = std::string(kind) == "altitude";
    const std::vector<SeriesPoint>& series = altitude ? track.altitude : track.speed;
    // The value axis: round ticks around every value; speeds from 0.
    double low = altitude ? track.altitudeLow : std::min(0.0, track.speedLow);
    double high = altitude ? track.altitudeHigh : track.speedHigh;
    const double step = NiceAbove(std::max(high - low, altitude ? 10.0 : 5.0) / 5);
    low = std::floor(low / step) * step;
    high = std::max(std::ceil(high / step) * step, low + step);
    // The time axis: the track's own span.
    const double first = track.firstSeconds;
    const double last = std::max(track.lastSeconds, first + 1.0);
    const auto X = [&](double seconds) { return PlotLeft + (seconds - first) / (last - first) * (PlotRight - PlotLeft); };
    const auto Y = [&](double value) { return PlotBottom - (value - low) / (high - low) * (PlotBottom - PlotTop); };

    out.Text("<svg class=\"plot ");
    out.Text(kind);
    out.Text("\" xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 ");
    Number(out, PlotWidth);
    out.Char(' ');
    Number(out, PlotHeight);
    out.Text("\" data-x-min=\"");
    out.Fixed(first, 3);
    out.Text("\" data-x-max=\"");
    out.Fixed(last, 3);
    out.Text("\" data-y-min=\"");
    out.Fixed(low, 3);
    out.Text("\" data-y-max=\"");
    out.Fixed(high, 3);
    out.Text("\" role=\"img\" aria-label=\"");
    out.Text(altitude ? "Altitude" : "Ground speed");
    out.Text(" against time\">\n<rect class=\"frame\"");
    Attribute(out, "x", PlotLeft);
    Attribute(out, "y", PlotTop);
    Attribute(out, "width", PlotRight - PlotLeft);
    Attribute(out, "height", PlotBottom - PlotTop);
    out.Text("/>\n");
    const int decimals = step >= 1 ? 0 : static_cast<int>(std::ceil(-std::log10(step)));
    for (double value = low; value <= high + step / 2; value += step) {
        Line(out, "grid", PlotLeft, Y(value), PlotRight, Y(value));
        out.Text("<text class=\"tick y\"");
        Attribute(out, "x", PlotLeft - 6);
        Attribute(out, "y", Y(value) + 4);
        out.Char('>');
        out.Fixed(value, decimals);
        out.Text("</text>\n");
    }
    const double timeStep = TimeStep(last - first);
    const bool hours = last - first >= 3 * 3600;
    for (double t = std::ceil(first / timeStep) * timeStep; t <= last + 1e-9; t += timeStep) {
        Line(out, "grid", X(t), PlotTop, X(t), PlotBottom);
        out.Text("<text class=\"tick x\"");
        Attribute(out, "x", X(t));
        Attribute(out, "y", PlotBottom + 17);
        out.Char('>');
        TimeLabel(out, t, hours);
        out.Text("</text>\n");
    }
    out.Text("<text class=\"axis-label x\"");
    Attribute(out, "x", (PlotLeft + PlotRight) / 2);
    Attribute(out, "y", PlotHeight - 8);
    out.Text(hours ? ">Time since the recording started (h:mm)</text>\n"
                   : ">Time since the recording started (min:s)</text>\n");
    out.Text("<text class=\"axis-label y\" transform=\"translate(16 ");
    Number(out, (PlotTop + PlotBottom) / 2);
    out.Text(") rotate(-90)\">");
    out.Text(altitude ? "Altitude (ft)" : "Ground speed (kt)");
    out.Text("</text>\n");
    for (const GroundEvent& event : track.events) {
        Line(out, event.takeOff ? "event takeoff" : "event touchdown", X(event.seconds), PlotTop, X(event.seconds),
             PlotBottom);
        EventMarker(out, event, {X(event.seconds), PlotTop}, track.number, false);
    }
    std::vector<PlanePoint> drawn;
    drawn.reserve(series.size());
    for (const SeriesPoint& p : series) drawn.push_back({X(p.seconds), Y(p.value)});
    out.Text("<polyline class=\"series\" fill=\"none\" stroke=\"");
    out.Text(colour);
    out.Char('"');
    Points(out, drawn);
    out.Text("/>\n</svg>\n");
}
