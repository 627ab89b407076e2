// The end-to-end check every recording file gets before anything of it is
// trusted: the version word, the header and every track section measured
// against the file's real length.
#include "engine/tracks/recording_check.h"

#include <cstdio>
#include <cstring>

#include "engine/tracks/recording_format.h"
#include "engine/tracks/track.h"

// Room to compose a description; what is kept is cut to RecordingCheck::expected.
static const size_t DescriptionSize = 320;

static int Damaged(RecordingCheck* check, uint64_t offset, const char* expected) {
    check->offset = offset;
    size_t i = 0;
    for (; i + 1 < sizeof check->expected && expected[i]; ++i) check->expected[i] = expected[i];
    check->expected[i] = 0;
    return 0;
}

// Reads size bytes at offset, which the caller has checked to lie within the
// file; a short read there is an I/O error, not damage.
static int ReadAt(PlatformFile* file, RecordingCheck* check, uint64_t offset, uint8_t* bytes, uint32_t size) {
    if (FileSeek(file, static_cast<int64_t>(offset), SEEK_SET) && FileRead(file, bytes, size) == size) return 1;
    check->readFailed = 1;
    return Damaged(check, offset, "bytes that can be read");
}

// Checks count samples of the flags' size from offset on against the length;
// trackNumber 0 is the one track of a single-track file.
static int SamplesFit(RecordingCheck* check, uint64_t offset, uint32_t count, uint32_t flags, uint32_t trackNumber) {
    uint64_t bytes = static_cast<uint64_t>(count) * RecordSize(flags);
    uint64_t length = static_cast<uint64_t>(check->length);
    if (offset <= length && bytes <= length - offset) return 1;
    char whose[32] = "";
    if (trackNumber) std::snprintf(whose, sizeof whose, " of track %lu", static_cast<unsigned long>(trackNumber));
    char expected[DescriptionSize];
    std::snprintf(expected, sizeof expected, "the samples%s: %lu of %lu bytes, %llu bytes, but the file holds %llu",
                  whose, static_cast<unsigned long>(count), static_cast<unsigned long>(RecordSize(flags)),
                  static_cast<unsigned long long>(bytes),
                  static_cast<unsigned long long>(offset <= length ? length - offset : 0));
    return Damaged(check, offset, expected);
}

static int ValidateMultiTrack(PlatformFile* file, RecordingCheck* check) {
    const uint64_t length = static_cast<uint64_t>(check->length);
    if (length < FirstTrackOffset) return Damaged(check, FileVersionSize, "a 14-byte recording header");
    uint8_t headerBytes[RecordingHeaderSize];
    if (!ReadAt(file, check, FileVersionSize, headerBytes, sizeof headerBytes)) return 0;
    RecordingHeader header;
    DecodeRecordingHeader(headerBytes, &header);
    check->trackCount = header.trackCount;
    uint64_t offset = FirstTrackOffset;
    for (uint32_t i = 0; i < header.trackCount; ++i) {
        char expected[DescriptionSize];
        if (length - offset < TrackHeaderSize) {
            std::snprintf(expected, sizeof expected, "the 124-byte header of track %lu of %lu",
                          static_cast<unsigned long>(i + 1), static_cast<unsigned long>(header.trackCount));
            return Damaged(check, offset, expected);
        }
        // Tracks remember where their samples start in 32 bits.
        if (offset + TrackHeaderSize > UINT32_MAX)
            return Damaged(check, offset, "a track that starts within the first 4 GiB of the file");
        uint8_t bytes[TrackHeaderSize];
        if (!ReadAt(file, check, offset, bytes, sizeof bytes)) return 0;
        TrackHeader track;
        DecodeTrackHeader(bytes, &track);
        // Flag bits above the twelve groups mean nothing; the sizes below
        // come from the groups alone, as the tracks' layouts will.
        offset += TrackHeaderSize;
        if (!SamplesFit(check, offset, track.count, track.flags, i + 1)) return 0;
        offset += static_cast<uint64_t>(track.count) * RecordSize(track.flags);
    }
    check->offset = offset;
    return 1;
}

static int ValidateSingleTrack(PlatformFile* file, RecordingCheck* check) {
    const uint64_t length = static_cast<uint64_t>(check->length);
    check->trackCount = 1;
    if (length < LegacySamplesOffset) return Damaged(check, FileVersionSize, "a 24-byte single-track header");
    uint8_t headerBytes[LegacyHeaderSize];
    if (!ReadAt(file, check, FileVersionSize, headerBytes, sizeof headerBytes)) return 0;
    LegacyHeader header;
    DecodeLegacyHeader(headerBytes, &header);
    // The field means nothing in the oldest files.
    const uint32_t flags = check->version == FileVersionNoFlags ? NoFlagsFileSampleFlags : header.flags;
    // The end of the track is read from its last sample: there must be one.
    if (header.sampleCount == 0) return Damaged(check, FileVersionSize, "a sample count of at least 1");
    if (!SamplesFit(check, LegacySamplesOffset, header.sampleCount, flags, 0)) return 0;
    check->offset = LegacySamplesOffset + static_cast<uint64_t>(header.sampleCount) * RecordSize(flags);
    return 1;
}

int ValidateRecording(PlatformFile* file, RecordingCheck* check) {
    *check = RecordingCheck{};
    check->length = FileLength(file);
    if (check->length < 0) {
        check->readFailed = 1;
        return Damaged(check, 0, "a file whose length can be told");
    }
    if (check->length < FileVersionSize) return Damaged(check, 0, "a 4-byte version word");
    uint8_t versionBytes[FileVersionSize];
    if (!ReadAt(file, check, 0, versionBytes, sizeof versionBytes)) return 0;
    check->version = GetU32(versionBytes);
    if (check->version == FileVersionCurrent) return ValidateMultiTrack(file, check);
    if (check->version == FileVersionNoFlags || check->version == FileVersionLegacy)
        return ValidateSingleTrack(file, check);
    return Damaged(check, 0, "version 0x01000004, 0x01000005 or 0x01000006");
}
