// "Keyboard controls": the 27 commands in a list and a hot-key control that
// edits the selected one's key in a working copy of the key table, which
// travels with the dialog until OK keeps it or Cancel drops it.
#include "config/keys.h"
#include "core/host/module_state.h"
#include "ui/dialogs/dialog_controls.h"
#include "ui/dialogs/dialog_ids.h"
#include "ui/dialogs/dialogs.h"
#include "ui/dialogs/keyboard_form.h"

namespace {

uint16_t ShownHotKey(WindowHandle dialog) {
    return static_cast<uint16_t>(DialogItemMessage(dialog, KEYBOARD_HOT_KEY, HotKeyGet, 0, 0) & 0xFFFF);
}

void ShowHotKey(WindowHandle dialog, uint16_t hotKey) {
    DialogItemMessage(dialog, KEYBOARD_HOT_KEY, HotKeySet, hotKey, 0);
    DialogItemFocus(dialog, KEYBOARD_HOT_KEY);
}

int CaretRow(WindowHandle dialog) {
    return static_cast<int>(DialogItemMessage(dialog, KEYBOARD_LIST, ListGetCaretIndex, 0, 0));
}

void Open(WindowHandle dialog, KeyboardForm* form) {
    DialogItemMessage(dialog, KEYBOARD_HOT_KEY, HotKeySetRules, HotKeyInvalidCombinations, HotKeyReplacementModifiers);
    for (const KeyCommandInfo& command : KeyCommands)
        DialogItemMessage(dialog, KEYBOARD_LIST, ListAddString, 0, reinterpret_cast<intptr_t>(command.listText));
    *form = KeyboardFormFor(keyTable);
}

intptr_t KeyboardProcedure(WindowHandle dialog, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    if (message == MessageInitDialog) {
        Open(dialog, static_cast<KeyboardForm*>(reinterpret_cast<void*>(lParam)));
        return 1;
    }
    // The list wants the keyboard only to be told of it: the keys move its
    // selection as in any list.
    if (message == MessageVirtualKeyToItem) return -1;
    if (message != MessageDialogCommand) return 0;
    KeyboardForm* form = static_cast<KeyboardForm*>(DialogState(dialog));
    const int control = CommandControl(wParam);
    const uint32_t notification = CommandNotification(wParam);
    if (control == KEYBOARD_LIST && notification == NotifySelectionChange) {
        ShowHotKey(dialog, KeyboardRowChosen(form, ShownHotKey(dialog), CaretRow(dialog)));
        return 1;
    }
    if (notification != NotifyClicked) return 0;
    switch (control) {
        case KEYBOARD_DEFAULT:
            ShowHotKey(dialog, KeyboardDefaultKey(form, CaretRow(dialog), ShownHotKey(dialog)));
            return 1;
        case DIALOG_OK:
            keyTable = KeyboardTableOnOk(*form, ShownHotKey(dialog));
            SaveKeyTable();
            return EndWith(dialog, DIALOG_OK);
        case DIALOG_CANCEL:
            return EndWith(dialog, DIALOG_CANCEL);
        default:
            return 0;
    }
}

}  // namespace

void RunKeyboardDialog() {
    KeyboardForm form = KeyboardFormFor(keyTable);
    DialogRun(DIALOG_KEYBOARD, module.mainWindow, KeyboardProcedure, &form);
}
