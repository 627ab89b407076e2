// Menu commands and keys sent to the main window, and whether the host saw them.
#include "user_input.h"

#include "sim.h"

static const uint32_t KeyDownMessage = 0x0100, KeyUpMessage = 0x0101, CommandMessage = 0x0111;

bool ReachedHost(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    SimClearLog();
    SimSendMainWindowMessage(message, wParam, lParam);
    for (const SimLogEntry& entry : SimLogOf(LogHostMessage))
        if (entry.a == message && entry.b == wParam && entry.c == static_cast<uint64_t>(lParam)) return true;
    return false;
}

bool Press(int key) { return ReachedHost(KeyDownMessage, static_cast<uintptr_t>(key), 0x00000001); }

bool Release(int key) {
    return ReachedHost(KeyUpMessage, static_cast<uintptr_t>(key), static_cast<intptr_t>(0xC0000001u));
}

bool Stroke(int key) {
    const bool pressed = Press(key);
    const bool released = Release(key);
    return pressed && released;
}

bool Choose(uint32_t command) { return ReachedHost(CommandMessage, command, 0); }
