// Checking and opening recording files for the tool: the structural walk
// that reports where a file is damaged, the tracks opened through TrackInit
// and TrackOpenRaw, and reading their samples window by window.
#include "recording_reader.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "engine/tracks/recording_check.h"
#include "engine/tracks/recording_format.h"
#include "tool_common.h"

// Records per window when the tool streams a track.
static const uint32_t ReadWindowSamples = 4096;

// Reads exactly size bytes at offset.
static bool ReadAt(PlatformFile* file, uint64_t offset, uint8_t* bytes, size_t size) {
    return FileSeek(file, static_cast<int64_t>(offset), SEEK_SET) && FileRead(file, bytes, size) == size;
}

// The module's own check: what it loads, the tool calls valid.
static bool CheckOpenFile(PlatformFile* file, RecordingFault* fault) {
    RecordingCheck check;
    if (ValidateRecording(file, &check)) return true;
    fault->offset = check.offset;
    fault->expected = check.expected;
    fault->readFailed = check.readFailed != 0;
    return false;
}

bool CheckRecording(const std::string& path, RecordingFault* fault) {
    PlatformFile* file = FileOpen(path.c_str(), "rb");
    if (!file) {
        fault->offset = 0;
        fault->expected = "a file that can be opened";
        fault->readFailed = true;
        return false;
    }
    bool sound = CheckOpenFile(file, fault);
    FileClose(file);
    return sound;
}

RecordingFile::~RecordingFile() {
    for (Track& track : tracks) ReleaseWindow(&track);
    if (file) FileClose(file);
}

std::string DescribeFault(const std::string& path, const RecordingFault& fault) {
    if (fault.readFailed)
        return path + ": could not be read at byte " + std::to_string(fault.offset) + " (expected " + fault.expected +
               ")";
    return path + ": damaged at byte " + std::to_string(fault.offset) + ": expected " + fault.expected;
}

std::unique_ptr<RecordingFile> OpenRecording(const std::string& path) {
    auto recording = std::make_unique<RecordingFile>();
    recording->path = path;
    recording->file = FileOpen(path.c_str(), "rb");
    if (!recording->file) throw ToolError(path + ": cannot be opened");
    RecordingFault fault;
    if (!CheckOpenFile(recording->file, &fault)) throw ToolError(DescribeFault(path, fault));
    PlatformFile* file = recording->file;
    recording->length = FileLength(file);
    uint8_t head[LegacySamplesOffset];
    const size_t headSize = recording->length < LegacySamplesOffset ? FirstTrackOffset : LegacySamplesOffset;
    if (!ReadAt(file, 0, head, headSize)) throw ToolError(path + ": cannot be read");
    recording->version = GetU32(head);
    if (recording->version == FileVersionCurrent) {
        RecordingHeader header;
        DecodeRecordingHeader(head + FileVersionSize, &header);
        recording->startTime = header.startTime;
        recording->endTime = header.endTime;
        recording->dateStamp = header.dateStamp;
        if (!FileSeek(file, FirstTrackOffset, SEEK_SET)) throw ToolError(path + ": cannot be read");
        for (uint32_t i = 0; i < header.trackCount; ++i) {
            Track track{};
            // TrackInit leaves the file at the next section.
            if (!TrackInit(&track, ReadWindowSamples, file, 1, 0, nullptr, 0, 0, 0))
                throw ToolError(path + ": track " + std::to_string(i + 1) + " cannot be read");
            recording->tracks.push_back(track);
        }
    } else {
        LegacyHeader header;
        DecodeLegacyHeader(head + FileVersionSize, &header);
        const uint32_t flags = recording->version == FileVersionNoFlags ? NoFlagsFileSampleFlags : header.flags;
        recording->dateStamp = recording->version == FileVersionNoFlags ? 0 : header.dateStamp;
        Track track{};
        if (!FileSeek(file, LegacySamplesOffset, SEEK_SET) ||
            !TrackOpenRaw(&track, ReadWindowSamples, file, header.sampleCount, flags, 0, header.referenceElevation,
                          nullptr))
            throw ToolError(path + ": the samples cannot be read");
        recording->tracks.push_back(track);
        recording->startTime = 0;
        recording->endTime = track.lastTime;
    }
    return recording;
}

SampleCursor::SampleCursor(Track& t) : track(t) {}

void SampleCursor::Seek(uint32_t at) {
    index = at;
    windowCount = 0;
}

bool SampleCursor::Next(FullSample* out) {
    if (index >= track.count) return false;
    if (index < windowStart || index >= windowStart + windowCount) {
        if (!track.window) EnsureWindow(&track);
        if (!track.window || !LoadWindow(&track, index))
            throw ToolError("the samples of \"" + std::string(track.title) + "\" cannot be read");
        windowStart = index;
        windowCount = std::min(track.capacity, track.count - index);
        if (observer) {
            observer->done += windowCount;
            observer->progress->Update(observer->done, observer->total);
        }
    }
    const uint8_t* record = track.window + static_cast<size_t>(index - windowStart) * track.layout.recordSize;
    *out = FullSample{};
    UnpackSample(track.layout, record, out);
    ++index;
    return true;
}

FullSample SampleAt(Track& track, uint32_t index) {
    SampleCursor cursor(track);
    cursor.Seek(index);
    FullSample sample{};
    if (!cursor.Next(&sample)) throw ToolError("no sample " + std::to_string(index));
    return sample;
}

std::string GroupNames(uint32_t flags) {
    static const char* const Names[12] = {
        "throttles",  "flight controls",         "spoilers",      "flaps", "gear", "lights", "engines", "nav radios",
        "com radios", "prop and mixture levers", "date and time", "smoke"};
    std::string names;
    for (int bit = 0; bit < 12; ++bit) {
        if (!(flags & (1u << bit))) continue;
        if (!names.empty()) names += ", ";
        names += Names[bit];
    }
    return names.empty() ? "none" : names;
}
