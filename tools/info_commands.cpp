// "aerotrace info" and "aerotrace validate": what a recording holds, and
// whether it is sound, without playing it.
#include <algorithm>
#include <cstdio>

#include "commands.h"
#include "flight_text.h"
#include "recording_reader.h"
#include "recording_summary.h"

// Characters as a terminal shows them: UTF-8 continuation bytes take no room.
static size_t Width(const std::string& text) {
    size_t width = 0;
    for (unsigned char c : text) width += (c & 0xC0) != 0x80;
    return width;
}

static void PrintTable(const TextTable& table) {
    std::vector<size_t> widths(table.header.size(), 0);
    for (size_t column = 0; column < widths.size(); ++column) {
        widths[column] = Width(table.header[column]);
        for (const std::vector<std::string>& row : table.rows) widths[column] = std::max(widths[column], Width(row[column]));
    }
    const auto print = [&](const std::vector<std::string>& cells) {
        std::string line = "    ";
        for (size_t column = 0; column < cells.size(); ++column) {
            line += cells[column];
            if (column + 1 < cells.size()) line += std::string(widths[column] - Width(cells[column]) + 2, ' ');
        }
        std::printf("%s\n", line.c_str());
    };
    print(table.header);
    for (const std::vector<std::string>& row : table.rows) print(row);
}

static void PrintLandings(Track& track) {
    const FlightFigures flight = AnalyseFlight(ReadTrackPoints(track));
    for (const SummaryRow& row : FlightSummaryRows(flight))
        std::printf("    %-20s %s\n", row.label.c_str(), row.value.c_str());
    const MomentText when = [](double seconds) {
        char text[32];
        std::snprintf(text, sizeof text, "%.1f s", seconds);
        return std::string(text);
    };
    for (const TextTable& table : {TakeOffTable(flight, when), LandingTable(flight, when)})
        if (!table.rows.empty()) PrintTable(table);
}

static void PrintInfo(const std::string& path, bool landings) {
    std::unique_ptr<RecordingFile> recording = OpenRecording(path);
    std::printf("%s\n", path.c_str());
    for (const SummaryRow& row : RecordingSummary(*recording))
        std::printf("  %-22s %s\n", row.label.c_str(), row.value.c_str());
    for (size_t i = 0; i < recording->tracks.size(); ++i) {
        Track& track = recording->tracks[i];
        std::printf("  track %zu: \"%s\"\n", i + 1, track.title);
        for (const SummaryRow& row : TrackSummary(track))
            std::printf("    %-20s %s\n", row.label.c_str(), row.value.c_str());
        if (landings) PrintLandings(track);
    }
}

int RunInfo(int argc, char** argv) {
    Arguments arguments = ParseArguments(argc, argv, 1, {}, {"landings"});
    if (PrintHelpIfAsked(arguments, "info")) return 0;
    if (arguments.positional.empty()) throw UsageError("info needs at least one recording file");
    int status = 0;
    for (const std::string& path : arguments.positional) {
        try {
            PrintInfo(path, arguments.Has("landings"));
        } catch (const ToolError& error) {
            std::fflush(stdout);
            std::fprintf(stderr, "aerotrace: %s\n", error.what());
            status = 1;
        }
    }
    return status;
}

int RunValidate(int argc, char** argv) {
    Arguments arguments = ParseArguments(argc, argv, 1, {}, {"quiet"});
    if (PrintHelpIfAsked(arguments, "validate")) return 0;
    if (arguments.positional.empty()) throw UsageError("validate needs at least one recording file");
    int status = 0;
    for (const std::string& path : arguments.positional) {
        RecordingFault fault;
        if (CheckRecording(path, &fault)) {
            if (!arguments.Has("quiet")) std::printf("%s: valid\n", path.c_str());
        } else {
            std::printf("%s\n", DescribeFault(path, fault).c_str());
            status = 1;
        }
    }
    return status;
}
