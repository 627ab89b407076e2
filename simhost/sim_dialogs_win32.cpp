// The module's dialogs under Windows: the watcher thread hands each new
// dialog of the module to a driver thread of its own, which reads the
// controls, takes the queued steps through the controls' own messages (a
// click is BM_CLICK, a key in the hot-key control its key messages) and
// waits for each to be handled: a message box or file dialog a step opens
// is answered by the watcher meanwhile, a dialog it opens by another driver.
#include <windows.h>
// after windows.h, which it needs
#include <commctrl.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "sim_internal.h"
#include "sim_win32.h"

namespace {

struct Job {
    HWND dialog;
    uint64_t serial;
    SimDialogShown shown;
};

// Dialogs already handed to a driver, until they are gone (watcher thread only).
std::vector<HWND> taken;
uint64_t runs;

std::string Text(HWND window) {
    char text[1024] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string ClassOf(HWND window) {
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    for (char* c = name; *c; ++c) *c = static_cast<char>(std::tolower(static_cast<unsigned char>(*c)));
    return name;
}

int ControlId(HWND control) { return static_cast<int16_t>(GetDlgCtrlID(control)); }

std::vector<std::string> Items(HWND control, UINT countMessage, UINT lengthMessage, UINT textMessage) {
    std::vector<std::string> items;
    const LRESULT count = SendMessageA(control, countMessage, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        std::vector<char> text(static_cast<size_t>(SendMessageA(control, lengthMessage, i, 0)) + 1, 0);
        SendMessageA(control, textMessage, i, reinterpret_cast<LPARAM>(text.data()));
        items.push_back(text.data());
    }
    return items;
}

// The window with the keyboard focus in the dialog's thread, whichever
// thread asks.
HWND FocusOf(HWND dialog) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info)) return nullptr;
    return info.hwndFocus;
}

SimControlState Read(HWND control, HWND focus) {
    SimControlState state{
        ControlId(control), ClassOf(control), Text(control), 0, IsWindowEnabled(control) != 0, {}, -1, 0, 0, 0, false};
    state.focused = control == focus || (focus && IsChild(control, focus));
    if (state.className == "button") {
        state.checked = static_cast<int>(SendMessageA(control, BM_GETCHECK, 0, 0));
    } else if (state.className == "combobox") {
        state.items = Items(control, CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT);
        state.selection = static_cast<int>(SendMessageA(control, CB_GETCURSEL, 0, 0));
    } else if (state.className == "listbox") {
        state.items = Items(control, LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT);
        state.selection = static_cast<int>(SendMessageA(control, LB_GETCURSEL, 0, 0));
    } else if (state.className == "msctls_hotkey32") {
        state.hotKey = static_cast<uint16_t>(SendMessageA(control, HKM_GETHOTKEY, 0, 0));
    } else if (state.className == "msctls_updown32") {
        int low = 0, high = 0;
        SendMessageA(control, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low), reinterpret_cast<LPARAM>(&high));
        state.rangeLow = low;
        state.rangeHigh = high;
    }
    return state;
}

// The controls in the template's order, which is the order of the children.
SimDialogControls Snapshot(HWND dialog) {
    SimDialogControls controls;
    const HWND focus = FocusOf(dialog);
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        controls.push_back(Read(child, focus));
    return controls;
}

bool Showing(HWND dialog) { return IsWindow(dialog) && IsWindowVisible(dialog); }

// The lParam of a key message: repeat count 1 and the key's scan code (the
// control names the key by it), with the release bits on a key-up.
LPARAM KeyData(UINT key, bool extended, bool release) {
    LPARAM data = 1 | static_cast<LPARAM>(MapVirtualKeyA(key, MAPVK_VK_TO_VSC) << 16);
    if (extended) data |= 1 << 24;
    if (release) data |= static_cast<LPARAM>(0xC0000000u);
    return data;
}

