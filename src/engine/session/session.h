// What the running recording, replay buffer or playback shares between
// capture, playback and their control: the recording parameters, the
// first-frame marker, the date stamp and the aircraft facts both ticks use.
#pragma once

#include <cstdint>

// StartMarker values.
enum : uint32_t {
    NoStartPending = 0,
    StartPending = 1,             // a recording, playback or the replay buffer has just started
    StartDuringTraffic = 2,       // a recording started while traffic plays
};

// Autostop kinds.
enum : uint32_t { AutostopNone = 0, AutostopAfterStart = 1, AutostopAfterTouchdown = 2, AutostopAfterShutdown = 3 };

struct Session {
    uint32_t recordInterval;   // milliseconds between samples of the user aircraft
    uint32_t autostopKind;     // AutostopNone ... AutostopAfterShutdown
    uint32_t autostopDelay;    // TimeStamp units
    uint8_t aiSampleFactor;    // AI aircraft sampled every this many user samples; 0 = not recorded
    uint32_t startMarker;      // NoStartPending, StartPending or StartDuringTraffic
    uint32_t dateStamp;        // simulator date and time when the recording or buffer started
    uint32_t levelDFlag;       // the user aircraft is the Level D 767
    uint32_t aircraftChanged;  // a flight or aircraft was loaded since the last tick looked
};
extern Session session;
