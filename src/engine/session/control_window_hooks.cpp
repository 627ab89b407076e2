// The engine's calls to the control window, passed on to the user
// interface's once it has given them.
#include "engine/session/control_window_hooks.h"

static const ControlWindowHooks* hooks;

void SetControlWindowHooks(const ControlWindowHooks* given) { hooks = given; }

void ControlWindowCreate() {
    if (hooks) hooks->create();
}

void ControlWindowShow(int shown) {
    if (hooks) hooks->show(shown);
}

void ControlWindowProgress(Mode mode, uint32_t trackTime, uint32_t startTime, uint32_t endTime) {
    if (hooks) hooks->progress(mode, trackTime, startTime, endTime);
}

void ControlWindowSpeed(int32_t playbackSpeed) {
    if (hooks) hooks->speed(playbackSpeed);
}

void ControlWindowLoopMarks(bool loopEnabled, uint32_t loopStartTime, uint32_t loopEndTime, uint32_t startTime,
                            uint32_t endTime) {
    if (hooks) hooks->loopMarks(loopEnabled, loopStartTime, loopEndTime, startTime, endTime);
}

void ControlWindowLoopButton(bool checked) {
    if (hooks) hooks->loopButton(checked);
}
