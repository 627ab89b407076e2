// The module's dialogs in native builds: the stand-in plays the dialog
// manager over the templates of the module's resource script — controls
// that answer their Win32 messages as Windows' own do, notifications sent
// to the module's dialog procedure — and the user, who takes the steps of
// the queued answer once the dialog has opened.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/posix/posix_hooks.h"
#include "sim_dialog_templates.h"
#include "sim_internal.h"
#include "sim_module_posix.h"

namespace {

// Win32 numbers of what the controls understand.
enum : uint32_t {
    WmSetText = 0x000C,
    WmGetText = 0x000D,
    WmInitDialog = 0x0110,
    WmCommand = 0x0111,
    EmLimitText = 0x00C5,
    BmGetCheck = 0x00F0,
    BmSetCheck = 0x00F1,
    CbAddString = 0x0143,
    CbGetCount = 0x0146,
    CbGetCurSel = 0x0147,
    CbSetCurSel = 0x014E,
    LbAddString = 0x0180,
    LbSetCurSel = 0x0186,
    LbGetCurSel = 0x0188,
    LbGetCount = 0x018B,
    LbSetCaretIndex = 0x019E,
    LbGetCaretIndex = 0x019F,
    HkmSetHotKey = 0x0401,
    HkmGetHotKey = 0x0402,
    HkmSetRules = 0x0403,
    UdmSetRange32 = 0x046F,
    UdmGetRange32 = 0x0470,
    UdmSetPos32 = 0x0471,
    UdmGetPos32 = 0x0472,
};
enum : uint32_t { BnClicked = 0, SelectionChanged = 1, EnChange = 0x0300 };
enum : uint32_t {
    WsGroup = 0x00020000,
    WsDisabled = 0x08000000,
    ButtonTypeMask = 0xF,
    BsAutoCheckBox = 3,
    BsAuto3State = 6,
    BsGroupBox = 7,
    BsAutoRadioButton = 9,
    EsNumber = 0x2000,
    UdsSetBuddyInt = 0x2,
    UdsAutoBuddy = 0x10,
    UdsNoThousands = 0x80,
};
constexpr intptr_t Failed = -1;  // CB_ERR, LB_ERR

struct Control {
    SimControlState state;
    uint32_t style;
    int caret;                  // list boxes: the row with the focus
    uint32_t invalidModifiers;  // hot-key controls: HKM_SETRULES
    uint32_t replacementModifiers;
    int32_t position;  // up-down controls
    Control* buddy;
};

struct Dialog {
    const SimDialogTemplate* layout;
    std::vector<Control> controls;
    DialogProcedure procedure;
    void* state;
    bool ended;
    intptr_t result;
};

uint64_t dialogRuns;

Dialog* DialogOf(WindowHandle window) { return static_cast<Dialog*>(window); }

std::string Caption(const Dialog& dialog) { return dialog.layout->caption; }

Control* Find(Dialog* dialog, int id) {
    for (Control& control : dialog->controls)
        if (control.state.id == id) return &control;
    return nullptr;
}

void Notify(Dialog* dialog, Control* control, uint32_t code) {
    const uintptr_t wParam = (static_cast<uintptr_t>(code) << 16) | (static_cast<uint32_t>(control->state.id) & 0xFFFF);
    dialog->procedure(dialog, WmCommand, wParam, reinterpret_cast<intptr_t>(control));
}

// The number an up-down control writes into its buddy: with the user's
// digit-group separator, as Windows does unless told not to.
std::string BuddyText(int32_t number, bool separators) {
    std::string digits = std::to_string(number < 0 ? -static_cast<int64_t>(number) : number);
    if (separators)
        for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3)
            digits.insert(static_cast<size_t>(at), world.thousandsSeparator);
    return number < 0 ? "-" + digits : digits;
}

