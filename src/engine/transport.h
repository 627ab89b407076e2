// The playback clock state that the transport controls move: speed, loop
// range and jumps. TrackTime, StartTime and EndTime are the module clock's.
#pragma once

#include <cstdint>

constexpr int SpeedTableSize = 9;
constexpr uint8_t NormalSpeedIndex = 4;
// Playback speeds in percent; index 4 is normal speed.
extern const int16_t SpeedTable[SpeedTableSize];

struct Transport {
    int16_t playbackSpeed;   // percent; negative while searching backward
    uint8_t speedIndex;      // into SpeedTable; NormalSpeedIndex after every reset
    bool loopEnabled;
    uint32_t loopStartTime;
    uint32_t loopEndTime;
    bool positionJumped;     // TrackTime jumped this frame; playback clears it at the end of the frame
};
extern Transport transport;
