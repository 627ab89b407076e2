// Recording files into played tracks: the loading of the three readable
// versions once the file passed its check, height corrections and the release of a played track together
// with the file it shares with the other tracks of its recording.
#include "engine/play/recording_loader.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "config/settings.h"
#include "core/host/clock.h"
#include "core/host/host.h"
#include "core/host/module_state.h"
#include "engine/tracks/recording_format.h"
#include "engine/tracks/track_table.h"

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
