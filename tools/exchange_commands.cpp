// "aerotrace export" and "aerotrace import": recordings to and from the
// formats of Google Earth, GPS and GIS tools and glider flight recorders.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "commands.h"
#include "engine/tracks/host_encoding.h"
#include "export.h"
#include "import.h"

int RunExport(int argc, char** argv) {
    Arguments arguments = ParseArguments(argc, argv, 1, {"format", "f", "track", "o", "output"}, {});
    if (PrintHelpIfAsked(arguments, "export")) return 0;
    if (arguments.positional.size() != 1) throw UsageError("export takes one recording file");
    ExportOptions options;
    options.format = arguments.Option("format", arguments.Option("f"));
    if (options.format.empty()) throw UsageError("choose a --format: csv, kml, gpx, igc, geojson or json");
    if (arguments.Has("track")) {
        uint32_t number = ParseUnsigned(arguments.Option("track"), "--track");
        if (number == 0) throw UsageError("tracks are numbered from 1");
        options.track = static_cast<int>(number - 1);
    }
    const std::string out = arguments.Option("o", arguments.Option("output"));
    if (!out.empty() && out != "-") CheckOutputIsNew(out, arguments.positional);
    std::unique_ptr<RecordingFile> recording = OpenRecording(arguments.positional[0]);
    // Check the track before an output file is created.
    PlanExport(*recording, options);
    Output output(out);
    ExportRecording(*recording, options, output.stream);
    output.Finish();
    return 0;
}

static std::string Extension(const std::string& path) {
    size_t dot = path.rfind('.');
    size_t slash = path.find_last_of("/\\");
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
    std::string extension = path.substr(dot + 1);
    for (char& c : extension) c = static_cast<char>(c | 0x20);
    return extension;
}

static std::string BaseName(const std::string& path) {
    size_t slash = path.find_last_of("/\\");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    size_t dot = name.rfind('.');
    return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

// "; 12 times and 3 elevations filled in, ..." for what FillGaps did.
static std::string GapsText(const GapReport& gaps, const GapOptions& options) {
    std::string text;
    const auto add = [&](const std::string& part) { text += (text.empty() ? " (" : ", ") + part; };
    if (gaps.timedBySpeed) add("flown in order at --speed");
    if (gaps.timesFilled) add(std::to_string(gaps.timesFilled) + " times filled in along the distance");
    if (gaps.endsDropped) add(std::to_string(gaps.endsDropped) + " points without a time at the ends left out");
    if (std::isfinite(options.altitudeMetres)) add("all at --altitude");
    if (gaps.elevationsFilled) add(std::to_string(gaps.elevationsFilled) + " elevations filled in from their neighbours");
    return text.empty() ? text : text + ")";
}

int RunImport(int argc, char** argv) {
    Arguments arguments = ParseArguments(
        argc, argv, 1,
        {"o", "output", "title", "interval", "format", "track", "altitude", "speed", "start", "taxi-speed"}, {});
    if (PrintHelpIfAsked(arguments, "import")) return 0;
    if (arguments.positional.size() != 1) throw UsageError("import takes one track file");
    const std::string in = arguments.positional[0];
    const std::string out = arguments.Option("o", arguments.Option("output"));
    CheckOutputIsNew(out, arguments.positional);
    const std::string format = arguments.Has("format") ? arguments.Option("format") : Extension(in);
    const uint32_t asked =
        arguments.Has("interval") ? ParseUnsigned(arguments.Option("interval"), "--interval") : 1000;
    if (asked < 10 || asked > 60000) throw UsageError("--interval must be 10 to 60000 milliseconds");
    const uint32_t track = arguments.Has("track") ? ParseUnsigned(arguments.Option("track"), "--track") : 1;
    const std::string title = arguments.Has("title") ? arguments.Option("title") : BaseName(in);
    GapOptions gapOptions;
    if (arguments.Has("altitude")) gapOptions.altitudeMetres = ParseNumber(arguments.Option("altitude"), "--altitude") * MetresPerFoot;
    if (arguments.Has("speed")) {
        gapOptions.speedMps = ParseNumber(arguments.Option("speed"), "--speed") * 1852.0 / 3600.0;
        if (!(gapOptions.speedMps > 0)) throw UsageError("--speed must be above 0 knots");
    }
    if (arguments.Has("start")) {
        if (!arguments.Has("speed")) throw UsageError("--start goes with --speed");
        if (!ParseIsoTime(arguments.Option("start"), &gapOptions.startEpoch))
            throw UsageError("--start must be an ISO 8601 time, such as 2004-06-08T14:05:09Z");
    }
    GroundRule ground;
    if (format == "igc") ground = {WalkingPaceMps, FlightFileSustainSeconds};
    if (arguments.Has("taxi-speed")) {
        ground.taxiSpeedMps = ParseNumber(arguments.Option("taxi-speed"), "--taxi-speed") * 1852.0 / 3600.0;
        if (!(ground.taxiSpeedMps >= 0)) throw UsageError("--taxi-speed must be 0 knots or more");
    }

    std::ifstream stream(in, std::ios::binary);
    if (!stream) throw ToolError(in + ": cannot be opened");
    std::stringstream content;
    content << stream.rdbuf();
    const std::string text = content.str();
    std::vector<Fix> fixes;
    GapReport gaps;
    try {
        if (format == "gpx")
            fixes = ReadGpxFixes(text);
        else if (format == "igc")
            fixes = ReadIgcFixes(text);
        else if (format == "csv")
            fixes = ReadCsvFixes(text, track);
        else
            throw UsageError("cannot tell the format of " + in + ": give --format gpx, igc or csv");
        if (fixes.empty()) throw ToolError("no track points found");
        gaps = FillGaps(&fixes, gapOptions);
    } catch (const ToolError& error) {
        throw ToolError(in + ": " + error.what());
    }
    const uint32_t interval = IntervalKeepingFixes(fixes, asked);
    std::vector<FlightPoint> flight = BuildFlight(fixes, interval, ground);
    double start = fixes.front().epoch;
    for (const Fix& fix : fixes) start = std::min(start, fix.epoch);
    WriteFlightRecording(flight, start, title, interval, out);
    std::printf("%s: \"%s\", %zu samples every %u ms from %zu points%s", out.c_str(), title.c_str(), flight.size(),
                interval, fixes.size(), GapsText(gaps, gapOptions).c_str());
    if (interval != asked) std::printf("; the points span less than %u ms, so every %u ms keeps them", asked, interval);
    if (std::all_of(flight.begin(), flight.end(), [](const FlightPoint& p) { return p.onGround; }))
        std::printf("; it never leaves the ground: it never moves faster than %.1f knots (--taxi-speed)",
                    ground.taxiSpeedMps * 3600.0 / 1852.0);
    std::printf("\n");
    return 0;
}
