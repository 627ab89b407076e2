// The control window in the Windows stand-in: the module's real "RECWND"
// window, read through its controls and handled with real mouse and key
// input, as a user's hand would (SendInput: the input goes wherever Windows
// sends it, so a window that took the activation or the keyboard shows).
#include <windows.h>
// After windows.h, whose types it uses.
#include <commctrl.h>

#include "sim.h"
#include "sim_internal.h"

namespace {

const int SliderId = 1004, SpeedLabelId = 1013, LoopButtonId = 1010;

HWND ControlWindowHandle() { return FindWindowA("RECWND", nullptr); }

// Input is delivered as the message loop runs: pump for a moment.
void Settle() {
    for (int i = 0; i < 10; ++i) {
        SimPlatformPumpMessages();
        Sleep(10);
    }
}

void SendMouse(DWORD flags, POINT at) {
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = static_cast<LONG>((at.x * 65535LL + (width - 1) / 2) / (width > 1 ? width - 1 : 1));
    input.mi.dy = static_cast<LONG>((at.y * 65535LL + (height - 1) / 2) / (height > 1 ? height - 1 : 1));
    input.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof input);
}

void MouseMove(POINT to) { SendMouse(0, to); }
void MouseDown(POINT at) { SendMouse(MOUSEEVENTF_LEFTDOWN, at); }
void MouseUp(POINT at) { SendMouse(MOUSEEVENTF_LEFTUP, at); }

// Pressed at from, moved to to in small steps, as a hand moves (some
// controls look for the movement, not only for where it ends), let go. The
// hand is another thread: a press on a title bar starts the window's own
// move loop on this thread, which runs until the button comes up, so this
// thread keeps pumping while the hand moves.
struct DragPath {
    POINT from, to;
    // Where a dragged window's top left corner must be before the hand lets
    // go: a slow machine's move loop can still be a few movements behind
    // when the button comes up, and leaves the window short of the place.
    HWND window;
    POINT windowTo;
};

bool WindowArrived(const DragPath& path) {
    if (!path.window) return true;
    RECT frame = {};
    GetWindowRect(path.window, &frame);
    return frame.left == path.windowTo.x && frame.top == path.windowTo.y;
}

DWORD WINAPI MoveTheHand(LPVOID pathPointer) {
    const DragPath& path = *static_cast<DragPath*>(pathPointer);
    MouseMove(path.from);
    MouseDown(path.from);
    Sleep(100);
    const int steps = 8;
    for (int i = 1; i <= steps; ++i) {
        POINT at = {path.from.x + (path.to.x - path.from.x) * i / steps,
                    path.from.y + (path.to.y - path.from.y) * i / steps};
        MouseMove(at);
        Sleep(50);
    }
    const DWORD deadline = GetTickCount() + 5000;
    while (!WindowArrived(path) && GetTickCount() < deadline) {
        MouseMove(path.to);
        Sleep(50);
    }
    MouseUp(path.to);
    return 0;
}

void Drag(POINT from, POINT to, HWND window = nullptr, POINT windowTo = POINT{0, 0}) {
    DragPath path = {from, to, window, windowTo};
    HANDLE hand = CreateThread(nullptr, 0, MoveTheHand, &path, 0, nullptr);
    if (!hand) return;
    const DWORD deadline = GetTickCount() + 20000;
    while (MsgWaitForMultipleObjects(1, &hand, FALSE, 100, QS_ALLINPUT) != WAIT_OBJECT_0 &&
           GetTickCount() < deadline)
        SimPlatformPumpMessages();
    WaitForSingleObject(hand, 20000);
    CloseHandle(hand);
    Settle();
}

POINT ControlCentre(HWND window, int id) {
    RECT frame = {};
    GetWindowRect(GetDlgItem(window, id), &frame);
    return POINT{(frame.left + frame.right) / 2, (frame.top + frame.bottom) / 2};
}

std::string Text(HWND window) {
    char text[256] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

}  // namespace

