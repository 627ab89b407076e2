// The control window of native builds: no window, only what it would show.
// It starts as the real one does: hidden, titled "Aerotrace", the slider at
// 0, the speed label at "100%".
#include "ui/control_window/control_window_posix.h"

#include <cstdio>

#include "ui/control_window/control_window_shell.h"

NativeControlWindow nativeControlWindow;

static void Copy(char* to, size_t size, const char* text) { std::snprintf(to, size, "%s", text ? text : ""); }

bool ControlWindowShellCreate(int32_t left, int32_t top) {
    nativeControlWindow = NativeControlWindow{};
    nativeControlWindow.created = true;
    nativeControlWindow.left = left;
    nativeControlWindow.top = top;
    Copy(nativeControlWindow.title, sizeof nativeControlWindow.title, "Aerotrace");
    Copy(nativeControlWindow.speedText, sizeof nativeControlWindow.speedText, "100%");
    return true;
}

void ControlWindowShellShow(bool shown) {
    if (nativeControlWindow.created) nativeControlWindow.visible = shown;
}

void ControlWindowShellSetTitle(const char* text) {
    if (!nativeControlWindow.created) return;
    Copy(nativeControlWindow.title, sizeof nativeControlWindow.title, text);
    nativeControlWindow.titlesSent += 1;
}

void ControlWindowShellSetSlider(uint32_t position) {
    if (nativeControlWindow.created) nativeControlWindow.slider = position;
}

void ControlWindowShellSetSpeedText(const char* text) {
    if (nativeControlWindow.created) Copy(nativeControlWindow.speedText, sizeof nativeControlWindow.speedText, text);
}

void ControlWindowShellSetLoopButton(bool checked) {
    if (nativeControlWindow.created) nativeControlWindow.loopChecked = checked;
}

void ControlWindowShellSetMarks(const uint32_t* positions, int count) {
    if (!nativeControlWindow.created) return;
    nativeControlWindow.markCount = count < 0 ? 0 : count > 2 ? 2 : count;
    for (int i = 0; i < nativeControlWindow.markCount; ++i) nativeControlWindow.marks[i] = positions[i];
}
