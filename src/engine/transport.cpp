// The playback transport: its state and the speed table.
#include "engine/transport.h"

const int16_t SpeedTable[SpeedTableSize] = {10, 20, 33, 50, 100, 200, 300, 500, 1000};

Transport transport = {100, NormalSpeedIndex, false, 0, 0, false};