// The number in an up-down control's buddy as the control reads it back:
// its separators left out, nothing but digits after a sign, and within the
// control's range. False for any other text.
bool ReadBuddy(const Control& upDown, int32_t* number) {
    std::string text = upDown.buddy->state.text;
    const std::string& separator = world.thousandsSeparator;
    if (!(upDown.style & UdsNoThousands) && !separator.empty())
        for (size_t at = text.find(separator); at != std::string::npos; at = text.find(separator, at))
            text.erase(at, separator.size());
    size_t digitsFrom = !text.empty() && text[0] == '-' ? 1 : 0;
    if (text.size() == digitsFrom || text.size() > digitsFrom + 10) return false;
    for (size_t i = digitsFrom; i < text.size(); ++i)
        if (text[i] < '0' || text[i] > '9') return false;
    const long long value = std::stoll(text);
    const int32_t low = std::min(upDown.state.rangeLow, upDown.state.rangeHigh);
    const int32_t high = std::max(upDown.state.rangeLow, upDown.state.rangeHigh);
    if (value < low || value > high) return false;
    *number = static_cast<int32_t>(value);
    return true;
}

intptr_t ControlMessage(Dialog* dialog, Control* control, uint32_t message, uintptr_t wParam, intptr_t lParam);

void WriteBuddy(Dialog* dialog, Control* upDown) {
    if (!(upDown->style & UdsSetBuddyInt) || !upDown->buddy) return;
    const std::string text = BuddyText(upDown->position, !(upDown->style & UdsNoThousands));
    ControlMessage(dialog, upDown->buddy, WmSetText, 0, reinterpret_cast<intptr_t>(text.c_str()));
}

intptr_t CopyText(const std::string& text, uintptr_t size, intptr_t buffer) {
    if (size == 0 || buffer == 0) return 0;
    const size_t copied = text.size() < size - 1 ? text.size() : size - 1;
    std::memcpy(reinterpret_cast<char*>(buffer), text.data(), copied);
    reinterpret_cast<char*>(buffer)[copied] = 0;
    return static_cast<intptr_t>(copied);
}

void NotUnderstood(const Dialog& dialog, const Control& control, uint32_t message) {
    char text[160];
    std::snprintf(text, sizeof text, "the %s %d of \"%s\" got message 0x%04X, which the stand-in does not play",
                  control.state.className.c_str(), control.state.id, Caption(dialog).c_str(),
                  static_cast<unsigned>(message));
    SimDialogProblem(text);
}

intptr_t ListMessage(Control* control, uint32_t message, uintptr_t wParam, intptr_t lParam, bool* understood) {
    SimControlState& state = control->state;
    const int count = static_cast<int>(state.items.size());
    switch (message) {
        case CbAddString:
        case LbAddString:
            state.items.push_back(reinterpret_cast<const char*>(lParam));
            return count;
        case CbGetCount:
        case LbGetCount:
            return count;
        case CbSetCurSel:
        case LbSetCurSel: {
            const int item = static_cast<int>(wParam);
            state.selection = item >= 0 && item < count ? item : -1;
            if (state.selection >= 0) control->caret = state.selection;
            return state.selection >= 0 ? state.selection : Failed;
        }
        case CbGetCurSel:
        case LbGetCurSel:
            return state.selection >= 0 ? state.selection : Failed;
        case LbGetCaretIndex:
            return control->caret;
        case LbSetCaretIndex:
            if (static_cast<int>(wParam) < 0 || static_cast<int>(wParam) >= count) return Failed;
            control->caret = static_cast<int>(wParam);
            return 0;
        default:
            *understood = false;
            return 0;
    }
}

