// The key table and its KEYBOARD section, read and written key by key with
// the settings file's own helpers, and the conversions between key presses,
// hot-key control values and KeyCodes.
#include "config/keys.h"

#include <cstdio>

#include "config/settings.h"
#include "platform/platform.h"

KeyTable keyTable;

const KeyCommandInfo KeyCommands[KeyCommandCount] = {
    {"Beginning", "Jump to beginning", 36},                   // Home
    {"Back3", "Jump back step size 3", 33},                   // Page Up
    {"Back2", "Jump back step size 2", 38},                   // Up
    {"Back1", "Jump back step size 1", 37},                   // Left
    {"Forward1", "Jump forward step size 1", 39},             // Right
    {"Forward2", "Jump forward step size 2", 40},             // Down
    {"Forward3", "Jump forward step size 3", 34},             // Page Down
    {"End", "Jump to end", 35},                               // End
    {"LoopStart", "Set loop start", 111},                     // keypad /
    {"LoopEnd", "Set loop end", 106},                         // keypad *
    {"LoopToggle", "Turn looping on/off", 46},                // Delete
    {"SpeedInc", "Increase speed", 107},                      // keypad +
    {"SpeedDec", "Decrease speed", 109},                      // keypad -
    {"SpeedReset", "Reset speed", 45},                        // Insert
    {"HeightCorrInc", "Increase height correction", 4203},    // Shift + keypad +
    {"HeightCorrDec", "Decrease height correction", 4205},    // Shift + keypad -
    {"Record", "Record", 0},                                  // none
    {"Play", "Play", 0},                                      // none
    {"Replay", "Replay", 0},                                  // none
    {"PlayTraffic", "Play as traffic", 0},                    // none
    {"Stop", "Stop recording/playback", 27},                  // Escape
    {"StopHere", "Stop playback at current position", 4123},  // Shift + Escape
    {"NewView", "New advanced view", 8278},                   // Control + V
    {"DelView", "Delete advanced view", 12374},               // Control + Shift + V
    {"NextView", "Next advanced view", 86},                   // V
    {"PrevView", "Previous advanced view", 4182},             // Shift + V
    {"Autozoom", "Autozoom", 8282},                           // Control + Z
};

// The KEYBOARD values are read into 20-character buffers.
static const uint32_t KeyReadBufferSize = 20;
static const int VirtualKeyShift = 0x10;
static const int VirtualKeyControl = 0x11;

void LoadKeyTable() {
    for (int row = 0; row < KeyCommandCount; ++row) {
        char defaultText[8];
        std::snprintf(defaultText, sizeof defaultText, "%u", static_cast<unsigned>(KeyCommands[row].defaultCode));
        int32_t number = ReadInt("KEYBOARD", KeyCommands[row].iniKey, defaultText, KeyReadBufferSize);
        keyTable.codes[row] = static_cast<KeyCode>(static_cast<uint32_t>(number) & 0xFFFF);
    }
}

void SaveKeyTable() {
    for (int row = 0; row < KeyCommandCount; ++row)
        WriteUnsigned("KEYBOARD", KeyCommands[row].iniKey, keyTable.codes[row]);
}

KeyCode KeyCodeOf(uintptr_t virtualKey, int shiftHeld, int controlHeld) {
    // A message that carries no virtual key in 1..255 must not pass for a
    // binding with modifiers (0x1041 is Shift+A, not a key of its own).
    if (virtualKey == 0 || virtualKey > 0xFF) return 0;
    KeyCode code = static_cast<KeyCode>(virtualKey);
    if (shiftHeld) code |= KeyCodeShift;
    if (controlHeld) code |= KeyCodeControl;
    return code;
}

KeyCode KeyCodeOfPress(uintptr_t virtualKey) {
    return KeyCodeOf(virtualKey, AsyncKeyState(VirtualKeyShift) != 0, AsyncKeyState(VirtualKeyControl) != 0);
}

KeyCode KeyCodeFromHotKey(uint16_t hotKey) {
    uint32_t virtualKey = hotKey & 0xFF;
    uint32_t flags = hotKey >> 8;
    return static_cast<KeyCode>(virtualKey | ((flags << 12) & 0x3000));
}

uint16_t HotKeyFromKeyCode(KeyCode code) {
    uint32_t virtualKey = code & 0xFF;
    return static_cast<uint16_t>(virtualKey | (((static_cast<uint32_t>(code) >> 12) << 8) & 0x3FF));
}
