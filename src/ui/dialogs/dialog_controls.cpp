// The controls of the module's dialogs, one message each.
#include "ui/dialogs/dialog_controls.h"

#include <cstdio>

namespace {

enum : intptr_t { Checked = 1 };  // BST_CHECKED

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsGroupSeparator(char c) { return c == ',' || c == '.' || c == ' '; }

// The digits of text from its start as a number, saturated at limit.
uint64_t Digits(const char* text, uint64_t limit) {
    uint64_t number = 0;
    for (const char* c = text; *c; ++c) {
        if (IsDigit(*c)) {
            number = number * 10 + static_cast<uint64_t>(*c - '0');
            if (number > limit) return limit;
        } else if (!(IsGroupSeparator(*c) && c != text && IsDigit(c[-1]) && IsDigit(c[1]))) {
            break;
        }
    }
    return number;
}

const char* SkipBlanks(const char* text) {
    while (*text == ' ' || *text == '\t') ++text;
    return text;
}

}  // namespace

void ControlText(WindowHandle dialog, int control, char* text, size_t size) {
    text[0] = 0;
    DialogItemMessage(dialog, control, MessageGetText, size, reinterpret_cast<intptr_t>(text));
    text[size - 1] = 0;
}

uint32_t FieldNumber(const char* text) { return static_cast<uint32_t>(Digits(SkipBlanks(text), UINT32_MAX)); }

int32_t FieldSignedNumber(const char* text) {
    text = SkipBlanks(text);
    const bool negative = *text == '-';
    if (negative) return static_cast<int32_t>(-static_cast<int64_t>(Digits(text + 1, 2147483648u)));
    return static_cast<int32_t>(Digits(text, INT32_MAX));
}

bool ControlChecked(WindowHandle dialog, int control) {
    return DialogItemMessage(dialog, control, ButtonGetCheck, 0, 0) == Checked;
}

void SetControlChecked(WindowHandle dialog, int control, bool checked) {
    DialogItemMessage(dialog, control, ButtonSetCheck, checked ? 1 : 0, 0);
}

// Long enough for any number, with room for what a user may add to it.
enum : size_t { FieldTextSize = 32 };

uint32_t ControlNumber(WindowHandle dialog, int control) {
    char text[FieldTextSize];
    ControlText(dialog, control, text, sizeof text);
    return FieldNumber(text);
}

int32_t ControlSignedNumber(WindowHandle dialog, int control) {
    char text[FieldTextSize];
    ControlText(dialog, control, text, sizeof text);
    return FieldSignedNumber(text);
}

void SetControlNumber(WindowHandle dialog, int control, uint32_t number) {
    char text[FieldTextSize];
    std::snprintf(text, sizeof text, "%u", static_cast<unsigned>(number));
    SetControlText(dialog, control, text);
}

void SetControlSignedNumber(WindowHandle dialog, int control, int32_t number) {
    char text[FieldTextSize];
    std::snprintf(text, sizeof text, "%d", static_cast<int>(number));
    SetControlText(dialog, control, text);
}

void SetControlText(WindowHandle dialog, int control, const char* text) {
    DialogItemMessage(dialog, control, MessageSetText, 0, reinterpret_cast<intptr_t>(text));
}

void FillComboBox(WindowHandle dialog, int control, const char* const* items, int count) {
    for (int i = 0; i < count; ++i)
        DialogItemMessage(dialog, control, ComboAddString, 0, reinterpret_cast<intptr_t>(items[i]));
}

int ComboSelection(WindowHandle dialog, int control) {
    return static_cast<int>(DialogItemMessage(dialog, control, ComboGetSelection, 0, 0));
}

void SetComboSelection(WindowHandle dialog, int control, int item) {
    DialogItemMessage(dialog, control, ComboSetSelection, static_cast<uintptr_t>(item), 0);
}
