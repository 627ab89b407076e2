// The replay buffer's life: its ring track made and freed, a replay started
// from it and the return to background recording, and the buffer saved as a
// recording straight from memory. The ring itself is the track's.
#include "engine/replay/replay_buffer.h"

#include <cstdio>

#include "config/settings.h"
#include "core/host/clock.h"
#include "core/host/host.h"
#include "core/host/module_state.h"
#include "core/host/support.h"
#include "engine/capture/capture.h"
#include "engine/session/control_window_hooks.h"
#include "engine/session/recording_paths.h"
#include "engine/session/session.h"
#include "engine/session/transport.h"
#include "engine/tracks/recording_format.h"
#include "engine/tracks/sim_date.h"
#include "engine/tracks/track_table.h"

namespace {

// The buffer's track: slot 0 of the table, a ring.
Track* BufferTrack() {
    if (trackTable.count == 0 || !trackTable.tracks[0].ring) return nullptr;
    return &trackTable.tracks[0];
}

void Report(WindowHandle owner, const char* text, const char* caption, uint32_t icon) {
    HostModalBegin();
    ShowMessageBox(owner, text, caption, icon);
    HostModalEnd();
}

// Makes the ring in slot 0. Anything else in the table means that some
// earlier failure left tracks behind; the buffer then does not start rather
// than mix with them.
bool MakeBufferTrack() {
    const int index = AddTrack();
    if (index != 0) {
        if (index > 0) RemoveTrack(static_cast<uint32_t>(index));
        return false;
    }
    Track* track = &trackTable.tracks[0];
    const uint32_t interval = static_cast<uint32_t>(settings.RplyItvl);
    if (!TrackInit(track, settings.BufferSize, nullptr, 0, static_cast<uint32_t>(settings.RecFlags),
                   HostAircraftTitle(1), 1, interval, 1)) {
        // Most likely the memory for the ring is not there: no buffer
        // without storage.
        RemoveTrack(0);
        return false;
    }
    track->referenceElevation = HostReferenceElevation(1);
    return true;
}

// RotateRing moves the samples' time line to start at the oldest sample; the
// module's track time and the time of the last sampling tick belong to the
// same line and move with it, so that the next sample still comes one
// interval after the newest.
bool PutInTimeOrder(Track* track) {
    uint32_t shift = 0;
    if (!RotateRing(track, &shift)) return false;
    moduleClock.trackTime -= shift;
    capture.lastSampleTime -= shift;
    return true;
}

}  // namespace

void StartReplayBuffer() {
    if (!settings.RplyEnabled) return;
    if (module.mode != Idle && module.mode != ReplayBuffer) return;
    if (module.mode == ReplayBuffer) StopReplayBuffer();
    module.mode = ReplayBuffer;
    moduleClock.trackTime = 0;
    session.dateStamp = DateStamp(HostGetDateTime());
    session.startMarker = StartPending;
    session.recordInterval = static_cast<uint32_t>(settings.RplyItvl);
    session.autostopKind = AutostopNone;
    if (!MakeBufferTrack()) {
        Report(module.mainWindow, "An unexpected error occured! Please report this to" SUPPORT_SUFFIX,
               "Aerotrace Module", BoxIconError);
        module.mode = Idle;
    }
}

void StopReplayBuffer() {
    if (module.mode != ReplayBuffer) return;
    module.mode = Idle;
    if (BufferTrack()) RemoveTrack(0);  // frees the ring
}

uint32_t AvailableReplaySeconds() {
    if (module.mode != ReplayBuffer && module.mode != Replay) return 0;
    const Track* track = BufferTrack();
    if (!track || track->count < 3) return 0;
    return (track->lastTime - track->firstTime) / 10000u;
}

