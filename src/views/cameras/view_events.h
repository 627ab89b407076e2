// Where the host's events reach the advanced views: the camera of each view
// window after the host has processed it, and the simulator's input events
// while the focused window is one the views serve. The sweep and the titles
// are in view_window_table.h.
#pragma once

#include <cstdint>

// Start-up, after the catalogues and the view settings are loaded: no window
// is known yet, and no camera goes lower than one metre above the ground.
void StartViewWindows();

// The host has processed this view window: find or add its row, mark it as
// seen, and place the camera of the stored view it shows, if any.
void ViewCameraEvent(void* window);

// Dispatch types 8 and 9, offered to the views of the focused window's kind.
// Non-zero when the event was theirs and must not reach the host.
uint32_t ViewInputEvent(uint32_t type, uint32_t eventId, void* record);
