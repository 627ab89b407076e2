// The capture tick and the sampling of one aircraft. Time moves by the
// frame step scaled by the simulation rate, so a recording made at 4x plays
// back at real speed; a step of half a second or more (the simulator
// stalled, loaded scenery, sat in a menu) counts as the last normal one.
#include "engine/capture/capture.h"

#include <cstring>

#include "config/settings.h"
#include "core/host/clock.h"
#include "core/host/host.h"
#include "core/host/module_state.h"
#include "core/host/support.h"
#include "engine/capture/recorded_tracks.h"
#include "engine/session/level_d.h"
#include "engine/session/session.h"
#include "engine/tracks/track_table.h"

CaptureState capture;

namespace {

const uint32_t StallStep = 5000;  // half a second of TimeStamp
// While a track's file cannot be written its samples wait in memory, up to
// this much per track (over two hours of the user aircraft at 1/8 s).
const uint64_t MaxWaitingBytes = 8u << 20;

// The host's doubles truncated toward zero; the callers keep the low bits
// their field holds. Values no host reports (NaN, beyond 64 bits) read as 0.
int64_t Trunc(double value) {
    if (!(value > -9.2e18 && value < 9.2e18)) return 0;
    return static_cast<int64_t>(value);
}

int16_t I16(AircraftObject* aircraft, uint32_t variable, uint32_t unit, uint32_t index) {
    return static_cast<int16_t>(Trunc(AircraftGetValue(aircraft, variable, unit, index)));
}
uint16_t U16(AircraftObject* aircraft, uint32_t variable, uint32_t unit, uint32_t index) {
    return static_cast<uint16_t>(Trunc(AircraftGetValue(aircraft, variable, unit, index)));
}
uint8_t U8(AircraftObject* aircraft, uint32_t variable, uint32_t unit, uint32_t index) {
    return static_cast<uint8_t>(Trunc(AircraftGetValue(aircraft, variable, unit, index)));
}

// The ADF frequency word: the first value in the high half, the second's
// digits packed below it, exactly as the recordings have always held it.
uint32_t AdfWord(AircraftObject* aircraft) {
    uint32_t a = U16(aircraft, 480, 134, 1);
    uint32_t b = U16(aircraft, 481, 134, 1);
    return (a << 16) | ((b & 0xFF00) << 20) | ((b & 0x000F) << 12);
}

void ReadGroups(AircraftObject* aircraft, uint32_t aircraftId, uint32_t flags, FullSample* s) {
    if (flags & FlagThrottles)
        for (uint32_t k = 0; k < 4; ++k) s->throttles[k] = I16(aircraft, 271, 53, k + 1);
    if (flags & FlagFlightControls) {
        s->elevator = I16(aircraft, 80, 58, 0);
        s->aileron = I16(aircraft, 76, 58, 0);
        s->rudder = I16(aircraft, 79, 58, 0);
    }
    if (flags & FlagSpoilers) s->spoilers = U16(aircraft, 90, 58, 0);
    if (flags & FlagFlaps) s->flaps = U8(aircraft, 95, 50, 0);
    if (flags & FlagGear) s->gear = U16(aircraft, 110, 58, 0);
    if (flags & FlagLights)
        s->lights = session.levelDFlag == 1 && aircraftId == 1 ? ReadLevelDLights() : U16(aircraft, 6, 138, 0);
    s->toggleState = U8(aircraft, 87, 136, 0);
    if (flags & FlagEngines)
        for (uint32_t k = 0; k < 4; ++k) s->engines[k] = U8(aircraft, 264, 136, k + 1);
    if (flags & FlagNavRadios) {
        s->nav1Frequency = U16(aircraft, 489, 134, 1);
        s->nav1Course = U16(aircraft, 510, 63, 1);
        s->nav2Frequency = U16(aircraft, 489, 134, 2);
        s->nav2Course = U16(aircraft, 510, 63, 2);
        s->adfWord = AdfWord(aircraft);
    }
    if (flags & FlagComRadios) {
        s->com1Frequency = U16(aircraft, 476, 134, 1);
        s->com2Frequency = U16(aircraft, 476, 134, 2);
        s->transponder = U16(aircraft, 479, 137, 1);
    }
    if (flags & FlagLevers) {
        for (uint32_t k = 0; k < 4; ++k) s->propLevers[k] = I16(aircraft, 272, 53, k + 1);
        for (uint32_t k = 0; k < 4; ++k) s->mixtureLevers[k] = I16(aircraft, 273, 53, k + 1);
    }
    if (flags & FlagDateTime) {
        HostDateTime now = HostGetDateTime();
        s->yearSince1900 = static_cast<uint8_t>((now.year & 0xFF) - 108);  // year - 1900, modulo 256
        s->dayOfYear = now.dayOfYear;
        s->hour = static_cast<uint8_t>(now.hour);
        s->minute = static_cast<uint8_t>(now.minute);
        s->second = now.second;
    }
    if (flags & FlagSmoke) s->smoke = U8(aircraft, 540, 136, 0);
}

void Report(const char* text, const char* caption, uint32_t icon) {
    HostModalBegin();
    ShowMessageBox(module.mainWindow, text, caption, icon);
    HostModalEnd();
}

// AppendSample refuses a sample when the full window could not be written
// to the track's file (a full disk, a failing drive). Dropping it would lose
// the flight from here on, so the window grows and the sample waits in
// memory; the next full window tries the file again, whole. The user hears
// of it once per recording, so that room can be made before saving.
void KeepSampleInMemory(Track* track, const FullSample& sample) {
    if (!track->window || track->windowIndex < track->capacity) return;  // not a failed spill
    if (!capture.spillWarned) {
        capture.spillWarned = true;
        Report("The recording could not be written to the disk (is it full?). Aerotrace keeps recording "
               "into memory and tries again; please make room on the disk before you stop the recording.",
               "Aerotrace", BoxIconWarning);
    }
    uint64_t grown = static_cast<uint64_t>(track->capacity) + TrackWindowSamples;
    if (grown * track->layout.recordSize > MaxWaitingBytes) return;  // the memory set aside is used up
    if (GrowWindow(track, static_cast<uint32_t>(grown))) AppendSample(track, sample);
}

bool HasTrackFor(uint32_t aircraftId) {
    for (uint16_t i = 0; i < trackTable.count; ++i)
        if (trackTable.tracks[i].aircraftId == aircraftId) return true;
    return false;
}

// AI aircraft around the user that have no track yet get one, on their own
// temporary file, as long as the limit of loaded windows allows. One whose
// file cannot be made is not recorded: a track that can never be written
// would only hold memory. It is tried again on the next sampling tick.
void DiscoverAiAircraft() {
    // The host's list comes back to the user aircraft after the last one; a
    // list that never did would otherwise hold the simulator here for good.
    const int MaxListLength = 0x10000;
    uint32_t id = HostNextAircraft(1);
    for (int seen = 0; id != 1 && id != 0 && seen < MaxListLength; ++seen, id = HostNextAircraft(id)) {
        if (HasTrackFor(id)) continue;
        if (settings.MaxAIAcft != 0 && trackTable.loadedTrackCount >= settings.MaxAIAcft) continue;
        if (CreateRecordedTrack(id, static_cast<uint32_t>(settings.RecFlags) & 0x7F, session.recordInterval) < 0)
            continue;
        trackTable.loadedTrackCount = static_cast<uint16_t>(trackTable.loadedTrackCount + 1);
    }
}

// An AI aircraft that has gone keeps its track, finished: the samples still
// in memory go to its file with the final header, and the window is freed.
// Should that write fail, the window stays and the next tick tries again.
void FinishVanishedTrack(Track* track) {
    if (!track->window || !FlushTrack(track)) return;
    ReleaseWindow(track);
    if (trackTable.loadedTrackCount > 0)
        trackTable.loadedTrackCount = static_cast<uint16_t>(trackTable.loadedTrackCount - 1);
}

void SampleRecordedTracks() {
    for (uint16_t i = 0; i < trackTable.count; ++i) {
        Track* track = &trackTable.tracks[i];
        if (track->readMode) continue;  // played as traffic, not recorded
        if (!HostAircraftById(track->aircraftId)) {
            FinishVanishedTrack(track);
        } else if (track->aircraftId == 1 || capture.aiSampleCounter == 0) {
            SampleAircraft(track);
        }
    }
}

void AdvanceTrackTime() {
    const uint32_t now = moduleClock.frameTime;
    const uint32_t step = now - capture.lastFrameTime;
    if (module.mode == RecordingWithTraffic) {
        // The traffic being played moves the time line.
        if (step < StallStep) capture.lastStep = step;
    } else {
        const uint32_t rate = HostSimulationRate();
        if (step < StallStep && session.startMarker == NoStartPending) {
            moduleClock.trackTime += (rate * step) >> 8;
            capture.lastStep = step;
        } else {
            moduleClock.trackTime += (rate * capture.lastStep) >> 8;
        }
        if (session.startMarker == StartPending) moduleClock.trackTime = 0;
    }
    capture.lastFrameTime = now;
}

// Fires at most once per recording: the kind goes back to none.
bool AutostopReached(uint8_t engine) {
    const uint32_t trackTime = moduleClock.trackTime;
    switch (session.autostopKind) {
    case AutostopAfterStart:
        if (trackTime <= session.autostopDelay) return false;
        session.autostopKind = AutostopNone;
        return true;
    case AutostopAfterShutdown:
        if (capture.lastEngine != 0 && engine == 0) capture.autostopTrigger = trackTime;
        capture.lastEngine = engine;
        [[fallthrough]];
    case AutostopAfterTouchdown:
        if (capture.autostopTrigger == 0 || trackTime - capture.autostopTrigger <= session.autostopDelay) return false;
        session.autostopKind = AutostopNone;
        capture.autostopTrigger = 0;
        return true;
    default: return false;
    }
}

}  // namespace

