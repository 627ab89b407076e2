// Playing tracks onto aircraft, frame by frame: the first frame of a
// playback, the playback clock's advance by the playback speed, the loop and
// the end, creating and removing the AI aircraft of played tracks as the play
// time enters and leaves them, and writing each interpolated sample into its
// aircraft. Starting and ending a playback is playback_start_end.h; the speed and loop
// controls are transport.h.
#pragma once

#include <cstdint>

#include "engine/play/playback_state.h"
#include "engine/tracks/track.h"

// One playback frame; runs on every playback event while a playback, replay
// or traffic playback is on and the simulation is not paused.
void PlaybackTick();
// How many played AI tracks hold a window now: what the table's loaded-window
// count must be while nothing is recorded beside them.
uint16_t LoadedPlayedWindows();
// Interpolates the track at TrackTime and drives its aircraft. Returns 0 when
// the playback had to end (the user aircraft could not be driven).
int ApplySample(Track* track);
