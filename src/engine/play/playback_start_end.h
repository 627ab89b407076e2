// Starting and ending playbacks: StartPlayback onto the user aircraft or as
// traffic, EndPlayback, which puts the simulator back as the playback found
// it, the user's stop and stop-here commands, and the filter that keeps the
// user's own input away from the controls a playback drives.
#pragma once

#include <cstdint>

// Lets the user choose recordings and plays them (Idle and ReplayBuffer only):
// onto the user aircraft, the first track of the first file driving it, or
// with asTraffic every track as an AI aircraft while the user flies on.
void StartPlayback(int asTraffic);
// Ends whatever plays (Playback, Replay, TrafficPlayback, the traffic of
// RecordingWithTraffic): removes the played tracks and their AI aircraft
// (left alone at shut-down, atShutdown 1), closes the files, and restores
// pause, simulation rate, the host's playback word and the traffic level.
void EndPlayback(int atShutdown);
// The user's stop: to one second before the end with looping off, so that
// the playback ends by itself on the way out.
void StopPlaybackCommand();
// The user's stop here (Playback and Replay): ends at once, the aircraft
// left where it is.
void StopHereCommand();

// Asked for every simulator input event (dispatch type 8): non-zero when the
// event belongs to a control group the playback drives, so that the user's
// input does not fight the recording.
uint32_t PlaybackInputFilter(uint32_t eventId);
