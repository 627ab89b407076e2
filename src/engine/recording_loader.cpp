// Recording files into played tracks: the end-to-end check every file gets
// before any of its tracks is added, the loading of the three readable
// versions, height corrections and the release of a played track together
// with the file it shares with the other tracks of its recording.
#include "engine/recording_loader.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "config/settings.h"
#include "core/clock.h"
#include "core/host.h"
#include "core/module_state.h"
#include "engine/recording_format.h"
#include "engine/track_table.h"

// ---------------------------------------------------------------- checking

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

// ---------------------------------------------------------------- height correction

// Truncation toward zero; a value outside int64 (or no number at all) counts
// as no correction rather than an aircraft thrown to the edge of the range.
template <typename Real>
static int64_t TruncatedCorrection(Real value) {
    const Real limit = static_cast<Real>(9223372036854775807.0);
    if (!(value > -limit && value < limit)) return 0;
    return static_cast<int64_t>(value);
}

int64_t LoadedHeightCorrection(float currentFeet, float recordedFeet) {
    long double difference = static_cast<long double>(currentFeet) - static_cast<long double>(recordedFeet);
    return TruncatedCorrection<long double>(difference * 4294967296.0L * static_cast<long double>(0.3048));
}

int64_t CreatedHeightCorrection(float currentFeet, float recordedFeet) {
    double difference = static_cast<double>(currentFeet) - static_cast<double>(recordedFeet);
    return TruncatedCorrection<double>(difference * 4294967296.0 * 0.3048);
}

// ---------------------------------------------------------------- loading

static void ShowLoadMessage(const char* text, const char* caption) {
    HostModalBegin();
    ShowMessageBox(module.mainWindow, text, caption, BoxIconError);
    HostModalEnd();
}

static const char* const OpenFailedText = "The selected file could not be opened!";
static const char* const InvalidFileText =
    "The selected file is damaged or incompatible with this version of Aerotrace!";

// Takes the tracks added from index firstIndex on out of the table again.
static void DropAddedTracks(uint16_t firstIndex) {
    while (trackTable.count > firstIndex) RemoveTrack(trackTable.count - 1u);
}

// The track sections of a multi-track file, from offset 18 on.
static int AddMultiTrack(PlatformFile* file, int asTraffic, uint32_t* startTime, uint32_t* endTime,
                         uint32_t* dateStamp) {
    uint8_t headerBytes[RecordingHeaderSize];
    if (!FileSeek(file, FileVersionSize, SEEK_SET) || FileRead(file, headerBytes, sizeof headerBytes) != sizeof headerBytes)
        return 0;
    RecordingHeader header;
    DecodeRecordingHeader(headerBytes, &header);
    if (header.startTime < *startTime) *startTime = header.startTime;
    if (header.endTime > *endTime) *endTime = header.endTime;
    *dateStamp = header.dateStamp;
    for (uint32_t i = 0; i < header.trackCount; ++i) {
        int index = AddTrack();
        if (index < 0) return 0;
        const bool user = index == 0 && !asTraffic;
        // An AI track gets its window only when its aircraft is created.
        Track* track = &trackTable.tracks[index];
        if (!TrackInit(track, TrackWindowSamples, file, 1, 0, nullptr, user ? 1 : 0, 0, user ? 1 : 0)) return 0;
        if (user) track->heightCorrection = LoadedHeightCorrection(HostReferenceElevation(1), track->referenceElevation);
        if (settings.PlayAIMode != 0) break;  // the recorded traffic is not played
    }
    return 1;
}

// The one track of a file of the two older versions.
static int AddSingleTrack(PlatformFile* file, uint32_t version, int asTraffic, uint32_t* startTime, uint32_t* endTime,
                          uint32_t* dateStamp) {
    uint8_t headerBytes[LegacyHeaderSize];
    if (!FileSeek(file, FileVersionSize, SEEK_SET) || FileRead(file, headerBytes, sizeof headerBytes) != sizeof headerBytes)
        return 0;
    LegacyHeader header;
    DecodeLegacyHeader(headerBytes, &header);
    const uint32_t flags = version == FileVersionNoFlags ? NoFlagsFileSampleFlags : header.flags;
    int index = AddTrack();
    if (index < 0) return 0;
    const bool user = index == 0 && !asTraffic;
    Track* track = &trackTable.tracks[index];
    // These files keep no title: the track takes the user aircraft's.
    if (!TrackOpenRaw(track, TrackWindowSamples, file, header.sampleCount, flags, user ? 1 : 0,
                      header.referenceElevation, HostAircraftTitle(1)))
        return 0;
    // Opening read the last sample's time through the window; an AI track
    // gives it back until its aircraft is created, as AI tracks of newer
    // files never take one before that.
    if (!user) ReleaseWindow(track);
    *startTime = 0;
    if (track->lastTime > *endTime) *endTime = track->lastTime;
    if (version == FileVersionNoFlags) {
        *dateStamp = 0;
    } else {
        *dateStamp = header.dateStamp;
        if (user) track->heightCorrection = LoadedHeightCorrection(HostReferenceElevation(1), track->referenceElevation);
    }
    return 1;
}

int LoadRecording(const char* path, int asTraffic, uint32_t* dateStamp) {
    PlatformFile* file = FileOpen(path, "rb");
    if (!file) {
        ShowLoadMessage(OpenFailedText, "Aerotrace");
        return 0;
    }
    RecordingCheck check;
    if (!ValidateRecording(file, &check)) {
        FileClose(file);
        if (check.readFailed) ShowLoadMessage(OpenFailedText, "Aerotrace");
        else ShowLoadMessage(InvalidFileText, "Invalid file");
        return 0;
    }
    // Everything goes into locals first: a file that fails half-way leaves
    // the table and the time range as they were.
    const uint16_t firstIndex = trackTable.count;
    uint32_t startTime = moduleClock.startTime, endTime = moduleClock.endTime, stamp = 0;
    int added = check.version == FileVersionCurrent
                    ? AddMultiTrack(file, asTraffic, &startTime, &endTime, &stamp)
                    : AddSingleTrack(file, check.version, asTraffic, &startTime, &endTime, &stamp);
    if (!added) {
        DropAddedTracks(firstIndex);
        FileClose(file);
        ShowLoadMessage(OpenFailedText, "Aerotrace");
        return 0;
    }
    // A file that gave no track (none recorded in it) has nothing to keep open.
    if (trackTable.count == firstIndex) FileClose(file);
    moduleClock.startTime = startTime;
    moduleClock.endTime = endTime;
    *dateStamp = stamp;
    return 1;
}

// ---------------------------------------------------------------- release

int RemoveLoadedTrack(uint32_t index) {
    if (index >= trackTable.count) return 0;
    PlatformFile* file = trackTable.tracks[index].file;
    bool shared = false;
    for (uint32_t i = 0; file && i < trackTable.count; ++i)
        if (i != index && trackTable.tracks[i].file == file) shared = true;
    if (file && !shared) FileClose(file);
    return RemoveTrack(index);
}
