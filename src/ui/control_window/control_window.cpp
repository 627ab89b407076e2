// The control window between the engine and its shell: what the engine
// reports becomes titles, slider positions, marks and labels, and what the
// user does with the window's controls becomes transport, loop and speed
// commands. The title and the slider are sent only when they change: they
// are asked for on every frame and a window redraws what it is sent.
#include "ui/control_window/control_window.h"

#include <cstring>

#include "config/settings.h"
#include "core/host/module_state.h"
#include "ui/control_window/control_window_model.h"
#include "ui/control_window/control_window_shell.h"

namespace {

struct ControlWindowState {
    char title[48];   // the title last sent
    uint32_t slider;  // the slider position last sent; NoPosition when unknown
};

const uint32_t NoPosition = 0xFFFFFFFFu;

ControlWindowState sent = {"", NoPosition};

void (*perform)(UiAction action, int32_t argument);

void Perform(UiAction action, int32_t argument) {
    if (perform) perform(action, argument);
}

void Create() {
    sent = ControlWindowState{"", NoPosition};
    int32_t left = 0, top = 0;
    ReadWindowPosition(&left, &top);
    // Without its window the module works on; the window's calls do nothing.
    ControlWindowShellCreate(left, top);
}

void Show(int visible) { ControlWindowShellShow(visible != 0); }

void Progress(Mode mode, uint32_t trackTime, uint32_t startTime, uint32_t endTime) {
    char title[sizeof sent.title];
    ControlWindowTitle(mode, trackTime, startTime, endTime, title, sizeof title);
    if (std::strcmp(title, sent.title) != 0) {
        std::memcpy(sent.title, title, sizeof title);
        ControlWindowShellSetTitle(title);
    }
    const uint32_t position = SliderPositionOfTime(trackTime, startTime, endTime);
    if (position != sent.slider) {
        sent.slider = position;
        ControlWindowShellSetSlider(position);
    }
}

void Speed(int32_t playbackSpeed) {
    char text[16];
    SpeedLabelText(playbackSpeed, text, sizeof text);
    ControlWindowShellSetSpeedText(text);
}

void LoopMarks(bool loopEnabled, uint32_t loopStartTime, uint32_t loopEndTime, uint32_t startTime,
               uint32_t endTime) {
    const uint32_t marks[2] = {SliderPositionOfTime(loopStartTime, startTime, endTime),
                               SliderPositionOfTime(loopEndTime, startTime, endTime)};
    ControlWindowShellSetMarks(marks, loopEnabled ? 2 : 0);
}

void LoopButton(bool checked) { ControlWindowShellSetLoopButton(checked); }

}  // namespace

const ControlWindowHooks controlWindowHooks = {Create, Show, Progress, Speed, LoopMarks, LoopButton};

void SetControlWindowPerformer(void (*performer)(UiAction action, int32_t argument)) { perform = performer; }

bool ControlWindowCommand(uint32_t id, uint32_t notification, bool loopButtonChecked) {
    const UiDecision decision = ControlCommandDecision(id, notification, loopButtonChecked, settings);
    if (!decision.consumed) return false;
    if (ControlWindowSteers(module.mode)) Perform(decision.action, decision.argument);
    return true;
}

bool ControlWindowStepButtonDrawn(uint32_t id, bool pressed) {
    const UiDecision decision = StepButtonDrawDecision(id, pressed, settings);
    if (!decision.consumed) return false;
    if (ControlWindowSteers(module.mode)) Perform(decision.action, decision.argument);
    return true;
}

void ControlWindowSeek(int32_t position) {
    if (!ControlWindowSteers(module.mode)) return;
    // The thumb is where the user put it; the next frame sends the position
    // of the time it stands for, whatever was sent before.
    sent.slider = NoPosition;
    Perform(ActionSeek, position);
}

void ControlWindowMoveEnded(int32_t left, int32_t top) { WriteWindowPosition(left, top); }
