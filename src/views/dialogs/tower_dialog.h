// Edit dialog 133, "Edit tower view": what its controls show for a stored
// tower view and what their texts store back on OK, as pure functions; the
// dialog window itself only moves these texts in and out of its controls.
#pragma once

#include <cstdint>

#include "views/state/view_state.h"

// An angle in degrees, minutes and seconds as the dialog shows it.
struct DmsText {
    char degrees[8];   // hemisphere letter and whole degrees, "N47", "W122"
    char minutes[8];   // "30"
    char seconds[16];  // "00.00"
};

// The angle rounded to hundredths of an arc second; the letter is the
// negative one below 0, and the degrees have at least degreeDigits digits.
DmsText FormatDms(double degrees, char positive, char negative, int degreeDigits);
// The angle the three texts give: "N47" or "S47" with the letters, or a
// signed number without one; minutes and seconds always count away from 0.
// Text that is no number reads as 0.
double ParseDms(const char* degrees, const char* minutes, const char* seconds, char positive, char negative);

// What the dialog's controls hold, with the longest text each one takes.
struct TowerDialogTexts {
    char title[ViewNameLength + 1];
    DmsText latitude;
    DmsText longitude;
    char altitude[16];  // feet
    char zoom[16];      // magnification, "2.0"
    bool autoZoom;
    bool manualPan;
};
enum : int {
    TitleTextLimit = ViewNameLength,
    DegreesTextLimit = 4,
    MinutesTextLimit = 4,
    SecondsTextLimit = 9,
    AltitudeTextLimit = 11,
    ZoomTextLimit = 9,
};

TowerDialogTexts TowerDialogTextsOf(const TowerView& view);
// OK: the texts into the view. The autozoom box is for the caller, who
// starts autozoom at the view's distance from its aircraft.
void ApplyTowerDialogTexts(const TowerDialogTexts& texts, TowerView* view);

// "Edit tower view...": the dialog on the stored view the focused window
// shows (the first window's, when the table has no row for it). Nothing
// while the window shows the simulator's tower.
void EditTowerView();
// Runs the dialog modally over the main window; true on OK, with the texts
// as the user left them.
bool RunTowerDialog(TowerDialogTexts* texts);
