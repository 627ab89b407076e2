// "aerotrace merge", "trim" and "convert": new recordings made from the
// tracks of existing ones, written and checked through the module's engine.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>

#include "commands.h"
#include "engine/tracks/recording_format.h"
#include "recording_reader.h"

TrackSource SourceOfTrack(const Track& track) {
    TrackSource source{};
    source.file = track.file;
    source.dataOffset = track.dataOffset;
    source.flags = track.flags;
    source.first = 0;
    source.count = track.count;
    source.timeShift = 0;
    source.title = track.title;
    source.referenceElevation = track.referenceElevation;
    source.interval = track.interval;
    return source;
}

void CheckOutputIsNew(const std::string& outPath, const std::vector<std::string>& inputs) {
    if (outPath.empty()) throw UsageError("name the new recording with -o OUT.atr");
    for (const std::string& input : inputs)
        if (SameFile(outPath, input)) throw UsageError(outPath + " is one of the inputs: choose another output name");
}

void WriteAndVerify(const std::string& outPath, uint32_t dateStamp, const std::vector<TrackSource>& sources,
                    const std::string& progressLabel) {
    if (sources.size() > UINT16_MAX) throw ToolError("a recording holds at most 65535 tracks");
    {
        Progress progress(progressLabel);
        if (!WriteRecordingFile(outPath.c_str(), dateStamp, sources.data(), static_cast<uint32_t>(sources.size()),
                                ReportAssembleProgress, &progress))
            throw ToolError("could not write " + outPath);
    }
    RecordingFault fault;
    if (!CheckRecording(outPath, &fault)) {
        FileDelete(outPath.c_str());
        throw ToolError("the new recording did not read back whole (" + DescribeFault(outPath, fault) +
                        "); it was removed");
    }
}

// ---------------------------------------------------------------- merge

static std::vector<double> Offsets(const Arguments& arguments) {
    std::vector<double> offsets;
    for (const std::string& value : arguments.All("offset")) {
        std::stringstream list(value);
        std::string item;
        while (std::getline(list, item, ',')) offsets.push_back(ParseNumber(item, "--offset"));
    }
    return offsets;
}

int RunMerge(int argc, char** argv) {
    Arguments arguments = ParseArguments(argc, argv, 1, {"o", "output", "offset"}, {});
    if (PrintHelpIfAsked(arguments, "merge")) return 0;
    const std::string out = arguments.Option("o", arguments.Option("output"));
    if (arguments.positional.size() < 2) throw UsageError("merge needs at least two recording files");
    CheckOutputIsNew(out, arguments.positional);
    std::vector<double> offsets = Offsets(arguments);
    if (offsets.size() > arguments.positional.size())
        throw UsageError("more offsets (" + std::to_string(offsets.size()) + ") than files");
    offsets.resize(arguments.positional.size(), 0.0);

    std::vector<std::unique_ptr<RecordingFile>> recordings;
    std::vector<TrackSource> sources;
    for (size_t f = 0; f < arguments.positional.size(); ++f) {
        recordings.push_back(OpenRecording(arguments.positional[f]));
        const int64_t shift = std::llround(offsets[f] * 10000.0);
        for (const Track& track : recordings.back()->tracks) {
            TrackSource source = SourceOfTrack(track);
            source.timeShift = shift;
            if (track.count > 0 && (static_cast<int64_t>(track.firstTime) + shift < 0 ||
                                    static_cast<int64_t>(track.lastTime) + shift > static_cast<int64_t>(UINT32_MAX)))
                throw UsageError("the offset of " + arguments.positional[f] +
                                 " moves its samples before the start of the recording: shift the other files later "
                                 "instead");
            sources.push_back(source);
        }
    }
    if (sources.empty()) throw ToolError("the files hold no track to merge");
    WriteAndVerify(out, recordings.front()->dateStamp, sources, "merging");
    std::printf("%s: %zu tracks from %zu files\n", out.c_str(), sources.size(), recordings.size());
    return 0;
}