void ResetCaptureForRecording() {
    capture.autostopTrigger = 0;
    capture.spillWarned = false;
}

CaptureOutcome CaptureTick() {
    AdvanceTrackTime();
    if (session.aircraftChanged) RefreshLevelDFlag();

    AircraftObject* user = HostUserAircraft();
    if (!user) {
        Report("An unexpected error occured! Please report this to" SUPPORT_SUFFIX, "Aerotrace Module", BoxIconError);
        // What was recorded so far stays on disk, in the temporary files,
        // rather than in a table that nothing would ever write out.
        ReleaseRecordedTracks(1);
        module.mode = Idle;
        return CaptureGoesOn;
    }
    const uint8_t onGround = U8(user, 70, 136, 0);
    const uint8_t engine = U8(user, 264, 136, 1);

    // Between samples only those two values are read. A touchdown or a
    // lift-off is sampled at once, whatever the interval.
    const uint32_t sinceSample = moduleClock.trackTime - capture.lastSampleTime;
    if (sinceSample < session.recordInterval * 10 && session.startMarker == NoStartPending &&
        onGround == capture.lastOnGround) {
        capture.lastOnGround = onGround;
        return CaptureGoesOn;
    }
    if (session.autostopKind == AutostopAfterTouchdown && onGround != 0 && capture.lastOnGround == 0 &&
        session.startMarker == NoStartPending)
        capture.autostopTrigger = moduleClock.trackTime;
    capture.lastOnGround = onGround;
    capture.lastSampleTime = moduleClock.trackTime;
    if (session.startMarker != NoStartPending) {
        capture.aiSampleCounter = 0;
        session.startMarker = NoStartPending;
    }

    const bool recording = module.mode == Recording || module.mode == RecordingWithTraffic;
    if (session.aiSampleFactor != 0 && recording) DiscoverAiAircraft();
    SampleRecordedTracks();
    if (++capture.aiSampleCounter >= session.aiSampleFactor) capture.aiSampleCounter = 0;
    return recording && AutostopReached(engine) ? CaptureAutostopReached : CaptureGoesOn;
}

void SampleAircraft(Track* track) {
    AircraftObject* aircraft = HostAircraftById(track->aircraftId);
    if (!aircraft) return;
    FullSample sample{};
    uint8_t placement[36];
    AircraftGetBlock(aircraft, BlockPlacement, placement);
    std::memcpy(&sample.position, placement, sizeof sample.position);
    std::memcpy(&sample.pitch, placement + 24, 4);
    std::memcpy(&sample.bank, placement + 28, 4);
    std::memcpy(&sample.heading, placement + 32, 4);
    AircraftGetBlock(aircraft, BlockMotion, sample.motion);
    sample.onGround = U8(aircraft, 70, 136, 0);
    // Every group the user chose is read; the track keeps those its own
    // flags hold (AI tracks fewer).
    ReadGroups(aircraft, track->aircraftId, static_cast<uint32_t>(settings.RecFlags), &sample);
    sample.time = moduleClock.trackTime;
    if (!AppendSample(track, sample)) KeepSampleInMemory(track, sample);
}
