// The keyboard dialog's working copy of the key table.
#include "ui/dialogs/keyboard_form.h"

static bool IsRow(int row) { return row >= 0 && row < KeyCommandCount; }

KeyboardForm KeyboardFormFor(const KeyTable& live) { return KeyboardForm{live, -1}; }

uint16_t KeyboardRowChosen(KeyboardForm* form, uint16_t shown, int row) {
    if (IsRow(form->selectedRow)) form->working.codes[form->selectedRow] = KeyCodeFromHotKey(shown);
    form->selectedRow = IsRow(row) ? row : -1;
    return IsRow(row) ? HotKeyFromKeyCode(form->working.codes[row]) : 0;
}

uint16_t KeyboardDefaultKey(KeyboardForm* form, int row, uint16_t shown) {
    if (!IsRow(row)) return shown;
    form->selectedRow = row;
    form->working.codes[row] = KeyCommands[row].defaultCode;
    return HotKeyFromKeyCode(form->working.codes[row]);
}

KeyTable KeyboardTableOnOk(const KeyboardForm& form, uint16_t shown) {
    KeyTable kept = form.working;
    if ((shown & 0xFF) != 0 && IsRow(form.selectedRow)) kept.codes[form.selectedRow] = KeyCodeFromHotKey(shown);
    return kept;
}
