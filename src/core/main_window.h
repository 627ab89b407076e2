// The part of the simulator's main-window procedure that does not need
// Windows: menu commands and key presses, decided and carried out. The Win32
// shell (main_window_win32.cpp) adds the menu and passes on what is left;
// native builds hand this to the stand-in simulator's window.
#pragma once

#include <cstdint>

// Window messages, with their Win32 numbers.
enum : uint32_t {
    MessageNcPaint = 0x0085,
    MessageKeyDown = 0x0100,
    MessageKeyUp = 0x0101,
    MessageCommand = 0x0111,
};

// Handles WM_COMMAND, WM_KEYDOWN and WM_KEYUP. Sets *consumed when the
// message is the module's and must not reach the simulator (the window
// procedure then returns the result); anything else is left alone.
intptr_t HandleMainWindowMessage(uint32_t message, uintptr_t wParam, intptr_t lParam, int* consumed);
