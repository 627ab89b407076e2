// "aerotrace info" and "aerotrace validate": what a recording holds, and
// whether it is sound, without playing it.
#include <cstdio>

#include "commands.h"
#include "recording_reader.h"
#include "recording_summary.h"

static void PrintInfo(const std::string& path) {
    std::unique_ptr<RecordingFile> recording = OpenRecording(path);
    std::printf("%s\n", path.c_str());
    for (const SummaryRow& row : RecordingSummary(*recording))
        std::printf("  %-22s %s\n", row.label.c_str(), row.value.c_str());
    for (size_t i = 0; i < recording->tracks.size(); ++i) {
        Track& track = recording->tracks[i];
        std::printf("  track %zu: \"%s\"\n", i + 1, track.title);
        for (const SummaryRow& row : TrackSummary(track))
            std::printf("    %-20s %s\n", row.label.c_str(), row.value.c_str());
    }
}

int RunInfo(int argc, char** argv) {
    Arguments arguments = ParseArguments(argc, argv, 1, {}, {});
    if (PrintHelpIfAsked(arguments, "info")) return 0;
    if (arguments.positional.empty()) throw UsageError("info needs at least one recording file");
    int status = 0;
    for (const std::string& path : arguments.positional) {
        try {
            PrintInfo(path);
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
