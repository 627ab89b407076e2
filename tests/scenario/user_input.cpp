// Menu commands and keys sent to the main window, each on a clean log, and
// whether the host saw them.
#include "user_input.h"

#include "sim.h"

bool ReachedHost(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    SimClearLog();
    SimSendMainWindowMessage(message, wParam, lParam);
    for (const SimLogEntry& entry : SimLogOf(LogHostMessage))
        if (entry.a == message && entry.b == wParam && entry.c == static_cast<uint64_t>(lParam)) return true;
    return false;
}

bool Press(int key) {
    SimClearLog();
    return SimPressKey(key);
}

bool Release(int key) {
    SimClearLog();
    return SimReleaseKey(key);
}

bool Stroke(int key) {
    const bool pressed = Press(key);
    const bool released = Release(key);
    return pressed && released;
}

bool Choose(uint32_t command) {
    SimClearLog();
    return SimChooseMenuCommand(command);
}
