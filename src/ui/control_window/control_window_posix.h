// Native builds have no windows: the control window's shell keeps what the
// real window would show, for the stand-in simulator and the tests to read.
#pragma once

#include <cstdint>

struct NativeControlWindow {
    bool created;
    bool visible;
    int32_t left, top;  // screen position of the top-left corner
    char title[64];
    uint32_t slider;  // 0 .. 350
    char speedText[16];
    bool loopChecked;
    uint32_t marks[2];  // the slider's tick marks
    int markCount;
    uint32_t titlesSent;  // how often the title was set since the window was made
};
extern NativeControlWindow nativeControlWindow;
