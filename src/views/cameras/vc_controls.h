// The user's hands on a stored VC view: the simulator's view-direction keys
// snap its look to the eight directions, straight down and up and 45 degrees
// upwards; the pan keys turn it; the eyepoint keys move it; the aircraft keys
// make it watch another aircraft until the look is reset.
#pragma once

#include <cstdint>

#include "views/state/view_state.h"

// Dispatch types 8 and 9 of the host while the focused window is a cockpit
// window. Non-zero when the event was the view's and the host must not act on it.
uint32_t VcKeyEvent(uint32_t type, uint32_t eventId, void* record);

// Moves the eyepoint by (right, up, forward) cockpit steps in the aircraft's axes.
void MoveVcEyepoint(VcView* view, double right, double up, double forward);
