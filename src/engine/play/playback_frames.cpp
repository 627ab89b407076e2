// The playback frame: clock, loop and end, the played tracks' windows and AI
// aircraft, and every sample group written into its aircraft through the
// host binding, in the order the simulator expects them.
#include "engine/play/playback_frames.h"

#include <cstdlib>
#include <cstring>

#include "config/settings.h"
#include "core/host/clock.h"
#include "core/host/host.h"
#include "core/host/module_state.h"
#include "core/host/support.h"
#include "engine/play/playback_start_end.h"
#include "engine/play/recording_loader.h"
#include "engine/session/control_window_hooks.h"
#include "engine/session/level_d.h"
#include "engine/session/session.h"
#include "engine/session/transport.h"
#include "engine/tracks/track_table.h"

// A frame step this long or longer is a stall (a loading pause, a dialog):
// the previous step stands in for it.
static const uint32_t StallStep = 5000;

// Host variables, units and events a sample is written back through.
enum : uint32_t {
    VarThrottle = 271, VarElevator = 80, VarAileron = 76, VarRudder = 79, VarSpoilers = 90, VarFlaps = 95,
    VarFlapDetents = 93, VarGear = 110, VarGearLeg1 = 111, VarGearLeg2 = 112, VarGearLeg3 = 113, VarEngine = 264,
    VarPropLever = 272, VarMixtureLever = 273, VarLights = 6, VarToggleState = 87,
    UnitLever = 53, UnitPosition = 58, UnitFlaps = 50, UnitSwitch = 136, UnitLights = 138,
    EventFlapsSet = 66534, EventNav1 = 65708, EventNav1Course = 65716, EventNav2 = 65709, EventNav2Course = 65717,
    EventAdf = 66479, EventCom1 = 65707, EventCom2 = 66442, EventTransponder = 65715, EventSmokeOn = 66049,
    EventSmokeOff = 66050, EventToggleState = 65752,
};

static bool PlayingMode(Mode mode) {
    return mode == Playback || mode == Replay || mode == TrafficPlayback || mode == RecordingWithTraffic;
}

// Windows of played AI tracks count against MaxAIAcft; the user aircraft's
// track holds its window for the whole playback and is not counted.
static bool CountsAgainstLimit(const Track& track) { return track.aircraftId != 1; }

static void UncountWindow(const Track& track) {
    if (CountsAgainstLimit(track) && trackTable.loadedTrackCount > 0) trackTable.loadedTrackCount -= 1;
}

uint16_t LoadedPlayedWindows() {
    uint16_t windows = 0;
    for (uint16_t i = 0; i < trackTable.count; ++i) {
        const Track& track = trackTable.tracks[i];
        if (track.readMode == 1 && track.window && CountsAgainstLimit(track)) ++windows;
    }
    return windows;
}

// ---------------------------------------------------------------- first frame

static void FirstFrame() {
    session.startMarker = NoStartPending;
    if (module.mode != TrafficPlayback) {
        playback.savedHostWord = HostPlaybackWord();
        playback.hostWordSaved = true;
        HostSetPlaybackWord(0);
    }
    if (settings.PlayAIMode != 1) {
        TrafficRecord record;
        HostGetTraffic(&record);
        playback.savedTraffic = record.level;
        playback.trafficSaved = true;
        record.level = 0;
        HostSetTraffic(&record);
    }
}

// ---------------------------------------------------------------- clock

static void AdvanceTrackTime() {
    const uint32_t now = moduleClock.frameTime;
    uint32_t step = now - playback.lastPlayFrameTime;
    if (step < StallStep) playback.lastPlayStep = step;
    else step = playback.lastPlayStep;
    const int32_t speed = transport.playbackSpeed;
    if (speed > 0) {
        moduleClock.trackTime += static_cast<uint32_t>(speed) * step / 100u;
    } else {
        const uint32_t back = static_cast<uint32_t>(-speed) * step / 100u;
        moduleClock.trackTime = back > moduleClock.trackTime ? 0 : moduleClock.trackTime - back;
    }
    playback.lastPlayFrameTime = now;
    if (moduleClock.trackTime < moduleClock.startTime) moduleClock.trackTime = moduleClock.startTime;
}

// ---------------------------------------------------------------- applying

// A host value as the recorded field would hold it: truncated toward zero;
// a value beyond any integer the field could hold counts as 0.
static int64_t Truncated(double value) {
    if (!(value > -9.2e18 && value < 9.2e18)) return 0;
    return static_cast<int64_t>(value);
}

static void SetValue(AircraftObject* aircraft, uint32_t variable, uint32_t unit, double value, uint32_t index) {
    AircraftSetValue(aircraft, variable, unit, value, index);
}

