// The recording commands and the mode changes they make. A recording only
// leaves the table once it is saved or the user said to throw it away; a
// save that fails leaves it running, so the user can try again.
#include "engine/record/recording_start_stop.h"

#include <cstdio>

#include "config/settings.h"
#include "core/host/clock.h"
#include "core/host/host.h"
#include "core/host/module_state.h"
#include "core/host/support.h"
#include "engine/capture/capture.h"
#include "engine/capture/recorded_tracks.h"
#include "engine/play/playback_frames.h"
#include "engine/play/playback_start_end.h"
#include "engine/record/leftover_recovery.h"
#include "engine/record/recording_writer.h"
#include "engine/replay/replay_buffer.h"
#include "engine/session/control_window_hooks.h"
#include "engine/session/recording_paths.h"
#include "engine/session/session.h"
#include "engine/session/transport.h"
#include "engine/tracks/sim_date.h"
#include "engine/tracks/track_table.h"

static void Report(const char* text, const char* caption, uint32_t flags) {
    HostModalBegin();
    ShowMessageBox(module.mainWindow, text, caption, flags);
    HostModalEnd();
}

// A recording may also start beside traffic being played.
static bool RecordingMayStart() {
    return module.mode == Idle || module.mode == ReplayBuffer || module.mode == TrafficPlayback;
}

uint32_t AutostopKindForChoice(int32_t choice, uint32_t current) {
    switch (choice) {
    case -1: return AutostopNone;
    case 0: return AutostopAfterTouchdown;
    case 1: return AutostopAfterShutdown;
    case 2: return AutostopAfterStart;
    default: return current;
    }
}

uint32_t AutostopDelayForSeconds(int64_t seconds) {
    if (seconds < 0) seconds = 0;
    if (seconds > MaxAutostopSeconds) seconds = MaxAutostopSeconds;
    return static_cast<uint32_t>(seconds) * 10000u;
}

void StartRecordingWithDefaults() {
    // A recording that runs already keeps the parameters it was started with.
    if (!RecordingMayStart()) return;
    RecordDefaults defaults = ReadRecordDefaults(AI_FACTOR_DEFAULT_NO_DIALOG);
    session.recordInterval = RecordIntervalForIndex(defaults.DfltItvlIdx);
    session.autostopDelay = AutostopDelayForSeconds(defaults.DfltAutostopTime);
    session.autostopKind = AutostopKindForChoice(defaults.DfltAutostop, session.autostopKind);
    session.aiSampleFactor = defaults.RecAI ? static_cast<uint8_t>(defaults.AIItvlFactor) : 0;
    StartRecording();
}

void StartRecording() {
    if (!RecordingMayStart()) return;
    // Before the first frame the pieces of a crashed flight may still lie in
    // the temporary files this recording would open: they are saved first.
    // Pieces that could not be saved are not recorded over; the user was
    // just told to copy them away before recording again.
    if (!RunStartupRecovery()) return;
    StopReplayBuffer();
    const bool besideTraffic = module.mode == TrafficPlayback;
    if (besideTraffic) {
        // The traffic plays on at normal speed without its loop, and the
        // recording takes the traffic's time line: TrackTime runs on.
        session.startMarker = StartDuringTraffic;
        SpeedCommand(2);
        LoopCommand(3);
        module.mode = RecordingWithTraffic;
    } else {
        module.mode = Recording;
        moduleClock.trackTime = 0;
        session.startMarker = StartPending;
    }
    session.dateStamp = DateStamp(HostGetDateTime());
    ResetCaptureForRecording();
    // The traffic's windows stay loaded, so they stay counted.
    if (!besideTraffic) trackTable.loadedTrackCount = 0;
    ControlWindowShow(0);
    if (CreateRecordedTrack(1, static_cast<uint32_t>(settings.RecFlags), session.recordInterval) < 0) {
        Report("Temp file could not be opened! Please contact the author at" SUPPORT_SUFFIX, "Aerotrace Module",
               BoxIconError);
        // Nothing is left running: the traffic ends properly (its aircraft
        // leave, its files close, the simulator gets its settings back).
        if (besideTraffic) EndPlayback(0);
        module.mode = Idle;
        // Nothing runs: the background buffer takes over again.
        StartReplayBuffer();
    }
}

// The recording is over (saved or thrown away).
static void EndRecordingMode() {
    if (module.mode == RecordingWithTraffic) {
        module.mode = TrafficPlayback;
        // The recorded AI aircraft's windows went with their tracks.
        trackTable.loadedTrackCount = LoadedPlayedWindows();
        if (ControlWindowWanted(settings, true)) ControlWindowShow(1);
        return;
    }
    module.mode = Idle;
    StartReplayBuffer();
}

void StopRecording(int noPrompt) {
    if (module.mode != Recording && module.mode != RecordingWithTraffic) return;
    char path[RecordingPathSize];
    if (!ChooseRecordingPath(path, sizeof path)) {
        if (noPrompt) return;
        HostModalBegin();
        int answer = ShowMessageBox(module.mainWindow, "Do you want to continue recording?", "Aerotrace",
                                    BoxYesNo | BoxIconQuestion);
        // Only a plain No throws the flight away.
        if (answer == AnswerNo) {
            ReleaseRecordedTracks(0);
            EndRecordingMode();
        }
        HostModalEnd();
        return;
    }
    RecordingWriteFailure failure;
    if (!WriteRecording(path, session.dateStamp, &failure)) {
        if (failure == RecordingNotOpened) {
            Report("The selected file could not be opened!", "Aerotrace", BoxIconError);
            return;
        }
        char text[RecordingPathSize + 200];
        std::snprintf(text, sizeof text,
                      "The recording could not be saved as %s (is the disk full?). Nothing is lost: the "
                      "recording goes on, and you can save it again when you stop it.",
                      path);
        Report(text, "Aerotrace", BoxIconError);
        return;
    }
    EndRecordingMode();
}

void AbandonRecording() {
    if (module.mode != Recording && module.mode != RecordingWithTraffic) return;
    ReleaseRecordedTracks(1);
}
