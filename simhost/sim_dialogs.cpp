// What the scenarios say to the module's dialogs and learn from them: the
// user's steps, the queue of answers, the record of what each dialog
// showed, and the problems met on the way. Playing the dialog manager is
// the platform's part (sim_dialogs_posix.cpp, sim_dialogs_win32.cpp).
#include <cstdio>

#include "sim_internal.h"

namespace {

// World state the Windows stand-in's dialog threads write too.
struct Guard {
    Guard() { SimPlatformLock(); }
    ~Guard() { SimPlatformUnlock(); }
};

}  // namespace

SimDialogStep SimType(int control, const std::string& text) {
    return SimDialogStep{SimStepType, control, text, 0, 0, 0.0};
}
SimDialogStep SimClick(int control) { return SimDialogStep{SimStepClick, control, "", 0, 0, 0.0}; }
SimDialogStep SimChoose(int control, int index) { return SimDialogStep{SimStepChoose, control, "", index, 0, 0.0}; }
SimDialogStep SimClickArrow(int upDownControl, int direction) {
    return SimDialogStep{SimStepArrow, upDownControl, "", direction, 0, 0.0};
}
SimDialogStep SimPressHotKey(int control, uint16_t keys) {
    return SimDialogStep{SimStepHotKey, control, "", 0, keys, 0.0};
}
SimDialogStep SimHoldOpen(double seconds) { return SimDialogStep{SimStepHold, 0, "", 0, 0, seconds}; }
SimDialogStep SimCaptureDialog(const std::string& path) { return SimDialogStep{SimStepCapture, 0, path, 0, 0, 0.0}; }

void SimQueueDialogAnswer(const std::string& caption, const std::vector<SimDialogStep>& steps) {
    Guard guard;
    world.dialogAnswers.push_back(SimDialogAnswer{caption, steps});
}

std::vector<SimDialogShown> SimDialogsShown() {
    SimPlatformCollect();
    Guard guard;
    return world.dialogsShown;
}

std::vector<std::string> SimDialogProblems() {
    SimPlatformCollect();
    Guard guard;
    return world.dialogProblems;
}

const SimControlState* SimFindControl(const SimDialogControls& controls, int id) {
    for (const SimControlState& control : controls)
        if (control.id == id) return &control;
    return nullptr;
}

void SimDialogProblem(const std::string& problem) {
    std::fprintf(stderr, "stand-in dialogs: %s\n", problem.c_str());
    Guard guard;
    world.dialogProblems.push_back(problem);
}

void SimRecordDialogShown(uint64_t serial, const SimDialogShown& shown) {
    Guard guard;
    for (size_t i = 0; i < world.dialogSerials.size(); ++i)
        if (world.dialogSerials[i] == serial) {
            world.dialogsShown[i] = shown;
            return;
        }
    world.dialogSerials.push_back(serial);
    world.dialogsShown.push_back(shown);
}

bool SimTakeDialogAnswer(const std::string& caption, SimDialogAnswer* answer) {
    Guard guard;
    if (world.dialogAnswers.empty()) {
        SimDialogProblem("the dialog \"" + caption + "\" opened with no answer queued; cancelled");
        return false;
    }
    if (world.dialogAnswers.front().caption != caption) {
        SimDialogProblem("the dialog \"" + caption + "\" opened where \"" + world.dialogAnswers.front().caption +
                         "\" was expected; cancelled");
        return false;
    }
    *answer = world.dialogAnswers.front();
    world.dialogAnswers.pop_front();
    return true;
}

bool SimTypeable(const std::string& text, bool digitsOnly) {
    if (!digitsOnly) return true;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    return true;
}