intptr_t ControlMessage(Dialog* dialog, Control* control, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    SimControlState& state = control->state;
    const std::string& kind = state.className;
    if (message == WmGetText) return CopyText(state.text, wParam, lParam);
    if (message == WmSetText && kind != "combobox" && kind != "listbox") {
        state.text = lParam ? reinterpret_cast<const char*>(lParam) : "";
        // An edit field tells its dialog of every change of its text.
        if (kind == "edit") Notify(dialog, control, EnChange);
        return 1;
    }
    bool understood = true;
    intptr_t result = 0;
    if (kind == "edit" && message == EmLimitText) {
        // What a user may type; texts set by the module or a step are not cut.
    } else if (kind == "button" && message == BmGetCheck) {
        result = state.checked;
    } else if (kind == "button" && message == BmSetCheck) {
        state.checked = static_cast<int>(wParam);
    } else if (kind == "combobox" || kind == "listbox") {
        result = ListMessage(control, message, wParam, lParam, &understood);
    } else if (kind == "msctls_hotkey32" && message == HkmSetRules) {
        control->invalidModifiers = static_cast<uint32_t>(wParam);
        control->replacementModifiers = static_cast<uint32_t>(lParam);
    } else if (kind == "msctls_hotkey32" && message == HkmSetHotKey) {
        state.hotKey = static_cast<uint16_t>(wParam);
    } else if (kind == "msctls_hotkey32" && message == HkmGetHotKey) {
        result = state.hotKey;
    } else if (kind == "msctls_updown32" && message == UdmSetRange32) {
        state.rangeLow = static_cast<int32_t>(wParam);
        state.rangeHigh = static_cast<int32_t>(lParam);
    } else if (kind == "msctls_updown32" && message == UdmGetRange32) {
        if (wParam) *reinterpret_cast<int*>(wParam) = state.rangeLow;
        if (lParam) *reinterpret_cast<int*>(lParam) = state.rangeHigh;
    } else if (kind == "msctls_updown32" && message == UdmSetPos32) {
        result = control->position;
        control->position = static_cast<int32_t>(lParam);
        WriteBuddy(dialog, control);
    } else if (kind == "msctls_updown32" && message == UdmGetPos32) {
        // The control takes its buddy's number first; lParam, when given,
        // is the BOOL it sets when that text is no number of its range.
        bool unreadable = false;
        if ((control->style & UdsSetBuddyInt) && control->buddy) unreadable = !ReadBuddy(*control, &control->position);
        if (lParam) *reinterpret_cast<int32_t*>(lParam) = unreadable ? 1 : 0;
        result = control->position;
    } else {
        understood = false;
    }
    if (!understood) NotUnderstood(*dialog, *control, message);
    return result;
}

// ---------------------------------------------------------------- the module's side

intptr_t ItemMessage(WindowHandle window, int id, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    Dialog* dialog = DialogOf(window);
    Control* control = Find(dialog, id);
    if (!control) {
        SimDialogProblem("\"" + Caption(*dialog) + "\" has no control " + std::to_string(id));
        return 0;
    }
    return ControlMessage(dialog, control, message, wParam, lParam);
}

void EnableItem(WindowHandle window, int id, int enabled) {
    Dialog* dialog = DialogOf(window);
    if (Control* control = Find(dialog, id))
        control->state.enabled = enabled != 0;
    else
        SimDialogProblem("\"" + Caption(*dialog) + "\" has no control " + std::to_string(id) + " to enable");
}

void MoveFocus(Dialog* dialog, const Control* to) {
    for (Control& control : dialog->controls) control.state.focused = &control == to;
}

void FocusItem(WindowHandle window, int id) {
    Dialog* dialog = DialogOf(window);
    if (Control* control = Find(dialog, id))
        MoveFocus(dialog, control);
    else
        SimDialogProblem("\"" + Caption(*dialog) + "\" has no control " + std::to_string(id) + " to focus");
}

void EndDialog(WindowHandle window, intptr_t result) {
    DialogOf(window)->ended = true;
    DialogOf(window)->result = result;
}

void* DialogStateOf(WindowHandle window) { return DialogOf(window)->state; }

// ---------------------------------------------------------------- the user's side

