// The control window of the shipped module: class "RECWND", a tool window
// owned by the simulator's main window with a 350 x 65 client area, the
// progress slider, fourteen buttons and the speed label. Its procedure keeps
// activation (and so the keyboard) with the simulator, draws the six step
// buttons, and hands clicks, slider drags and the end of a move to
// control_window.cpp; the rest of this file moves values into controls.
#include <windows.h>
// After windows.h, whose types it uses.
#include <commctrl.h>

#include "core/host/module_state.h"
#include "ui/control_window/control_window_model.h"
#include "ui/control_window/control_window_shell.h"

namespace {

const char* const ClassName = "RECWND";
const int ClientWidth = 350, ClientHeight = 65;
const uint32_t FirstIcon = 118, LastIcon = 130;

HWND controlWindow;                     // null until made, or when it could not be
HICON icons[LastIcon - FirstIcon + 1];  // the button pictures, by resource id

HICON Icon(uint32_t id) { return id >= FirstIcon && id <= LastIcon ? icons[id - FirstIcon] : nullptr; }

struct ChildControl {
    uint32_t id;
    const char* className;
    DWORD style;
    int x, y, width, height;
    const char* text;  // never shown: every button shows its icon
};

// In the order they are made; positions in client pixels.
const ChildControl Children[] = {
    {ControlSlider, "msctls_trackbar32", TBS_BOTH | TBS_HORZ, 0, 0, 350, 40, "Progress"},
    {ControlToBeginning, "BUTTON", BS_ICON, 5, 40, 20, 20, "|<"},
    {ControlBackLevel3, "BUTTON", BS_OWNERDRAW, 25, 40, 20, 20, "<<<"},
    {ControlBackLevel2, "BUTTON", BS_OWNERDRAW, 45, 40, 20, 20, "<<"},
    {ControlBackLevel1, "BUTTON", BS_OWNERDRAW, 65, 40, 20, 20, "<"},
    {ControlLoopStart, "BUTTON", BS_ICON, 95, 40, 20, 20, "["},
    {ControlLoopButton, "BUTTON", BS_AUTOCHECKBOX | BS_PUSHLIKE | BS_ICON, 115, 40, 20, 20, "~"},
    {ControlLoopEnd, "BUTTON", BS_ICON, 135, 40, 20, 20, "]"},
    {ControlSlower, "BUTTON", BS_ICON, 165, 40, 20, 20, "-"},
    {ControlSpeedLabel, "STATIC", SS_CENTER | SS_NOTIFY | SS_SUNKEN, 186, 40, 48, 20, "100%"},
    {ControlFaster, "BUTTON", BS_ICON, 235, 40, 20, 20, "+"},
    {ControlForwardLevel1, "BUTTON", BS_OWNERDRAW, 265, 40, 20, 20, ">"},
    {ControlForwardLevel2, "BUTTON", BS_OWNERDRAW, 285, 40, 20, 20, ">>"},
    {ControlForwardLevel3, "BUTTON", BS_OWNERDRAW, 305, 40, 20, 20, ">>>"},
    {ControlToEnd, "BUTTON", BS_ICON, 325, 40, 20, 20, ">|"},
};

// The pictures the BS_ICON buttons show, in the order they are given.
const struct {
    uint32_t id;
    uint32_t icon;
} ButtonIcons[] = {
    {ControlToBeginning, 121}, {ControlLoopStart, 127}, {ControlLoopButton, 126}, {ControlLoopEnd, 128},
    {ControlSlower, 129},      {ControlFaster, 130},    {ControlToEnd, 125},
};

LRESULT SendToControl(uint32_t id, UINT message, WPARAM wParam, LPARAM lParam) {
    return SendDlgItemMessageA(controlWindow, static_cast<int>(id), message, wParam, lParam);
}

// A step button: its frame, pressed or not, and its 32 x 32 icon centred on
// the 20 x 20 button, one pixel down and right while pressed. Drawing tells
// the module the button's state, which is how a searching level searches
// exactly while its button is held.
bool DrawStepButton(const DRAWITEMSTRUCT& item) {
    const StepButton* step = FindStepButton(item.CtlID);
    if (!step) return false;
    const bool pressed = (SendMessageA(item.hwndItem, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
    RECT frame = item.rcItem;
    DrawFrameControl(item.hDC, &frame, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
    const int corner = pressed ? -5 : -6;
    if (HICON icon = Icon(step->icon)) DrawIcon(item.hDC, corner, corner, icon);
    ControlWindowStepButtonDrawn(item.CtlID, pressed);
    return true;
}

// The simulator draws only when it gets to; while the window is dragged over
// it, it is made to repaint at once so that no trail is left behind.
void RepaintMainWindow() {
    HWND main = static_cast<HWND>(module.mainWindow);
    RECT client;
    if (!main || !GetClientRect(main, &client)) return;
    InvalidateRect(main, &client, FALSE);
    SendMessageA(main, WM_PAINT, 0, 0);
}

LRESULT CALLBACK ControlWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ACTIVATE:
            // Activated all the same (a click on the title bar): the keyboard
            // goes straight back to the simulator.
            if (LOWORD(wParam) != WA_INACTIVE) {
                SetActiveWindow(static_cast<HWND>(module.mainWindow));
                return 0;
            }
            break;
        case WM_MOUSEACTIVATE:
            if (LOWORD(lParam) == HTCLIENT) return MA_NOACTIVATE;
            break;
        case WM_NCACTIVATE:
            // The title bar always looks active, although the window never is.
            return DefWindowProcA(window, message, TRUE, 0);
        case WM_DRAWITEM:
            if (DrawStepButton(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) return TRUE;
            break;
        case WM_COMMAND: {
            const uint32_t id = LOWORD(wParam);
            const bool checked = id == ControlLoopButton && SendToControl(id, BM_GETCHECK, 0, 0) == BST_CHECKED;
            if (ControlWindowCommand(id, HIWORD(wParam), checked)) return 0;
            break;
        }
        case WM_HSCROLL:
            ControlWindowSeek(static_cast<int32_t>(SendToControl(ControlSlider, TBM_GETPOS, 0, 0)));
            return 0;
        case WM_MOVING:
            RepaintMainWindow();
            break;
        case WM_EXITSIZEMOVE: {
            RECT frame;
            if (GetWindowRect(window, &frame)) ControlWindowMoveEnded(frame.left, frame.top);
            return 0;
        }
        default:
            break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// Registered once, just before the window is made. A class of the same name
// left behind by an earlier load of the module (classes outlive the library
// that registered them) would call into code that is gone: it is replaced.
bool RegisterControlWindowClass(HINSTANCE instance) {
    WNDCLASSA windowClass = {};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = ControlWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = ClassName;
    if (RegisterClassA(&windowClass)) return true;
    if (GetLastError() != ERROR_CLASS_ALREADY_EXISTS || !UnregisterClassA(ClassName, instance)) return false;
    return RegisterClassA(&windowClass) != 0;
}

}  // namespace

bool ControlWindowShellCreate(int32_t left, int32_t top) {
    HINSTANCE instance = static_cast<HINSTANCE>(module.instance);
    // The simulator has the slider's class already; a host that has not
    // would leave the window without its slider.
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    if (!RegisterControlWindowClass(instance)) return false;
    HWND window = CreateWindowExA(WS_EX_TOOLWINDOW, ClassName, "Aerotrace", WS_OVERLAPPED, 20, 20, 200, 70,
                                  static_cast<HWND>(module.mainWindow), nullptr, instance, nullptr);
    if (!window) return false;
    // The title bar's height is the system's: the outer size is worked out
    // from the styles the window really got.
    const DWORD style = static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE));
    const DWORD exStyle = static_cast<DWORD>(GetWindowLongA(window, GWL_EXSTYLE));
    RECT frame = {0, 0, ClientWidth, ClientHeight};
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    // Hidden as it is, the window is not to be activated by being placed either.
    SetWindowPos(window, nullptr, left, top, frame.right - frame.left, frame.bottom - frame.top, SWP_NOACTIVATE);

    for (const ChildControl& child : Children)
        CreateWindowExA(0, child.className, child.text, WS_CHILD | WS_VISIBLE | child.style, child.x, child.y,
                        child.width, child.height, window, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(child.id)),
                        instance, nullptr);
    controlWindow = window;
    SendToControl(ControlSlider, TBM_SETRANGE, TRUE, MAKELPARAM(0, SliderRange));
    SendToControl(ControlSlider, TBM_SETPOS, TRUE, 0);
    for (uint32_t id = FirstIcon; id <= LastIcon; ++id)
        icons[id - FirstIcon] = LoadIconA(instance, MAKEINTRESOURCEA(id));
    for (const auto& button : ButtonIcons)
        SendToControl(button.id, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(Icon(button.icon)));
    return true;
}

void ControlWindowShellShow(bool shown) {
    // Shown without being activated: the simulator keeps the keyboard.
    if (controlWindow) ShowWindow(controlWindow, shown ? SW_SHOWNA : SW_HIDE);
}

void ControlWindowShellSetTitle(const char* text) {
    if (controlWindow) SendMessageA(controlWindow, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

void ControlWindowShellSetSlider(uint32_t position) {
    if (controlWindow) SendToControl(ControlSlider, TBM_SETPOS, TRUE, static_cast<LPARAM>(position));
}

void ControlWindowShellSetSpeedText(const char* text) {
    if (controlWindow) SendToControl(ControlSpeedLabel, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

void ControlWindowShellSetLoopButton(bool checked) {
    if (controlWindow) SendToControl(ControlLoopButton, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void ControlWindowShellSetMarks(const uint32_t* positions, int count) {
    if (!controlWindow) return;
    SendToControl(ControlSlider, TBM_CLEARTICS, TRUE, 0);
    for (int i = 0; i < count; ++i) SendToControl(ControlSlider, TBM_SETTIC, 0, static_cast<LPARAM>(positions[i]));
    // Setting a mark does not redraw the slider by itself.
    if (count > 0) InvalidateRect(GetDlgItem(controlWindow, ControlSlider), nullptr, FALSE);
}