SimControlWindowView SimControlWindow() {
    SimControlWindowView view;
    HWND window = ControlWindowHandle();
    if (!window) return view;
    view.exists = true;
    view.visible = IsWindowVisible(window) != 0;
    RECT frame = {}, client = {};
    GetWindowRect(window, &frame);
    GetClientRect(window, &client);
    view.left = frame.left;
    view.top = frame.top;
    view.clientWidth = client.right - client.left;
    view.clientHeight = client.bottom - client.top;
    view.title = Text(window);
    HWND slider = GetDlgItem(window, SliderId);
    view.slider = static_cast<uint32_t>(SendMessageA(slider, TBM_GETPOS, 0, 0));
    view.speedText = Text(GetDlgItem(window, SpeedLabelId));
    view.loopChecked = IsDlgButtonChecked(window, LoopButtonId) == BST_CHECKED;
    // The count includes the two marks at the slider's ends, which the list leaves out.
    const LRESULT count = SendMessageA(slider, TBM_GETNUMTICS, 0, 0) - 2;
    const DWORD* marks = reinterpret_cast<const DWORD*>(SendMessageA(slider, TBM_GETPTICS, 0, 0));
    for (LRESULT i = 0; marks && i < count; ++i) view.marks.push_back(marks[i]);
    return view;
}

bool SimMainWindowActive() { return GetActiveWindow() == static_cast<HWND>(SimMainWindow()); }

void SimActivateMainWindow() {
    HWND main = static_cast<HWND>(SimMainWindow());
    if (!main) return;
    SetForegroundWindow(main);
    SetActiveWindow(main);
    Settle();
}

void SimHoldControl(uint32_t id, bool held) {
    HWND window = ControlWindowHandle();
    if (!window) return;
    const POINT at = ControlCentre(window, static_cast<int>(id));
    MouseMove(at);
    if (held)
        MouseDown(at);
    else
        MouseUp(at);
    Settle();
}

void SimClickControl(uint32_t id) {
    SimHoldControl(id, true);
    SimHoldControl(id, false);
}

uint32_t SimDragSlider(uint32_t position) {
    HWND window = ControlWindowHandle();
    if (!window) return 0;
    HWND slider = GetDlgItem(window, SliderId);
    RECT thumb = {}, channel = {};
    SendMessageA(slider, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    SendMessageA(slider, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
    const LONG range = static_cast<LONG>(SendMessageA(slider, TBM_GETRANGEMAX, 0, 0));
    POINT from = {(thumb.left + thumb.right) / 2, (thumb.top + thumb.bottom) / 2};
    // The thumb's centre runs over the channel less half a thumb at either end.
    const LONG thumbWidth = thumb.right - thumb.left;
    const LONG travel = channel.right - channel.left - thumbWidth;
    POINT to = {channel.left + thumbWidth / 2 + (range > 0 ? travel * static_cast<LONG>(position) / range : 0), from.y};
    ClientToScreen(slider, &from);
    ClientToScreen(slider, &to);
    Drag(from, to);
    return static_cast<uint32_t>(SendMessageA(slider, TBM_GETPOS, 0, 0));
}

void SimMoveControlWindow(int32_t left, int32_t top) {
    HWND window = ControlWindowHandle();
    if (!window) return;
    RECT frame = {};
    GetWindowRect(window, &frame);
    POINT client = {0, 0};
    ClientToScreen(window, &client);
    // Halfway down the title bar, in the middle.
    POINT from = {(frame.left + frame.right) / 2, (frame.top + client.y) / 2};
    POINT to = {from.x + (left - frame.left), from.y + (top - frame.top)};
    Drag(from, to, window, POINT{left, top});
}

bool SimCaptureControlWindow(const std::string& path) {
    HWND window = ControlWindowHandle();
    return window && IsWindowVisible(window) && SimCaptureWindow(window, path);
}

void SimTypeKey(int virtualKey) {
    const BYTE key = static_cast<BYTE>(virtualKey);
    const BYTE scan = static_cast<BYTE>(MapVirtualKeyA(key, 0));
    keybd_event(key, scan, 0, 0);
    Settle();
    keybd_event(key, scan, KEYEVENTF_KEYUP, 0);
    Settle();
}
