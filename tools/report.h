// The flight report: one self-contained HTML page with, for every track of
// a recording, its ground track on a map drawn to scale, its altitude and
// ground speed against time, its summary and the moments it took off and
// touched down. The tracks are read once and reduced to what the page can
// show: a point that would move a line by less than a fraction of a pixel
// is left out, while every peak of a plot stays.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "flight_analysis.h"
#include "recording_reader.h"
#include "recording_summary.h"
#include "text_out.h"

// A position on the ground, in degrees.
struct GroundPoint {
    double latitude;
    double longitude;
};

// One point of a plotted series: seconds since the recording's time 0.
struct SeriesPoint {
    double seconds;
    double value;
};

// A change of the on-ground flag: the first sample after it.
struct GroundEvent {
    bool takeOff;  // false: touchdown
    double seconds;
    GroundPoint where;
};

// What the report shows of one track, already reduced.
struct ReportTrack {
    size_t number = 0;  // 1-based, in the file
    std::string title;  // UTF-8
    std::vector<SummaryRow> summary;
    double firstSeconds = 0, lastSeconds = 0;
    std::vector<GroundPoint> path;      // the ground track, reduced for its own map
    std::vector<SeriesPoint> altitude;  // feet above sea level, reduced for its plot
    std::vector<SeriesPoint> speed;     // ground speed in knots, reduced for its plot
    double altitudeLow = 0, altitudeHigh = 0;  // over every sample, not only the kept ones
    double speedLow = 0, speedHigh = 0;
    std::vector<GroundEvent> events;
    FlightFigures flight;  // the take-offs, landings and flight figures
};

// Reads a track's samples once: ground speed over at least a second either
// side of each sample, the on-ground changes, the plots reduced to the
// lowest and highest point (in order) of each column of the plot, the
// path reduced to within DrawTolerance of its own map.
ReportTrack ReadReportTrack(Track& track);

// The drawing sizes, in the SVG user units of the page (about pixels on a
// screen): the report draws lines to within half a unit of their points.
constexpr double MapWidth = 1000.0;
constexpr double MapHeight = 560.0;
constexpr double PlotWidth = 1000.0;
constexpr double PlotHeight = 250.0;
// The frame of a plot's axes inside it; a plot keeps two points per unit
// of the frame's width.
constexpr double PlotLeft = 80.0, PlotRight = 980.0, PlotTop = 15.0, PlotBottom = 200.0;
constexpr double DrawTolerance = 0.5;

// Points a polyline keeps so that no dropped point lies farther than
// tolerance from it (Douglas-Peucker on the points as given, first and last
// always kept): the indexes kept, in order.
struct PlanePoint {
    double x, y;
};
std::vector<size_t> SimplifyPolyline(const std::vector<PlanePoint>& points, double tolerance);

// A local map projection: azimuthal equidistant about a centre, so that
// distances and directions from the centre are true. x east, y north, metres.
struct MapProjection {
    double centreLatitude, centreLongitude;
    PlanePoint Project(const GroundPoint& point) const;
};
// Units per metre of the map that fits points (metres of a projection) in
// its drawing area; a path shorter than a few hundred metres is shown at
// the scale of that.
double MapScale(const std::vector<PlanePoint>& points);
// The centre of a set of paths on the sphere (a path may cross the date line).
MapProjection ProjectionAbout(const std::vector<const std::vector<GroundPoint>*>& paths);

// One map of some tracks (all of a file, or one) in their colours, with a
// distance scale, a north arrow and the take-off and touchdown markers.
void DrawMap(TextOut& out, const std::vector<const ReportTrack*>& tracks, const std::vector<std::string>& colours);
// A plot of a series against time with labelled axes and units and the
// track's take-off and touchdown times; kind is "altitude" or "speed".
void DrawPlot(TextOut& out, const ReportTrack& track, const char* kind, const std::string& colour);

// The colour of track index (0-based): distinct for the first ten, then
// spread around the colour wheel.
std::string TrackColour(size_t index);

// The whole page for the recording.
void WriteReport(RecordingFile& recording, TextOut& out);