void StartReplay(uint32_t seconds) {
    if (module.mode != ReplayBuffer) return;
    Track* track = BufferTrack();
    // The dialog offers no more than the buffer holds; anything beyond would
    // start before the oldest sample.
    const uint32_t available = AvailableReplaySeconds();
    if (!track || available == 0) return;
    if (seconds > available) seconds = available;
    if (!PutInTimeOrder(track)) return;
    moduleClock.startTime = track->firstTime;
    moduleClock.endTime = track->lastTime;
    module.mode = Replay;
    track->cursor = 0;
    track->windowIndex = 0;
    track->readMode = 1;
    SpeedCommand(2);
    const uint32_t from = moduleClock.endTime - seconds * 10000u;
    // Looping, once turned on, repeats the stretch being replayed.
    transport.loopStartTime = from;
    transport.loopEndTime = moduleClock.endTime - 2000;
    LoopCommand(3);
    track->heightCorrection = 0;
    session.startMarker = StartPending;
    moduleClock.trackTime = from;
    transport.positionJumped = true;
    if (ControlWindowWanted(settings, false)) ControlWindowShow(1);
    HostSetPauseRequest(0);
}

void ResumeReplayBuffer() {
    if (module.mode != Replay) return;
    module.mode = ReplayBuffer;
    Track* track = BufferTrack();
    if (!track) return;
    // Appending goes on after the newest sample; a full ring overwrites its
    // oldest, which the replay left in slot 0.
    if (track->count < track->capacity) {
        track->windowIndex = track->count;
        track->cursor = track->count;
    } else {
        track->windowIndex = 0;
        track->cursor = track->capacity;
    }
    track->readMode = 0;
    // What happened during the replay is not in the buffer: the time line
    // goes on from the newest sample without a gap.
    moduleClock.trackTime = moduleClock.endTime;
    capture.lastSampleTime = moduleClock.endTime;
}

ReplaySaveResult WriteReplayFile(const char* path) {
    Track* track = BufferTrack();
    if (!track || !track->window) return ReplayNotChosen;
    PlatformFile* out = FileOpen(path, "wb");
    if (!out) return ReplayNotOpened;
    bool written = PutInTimeOrder(track);

    uint8_t head[FirstTrackOffset + TrackHeaderSize];
    PutU32(head, FileVersionCurrent);
    RecordingHeader header = {track->firstTime, track->lastTime, session.dateStamp, 1};
    EncodeRecordingHeader(header, head + FileVersionSize);
    // The aircraft as it is now: the title and elevation a playback compares with.
    TrackHeader section = TrackHeaderOf(*track);
    CopyTrackTitle(section.title, HostAircraftTitle(1));
    section.referenceElevation = HostReferenceElevation(1);
    EncodeTrackHeader(section, head + FirstTrackOffset);
    written = written && FileWrite(out, head, sizeof head) == sizeof head;

    // In time order the samples lie from slot 0 on: one write from memory.
    const size_t bytes = static_cast<size_t>(track->count) * track->layout.recordSize;
    written = written && (bytes == 0 || FileWrite(out, track->window, bytes) == bytes);
    // A full disk may only show when the buffered bytes go out.
    written = written && FileFlush(out);
    written = FileClose(out) && written;
    if (!written) {
        FileDelete(path);
        return ReplayNotWritten;
    }
    return ReplaySaved;
}

ReplaySaveResult SaveReplay(WindowHandle owner) {
    if (module.mode != ReplayBuffer || !BufferTrack()) return ReplayNotChosen;
    char path[RecordingPathSize];
    // The replay dialog is modal already: its save dialog opens without
    // ModalBegin and ModalEnd.
    if (!ChooseSavePath(owner, 0, path, sizeof path)) return ReplayNotChosen;
    const ReplaySaveResult result = WriteReplayFile(path);
    if (result == ReplayNotOpened) {
        Report(owner, "The selected file could not be opened!", "Aerotrace", BoxIconError);
    } else if (result == ReplayNotWritten) {
        char text[RecordingPathSize + 160];
        std::snprintf(text, sizeof text,
                      "The replay could not be saved as %s (is the disk full?). The replay buffer is kept "
                      "as it was: you can try again.",
                      path);
        Report(owner, text, "Aerotrace", BoxIconError);
    }
    return result;
}
