// The user's hands on a stored spot view: the simulator's pan, view-
// direction, eyepoint, aircraft and zoom events while a spot window shows
// one. Without manual panning the pan keys fly the camera around the
// aircraft; with it they turn the camera's look and the eyepoint keys slide
// the camera along the view's axes.
#pragma once

#include <cstdint>

#include "views/cameras/camera_controls.h"
#include "views/state/view_state.h"

// Dispatch types 8 and 9 of the host while the focused window is a spot
// window. Non-zero when the event was the view's and the host must not act on it.
uint32_t SpotKeyEvent(uint32_t type, uint32_t eventId, void* record);

// Translates the camera by (a, b, c) spot steps along the view's axes with
// manual panning; without it, orbits: a and b panning steps around and over
// the aircraft, c spot steps nearer or farther.
void OrbitOrTranslateSpot(SpotView* view, double a, double b, double c);

// Puts the camera on one side of the aircraft at the distance it has now:
// the eight level directions (0 ahead ... 7 ahead-left), the same eight
// looking down on the aircraft from 45 degrees up, and straight above or
// below it.
enum SpotSide { SpotLevel, SpotRaised, SpotAbove, SpotBelow };
void PlaceSpotAround(SpotView* view, SpotSide side, int direction);
