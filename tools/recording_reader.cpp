// Checking and opening recording files for the tool: the structural walk
// that reports where a file is damaged, the tracks opened through TrackInit
// and TrackOpenRaw, and reading their samples window by window.
#include "recording_reader.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "engine/recording_assemble.h"
#include "tool_common.h"

// Records per window when the tool streams a track.
static const uint32_t ReadWindowSamples = 4096;
static const uint32_t LegacyHeaderEnd = 28;

static std::string Hex(uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", value);
    return text;
}

static bool Fail(RecordingFault* fault, uint64_t offset, const std::string& expected) {
    fault->offset = offset;
    fault->expected = expected;
    return false;
}

// Reads exactly size bytes at offset.
static bool ReadAt(PlatformFile* file, uint64_t offset, uint8_t* bytes, size_t size) {
    return FileSeek(file, static_cast<int64_t>(offset), SEEK_SET) && FileRead(file, bytes, size) == size;
}

static bool CheckOpenFile(PlatformFile* file, RecordingFault* fault) {
    const int64_t signedLength = FileLength(file);
    if (signedLength < 0) return Fail(fault, 0, "a readable file");
    const uint64_t length = static_cast<uint64_t>(signedLength);
    uint8_t head[LegacyHeaderEnd];
    if (length < 4) return Fail(fault, 0, "a 4-byte file version, but the file has " + std::to_string(length) + " bytes");
    if (!ReadAt(file, 0, head, 4)) return Fail(fault, 0, "a readable file version");
    const uint32_t version = GetU32(head);
    if (version != VersionNoFlags && version != VersionSingleTrack && version != VersionMultiTrack)
        return Fail(fault, 0, "file version 0x01000004, 0x01000005 or 0x01000006, found " + Hex(version));
    if (version != VersionMultiTrack) {
        if (length < LegacyHeaderEnd)
            return Fail(fault, 4, "a 24-byte header, but only " + std::to_string(length - 4) + " bytes follow");
        if (!ReadAt(file, 4, head + 4, LegacyHeaderEnd - 4)) return Fail(fault, 4, "a readable header");
        const uint32_t count = GetU32(head + 4);
        const uint32_t flags = version == VersionNoFlags ? 127u : GetU32(head + 12);
        const uint64_t bytes = static_cast<uint64_t>(count) * RecordSize(flags & FlagAllGroups);
        if (count == 0) return Fail(fault, 4, "a sample count of at least 1, found 0");
        if (bytes > length - LegacyHeaderEnd)
            return Fail(fault, LegacyHeaderEnd,
                        std::to_string(count) + " samples of " + std::to_string(RecordSize(flags & FlagAllGroups)) +
                            " bytes, but only " + std::to_string(length - LegacyHeaderEnd) + " bytes follow");
        if (bytes < length - LegacyHeaderEnd)
            return Fail(fault, LegacyHeaderEnd + bytes,
                        "the end of the file after the samples, found " +
                            std::to_string(length - LegacyHeaderEnd - bytes) + " more bytes");
        return true;
    }
    if (length < RecordingHeaderEnd)
        return Fail(fault, 4, "a 14-byte recording header, but only " + std::to_string(length - 4) + " bytes follow");
    if (!ReadAt(file, 4, head + 4, RecordingHeaderEnd - 4)) return Fail(fault, 4, "a readable recording header");
    RecordingSummary summary;
    DecodeRecordingHeader(head + 4, &summary);
    uint64_t offset = RecordingHeaderEnd;
    uint32_t earliest = 0xFFFFFFFFu;
    uint32_t latest = 0;
    for (uint32_t i = 0; i < summary.trackCount; ++i) {
        const std::string which = "track " + std::to_string(i + 1) + " of " + std::to_string(summary.trackCount);
        uint8_t bytes[TrackHeaderSize];
        if (length - offset < TrackHeaderSize)
            return Fail(fault, offset,
                        "the 124-byte header of " + which + ", but only " + std::to_string(length - offset) +
                            " bytes remain");
        if (!ReadAt(file, offset, bytes, sizeof bytes)) return Fail(fault, offset, "a readable header of " + which);
        TrackHeader header;
        DecodeTrackHeader(bytes, &header);
        if (header.firstTime > header.lastTime)
            return Fail(fault, offset + 8,
                        "a first time stamp (" + std::to_string(header.firstTime) + ") not after the last (" +
                            std::to_string(header.lastTime) + ") in " + which);
        const uint32_t recordSize = RecordSize(header.flags & FlagAllGroups);
        const uint64_t samples = static_cast<uint64_t>(header.count) * recordSize;
        offset += TrackHeaderSize;
        if (samples > length - offset)
            return Fail(fault, offset,
                        std::to_string(header.count) + " samples of " + std::to_string(recordSize) + " bytes for " +
                            which + ", but only " + std::to_string(length - offset) + " bytes remain");
        offset += samples;
        if (header.firstTime < earliest) earliest = header.firstTime;
        if (header.lastTime > latest) latest = header.lastTime;
    }
    if (offset != length)
        return Fail(fault, offset,
                    "the end of the file after " + std::to_string(summary.trackCount) + " tracks, found " +
                        std::to_string(length - offset) + " more bytes");
    if (summary.startTime != earliest)
        return Fail(fault, 4, "a start time of " + std::to_string(earliest) + " (the earliest track's), found " +
                                  std::to_string(summary.startTime));
    if (summary.endTime != latest)
        return Fail(fault, 8, "an end time of " + std::to_string(latest) + " (the latest track's), found " +
                                  std::to_string(summary.endTime));
    return true;
}

