// Edit dialog 136, "Edit VC view": the eyepoint in feet along the
// aircraft's right, up and forward axes and the zoom, and what the texts
// store back on OK.
#pragma once

#include "views/state/view_state.h"

struct VcDialogTexts {
    char title[ViewNameLength + 1];
    char position[3][48];  // x, y, z in feet, "%.2f"
    char zoom[48];
};
enum : int { VcNumberTextLimit = 9 };

VcDialogTexts VcDialogTextsOf(const VcView& view);
// OK: the texts into the view; its stored look direction is not touched.
void ApplyVcDialogTexts(const VcDialogTexts& texts, VcView* view);

// "Edit VC view...": the dialog on the stored view the focused window
// shows; nothing while it shows the simulator's own cockpit.
void EditVcView();
bool RunVcDialog(VcDialogTexts* texts);