SimDialogControls Snapshot(const Dialog& dialog) {
    SimDialogControls controls;
    for (const Control& control : dialog.controls) controls.push_back(control.state);
    return controls;
}

// A click on an automatic radio button checks it and clears the others of
// its group: from the control marked as a group's start to the next one.
void CheckRadioInGroup(Dialog* dialog, Control* clicked) {
    size_t index = static_cast<size_t>(clicked - dialog->controls.data());
    size_t first = index;
    while (first > 0 && !(dialog->controls[first].style & WsGroup)) --first;
    for (size_t i = first; i < dialog->controls.size(); ++i) {
        if (i > first && (dialog->controls[i].style & WsGroup)) break;
        Control& other = dialog->controls[i];
        if (other.state.className == "button" && (other.style & ButtonTypeMask) == BsAutoRadioButton)
            other.state.checked = &other == clicked ? 1 : 0;
    }
}

// Hot-key control rules: a modifier combination marked invalid becomes the
// replacement modifiers.
uint16_t HotKeyAfterRules(const Control& control, uint16_t keys) {
    static const uint32_t combinationFlags[8] = {0x01, 0x02, 0x04, 0x10, 0x08, 0x20, 0x40, 0x80};
    const uint32_t modifiers = (keys >> 8) & 0x7;
    if (control.invalidModifiers & combinationFlags[modifiers])
        return static_cast<uint16_t>((keys & 0xFF) | ((control.replacementModifiers & 0xFF) << 8));
    return keys;
}

bool TakeStep(Dialog* dialog, const SimDialogStep& step) {
    if (step.kind == SimStepHold || step.kind == SimStepCapture) return true;  // no time, no screen here
    Control* control = Find(dialog, step.control);
    const std::string name = "\"" + Caption(*dialog) + "\" control " + std::to_string(step.control);
    if (!control) {
        SimDialogProblem(name + " does not exist");
        return false;
    }
    if (!control->state.enabled) {
        SimDialogProblem(name + " is disabled: a user cannot work it");
        return false;
    }
    const std::string& kind = control->state.className;
    switch (step.kind) {
        case SimStepType:
            if (kind != "edit") break;
            if (!SimTypeable(step.text, control->style & EsNumber)) {
                SimDialogProblem(name + " takes digits only, not \"" + step.text + "\"");
                return false;
            }
            ControlMessage(dialog, control, WmSetText, 0, reinterpret_cast<intptr_t>(step.text.c_str()));
            return true;
        case SimStepClick: {
            if (kind != "button" || (control->style & ButtonTypeMask) == BsGroupBox) break;
            const uint32_t type = control->style & ButtonTypeMask;
            if (type == BsAutoCheckBox) control->state.checked = control->state.checked ? 0 : 1;
            if (type == BsAuto3State) control->state.checked = (control->state.checked + 1) % 3;
            if (type == BsAutoRadioButton) CheckRadioInGroup(dialog, control);
            MoveFocus(dialog, control);
            Notify(dialog, control, BnClicked);
            return true;
        }
        case SimStepChoose:
            if (kind != "combobox" && kind != "listbox") break;
            if (step.index < 0 || step.index >= static_cast<int>(control->state.items.size())) {
                SimDialogProblem(name + " has no item " + std::to_string(step.index));
                return false;
            }
            control->state.selection = step.index;
            control->caret = step.index;
            MoveFocus(dialog, control);
            Notify(dialog, control, SelectionChanged);
            return true;
        case SimStepHotKey:
            if (kind != "msctls_hotkey32") break;
            control->state.hotKey = (step.keys & 0xFF) == 0 ? 0 : HotKeyAfterRules(*control, step.keys);
            return true;
        case SimStepArrow: {
            if (kind != "msctls_updown32") break;
            // From the buddy's number, a step within the range, written back.
            if ((control->style & UdsSetBuddyInt) && control->buddy) ReadBuddy(*control, &control->position);
            const int32_t low = std::min(control->state.rangeLow, control->state.rangeHigh);
            const int32_t high = std::max(control->state.rangeLow, control->state.rangeHigh);
            const int64_t stepped = static_cast<int64_t>(control->position) + (step.index > 0 ? 1 : -1);
            control->position = static_cast<int32_t>(std::min<int64_t>(high, std::max<int64_t>(low, stepped)));
            WriteBuddy(dialog, control);
            return true;
        }
        default:
            break;
    }
    SimDialogProblem(name + " is a " + kind + ", which that step cannot work");
    return false;
}

