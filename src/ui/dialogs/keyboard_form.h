// The keyboard dialog's decisions: a working copy of the key table edited
// row by row through the hot-key control, each row's default key, and the
// table OK keeps. The values passed in and out are the hot-key control's
// (virtual key in the low byte, HOTKEYF_* flags in the high byte).
#pragma once

#include <cstdint>

#include "config/keys.h"

// The hot-key control's rules: every combination with Alt is invalid and
// becomes the key alone.
constexpr uint32_t HotKeyInvalidCombinations = 0xE8;  // HKCOMB_A | HKCOMB_SA | HKCOMB_CA | HKCOMB_SCA
constexpr uint32_t HotKeyReplacementModifiers = 0;

struct KeyboardForm {
    KeyTable working;  // the bindings being edited
    int selectedRow;   // the row the hot-key control is editing, -1 for none
};

KeyboardForm KeyboardFormFor(const KeyTable& live);

// The list's selection moved to row while the hot-key control showed
// shown: the row left behind takes that key (no key, when it was cleared).
// Returns what the hot-key control shows now.
uint16_t KeyboardRowChosen(KeyboardForm* form, uint16_t shown, int row);
// "Default key" on row: the row gets its command's default, whatever was
// typed for it. Returns what the hot-key control shows now (shown, when
// row is no row of the list).
uint16_t KeyboardDefaultKey(KeyboardForm* form, int row, uint16_t shown);
// OK with the hot-key control showing shown: the table to keep. An empty
// control leaves the selected row's key as it was.
KeyTable KeyboardTableOnOk(const KeyboardForm& form, uint16_t shown);