// A key pressed in a hot-key control: the modifiers go down, the key, then
// everything comes up again. With Alt held they are system keys.
void PressKeys(HWND control, uint16_t keys) {
    const UINT modifiers = keys >> 8;
    const bool alt = (modifiers & HOTKEYF_ALT) != 0;
    const bool extended = (modifiers & HOTKEYF_EXT) != 0;
    const UINT down = alt ? WM_SYSKEYDOWN : WM_KEYDOWN, up = alt ? WM_SYSKEYUP : WM_KEYUP;
    const UINT held[] = {modifiers & HOTKEYF_SHIFT ? VK_SHIFT : 0u, modifiers & HOTKEYF_CONTROL ? VK_CONTROL : 0u,
                         alt ? VK_MENU : 0u};
    for (UINT key : held)
        if (key) SendMessageA(control, key == VK_MENU ? WM_SYSKEYDOWN : WM_KEYDOWN, key, KeyData(key, false, false));
    const UINT key = keys & 0xFF;
    SendMessageA(control, down, key, KeyData(key, extended, false));
    SendMessageA(control, up, key, KeyData(key, extended, true));
    for (int i = 2; i >= 0; --i)
        if (held[i])
            SendMessageA(control, held[i] == VK_MENU ? WM_SYSKEYUP : WM_KEYUP, held[i], KeyData(held[i], false, true));
}

bool TakeStep(HWND dialog, const std::string& caption, const SimDialogStep& step) {
    if (step.kind == SimStepHold) {
        Sleep(static_cast<DWORD>(step.seconds * 1000.0));
        return true;
    }
    if (step.kind == SimStepCapture) {
        if (SimCaptureWindow(dialog, step.text)) return true;
        SimDialogProblem("no picture of \"" + caption + "\" could be saved as " + step.text);
        return false;
    }
    const std::string name = "\"" + caption + "\" control " + std::to_string(step.control);
    HWND control = GetDlgItem(dialog, step.control);
    if (!control) {
        SimDialogProblem(name + " does not exist");
        return false;
    }
    if (!IsWindowEnabled(control)) {
        SimDialogProblem(name + " is disabled: a user cannot work it");
        return false;
    }
    const std::string kind = ClassOf(control);
    const LONG style = GetWindowLongA(control, GWL_STYLE);
    const WPARAM notifyId = static_cast<WORD>(step.control);
    switch (step.kind) {
        case SimStepType:
            if (kind != "edit") break;
            if (!SimTypeable(step.text, (style & ES_NUMBER) != 0)) {
                SimDialogProblem(name + " takes digits only, not \"" + step.text + "\"");
                return false;
            }
            SendMessageA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(step.text.c_str()));
            return true;
        case SimStepClick:
            if (kind != "button" || (style & BS_TYPEMASK) == BS_GROUPBOX) break;
            SendMessageA(control, BM_CLICK, 0, 0);
            return true;
        case SimStepChoose: {
            const bool combo = kind == "combobox";
            if (!combo && kind != "listbox") break;
            const LRESULT count = SendMessageA(control, combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0);
            if (step.index < 0 || step.index >= count) {
                SimDialogProblem(name + " has no item " + std::to_string(step.index));
                return false;
            }
            // What a click on the item does: the focus, the choice and its notification.
            SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
            SendMessageA(control, combo ? CB_SETCURSEL : LB_SETCURSEL, static_cast<WPARAM>(step.index), 0);
            if (!combo) SendMessageA(control, LB_SETCARETINDEX, static_cast<WPARAM>(step.index), FALSE);
            SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(notifyId, combo ? CBN_SELCHANGE : LBN_SELCHANGE),
                         reinterpret_cast<LPARAM>(control));
            return true;
        }
        case SimStepArrow: {
            if (kind != "msctls_updown32") break;
            // A click in the upper or lower half of the control, as on its arrows.
            RECT area = {};
            GetClientRect(control, &area);
            const LPARAM at = MAKELPARAM(area.right / 2, step.index > 0 ? area.bottom / 4 : area.bottom * 3 / 4);
            SendMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, at);
            SendMessageA(control, WM_LBUTTONUP, 0, at);
            return true;
        }
        case SimStepHotKey:
            if (kind != "msctls_hotkey32") break;
            if ((step.keys & 0xFF) == 0) {
                SendMessageA(control, WM_KEYDOWN, VK_BACK, KeyData(VK_BACK, false, false));  // Backspace clears it
                SendMessageA(control, WM_KEYUP, VK_BACK, KeyData(VK_BACK, false, true));
            } else {
                PressKeys(control, step.keys);
            }
            return true;
        default:
            break;
    }
    SimDialogProblem(name + " is a " + kind + ", which that step cannot work");
    return false;
}