// A user answer, taken once the dialog shows. What it showed is recorded as
// it opened and after every step that leaves it open.
void Answer(Dialog* dialog, WindowHandle owner) {
    const uint64_t serial = ++dialogRuns;
    SimDialogShown shown{Caption(*dialog), dialog, owner, {Snapshot(*dialog)}};
    SimRecordDialogShown(serial, shown);
    SimLogEntry& entry = SimAppendLog(LogDialog);
    entry.caption = Caption(*dialog);
    entry.owner = owner;
    SimDialogAnswer answer;
    if (SimTakeDialogAnswer(Caption(*dialog), &answer)) {
        for (const SimDialogStep& step : answer.steps) {
            if (dialog->ended) {
                SimDialogProblem("\"" + Caption(*dialog) + "\" closed before all its steps were taken");
                break;
            }
            if (!TakeStep(dialog, step)) break;
            if (!dialog->ended) shown.states.push_back(Snapshot(*dialog));
            SimRecordDialogShown(serial, shown);
        }
        if (!dialog->ended) SimDialogProblem("\"" + Caption(*dialog) + "\" was left open by its steps; cancelled");
    }
    // Cancel, as the close box does, for a dialog nobody closed.
    if (!dialog->ended) dialog->procedure(dialog, WmCommand, 2, 0);
    if (!dialog->ended) {
        SimDialogProblem("\"" + Caption(*dialog) + "\" did not close on Cancel");
        EndDialog(dialog, 2);
    }
}

intptr_t RunDialog(uint32_t templateId, WindowHandle owner, DialogProcedure procedure, void* state) {
    std::string problem;
    const SimDialogTemplate* layout = SimModuleDialogTemplate(templateId, &problem);
    if (!layout) {
        SimDialogProblem(problem);
        return -1;  // as DialogBoxParam when the template is missing
    }
    Dialog dialog{layout, {}, procedure, state, false, 0};
    dialog.controls.reserve(layout->controls.size());
    for (const SimTemplateControl& item : layout->controls) {
        Control control{};
        control.state =
            SimControlState{item.id, item.className, item.text, 0, !(item.style & WsDisabled), {}, -1, 0, 0, 100, false};
        control.style = item.style;
        dialog.controls.push_back(control);
    }
    // An up-down control with UDS_AUTOBUDDY takes the control before it.
    for (size_t i = 1; i < dialog.controls.size(); ++i)
        if (dialog.controls[i].state.className == "msctls_updown32" && (dialog.controls[i].style & UdsAutoBuddy))
            dialog.controls[i].buddy = &dialog.controls[i - 1];
    procedure(&dialog, WmInitDialog, 0, reinterpret_cast<intptr_t>(state));
    // A dialog that ended while it was being made never shows.
    if (!dialog.ended) Answer(&dialog, owner);
    return dialog.result;
}

}  // namespace

void SimSetDialogHooks(PosixHostHooks* hooks) {
    hooks->dialogRun = RunDialog;
    hooks->dialogState = DialogStateOf;
    hooks->dialogItemMessage = ItemMessage;
    hooks->dialogItemEnable = EnableItem;
    hooks->dialogItemFocus = FocusItem;
    hooks->dialogEnd = EndDialog;
}

void SimSetThousandsSeparator(const std::string& separator) { world.thousandsSeparator = separator; }