// ---------------------------------------------------------------- trim

int RunTrim(int argc, char** argv) {
    Arguments arguments = ParseArguments(argc, argv, 1, {"o", "output", "from", "to"}, {});
    if (PrintHelpIfAsked(arguments, "trim")) return 0;
    const std::string out = arguments.Option("o", arguments.Option("output"));
    if (arguments.positional.size() != 1) throw UsageError("trim takes one recording file");
    CheckOutputIsNew(out, arguments.positional);
    std::unique_ptr<RecordingFile> recording = OpenRecording(arguments.positional[0]);
    // Seconds from the start of the recording.
    const double from = arguments.Has("from") ? ParseNumber(arguments.Option("from"), "--from") : 0.0;
    const double to = arguments.Has("to") ? ParseNumber(arguments.Option("to"), "--to") : 1e12;
    if (!arguments.Has("from") && !arguments.Has("to")) throw UsageError("give --from and/or --to (seconds)");
    if (from < 0 || to <= from) throw UsageError("--from must be at least 0 and before --to");
    const double base = recording->tracks.empty() ? 0.0 : recording->startTime;
    const double first = base + from * 10000.0;
    const double last = base + to * 10000.0;

    std::vector<TrackSource> sources;
    for (Track& track : recording->tracks) {
        SampleCursor cursor(track);
        FullSample sample;
        int64_t begin = -1, end = -1;
        while (cursor.Next(&sample)) {
            if (sample.time < first) continue;
            if (sample.time > last) break;
            if (begin < 0) begin = cursor.index - 1;
            end = cursor.index - 1;
        }
        // A track needs two samples to play at all.
        if (begin < 0 || end - begin + 1 < 2) continue;
        TrackSource source = SourceOfTrack(track);
        source.first = static_cast<uint32_t>(begin);
        source.count = static_cast<uint32_t>(end - begin + 1);
        sources.push_back(source);
    }
    if (sources.empty()) throw ToolError("no track has two samples between --from and --to");
    WriteAndVerify(out, recording->dateStamp, sources, "trimming");
    std::printf("%s: %zu track(s), %.3f to %.3f s\n", out.c_str(), sources.size(), from,
                std::min(to, (recording->endTime - base) / 10000.0));
    return 0;
}

// ---------------------------------------------------------------- convert

int RunConvert(int argc, char** argv) {
    Arguments arguments = ParseArguments(argc, argv, 1, {"o", "output", "title"}, {});
    if (PrintHelpIfAsked(arguments, "convert")) return 0;
    const std::string out = arguments.Option("o", arguments.Option("output"));
    if (arguments.positional.size() != 1) throw UsageError("convert takes one recording file");
    CheckOutputIsNew(out, arguments.positional);
    std::unique_ptr<RecordingFile> recording = OpenRecording(arguments.positional[0]);
    if (recording->version == FileVersionCurrent)
        throw ToolError(arguments.positional[0] + " is already of the current version (0x01000006)");
    Track& track = recording->tracks.front();
    // The old versions keep neither the aircraft nor the interval.
    std::string title = arguments.Option("title");
    TrackSource source = SourceOfTrack(track);
    source.title = title.c_str();
    if (track.count > 1) {
        uint32_t first = SampleAt(track, 0).time;
        source.interval =
            static_cast<uint32_t>(std::lround((track.lastTime - first) / 10.0 / static_cast<double>(track.count - 1)));
    }
    WriteAndVerify(out, recording->dateStamp, {source}, "converting");
    std::printf("%s: version 0x01000006, %u samples\n", out.c_str(), track.count);
    if (title.empty())
        std::fprintf(stderr,
                     "aerotrace: note: the old file names no aircraft; give --title \"<aircraft title>\" for a "
                     "recording that also plays as traffic\n");
    return 0;
}
