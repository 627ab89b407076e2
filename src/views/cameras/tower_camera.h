// The tower camera: every frame a window shows a stored tower view, the
// camera stands at the view's place (pulled towards the aircraft when that
// is farther than the largest tower distance), looks at the aircraft unless
// the user panned, and zooms with the distance when autozoom is on.
#pragma once

#include <cstdint>

// Places the camera of the row's window for this frame. The row's tower
// index names a stored view.
void TowerCamera(int row);

// The zoom as the host takes it: a whole number of sixty-fourths.
int32_t ZoomInteger(float zoom);

// The message of a camera that has no aircraft to look at.
#define CAMERA_NO_AIRCRAFT_TEXT "An unexpected error occured! Please report this to"
