// What a temporary track file left by a recording really holds: its records
// counted from its length and walked until time runs backwards, the date of
// its first record, the source that copies its trusted part, the check of a
// recording rebuilt from such files, and the aircraft id in a file's name.
#include "engine/tracks/temp_tracks.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "engine/tracks/recording_check.h"
#include "engine/tracks/sim_date.h"

// Records read per step while walking a temporary file.
static const uint32_t ScanRecords = 1024;

int ScanTempTrack(PlatformFile* file, TempTrackScan* scan) {
    TempTrackScan made{};
    made.length = FileLength(file);
    if (made.length < static_cast<int64_t>(TrackHeaderSize)) return 0;
    if (!FileSeek(file, 0, SEEK_SET) || !ReadTrackHeader(file, &made.header)) return 0;
    const SampleLayout layout = ComputeLayout(made.header.flags);
    uint64_t whole = static_cast<uint64_t>(made.length - TrackHeaderSize) / layout.recordSize;
    made.wholeRecords = whole > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(whole);
    uint8_t* buffer = static_cast<uint8_t*>(std::malloc(static_cast<size_t>(ScanRecords) * layout.recordSize));
    if (!buffer) return 0;
    // Time stamps never run backwards within a track: where one does, what
    // follows was not written whole.
    uint32_t trusted = 0;
    uint32_t previous = 0;
    bool ok = true;
    bool ended = false;
    while (ok && !ended && trusted < made.wholeRecords) {
        uint32_t records = made.wholeRecords - trusted < ScanRecords ? made.wholeRecords - trusted : ScanRecords;
        size_t bytes = static_cast<size_t>(records) * layout.recordSize;
        if (FileRead(file, buffer, bytes) != bytes) {
            ok = false;
            break;
        }
        for (uint32_t i = 0; i < records; ++i) {
            uint32_t time = RecordTime(layout, buffer + static_cast<size_t>(i) * layout.recordSize);
            if (trusted > 0 && time < previous) {
                ended = true;
                break;
            }
            if (trusted == 0) made.header.firstTime = time;
            made.header.lastTime = time;
            previous = time;
            ++trusted;
        }
    }
    std::free(buffer);
    if (!ok) return 0;
    made.header.count = trusted;
    if (trusted == 0) made.header.firstTime = made.header.lastTime = 0;
    *scan = made;
    return 1;
}

uint32_t RecoveredDateStamp(PlatformFile* file, const TempTrackScan& scan) {
    const SampleLayout layout = ComputeLayout(scan.header.flags);
    if (!(layout.flags & FlagDateTime) || scan.header.count == 0) return 0;
    uint8_t record[FullSampleSize];
    if (!FileSeek(file, TrackHeaderSize, SEEK_SET) || FileRead(file, record, layout.recordSize) != layout.recordSize)
        return 0;
    FullSample sample{};
    UnpackSample(layout, record, &sample);
    HostDateTime when{static_cast<int16_t>(1900 + sample.yearSince1900), sample.dayOfYear, sample.hour, sample.minute,
                      sample.second};
    return DateStamp(when);
}

TrackSource TempTrackSource(PlatformFile* file, const TempTrackScan& scan) {
    TrackSource source{};
    source.file = file;
    source.dataOffset = TrackHeaderSize;
    source.flags = scan.header.flags;
    source.first = 0;
    source.count = scan.header.count;
    source.timeShift = 0;
    source.title = scan.header.title;
    source.referenceElevation = scan.header.referenceElevation;
    source.interval = scan.header.interval;
    return source;
}

// The record at index of a source as it was to be written (time shifted).
static bool SourceRecord(const TrackSource& source, const SampleLayout& layout, uint32_t index, uint8_t* record) {
    uint64_t offset = source.dataOffset + static_cast<uint64_t>(source.first + index) * layout.recordSize;
    if (!FileSeek(source.file, static_cast<int64_t>(offset), SEEK_SET) ||
        FileRead(source.file, record, layout.recordSize) != layout.recordSize)
        return false;
    int64_t moved = static_cast<int64_t>(RecordTime(layout, record)) + source.timeShift;
    SetRecordTime(layout, record, static_cast<uint32_t>(moved));
    return true;
}

int VerifyRecordingFile(const char* path, const TrackSource* sources, uint32_t sourceCount) {
    PlatformFile* file = FileOpen(path, "rb");
    if (!file) return 0;
    // The module's own check first: the file must load as it is.
    RecordingCheck check;
    bool ok = ValidateRecording(file, &check) && check.version == FileVersionCurrent;
    uint8_t head[FirstTrackOffset];
    RecordingHeader summary{};
    ok = ok && FileSeek(file, 0, SEEK_SET) && FileRead(file, head, sizeof head) == sizeof head;
    if (ok) DecodeRecordingHeader(head + FileVersionSize, &summary);
    ok = ok && summary.trackCount == sourceCount;
    uint64_t end = FirstTrackOffset;
    for (uint32_t i = 0; ok && i < sourceCount; ++i) {
        const TrackSource& source = sources[i];
        Track track{};
        ok = FileSeek(file, static_cast<int64_t>(end), SEEK_SET) &&
             TrackInit(&track, TrackWindowSamples, file, 1, 0, nullptr, 0, 0, 0);
        ok = ok && track.count == source.count && track.flags == source.flags;
        if (!ok) break;
        end = track.dataOffset + static_cast<uint64_t>(track.count) * track.layout.recordSize;
        if (track.count == 0) continue;
        // The first and last records must be the sources' own, and the
        // header's times theirs.
        uint8_t written[FullSampleSize];
        uint8_t expected[FullSampleSize];
        const uint32_t ends[2] = {0, track.count - 1};
        const uint32_t times[2] = {track.firstTime, track.lastTime};
        for (int e = 0; ok && e < 2; ++e) {
            uint64_t offset = track.dataOffset + static_cast<uint64_t>(ends[e]) * track.layout.recordSize;
            ok = FileSeek(file, static_cast<int64_t>(offset), SEEK_SET) &&
                 FileRead(file, written, track.layout.recordSize) == track.layout.recordSize &&
                 SourceRecord(source, track.layout, ends[e], expected) &&
                 std::memcmp(written, expected, track.layout.recordSize) == 0 &&
                 RecordTime(track.layout, written) == times[e];
        }
    }
    ok = ok && FileLength(file) == static_cast<int64_t>(end);
    FileClose(file);
    return ok;
}

uint32_t TempTrackFileId(const char* name) {
    static const char Prefix[] = "aerotrace";
    static const char Suffix[] = ".tmp";
    size_t length = std::strlen(name);
    const size_t prefixLength = sizeof Prefix - 1;
    const size_t suffixLength = sizeof Suffix - 1;
    if (length <= prefixLength + suffixLength || length > prefixLength + suffixLength + 9) return 0;
    for (size_t i = 0; i < prefixLength; ++i)
        if ((name[i] | 0x20) != Prefix[i]) return 0;
    for (size_t i = 0; i < suffixLength; ++i) {
        char c = name[length - suffixLength + i];
        if ((c == '.' ? c : (c | 0x20)) != Suffix[i]) return 0;
    }
    uint32_t id = 0;
    for (size_t i = prefixLength; i < length - suffixLength; ++i) {
        if (name[i] < '0' || name[i] > '9') return 0;
        id = id * 10 + static_cast<uint32_t>(name[i] - '0');
    }
    return id;
}
