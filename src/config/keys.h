// The keyboard bindings: the fixed table of 27 commands with their ini names,
// list texts and default keys, the KEYBOARD section of the settings file, and
// the KeyCode format shared by key messages and the keyboard dialog's
// hot-key control. Which command a key fires in which mode is key_dispatch's.
#pragma once

#include <cstdint>

// A key binding: virtual-key code in bits 0 to 7, Shift and Control as
// flags. 0 means "no key" and never matches a key press.
typedef uint16_t KeyCode;
enum : uint16_t {
    KeyCodeShift = 0x1000,
    KeyCodeControl = 0x2000,
};

// The commands, in table order: the order of the keyboard dialog's list and
// of reading and writing the KEYBOARD section.
enum KeyCommand : uint8_t {
    KeyBeginning,
    KeyBack3,
    KeyBack2,
    KeyBack1,
    KeyForward1,
    KeyForward2,
    KeyForward3,
    KeyEnd,
    KeyLoopStart,
    KeyLoopEnd,
    KeyLoopToggle,
    KeySpeedInc,
    KeySpeedDec,
    KeySpeedReset,
    KeyHeightCorrInc,
    KeyHeightCorrDec,
    KeyRecord,
    KeyPlay,
    KeyReplay,
    KeyPlayTraffic,
    KeyStop,
    KeyStopHere,
    KeyNewView,
    KeyDelView,
    KeyNextView,
    KeyPrevView,
    KeyAutozoom,
    KeyCommandCount
};

struct KeyCommandInfo {
    const char* iniKey;    // name in the KEYBOARD section
    const char* listText;  // what the keyboard dialog lists
    KeyCode defaultCode;   // for a missing key and the dialog's "Default key"
};
extern const KeyCommandInfo KeyCommands[KeyCommandCount];

// The live bindings, one per command.
struct KeyTable {
    KeyCode codes[KeyCommandCount];
};
extern KeyTable keyTable;

// Reads every binding from KEYBOARD (a missing key gives its default; only
// the low 16 bits of the number count). Called at start-up after the settings.
void LoadKeyTable();
// Writes every binding, in table order, as an unsigned decimal number.
void SaveKeyTable();

// The binding a key press matches: the virtual key (1..255; anything else is
// no key at all) with the modifiers held.
KeyCode KeyCodeOf(uintptr_t virtualKey, int shiftHeld, int controlHeld);
// The same, with Shift and Control as the keyboard reports them right now.
KeyCode KeyCodeOfPress(uintptr_t virtualKey);

// The hot-key control holds the virtual key in its low byte and modifier
// flags (Shift 1, Control 2, Alt 4, extended 8) in the next one. Alt and the
// extended flag have no place in a binding and are dropped.
KeyCode KeyCodeFromHotKey(uint16_t hotKey);
uint16_t HotKeyFromKeyCode(KeyCode code);
