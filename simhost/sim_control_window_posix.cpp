// The control window in native builds: what the module's shell keeps is the
// window, and the mouse's work goes to the window's handlers as Windows
// would send it. A button press draws it pressed; the release draws it
// released and then reports the click, the auto-check loop button having
// changed its check mark first.
#include "sim.h"
#include "ui/control_window/control_window_model.h"
#include "ui/control_window/control_window_posix.h"
#include "ui/control_window/control_window_shell.h"

SimControlWindowView SimControlWindow() {
    SimControlWindowView view;
    const NativeControlWindow& window = nativeControlWindow;
    view.exists = window.created;
    if (!view.exists) return view;
    view.visible = window.visible;
    view.left = window.left;
    view.top = window.top;
    view.title = window.title;
    view.slider = window.slider;
    view.speedText = window.speedText;
    view.loopChecked = window.loopChecked;
    view.marks.assign(window.marks, window.marks + window.markCount);
    return view;
}

bool SimMainWindowActive() { return true; }
void SimActivateMainWindow() {}

void SimHoldControl(uint32_t id, bool held) {
    if (!nativeControlWindow.created) return;
    if (held) {
        ControlWindowStepButtonDrawn(id, true);
        return;
    }
    ControlWindowStepButtonDrawn(id, false);
    if (id == ControlLoopButton) nativeControlWindow.loopChecked = !nativeControlWindow.loopChecked;
    ControlWindowCommand(id, 0, nativeControlWindow.loopChecked);
}

void SimClickControl(uint32_t id) {
    SimHoldControl(id, true);
    SimHoldControl(id, false);
}

uint32_t SimDragSlider(uint32_t position) {
    if (!nativeControlWindow.created) return 0;
    if (position > SliderRange) position = SliderRange;
    nativeControlWindow.slider = position;
    ControlWindowSeek(static_cast<int32_t>(position));
    return position;
}

void SimMoveControlWindow(int32_t left, int32_t top) {
    if (!nativeControlWindow.created) return;
    nativeControlWindow.left = left;
    nativeControlWindow.top = top;
    ControlWindowMoveEnded(left, top);
}

bool SimCaptureControlWindow(const std::string&) { return false; }

void SimTypeKey(int virtualKey) {
    // WM_KEYDOWN and WM_KEYUP with the repeat count and the release bits.
    SimSendMainWindowMessage(0x0100, static_cast<uintptr_t>(virtualKey), 0x00000001);
    SimSendMainWindowMessage(0x0101, static_cast<uintptr_t>(virtualKey), static_cast<intptr_t>(0xC0000001u));
}
