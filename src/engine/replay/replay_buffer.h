// The replay buffer: while nothing else runs, the user aircraft is recorded
// into a ring in memory (track 0 of the table), from which the last minutes
// can be replayed or saved as a recording. Capture fills the ring and
// playback plays it; this file starts and stops it and moves it in and out
// of a replay.
#pragma once

#include <cstdint>

#include "platform/platform.h"

// (Re)starts the buffer, empty, with the current settings: only from Idle or
// ReplayBuffer and when replay is enabled. When its track cannot be made the
// user is told and the mode is Idle.
void StartReplayBuffer();
// Frees the buffer (ReplayBuffer only); the mode becomes Idle.
void StopReplayBuffer();
// Whole seconds between the oldest and the newest sample of the buffer; 0
// with fewer than three samples or without a buffer.
uint32_t AvailableReplaySeconds();
// Replays the last seconds of the buffer onto the user aircraft (ReplayBuffer
// only; at most what the buffer holds). The buffer takes no samples meanwhile.
void StartReplay(uint32_t seconds);
// The end of a replay (EndPlayback in Replay): back to ReplayBuffer, the
// ring taking samples again after its newest one, on the same time line.
void ResumeReplayBuffer();

enum ReplaySaveResult : uint32_t {
    ReplaySaved,
    ReplayNotChosen,    // the user cancelled the dialog, or there is no buffer to save
    ReplayNotOpened,    // the file could not be created; the buffer was not touched
    ReplayNotWritten,   // a write or the close failed; the partial file was removed
};

// The replay dialog's "Save replay": asks for a path (the dialog owned by
// owner, which is modal already) and writes the whole buffer there as a
// one-track recording. Failures are told to the user. The buffer records on.
ReplaySaveResult SaveReplay(WindowHandle owner);
// Writes the whole buffer to path as a one-track recording, putting the ring
// into time order first. Tells nobody: SaveReplay does.
ReplaySaveResult WriteReplayFile(const char* path);
