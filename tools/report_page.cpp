// The flight report's page: HTML with the summaries as tables, the maps
// and plots as inline SVG and the styles for screen and print, one printed
// page per track (and one for the map of all tracks when there are more).
// Nothing is loaded from anywhere: no script, font, image or map tile.
#include <cmath>
#include <cstdio>

#include "export.h"
#include "flight_text.h"
#include "report.h"

static const char* const Styles =
    "body{font-family:system-ui,'DejaVu Sans',sans-serif;color:#222;margin:0 auto;max-width:1000px;padding:16px}\n"
    "h1{font-size:1.45em;margin:0 0 .3em}h2{font-size:1.15em;margin:.5em 0 .3em}\n"
    ".summary{display:grid;grid-template-columns:max-content 1fr max-content 1fr;gap:1px 12px;font-size:13px;"
    "margin:0 0 6px}\n"
    ".summary dt{color:#555}.summary dd{margin:0}\n"
    "svg{display:block;width:100%;height:auto}svg text{font-size:13px;fill:#222}\n"
    ".map-back{fill:#f3f6fa;stroke:#9aa5b1}.path{stroke-width:2.2;stroke-linejoin:round;stroke-linecap:round}\n"
    ".start,.end{stroke:#fff;stroke-width:1.5}.takeoff{fill:#0a7d24;stroke:#fff}"
    ".touchdown{fill:#b3261e;stroke:#fff}\n"
    ".scale-bar{fill:#fff;stroke:#222}.scale-half{fill:#222;stroke:#222}.north path{fill:#222}"
    ".north-label{font-weight:bold;text-anchor:middle}\n"
    ".frame{fill:#fff;stroke:#666}.grid{stroke:#e4e4e4}.tick.y{text-anchor:end}.tick.x{text-anchor:middle}\n"
    ".axis-label{text-anchor:middle;font-weight:600}.series{stroke-width:1.6;stroke-linejoin:round}\n"
    ".event{stroke-dasharray:4 3;stroke-width:1}.event.takeoff{stroke:#0a7d24}.event.touchdown{stroke:#b3261e}\n"
    ".legend{list-style:none;padding:0;margin:4px 0;columns:3;font-size:13px}\n"
    ".swatch{display:inline-block;width:12px;height:12px;border-radius:2px;margin-right:6px;vertical-align:-1px}\n"
    ".caption{font-size:12px;color:#555;margin:2px 0 8px}\n"
    ".figures{border-collapse:collapse;font-size:12px;margin:4px 0 6px;width:100%}"
    ".figures caption{text-align:left;font-weight:600;font-size:13px}"
    ".figures th,.figures td{border-bottom:1px solid #ddd;padding:1px 5px;text-align:left}"
    ".figures th{color:#555;font-weight:normal}\n"
    "@page{size:A4 portrait;margin:10mm}\n"
    "@media print{body{max-width:none;padding:0}.page{break-after:page;break-inside:avoid}"
    "svg.map{width:72%;margin:0 auto}.figures{font-size:11px}"
    ".page:last-child{break-after:auto}}\n";

static void Summary(TextOut& out, const std::vector<SummaryRow>& rows) {
    out.Text("<dl class=\"summary\">\n");
    for (const SummaryRow& row : rows) {
        out.Text("<dt>");
        out.XmlText(row.label);
        out.Text("</dt><dd>");
        out.XmlText(row.value);
        out.Text("</dd>\n");
    }
    out.Text("</dl>\n");
}

static void Swatch(TextOut& out, const std::string& colour) {
    out.Text("<span class=\"swatch\" style=\"background:");
    out.Text(colour);
    out.Text("\"></span>");
}

static void MapCaption(TextOut& out) {
    out.Text(
        "<p class=\"caption\">Ground track: a circle where it starts, a square where it ends, a green triangle at "
        "each take-off and a red one at each touchdown. Azimuthal equidistant projection about the middle of the "
        "tracks: distances and directions from the middle are true, north is up there.</p>\n");
}

// "0:12:34" and what follows it ("after the start"), then the time of day
// when the date is known.
static std::string TimeText(const ExportPlan& plan, double seconds, const char* suffix) {
    const int64_t whole = static_cast<int64_t>(std::floor(seconds));
    std::string text = ClockText(static_cast<double>(whole)) + suffix;
    if (plan.dateKnown) {
        const UtcTime t = UtcFromEpoch(plan.startEpoch + whole);
        char clock[32];
        std::snprintf(clock, sizeof clock, " (%02u:%02u:%02u UTC)", t.hour, t.minute, t.second);
        text += clock;
    }
    return text;
}

