// The module's clock: it only moves when the host dispatches a frame step.
#include "core/host/clock.h"

ModuleClock moduleClock;

void AdvanceSimClock(double stepSeconds) {
    moduleClock.frameTime = moduleClock.simClock;
    moduleClock.simClock += static_cast<uint32_t>(static_cast<int64_t>(stepSeconds * 10000.0));
}
