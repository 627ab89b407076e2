// Finding the recordings of the folders and reading them for the logbook
// (track 1 only: the aircraft the user flew), keeping their reports up to
// date, and the page itself.
#include "logbook.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <set>

#include "engine/tracks/host_encoding.h"
#include "export.h"
#include "flight_text.h"
#include "report.h"
#include "tool_common.h"

namespace {

const char* const Styles =
    "body{font-family:system-ui,'DejaVu Sans',sans-serif;color:#222;margin:0 auto;max-width:1100px;padding:16px}\n"
    "h1{font-size:1.45em;margin:0 0 .3em}h2{font-size:1.15em;margin:.8em 0 .3em}\n"
    "table{border-collapse:collapse;font-size:13px;width:100%}\n"
    "th,td{border-bottom:1px solid #ddd;padding:2px 6px;text-align:left;vertical-align:top}\n"
    "th{color:#555;font-weight:normal}td.number,th.number{text-align:right}\n"
    "tr.damaged td{color:#b3261e}a{color:#1f5fa8}\n"
    "@page{size:A4 landscape;margin:10mm}\n";

std::string DateText(const LogbookEntry& entry) {
    if (!entry.dateKnown) return "unknown";
    const UtcTime t = UtcFromEpoch(entry.startEpoch);
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u %02u:%02u UTC", t.year, t.month, t.day, t.hour, t.minute);
    return text;
}

std::string BaseName(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Keeps the figures of track 1 and the firmest touchdown.
void ReadFigures(RecordingFile& recording, LogbookEntry* entry) {
    const ExportPlan plan = PlanExport(recording, ExportOptions{});
    entry->dateKnown = plan.dateKnown;
    entry->startEpoch = plan.startEpoch + recording.startTime / 10000;
    entry->durationSeconds = (recording.endTime - recording.startTime) / 10000.0;
    if (recording.tracks.empty()) return;
    Track& track = recording.tracks[0];
    entry->aircraft = Latin1ToUtf8(track.title);
    entry->flight = AnalyseFlight(ReadTrackPoints(track));
    entry->firmestFpm.reason = "no touchdown with a known rate";
    for (const Landing& landing : entry->flight.landings)
        for (const Touchdown& touchdown : landing.touchdowns) {
            const Figure& rate = touchdown.verticalSpeedFpm;
            if (rate.known && (!entry->firmestFpm.known || rate.value < entry->firmestFpm.value))
                entry->firmestFpm = rate;
        }
}

// The report unless one newer than the recording is there already.
void KeepReport(RecordingFile& recording, const LogbookEntry& entry, const std::string& reportPath) {
    int64_t reportTime = 0;
    if (ModifiedSeconds(reportPath, &reportTime) && reportTime >= entry.modified) return;
    Output output(reportPath);
    {
        TextOut text(output.stream);
        WriteReport(recording, text);
    }
    output.Finish();
}

void Cell(TextOut& out, const std::string& text, bool number = false) {
    out.Text(number ? "<td class=\"number\">" : "<td>");
    out.XmlText(text);
    out.Text("</td>");
}

std::string FigureText(const Figure& figure, std::string (*text)(double)) {
    return figure.known ? text(figure.value) : "not known: " + figure.reason;
}

std::string LandingsText(const LogbookEntry& entry) {
    std::string text = std::to_string(entry.flight.landings.size());
    if (!entry.flight.landings.empty())
        text += entry.firmestFpm.known ? Formatted(", firmest %.0f ft/min", entry.firmestFpm.value)
                                       : ", firmest not known: " + entry.firmestFpm.reason;
    return text;
}

void EntryRow(TextOut& out, const LogbookEntry& entry) {
    if (!entry.problem.empty()) {
        out.Text("<tr class=\"damaged\">");
        Cell(out, "");
        Cell(out, BaseName(entry.path));
        out.Text("<td colspan=\"6\">");
        out.XmlText(entry.problem);
        out.Text("</td></tr>\n");
        return;
    }
    out.Text("<tr>");
    Cell(out, DateText(entry));
    out.Text("<td><a href=\"");
    out.XmlText(entry.reportName);
    out.Text("\">");
    out.XmlText(BaseName(entry.path));
    out.Text("</a></td>");
    Cell(out, entry.aircraft);
    Cell(out, ClockText(entry.durationSeconds), true);
    Cell(out, FigureText(entry.flight.airSeconds, ClockText), true);
    Cell(out, Formatted("%.1f NM", entry.flight.distanceMetres / 1852), true);
    Cell(out, Formatted("%.0f ft", entry.flight.highestMetres * FeetPerMetre), true);
    Cell(out, LandingsText(entry));
    out.Text("</tr>\n");
}

struct AircraftTotals {
    int flights = 0;
    double seconds = 0;
    double airSeconds = 0;
    int withoutAirTime = 0;
    size_t landings = 0;
};

void TotalsTable(TextOut& out, const std::vector<LogbookEntry>& entries) {
    std::map<std::string, AircraftTotals> totals;
    for (const LogbookEntry& entry : entries) {
        if (!entry.problem.empty()) continue;
        AircraftTotals& aircraft = totals[entry.aircraft];
        ++aircraft.flights;
        aircraft.seconds += entry.durationSeconds;
        if (entry.flight.airSeconds.known)
            aircraft.airSeconds += entry.flight.airSeconds.value;
        else
            ++aircraft.withoutAirTime;
        aircraft.landings += entry.flight.landings.size();
    }
    out.Text("<h2>Totals per aircraft</h2>\n<table class=\"totals\">\n<thead><tr><th>aircraft</th>"
             "<th class=\"number\">flights</th><th class=\"number\">hours</th><th class=\"number\">air time</th>"
             "<th class=\"number\">landings</th></tr></thead>\n<tbody>\n");
    for (const auto& [title, aircraft] : totals) {
        out.Text("<tr>");
        Cell(out, title);
        Cell(out, std::to_string(aircraft.flights), true);
        Cell(out, Formatted("%.1f", aircraft.seconds / 3600), true);
        std::string air = ClockText(aircraft.airSeconds);
        if (aircraft.withoutAirTime)
            air += " (and " + std::to_string(aircraft.withoutAirTime) +
                   (aircraft.withoutAirTime == 1 ? " flight" : " flights") + " without a known air time)";
        Cell(out, air, true);
        Cell(out, std::to_string(aircraft.landings), true);
        out.Text("</tr>\n");
    }
    out.Text("</tbody>\n</table>\n");
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string Join(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    const char separator = folder.find('\\') != std::string::npos ? '\\' : '/';
    return folder.back() == separator ? folder + name : folder + separator + name;
}

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// "flight.atr" -> "flight.html", then "flight (2).html" and so on for a
// name already taken (letter case aside, as on Windows).
std::string ReportName(const std::string& recordingName, std::set<std::string>* taken) {
    const size_t dot = recordingName.find_last_of('.');
    const std::string stem = dot == std::string::npos ? recordingName : recordingName.substr(0, dot);
    std::string name = stem + ".html";
    for (int n = 2; taken->count(Lower(name)); ++n) name = stem + " (" + std::to_string(n) + ").html";
    taken->insert(Lower(name));
    return name;
}

}  // namespace

LogbookEntry ReadLogbookEntry(const std::string& path, const std::string& reportPath) {
    LogbookEntry entry;
    entry.path = path;
    ModifiedSeconds(path, &entry.modified);
    RecordingFault fault;
    if (!CheckRecording(path, &fault)) {
        entry.problem = DescribeFault(path, fault);
        return entry;
    }
    try {
        std::unique_ptr<RecordingFile> recording = OpenRecording(path);
        ReadFigures(*recording, &entry);
        KeepReport(*recording, entry, reportPath);
        entry.reportName = BaseName(reportPath);
    } catch (const ToolError& error) {
        entry.problem = error.what();
    }
    return entry;
}

void SortNewestFirst(std::vector<LogbookEntry>* entries) {
    std::stable_sort(entries->begin(), entries->end(), [](const LogbookEntry& a, const LogbookEntry& b) {
        if (a.dateKnown != b.dateKnown) return a.dateKnown;
        return a.dateKnown ? a.startEpoch > b.startEpoch : a.modified > b.modified;
    });
}

void WriteLogbook(const std::vector<LogbookEntry>& entries, TextOut& out) {
    out.Text("<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\"/>\n"
             "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\"/>\n"
             "<title>Logbook</title>\n<style>\n");
    out.Text(Styles);
    out.Text("</style>\n</head>\n<body>\n<h1>Logbook</h1>\n");
    size_t damaged = 0;
    for (const LogbookEntry& entry : entries) damaged += !entry.problem.empty();
    out.Text("<p>");
    out.Integer(static_cast<int64_t>(entries.size()));
    out.Text(entries.size() == 1 ? " recording" : " recordings");
    if (damaged) {
        out.Text(", ");
        out.Integer(static_cast<int64_t>(damaged));
        out.Text(" of them damaged");
    }
    out.Text(". The figures are the first track's, the aircraft flown; each name opens the flight's report.</p>\n");
    out.Text("<table class=\"flights\">\n<thead><tr><th>date</th><th>recording</th><th>aircraft</th>"
             "<th class=\"number\">duration</th><th class=\"number\">air time</th><th class=\"number\">distance</th>"
             "<th class=\"number\">highest</th><th>landings</th></tr></thead>\n<tbody>\n");
    for (const LogbookEntry& entry : entries) EntryRow(out, entry);
    out.Text("</tbody>\n</table>\n");
    TotalsTable(out, entries);
    out.Text("</body>\n</html>\n");
}


size_t WriteLogbookPage(const std::vector<std::string>& folders, const std::string& pagePath) {
    std::vector<std::string> recordings;
    for (const std::string& folder : folders) {
        if (!IsDirectory(folder)) throw ToolError(folder + ": not a folder");
        std::vector<std::string> names;
        if (DirectoryList(folder.c_str(), "*.atr", CollectName, &names) < 0) throw ToolError(folder + ": cannot be read");
        std::sort(names.begin(), names.end());
        for (const std::string& name : names) recordings.push_back(Join(folder, name));
    }
    const std::string pageFolder = FolderOf(pagePath);
    std::set<std::string> taken{Lower(pagePath.substr(pageFolder.empty() ? 0 : pageFolder.size() + 1))};
    std::vector<LogbookEntry> entries;
    {
        Progress progress("Reading the recordings");
        for (size_t i = 0; i < recordings.size(); ++i) {
            const std::string folder = FolderOf(recordings[i]);
            const std::string name = recordings[i].substr(folder.empty() ? 0 : folder.size() + 1);
            entries.push_back(ReadLogbookEntry(recordings[i], Join(pageFolder, ReportName(name, &taken))));
            progress.Update(i + 1, recordings.size());
        }
    }
    SortNewestFirst(&entries);
    Output output(pagePath);
    {
        TextOut text(output.stream);
        WriteLogbook(entries, text);
    }
    output.Finish();
    return entries.size();
}
