// The two sides of the control window. The shell (control_window_win32.cpp
// in the shipped module, control_window_posix.cpp natively) owns the window
// and its controls and moves values in and out; control_window.cpp decides
// what they show and what the user's clicks do.
#pragma once

#include <cstdint>

// ---------------------------------------------------------------- shell
// Makes the window, hidden, with its top-left corner at (left, top) in
// screen pixels. False when it could not be made; every other call then
// does nothing.
bool ControlWindowShellCreate(int32_t left, int32_t top);
void ControlWindowShellShow(bool shown);
void ControlWindowShellSetTitle(const char* text);
void ControlWindowShellSetSlider(uint32_t position);
void ControlWindowShellSetSpeedText(const char* text);
void ControlWindowShellSetLoopButton(bool checked);
// Replaces the slider's tick marks by these (none when count is 0).
void ControlWindowShellSetMarks(const uint32_t* positions, int count);

// ---------------------------------------------------------------- the user's hand
// What the window's procedure hands over. Each returns false when the
// message is not the module's (the procedure then does the default).
// A WM_COMMAND from a child control.
bool ControlWindowCommand(uint32_t id, uint32_t notification, bool loopButtonChecked);
// A step button drawn in its pressed or released state.
bool ControlWindowStepButtonDrawn(uint32_t id, bool pressed);
// The slider moved by the user to this position.
void ControlWindowSeek(int32_t position);
// The user finished moving the window; its top-left corner is now here.
void ControlWindowMoveEnded(int32_t left, int32_t top);
