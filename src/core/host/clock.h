// The simulation clock and the time line of what is recorded or played.
// All values are TimeStamps: unsigned 32-bit counts of 1/10000 s, wrapping.
#pragma once

#include <cstdint>

struct ModuleClock {
    uint32_t simClock;   // advanced by the host's step on every dispatch of type 32
    uint32_t frameTime;  // simClock before its latest advance: "now" for capture and playback
    uint32_t trackTime;  // current position of the recording or playback
    uint32_t startTime;  // first time stamp of what is played
    uint32_t endTime;    // last time stamp of what is played
};
extern ModuleClock moduleClock;

// One host step: frameTime takes the old clock, the clock moves on.
void AdvanceSimClock(double stepSeconds);
