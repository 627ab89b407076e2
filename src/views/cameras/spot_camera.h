// The spot camera: every frame a window shows a stored spot view, the camera
// rides at the view's offset from its aircraft (turning with the aircraft's
// heading, and with its pitch and bank, as the view says), looks at the
// aircraft unless the user panned, and keeps the host's own spot distance and
// height in step with where it is.
#pragma once

#include <cstdint>

#include "views/state/view_state.h"

// Places the camera of the row's window for this frame. The row's spot index
// names a stored view.
void SpotCamera(int row);

// The view's offset in the world's axes (east, up, north, metres) for an
// aircraft with this heading, pitch and bank in radians.
void SpotOffsetInWorld(const SpotView& view, double heading, double pitch, double bank, double world[3]);

// The host's spot distance and height (metres x 256) that go with the view's
// offset: the horizontal distance and the height, or 0 and 0 while the
// camera is within 50 m of the aircraft on every axis.
void HostSpotValuesOf(const SpotView& view, int32_t* distance, int32_t* height);