// A table of the flight figures; nothing when it has no rows.
static void FiguresTable(TextOut& out, const char* caption, const char* kind, const TextTable& table) {
    if (table.rows.empty()) return;
    out.Text("<table class=\"figures ");
    out.Text(kind);
    out.Text("\">\n<caption>");
    out.Text(caption);
    out.Text("</caption>\n<thead><tr>");
    for (const std::string& cell : table.header) {
        out.Text("<th>");
        out.XmlText(cell);
        out.Text("</th>");
    }
    out.Text("</tr></thead>\n<tbody>\n");
    for (const std::vector<std::string>& row : table.rows) {
        out.Text("<tr>");
        for (const std::string& cell : row) {
            out.Text("<td>");
            out.XmlText(cell);
            out.Text("</td>");
        }
        out.Text("</tr>\n");
    }
    out.Text("</tbody>\n</table>\n");
}

static std::string BaseName(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

void WriteReport(RecordingFile& recording, TextOut& out) {
    const ExportPlan plan = PlanExport(recording, ExportOptions{});
    std::vector<ReportTrack> tracks;
    std::vector<std::string> colours;
    for (size_t i = 0; i < recording.tracks.size(); ++i) {
        tracks.push_back(ReadReportTrack(recording.tracks[i]));
        tracks.back().number = i + 1;
        colours.push_back(TrackColour(i));
    }
    const std::string name = BaseName(recording.path);
    out.Text("<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\"/>\n"
             "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\"/>\n<title>Flight report: ");
    out.XmlText(name);
    out.Text("</title>\n<style>\n");
    out.Text(Styles);
    out.Text("</style>\n</head>\n<body>\n");

    const auto heading = [&]() {
        out.Text("<h1>Flight report: ");
        out.XmlText(name);
        out.Text("</h1>\n");
        Summary(out, RecordingSummary(recording));
    };
    // With more than one track, a first page shows them all on one map.
    if (tracks.size() != 1) {
        out.Text("<section class=\"page overview\">\n");
        heading();
        if (!tracks.empty()) {
            out.Text("<h2>All tracks</h2>\n<ul class=\"legend\">\n");
            for (const ReportTrack& track : tracks) {
                out.Text("<li>");
                Swatch(out, colours[track.number - 1]);
                out.Integer(static_cast<int64_t>(track.number));
                out.Text(". ");
                out.XmlText(track.title);
                out.Text("</li>\n");
            }
            out.Text("</ul>\n");
            std::vector<const ReportTrack*> all;
            for (const ReportTrack& track : tracks) all.push_back(&track);
            DrawMap(out, all, colours);
            MapCaption(out);
        }
        out.Text("</section>\n");
    }
    for (const ReportTrack& track : tracks) {
        const std::string& colour = colours[track.number - 1];
        out.Text("<section class=\"page track\" id=\"track-");
        out.Integer(static_cast<int64_t>(track.number));
        out.Text("\">\n");
        if (tracks.size() == 1) heading();
        out.Text("<h2>");
        Swatch(out, colour);
        out.Text("Track ");
        out.Integer(static_cast<int64_t>(track.number));
        out.Text(": ");
        out.XmlText(track.title);
        out.Text("</h2>\n");
        std::vector<SummaryRow> rows = track.summary;
        for (const GroundEvent& event : track.events)
            rows.push_back({event.takeOff ? "take-off" : "touchdown", TimeText(plan, event.seconds, " after the start")});
        for (const SummaryRow& row : FlightSummaryRows(track.flight)) rows.push_back(row);
        Summary(out, rows);
        if (track.path.empty()) {
            out.Text("<p>This track holds no samples.</p>\n</section>\n");
            continue;
        }
        DrawMap(out, {&track}, {colour});
        MapCaption(out);
        DrawPlot(out, track, "altitude", colour);
        DrawPlot(out, track, "speed", colour);
        const MomentText when = [&plan](double seconds) { return TimeText(plan, seconds, ""); };
        FiguresTable(out, "Take-offs", "takeoffs", TakeOffTable(track.flight, when));
        FiguresTable(out, "Landings", "landings", LandingTable(track.flight, when));
        out.Text("</section>\n");
    }
    out.Text("</body>\n</html>\n");
}
