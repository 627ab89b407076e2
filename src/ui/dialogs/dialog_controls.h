// Reading and setting the controls of the module's dialogs through their
// Win32 messages, the same on Windows and in the stand-in simulator, and
// reading a number field the way every dialog of the module does.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/platform.h"

// Dialog and control messages, with their Win32 numbers.
enum : uint32_t {
    MessageSetText = 0x000C,
    MessageGetText = 0x000D,
    MessageVirtualKeyToItem = 0x002E,  // WM_VKEYTOITEM from a list box that wants the keyboard
    EditLimitText = 0x00C5,            // EM_LIMITTEXT
    MessageInitDialog = 0x0110,
    MessageDialogCommand = 0x0111,  // WM_COMMAND
    ButtonGetCheck = 0x00F0,
    ButtonSetCheck = 0x00F1,
    ComboAddString = 0x0143,
    ComboGetSelection = 0x0147,
    ComboSetSelection = 0x014E,
    ListAddString = 0x0180,
    ListGetCaretIndex = 0x019F,
    HotKeySet = 0x0401,  // HKM_SETHOTKEY
    HotKeyGet = 0x0402,
    HotKeySetRules = 0x0403,
    UpDownSetRange32 = 0x046F,  // UDM_SETRANGE32
    UpDownGetPos32 = 0x0472,    // UDM_GETPOS32
};

// Notification codes in the high word of WM_COMMAND's wParam.
enum : uint32_t {
    NotifyClicked = 0,          // BN_CLICKED
    NotifySelectionChange = 1,  // CBN_SELCHANGE, LBN_SELCHANGE
    NotifyEditChange = 0x0300,  // EN_CHANGE
};

// Ends the dialog with this result; a dialog procedure returns what this
// returns (the message was handled).
inline intptr_t EndWith(WindowHandle dialog, intptr_t result) {
    DialogEnd(dialog, result);
    return 1;
}

inline int CommandControl(uintptr_t wParam) { return static_cast<int>(wParam & 0xFFFF); }
inline uint32_t CommandNotification(uintptr_t wParam) { return static_cast<uint32_t>((wParam >> 16) & 0xFFFF); }

// The number a field's text holds: leading blanks skipped, then digits, with
// the digit-group separators an up-down control writes (",", ".", " ")
// passed over; a number beyond 32 bits reads as the largest one, a field
// without digits as 0.
uint32_t FieldNumber(const char* text);
// The same with an optional minus sign, within the 32-bit signed range.
int32_t FieldSignedNumber(const char* text);

// A check box or radio button counts as set only when it says BST_CHECKED.
bool ControlChecked(WindowHandle dialog, int control);
void SetControlChecked(WindowHandle dialog, int control, bool checked);
uint32_t ControlNumber(WindowHandle dialog, int control);
int32_t ControlSignedNumber(WindowHandle dialog, int control);
void SetControlNumber(WindowHandle dialog, int control, uint32_t number);
void SetControlSignedNumber(WindowHandle dialog, int control, int32_t number);
void SetControlText(WindowHandle dialog, int control, const char* text);
// The control's text, cut to size - 1 characters.
void ControlText(WindowHandle dialog, int control, char* text, size_t size);
// Drop-down lists and list boxes.
void FillComboBox(WindowHandle dialog, int control, const char* const* items, int count);
int ComboSelection(WindowHandle dialog, int control);  // -1 for none
void SetComboSelection(WindowHandle dialog, int control, int item);