// The user aircraft's flaps go through the flap key event, which takes the
// handle position scaled to -16384..16384 over the aircraft's detents.
static void SendUserFlaps(AircraftObject* aircraft, uint8_t flaps) {
    const double detents = AircraftGetValue(aircraft, VarFlapDetents, UnitFlaps, 0);
    // An aircraft without detents has no flap lever to move.
    if (detents == 0.0) return;
    const double value = flaps / detents * 32768.0 - 16384.0;
    if (!(value > -2147483648.0 && value < 2147483648.0)) return;
    HostSendKeyEvent(EventFlapsSet, static_cast<uint32_t>(static_cast<int32_t>(value)));
}

static void ApplyDateTime(const FullSample& sample) {
    const HostDateTime now = HostGetDateTime();
    HostSetDate(static_cast<int16_t>(sample.yearSince1900 + 1900), sample.dayOfYear, sample.hour, sample.minute);
    // The host's seconds run on by themselves; nudging them every frame would
    // make the clock stutter, so only a real difference is written.
    if (std::abs(static_cast<int>(sample.second) - static_cast<int>(now.second)) > 1) HostSetSecond(sample.second);
}

static void ApplyGroups(AircraftObject* aircraft, const Track& track, const FullSample& s) {
    const uint32_t played = track.flags & static_cast<uint32_t>(settings.PlayFlags);
    const bool user = track.aircraftId == 1;
    if (played & FlagThrottles)
        for (uint32_t k = 1; k <= 4; ++k) SetValue(aircraft, VarThrottle, UnitLever, s.throttles[k - 1], k);
    if (played & FlagFlightControls) {
        SetValue(aircraft, VarElevator, UnitPosition, s.elevator, 0);
        SetValue(aircraft, VarAileron, UnitPosition, s.aileron, 0);
        SetValue(aircraft, VarRudder, UnitPosition, s.rudder, 0);
    }
    if (played & FlagSpoilers) SetValue(aircraft, VarSpoilers, UnitPosition, s.spoilers, 0);
    if (played & FlagFlaps) {
        if (user) SendUserFlaps(aircraft, s.flaps);
        else SetValue(aircraft, VarFlaps, UnitFlaps, s.flaps, 0);
    }
    if (played & FlagGear) SetValue(aircraft, VarGear, UnitPosition, s.gear, 0);
    if (played & FlagEngines)
        for (uint32_t k = 1; k <= 4; ++k) SetValue(aircraft, VarEngine, UnitSwitch, s.engines[k - 1], k);
    if (played & FlagNavRadios) {
        AircraftSendEvent(aircraft, EventNav1, s.nav1Frequency);
        AircraftSendEvent(aircraft, EventNav1Course, s.nav1Course);
        AircraftSendEvent(aircraft, EventNav2, s.nav2Frequency);
        AircraftSendEvent(aircraft, EventNav2Course, s.nav2Course);
        AircraftSendEvent(aircraft, EventAdf, s.adfWord);
    }
    if (played & FlagComRadios) {
        AircraftSendEvent(aircraft, EventCom1, s.com1Frequency);
        AircraftSendEvent(aircraft, EventCom2, s.com2Frequency);
        AircraftSendEvent(aircraft, EventTransponder, s.transponder);
    }
    if (played & FlagLevers) {
        for (uint32_t k = 1; k <= 4; ++k) SetValue(aircraft, VarPropLever, UnitLever, s.propLevers[k - 1], k);
        for (uint32_t k = 1; k <= 4; ++k) SetValue(aircraft, VarMixtureLever, UnitLever, s.mixtureLevers[k - 1], k);
    }
    if ((played & FlagDateTime) && user) ApplyDateTime(s);
    if (played & FlagSmoke) AircraftSendEvent(aircraft, s.smoke ? EventSmokeOn : EventSmokeOff, 0);

    // A jump or fast play moves the gear further than its animation follows:
    // each leg is set as well.
    const int16_t speed = transport.playbackSpeed;
    if ((played & FlagGear) && (transport.positionJumped || speed < 0 || speed > 300)) {
        SetValue(aircraft, VarGearLeg1, UnitPosition, s.gear, 0);
        SetValue(aircraft, VarGearLeg2, UnitPosition, s.gear, 0);
        SetValue(aircraft, VarGearLeg3, UnitPosition, s.gear, 0);
    }
    if (played & FlagLights) {
        if (session.levelDFlag == 1 && user) WriteLevelDLights(s.lights);
        else SetValue(aircraft, VarLights, UnitLights, s.lights, 0);
    }
    if (user) {
        const int64_t toggle = Truncated(AircraftGetValue(aircraft, VarToggleState, UnitSwitch, 0));
        if (static_cast<uint8_t>(toggle) != s.toggleState) AircraftSendEvent(aircraft, EventToggleState, 0);
    }
}

