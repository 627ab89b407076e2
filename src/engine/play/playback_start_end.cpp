// Playback control: the start with the load dialog, the end with everything
// put back, the stop commands and the input filter, and the Mode changes
// they make.
#include "engine/play/playback_start_end.h"

#include "config/settings.h"
#include "core/host/clock.h"
#include "core/host/host.h"
#include "core/host/module_state.h"
#include "engine/play/load_dialog.h"
#include "engine/play/playback_state.h"
#include "engine/play/recording_loader.h"
#include "engine/replay/replay_buffer.h"
#include "engine/session/control_window_hooks.h"
#include "engine/session/session.h"
#include "engine/session/transport.h"
#include "engine/tracks/track_table.h"

// The dialog's answer and one path of it at a time.
static char selection[LoadDialogBufferSize];
static char selectedPath[4096];

void StartPlayback(int asTraffic) {
    if (module.mode != Idle && module.mode != ReplayBuffer) return;
    if (!ChooseRecordingsToLoad(selection, sizeof selection)) return;
    StopReplayBuffer();
    moduleClock.startTime = 0xFFFFFFFFu;
    moduleClock.endTime = 0;
    trackTable.loadedTrackCount = 0;
    uint32_t cursor = 0;
    uint32_t dateStamp = 0;
    while (NextSelectedPath(selection, sizeof selection, &cursor, selectedPath, sizeof selectedPath)) {
        // A file that fails has told the user and is skipped.
        if (LoadRecording(selectedPath, asTraffic, &dateStamp)) playback.loadedDateStamp = dateStamp;
    }
    if (asTraffic) {
        module.mode = TrafficPlayback;
    } else {
        // Played onto the user aircraft, the recording runs as long as its track.
        if (trackTable.count > 0) {
            moduleClock.startTime = trackTable.tracks[0].firstTime;
            moduleClock.endTime = trackTable.tracks[0].lastTime;
        }
        module.mode = Playback;
    }
    SpeedCommand(2);
    transport.loopStartTime = 0;
    transport.loopEndTime = moduleClock.endTime - 2000;
    LoopCommand(3);
    session.startMarker = StartPending;
    transport.positionJumped = true;
    moduleClock.trackTime = 0;  // the first frame raises it to StartTime
    if (ControlWindowWanted(settings, asTraffic != 0)) ControlWindowShow(1);
    HostSetPauseRequest(0);
}

void EndPlayback(int atShutdown) {
    const Mode mode = module.mode;
    if (mode != Playback && mode != Replay && mode != TrafficPlayback && mode != RecordingWithTraffic) return;
    ControlWindowShow(0);
    if (mode != Replay) {
        // Removal moves the last entry into the freed slot, which is looked at next.
        for (uint32_t i = 0; i < trackTable.count;) {
            Track& track = trackTable.tracks[i];
            if (track.readMode != 1) {
                ++i;  // recorded alongside the traffic: the recording goes on
                continue;
            }
            // An aircraft that already left with its range is not asked to leave again.
            if (track.aircraftId > 1 && !atShutdown && HostAircraftById(track.aircraftId))
                HostRemoveAiAircraft(track.aircraftId);
            if (track.window && track.aircraftId != 1 && trackTable.loadedTrackCount > 0)
                trackTable.loadedTrackCount -= 1;
            RemoveLoadedTrack(i);
        }
    }
    if (mode == Playback || mode == Replay) {
        if (settings.Pause) HostSetPauseRequest(1);
        if (playback.hostWordSaved) HostSetPlaybackWord(playback.savedHostWord);
    }
    if (settings.SetSimRate) HostSetSimulationRate(NormalSimulationRate);
    // Only what the first frame saved is put back: a playback that ended
    // before its first frame changed nothing.
    if (settings.PlayAIMode != 1 && playback.trafficSaved) {
        TrafficRecord record;
        HostGetTraffic(&record);
        record.level = playback.savedTraffic;
        HostSetTraffic(&record);
    }
    playback.hostWordSaved = false;
    playback.trafficSaved = false;
    if (mode == Replay) {
        ResumeReplayBuffer();
    } else if (mode == RecordingWithTraffic) {
        module.mode = Recording;
    } else {
        module.mode = Idle;
        trackTable.loadedTrackCount = 0;
        // At shut-down the buffer would only be freed again at once.
        if (!atShutdown) StartReplayBuffer();
    }
}

void StopPlaybackCommand() {
    const Mode mode = module.mode;
    if (mode != Playback && mode != Replay && mode != TrafficPlayback) return;
    TransportCommand(1);
    LoopCommand(3);
}

void StopHereCommand() {
    if (module.mode == Playback || module.mode == Replay) EndPlayback(0);
}

// Simulator events of the control groups a playback drives.
struct SuppressedGroup {
    uint32_t flag;
    const uint32_t* events;
    uint32_t count;
};

static const uint32_t ThrottleEvents[] = {65697, 65765, 65820, 65821, 65822, 65823, 66420, 66423, 66426, 66429};
static const uint32_t ControlSurfaceEvents[] = {65694, 65695, 65696, 65762, 65763, 65764};
static const uint32_t SpoilerEvents[] = {65786, 66382};
static const uint32_t LeverEvents[] = {65767, 65773, 65919, 65920, 65921, 65922, 65923, 65924, 65925, 65926, 66291,
                                       66292, 66421, 66422, 66424, 66425, 66427, 66428, 66430, 66431};

#define GROUP(flag, events) {flag, events, sizeof events / sizeof events[0]}
static const SuppressedGroup SuppressedGroups[] = {
    GROUP(FlagThrottles, ThrottleEvents),
    GROUP(FlagFlightControls, ControlSurfaceEvents),
    GROUP(FlagSpoilers, SpoilerEvents),
    GROUP(FlagLevers, LeverEvents),
};
#undef GROUP

uint32_t PlaybackInputFilter(uint32_t eventId) {
    if (module.mode != Playback && module.mode != Replay) return 0;
    if (trackTable.count == 0) return 0;
    const uint32_t played = static_cast<uint32_t>(settings.PlayFlags) & trackTable.tracks[0].flags;
    for (const SuppressedGroup& group : SuppressedGroups) {
        if (!(played & group.flag)) continue;
        for (uint32_t i = 0; i < group.count; ++i)
            if (group.events[i] == eventId) return 1;
    }
    return 0;
}
