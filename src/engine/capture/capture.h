// Capture: on every frame while something records, move the recording's
// time on by simulated time, decide whether this frame takes samples, find
// AI aircraft to record, sample every recorded aircraft into its track and
// watch the autostop conditions (stopping the recording is the caller's).
#pragma once

#include <cstdint>

#include "engine/tracks/track.h"

struct CaptureState {
    uint32_t lastFrameTime;    // FrameTime at the previous tick
    uint32_t lastStep;         // the last frame step shorter than half a second
    uint32_t lastSampleTime;   // TrackTime of the last tick that took samples
    uint8_t lastOnGround;      // on-ground value at that tick
    uint8_t lastEngine;        // engine 1 as the previous autostop check saw it
    uint32_t aiSampleCounter;  // sampling ticks modulo AiSampleFactor; AI aircraft are sampled at 0
    uint32_t autostopTrigger;  // TrackTime of the touchdown or engine shutdown; 0 = none yet
    bool spillWarned;          // the user was told that this recording cannot reach the disk
};
extern CaptureState capture;

// What a new recording starts capture with.
void ResetCaptureForRecording();

enum CaptureOutcome : uint8_t {
    CaptureGoesOn,
    CaptureAutostopReached,  // the recording's autostop condition was met: the caller stops it
};

// One frame of capture; the caller checked the mode and that the
// simulation runs.
CaptureOutcome CaptureTick();

// Reads the track's aircraft and appends the sample at TrackTime.
void SampleAircraft(Track* track);