bool CheckRecording(const std::string& path, RecordingFault* fault) {
    PlatformFile* file = FileOpen(path.c_str(), "rb");
    if (!file) return Fail(fault, 0, "a file that can be opened");
    bool sound = CheckOpenFile(file, fault);
    FileClose(file);
    return sound;
}

RecordingFile::~RecordingFile() {
    for (Track& track : tracks) ReleaseWindow(&track);
    if (file) FileClose(file);
}

static std::string Damaged(const std::string& path, const RecordingFault& fault) {
    return path + ": damaged at byte " + std::to_string(fault.offset) + ": expected " + fault.expected;
}

std::unique_ptr<RecordingFile> OpenRecording(const std::string& path) {
    auto recording = std::make_unique<RecordingFile>();
    recording->path = path;
    recording->file = FileOpen(path.c_str(), "rb");
    if (!recording->file) throw ToolError(path + ": cannot be opened");
    RecordingFault fault;
    if (!CheckOpenFile(recording->file, &fault)) throw ToolError(Damaged(path, fault));
    PlatformFile* file = recording->file;
    recording->length = FileLength(file);
    uint8_t head[LegacyHeaderEnd];
    if (!ReadAt(file, 0, head, LegacyHeaderEnd > recording->length ? RecordingHeaderEnd : LegacyHeaderEnd))
        throw ToolError(path + ": cannot be read");
    recording->version = GetU32(head);
    if (recording->version == VersionMultiTrack) {
        RecordingSummary summary;
        DecodeRecordingHeader(head + 4, &summary);
        recording->startTime = summary.startTime;
        recording->endTime = summary.endTime;
        recording->dateStamp = summary.dateStamp;
        if (!FileSeek(file, RecordingHeaderEnd, SEEK_SET)) throw ToolError(path + ": cannot be read");
        for (uint32_t i = 0; i < summary.trackCount; ++i) {
            Track track{};
            // TrackInit leaves the file at the next section.
            if (!TrackInit(&track, ReadWindowSamples, file, 1, 0, nullptr, 0, 0, 0))
                throw ToolError(path + ": track " + std::to_string(i + 1) + " cannot be read");
            recording->tracks.push_back(track);
        }
    } else {
        const uint32_t count = GetU32(head + 4);
        const uint32_t flags = recording->version == VersionNoFlags ? 127u : GetU32(head + 12);
        float elevation;
        uint32_t bits = GetU32(head + 16);
        std::memcpy(&elevation, &bits, sizeof elevation);
        recording->dateStamp = recording->version == VersionNoFlags ? 0 : GetU32(head + 20);
        Track track{};
        if (!FileSeek(file, LegacyHeaderEnd, SEEK_SET) ||
            !TrackOpenRaw(&track, ReadWindowSamples, file, count, flags, 0, elevation))
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
    const uint8_t* record =
        track.window + static_cast<size_t>(index - windowStart) * track.layout.recordSize;
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
    static const char* const Names[12] = {"throttles", "flight controls", "spoilers", "flaps",
                                          "gear", "lights", "engines", "nav radios",
                                          "com radios", "prop and mixture levers", "date and time", "smoke"};
    std::string names;
    for (int bit = 0; bit < 12; ++bit) {
        if (!(flags & (1u << bit))) continue;
        if (!names.empty()) names += ", ";
        names += Names[bit];
    }
    return names.empty() ? "none" : names;
}
