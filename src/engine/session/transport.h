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

// Moves the play position (Playback, Replay and TrafficPlayback only):
// 0 to the beginning, 1 to one second before the end (a shorter recording
// plays out from where it is), 2-4 back and 5-7 forward by step level 1-3 (a
// jump, or the start of a search while the key is held when the level
// searches), 8-10 the level's key released.
void TransportCommand(int command);
// Puts the play position at trackTime as a jump (Playback, Replay and
// TrafficPlayback only): the control window's slider.
void SeekTo(uint32_t trackTime);
// 0 faster, 1 slower along SpeedTable, 2 back to normal speed, anything
// else keeps the speed; the simulation rate follows when so set.
void SpeedCommand(int command);
// 0 loop start here, 1 loop end here (looping on), 2 loop on, 3 loop off,
// 4 looping toggled.
void LoopCommand(int command);
// Raises (+1) or lowers (-1) the user aircraft's track by one step of height
// correction.
void HeightCorrectionStep(int direction);

// The simulation rate (x 256) that goes with a playback speed in percent.
uint16_t SimulationRateForSpeed(int32_t speed);
constexpr uint16_t NormalSimulationRate = 256;

// One height-correction step: 100000000 / 2^32 m, about 2.3 cm.
constexpr int64_t HeightCorrectionStepSize = 100000000;