// Waits while a window the last step opened keeps the dialog disabled.
bool WaitUntilUsable(HWND dialog) {
    for (int waited = 0; waited < 120000; waited += 20) {
        if (!Showing(dialog)) return false;
        if (IsWindowEnabled(dialog)) return true;
        Sleep(20);
    }
    return false;
}

DWORD WINAPI Drive(LPVOID parameter) {
    std::unique_ptr<Job> job(static_cast<Job*>(parameter));
    HWND dialog = job->dialog;
    const std::string caption = job->shown.caption;
    job->shown.states.push_back(Snapshot(dialog));
    SimRecordDialogShown(job->serial, job->shown);
    SimDialogAnswer answer;
    if (SimTakeDialogAnswer(caption, &answer)) {
        for (const SimDialogStep& step : answer.steps) {
            if (!WaitUntilUsable(dialog)) {
                SimDialogProblem("\"" + caption + "\" closed before all its steps were taken");
                break;
            }
            if (!TakeStep(dialog, caption, step)) break;
            if (Showing(dialog)) {
                job->shown.states.push_back(Snapshot(dialog));
                SimRecordDialogShown(job->serial, job->shown);
            }
        }
        if (Showing(dialog)) SimDialogProblem("\"" + caption + "\" was left open by its steps; cancelled");
    }
    // Cancel, as the close box does, for a dialog nobody closed.
    if (Showing(dialog)) SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    return 0;
}

}  // namespace

// Taken above every other window (the control window floats above all),
// after a moment to repaint.
bool SimCaptureWindow(void* window, const std::string& path) {
    HWND dialog = static_cast<HWND>(window);
    const UINT keep = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
    SetWindowPos(dialog, HWND_TOPMOST, 0, 0, 0, 0, keep);
    RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
    Sleep(1500);
    RECT frame;
    GetWindowRect(dialog, &frame);
    // From the screen, where the window is on top: Wine's PrintWindow draws
    // a dialog's background and leaves its controls out.
    SetForegroundWindow(dialog);
    const bool saved =
        SimSaveScreenPicture(frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top, path);
    SetWindowPos(dialog, HWND_NOTOPMOST, 0, 0, 0, 0, keep);
    return saved;
}

void SimAnswerModuleDialog(void* window) {
    HWND dialog = static_cast<HWND>(window);
    taken.erase(std::remove_if(taken.begin(), taken.end(), [](HWND old) { return !IsWindow(old); }), taken.end());
    if (std::find(taken.begin(), taken.end(), dialog) != taken.end()) return;
    taken.push_back(dialog);
    Job* job = new Job{dialog, ++runs, SimDialogShown{Text(dialog), dialog, GetWindow(dialog, GW_OWNER), {}}};
    SimLogEntry entry{};
    entry.kind = LogDialog;
    entry.caption = job->shown.caption;
    entry.owner = job->shown.owner;
    SimPlatformStageLog(entry);
    HANDLE thread = CreateThread(nullptr, 0, Drive, job, 0, nullptr);
    if (thread) {
        CloseHandle(thread);
    } else {
        SimDialogProblem("no thread to answer \"" + job->shown.caption + "\"");
        delete job;
    }
}

bool SimSaveScreenPicture(int left, int top, int width, int height, const std::string& path) {
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, left, top, SRCCOPY);
    SelectObject(memory, old);
    BITMAPINFOHEADER info = {};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    const DWORD rowBytes = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
    std::vector<unsigned char> pixels(rowBytes * static_cast<DWORD>(height));
    GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.data(), reinterpret_cast<BITMAPINFO*>(&info),
              DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
    FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) return false;
    bool written = std::fwrite(&file, sizeof file, 1, out) == 1 && std::fwrite(&info, sizeof info, 1, out) == 1 &&
                   std::fwrite(pixels.data(), 1, pixels.size(), out) == pixels.size();
    return std::fclose(out) == 0 && written;
}

// The user's own setting, kept while a test has changed it.
static bool separatorChanged;
static char userSeparator[8];

void SimSetThousandsSeparator(const std::string& separator) {
    if (!separatorChanged) {
        if (!GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, userSeparator, sizeof userSeparator)) return;
        separatorChanged = true;
    }
    if (!SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, separator.c_str()))
        SimDialogProblem("the user's thousands separator could not be set");
}

void SimRestoreThousandsSeparator() {
    if (!separatorChanged) return;
    SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, userSeparator);
    separatorChanged = false;
}
