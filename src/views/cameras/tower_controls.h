// The user's hands on a stored tower view: the simulator's pan, view-
// direction, eyepoint, aircraft and zoom events while a tower window shows
// one, and the autozoom switch.
#pragma once

#include <cstdint>

#include "views/state/view_state.h"

// Dispatch types 8 and 9 of the host while the focused window is a tower
// window. Non-zero when the event was the view's and the host must not act on it.
uint32_t TowerKeyEvent(uint32_t type, uint32_t eventId, void* record);

// The autozoom switch of the focused window's tower view: off when on; on,
// from the current magnification at the current distance, when off. Nothing
// for the simulator's tower or a manually panned view.
void TowerAutozoomToggle();
// The same on a given view, measuring the distance to the given aircraft.
// Nothing changes when that aircraft cannot be found.
void ToggleAutozoom(TowerView* view, int32_t targetAircraft);

// The view's movements, in metres to its right, up and forward along its
// heading, and its panning, in steps of the panning setting.
void MoveTowerEyepoint(TowerView* view, double right, double up, double forward);
void PanTowerView(TowerView* view, double pitch, double bank, double heading);
