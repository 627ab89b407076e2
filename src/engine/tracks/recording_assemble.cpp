// Assembling a recording file from track sections held elsewhere: the
// header, the sections one after another, the final header, and cleaning up
// a file that could not be finished.
#include "engine/tracks/recording_assemble.h"

#include <cstdio>
#include <cstring>

// Records are moved in pieces of about this size: large enough to stream at
// disk speed. One buffer serves every copy (all of it runs on one thread).
static const uint32_t CopyBytes = 64 * 1024;
static uint8_t copyBuffer[CopyBytes];

static int WriteHead(PlatformFile* out, const RecordingHeader& summary) {
    uint8_t bytes[FirstTrackOffset];
    PutU32(bytes, FileVersionCurrent);
    EncodeRecordingHeader(summary, bytes + FileVersionSize);
    return FileSeek(out, 0, SEEK_SET) && FileWrite(out, bytes, sizeof bytes) == sizeof bytes;
}

static bool ShiftedTime(uint32_t time, int64_t shift, uint32_t* result) {
    int64_t moved = static_cast<int64_t>(time) + shift;
    if (moved < 0 || moved > static_cast<int64_t>(UINT32_MAX)) return false;
    *result = static_cast<uint32_t>(moved);
    return true;
}

// Reads one record of a source into record.
static bool ReadRecord(const TrackSource& source, const SampleLayout& layout, uint32_t index, uint8_t* record) {
    uint64_t offset = source.dataOffset + static_cast<uint64_t>(index) * layout.recordSize;
    return FileSeek(source.file, static_cast<int64_t>(offset), SEEK_SET) &&
           FileRead(source.file, record, layout.recordSize) == layout.recordSize;
}

// The section's header: the times are those of its first and last record
// as they will be written.
static bool SectionHeader(const TrackSource& source, const SampleLayout& layout, TrackHeader* header) {
    uint8_t record[FullSampleSize];
    header->count = source.count;
    header->flags = source.flags;
    header->firstTime = 0;
    header->lastTime = 0;
    if (source.count > 0) {
        if (!ReadRecord(source, layout, source.first, record) ||
            !ShiftedTime(RecordTime(layout, record), source.timeShift, &header->firstTime))
            return false;
        if (!ReadRecord(source, layout, source.first + source.count - 1, record) ||
            !ShiftedTime(RecordTime(layout, record), source.timeShift, &header->lastTime))
            return false;
    }
    CopyTrackTitle(header->title, source.title);
    header->referenceElevation = source.referenceElevation;
    header->interval = source.interval;
    return true;
}

static bool CopyRecords(const TrackSource& source, const SampleLayout& layout, PlatformFile* out, uint8_t* buffer,
                        uint64_t* done, uint64_t total, AssembleProgress progress, void* context) {
    const uint32_t perChunk = CopyBytes / layout.recordSize;
    uint64_t offset = source.dataOffset + static_cast<uint64_t>(source.first) * layout.recordSize;
    if (!FileSeek(source.file, static_cast<int64_t>(offset), SEEK_SET)) return false;
    uint32_t left = source.count;
    while (left > 0) {
        uint32_t records = left < perChunk ? left : perChunk;
        size_t bytes = static_cast<size_t>(records) * layout.recordSize;
        if (FileRead(source.file, buffer, bytes) != bytes) return false;
        if (source.timeShift != 0) {
            for (uint32_t i = 0; i < records; ++i) {
                uint8_t* record = buffer + static_cast<size_t>(i) * layout.recordSize;
                uint32_t moved;
                if (!ShiftedTime(RecordTime(layout, record), source.timeShift, &moved)) return false;
                SetRecordTime(layout, record, moved);
            }
        }
        if (FileWrite(out, buffer, bytes) != bytes) return false;
        left -= records;
        *done += records;
        if (progress) progress(*done, total, context);
    }
    return true;
}

int WriteRecordingSections(PlatformFile* out, uint32_t dateStamp, const TrackSource* sources, uint32_t sourceCount,
                           AssembleProgress progress, void* context) {
    if (sourceCount > UINT16_MAX) return 0;
    uint64_t total = 0;
    for (uint32_t i = 0; i < sourceCount; ++i) total += sources[i].count;
    RecordingHeader summary{0xFFFFFFFFu, 0, dateStamp, 0};  // provisional until the sections are in
    if (!WriteHead(out, summary)) return 0;
    uint64_t done = 0;
    uint64_t expectedLength = FirstTrackOffset;
    for (uint32_t i = 0; i < sourceCount; ++i) {
        const TrackSource& source = sources[i];
        SampleLayout layout = ComputeLayout(source.flags);
        TrackHeader header;
        if (!source.file || !SectionHeader(source, layout, &header) || !WriteTrackHeader(out, header) ||
            !CopyRecords(source, layout, out, copyBuffer, &done, total, progress, context))
            return 0;
        if (source.count > 0) {
            if (header.firstTime < summary.startTime) summary.startTime = header.firstTime;
            if (header.lastTime > summary.endTime) summary.endTime = header.lastTime;
        }
        summary.trackCount = static_cast<uint16_t>(summary.trackCount + 1);
        expectedLength += TrackHeaderSize + static_cast<uint64_t>(source.count) * layout.recordSize;
    }
    // A full disk may only show in the length once the buffered bytes go out.
    return WriteHead(out, summary) && FileLength(out) == static_cast<int64_t>(expectedLength);
}

int WriteRecordingFile(const char* path, uint32_t dateStamp, const TrackSource* sources, uint32_t sourceCount,
                       AssembleProgress progress, void* context) {
    PlatformFile* out = FileOpen(path, "wb");
    if (!out) return 0;
    bool ok = WriteRecordingSections(out, dateStamp, sources, sourceCount, progress, context);
    ok = FileClose(out) && ok;
    if (!ok) {
        FileDelete(path);
        return 0;
    }
    return 1;
}