int ApplySample(Track* track) {
    FullSample sample{};
    if (!InterpolateAt(track, moduleClock.trackTime, &sample)) return 1;
    AircraftObject* aircraft = track->aircraftId ? HostAircraftById(track->aircraftId) : nullptr;
    if (!aircraft) {
        if (track->aircraftId != 1) return 1;
        HostModalBegin();
        ShowMessageBox(module.mainWindow, "An unexpected error occured! Please report this to" SUPPORT_SUFFIX,
                       "Aerotrace Module", BoxIconError);
        HostModalEnd();
        EndPlayback(0);
        return 0;
    }
    uint8_t position[24];
    uint8_t orientation[12];
    std::memcpy(position, &sample.position, sizeof position);
    std::memcpy(orientation, &sample.pitch, 4);
    std::memcpy(orientation + 4, &sample.bank, 4);
    std::memcpy(orientation + 8, &sample.heading, 4);
    // Moving on smoothly, the host blends; after a jump it must not.
    if (!transport.positionJumped) HostSetContinuousMove(1);
    AircraftSetPosition(aircraft, position, orientation, sample.onGround);
    HostSetContinuousMove(0);
    AircraftSetBlock(aircraft, BlockMotion, sample.motion);
    ApplyGroups(aircraft, *track, sample);
    return 1;
}

// ---------------------------------------------------------------- tracks

// A played track whose range holds the play time: its window, its aircraft
// and its sample. Returns 0 when the playback ended.
static int PlayTrack(uint32_t index) {
    Track* track = &trackTable.tracks[index];
    if (!track->window) {
        if (CountsAgainstLimit(*track) && settings.MaxAIAcft != 0 &&
            trackTable.loadedTrackCount >= settings.MaxAIAcft)
            return 1;  // waits, aircraft-less, until a window is free
        if (!EnsureWindow(track)) return 1;  // no memory or no read: tried again next frame
        if (CountsAgainstLimit(*track)) trackTable.loadedTrackCount += 1;
    }
    if (track->aircraftId != 0 && HostAircraftById(track->aircraftId)) return ApplySample(track);
    if (track->aircraftId == 1) return ApplySample(track);  // reports the missing user aircraft
    const uint32_t id = HostCreateAiAircraft(track->title);
    if (id == 0) {
        // The simulator will not have this aircraft: drop the track.
        ReleaseWindow(track);
        UncountWindow(*track);
        RemoveLoadedTrack(index);
        return 1;
    }
    track->aircraftId = id;
    track->heightCorrection = CreatedHeightCorrection(HostReferenceElevation(id), track->referenceElevation);
    return ApplySample(track);
}

// A played track whose range does not hold the play time: its AI aircraft
// leaves (keeping its id, so it is made again when the time comes back) and
// its window is given back.
static void ParkTrack(Track* track) {
    if (track->aircraftId > 1 && HostAircraftById(track->aircraftId)) HostRemoveAiAircraft(track->aircraftId);
    if (track->window) {
        ReleaseWindow(track);
        UncountWindow(*track);
    }
}

void PlaybackTick() {
    if (!PlayingMode(module.mode)) return;
    if (session.aircraftChanged || session.startMarker == StartPending) RefreshLevelDFlag();
    if (session.startMarker == StartPending) FirstFrame();

    AdvanceTrackTime();
    if (transport.loopEnabled &&
        (moduleClock.trackTime >= transport.loopEndTime || moduleClock.trackTime < transport.loopStartTime)) {
        moduleClock.trackTime = transport.loopStartTime;
        transport.positionJumped = true;
    }
    if (moduleClock.trackTime >= moduleClock.endTime) {
        EndPlayback(0);
        return;
    }
    ControlWindowProgress(module.mode, moduleClock.trackTime, moduleClock.startTime, moduleClock.endTime);

    const uint32_t t = moduleClock.trackTime;
    for (uint32_t i = 0; i < trackTable.count; ++i) {
        Track* track = &trackTable.tracks[i];
        if (track->readMode != 1) continue;  // recorded while the traffic plays
        if (track->firstTime <= t && t <= track->lastTime) {
            // A dropped track's slot receives the last entry, which waits
            // for the next frame.
            if (!PlayTrack(i)) return;
        } else {
            ParkTrack(track);
        }
    }
    transport.positionJumped = false;
}
