// The cockpit camera: every frame a window shows a stored VC view, the
// eyepoint sits at the view's place in the user aircraft's own axes and
// looks in the view's direction relative to the aircraft, or at another
// aircraft the user stepped to.
#pragma once

// Places the camera of the row's window for this frame. The row's VC index
// names a stored view.
void VcCamera(int row);
