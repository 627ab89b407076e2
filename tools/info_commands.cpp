// "aerotrace info" and "aerotrace validate": what a recording holds, and
// whether it is sound, without playing it.
#include <cstdio>

#include "commands.h"
#include "engine/recording_format.h"
#include "engine/sim_date.h"
#include "geodesy.h"
#include "recording_reader.h"

static void PrintPosition(const char* label, const FullSample& s) {
    std::printf("    %-20s %.7f, %.7f, %.1f m\n", label, LatitudeDegrees(s.position.latitude),
                LongitudeDegrees(s.position.longitude), AltitudeMetres(s.position.altitude));
}

static const char* VersionName(uint32_t version) {
    switch (version) {
        case FileVersionNoFlags:
            return "single track, all basic groups, no date";
        case FileVersionLegacy:
            return "single track";
        default:
            return "multi-track";
    }
}

static void PrintInfo(const std::string& path) {
    std::unique_ptr<RecordingFile> recording = OpenRecording(path);
    std::printf("%s\n", path.c_str());
    std::printf("  %-22s 0x%08X (%s)\n", "version", recording->version, VersionName(recording->version));
    CalendarTime when{};
    if (recording->dateStamp != 0 && DecodeDateStamp(recording->dateStamp, &when))
        std::printf("  %-22s %04d-%02u-%02u %02u:%02u:%02u (day %u of the year)\n", "date", when.year, when.month,
                    when.day, when.hour, when.minute, when.second, when.dayOfYear);
    else
        std::printf("  %-22s unknown\n", "date");
    if (recording->tracks.empty()) {
        std::printf("  %-22s none\n", "tracks");
        return;
    }
    std::printf("  %-22s %.3f s (%.3f to %.3f)\n", "duration", (recording->endTime - recording->startTime) / 10000.0,
                recording->startTime / 10000.0, recording->endTime / 10000.0);
    std::printf("  %-22s %zu\n", "tracks", recording->tracks.size());
    for (size_t i = 0; i < recording->tracks.size(); ++i) {
        Track& track = recording->tracks[i];
        std::printf("  track %zu: \"%s\"\n", i + 1, track.title);
        std::printf("    %-20s %u\n", "samples", track.count);
        if (track.interval)
            std::printf("    %-20s %u ms\n", "interval", track.interval);
        else
            std::printf("    %-20s not stored\n", "interval");
        // Bits above the twelve groups mean nothing; they are shown as stored.
        std::printf("    %-20s %s (flags 0x%03X%s)\n", "recorded groups", GroupNames(track.layout.flags).c_str(),
                    track.flags, track.flags != track.layout.flags ? ", bits above 0x800 ignored" : "");
        std::printf("    %-20s %.3f to %.3f s\n", "time", track.firstTime / 10000.0, track.lastTime / 10000.0);
        std::printf("    %-20s %.1f ft\n", "reference elevation", track.referenceElevation);
        if (track.count > 0) {
            PrintPosition("start", SampleAt(track, 0));
            PrintPosition("end", SampleAt(track, track.count - 1));
        }
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
