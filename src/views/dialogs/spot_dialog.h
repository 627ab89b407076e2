// Edit dialog 134, "Edit spot view": the camera's offset shown as a
// distance, a direction and an altitude in feet and degrees, its zoom and its
// three options, and what the texts store back on OK.
#pragma once

#include "views/state/view_state.h"

struct SpotDialogTexts {
    char title[ViewNameLength + 1];
    char distance[16];   // feet from the aircraft, level
    char direction[16];  // degrees clockwise from ahead (from north when fixed to the compass)
    char altitude[16];   // feet above the aircraft
    char zoom[48];       // magnification, "1.0"
    bool manualPan;
    bool rotateHeading;
    bool rotatePitchBank;
};
enum : int { SpotNumberTextLimit = 11, SpotZoomTextLimit = 9 };

SpotDialogTexts SpotDialogTextsOf(const SpotView& view);
// OK: the texts into the view; its stored look direction is not touched.
void ApplySpotDialogTexts(const SpotDialogTexts& texts, SpotView* view);

// "Edit spot view...": the dialog on the stored view the focused window
// shows; nothing while it shows the simulator's spot plane.
void EditSpotView();
// Runs the dialog modally over the main window; true on OK.
bool RunSpotDialog(SpotDialogTexts* texts);
