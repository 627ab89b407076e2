// What the user does to the module, sent as the simulator's main window
// receives it: the module menu's commands and key presses and releases. The
// same calls reach the real window procedure under Windows.
#pragma once

#include <cstdint>

// Module menu command ids.
enum : uint32_t {
    CmdRecord = 43566,
    CmdPlay = 43567,
    CmdPlayTraffic = 43568,
    CmdReplay = 43569,
    CmdSettings = 43570,
    CmdAbout = 43571,
    CmdKeyboard = 43572,
};

// Virtual-key codes the tests press.
enum : int {
    KeyShift = 0x10,
    KeyControl = 0x11,
    KeyEscape = 27,
    KeyEnd = 35,
    KeyHome = 36,
    ArrowLeft = 37,
    ArrowUp = 38,
    ArrowRight = 39,
    ArrowDown = 40,
    KeyInsert = 45,
    KeyDelete = 46,
    KeypadMultiply = 106,
    KeypadAdd = 107,
    KeypadSubtract = 109,
    KeypadDivide = 111,
};

// Sends the message to the main window; true when it reached the host's own
// window procedure as sent (the module did not take it).
bool ReachedHost(uint32_t message, uintptr_t wParam, intptr_t lParam);
// A key press as the window receives it (repeat count 1 in lParam), and its
// release (previous-state and transition bits set).
bool Press(int key);
bool Release(int key);
// Press and release.
bool Stroke(int key);
// A module menu command (WM_COMMAND).
bool Choose(uint32_t command);
