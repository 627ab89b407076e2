// Windows linkage of the stand-in, as FS2004 does it: a real top-level
// window of class "FS98MAIN" with a menu bar, LoadLibrary of the module,
// ImportTable filled through GetProcAddress, frames inside a real message
// loop. A watcher thread plays the user: it reads every dialog the module
// opens and presses the queued answer.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <deque>
#include <stdexcept>
#include <string>

#include "core/module.h"
#include "sim_internal.h"

namespace {

HWND mainWindow;
HMODULE library;
ModuleLinkage* linkage;
std::string modulePath = "Aerotrace.dll";
CRITICAL_SECTION lock;
bool lockReady;

// Dialogs the watcher saw, merged into the log by the main thread.
std::vector<SimLogEntry> seenDialogs;

void Lock() {
    if (!lockReady) {
        InitializeCriticalSection(&lock);
        lockReady = true;
    }
    EnterCriticalSection(&lock);
}
void Unlock() { LeaveCriticalSection(&lock); }

LRESULT CALLBACK HostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND || message == WM_KEYDOWN || message == WM_KEYUP) {
        SimLogEntry& entry = SimAppendLog(LogHostMessage);
        entry.a = message;
        entry.b = wParam;
        entry.c = static_cast<uint64_t>(lParam);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HMENU HostMenu() {
    HMENU popup = CreatePopupMenu();
    AppendMenuA(popup, MF_STRING, 40000, "(stand-in)");
    return popup;
}

// The simulator's own menu bar, as it builds it.
HMENU BuildHostMenuBar() {
    HMENU bar = CreateMenu();
    const char* const titles[] = {"Flights", "World", "Aircraft", "Views", "Options", "Help"};
    for (const char* title : titles) AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(HostMenu()), title);
    return bar;
}

std::string MenuText(HMENU menu, int position) {
    char text[256] = "";
    GetMenuStringA(menu, static_cast<UINT>(position), text, sizeof text, MF_BYPOSITION);
    return text;
}

// Position of the module's popup on the bar, -1 when there is none.
int ModuleMenuPosition(HMENU bar) {
    int count = bar ? GetMenuItemCount(bar) : 0;
    for (int position = 0; position < count; ++position)
        if (MenuText(bar, position) == "Aerotrace") return position;
    return -1;
}

void CALLBACK CloseMenuLater(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    EndMenu();
}

void CreateMainWindow() {
    static bool registered;
    if (!registered) {
        INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES | ICC_UPDOWN_CLASS | ICC_HOTKEY_CLASS};
        InitCommonControlsEx(&controls);
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = HostWindowProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "FS98MAIN";
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        RegisterClassA(&windowClass);
        registered = true;
    }
    mainWindow = CreateWindowA("FS98MAIN", "Microsoft Flight Simulator 2004 (stand-in)", WS_OVERLAPPEDWINDOW,
                               20, 20, 800, 600, nullptr, BuildHostMenuBar(), GetModuleHandleA(nullptr), nullptr);
    ShowWindow(mainWindow, SW_SHOWNORMAL);
    UpdateWindow(mainWindow);
}

std::string WindowText(HWND window) {
    char text[1024] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

// Which of the system icons the box shows, as its MB_ICON flag.
uint32_t IconFlag(HWND box) {
    HWND iconControl = GetDlgItem(box, 0x440);
    if (!iconControl) return 0;
    HICON shown = reinterpret_cast<HICON>(SendMessageA(iconControl, STM_GETICON, 0, 0));
    if (shown == LoadIcon(nullptr, IDI_HAND)) return MB_ICONERROR;
    if (shown == LoadIcon(nullptr, IDI_QUESTION)) return MB_ICONQUESTION;
    if (shown == LoadIcon(nullptr, IDI_EXCLAMATION)) return MB_ICONWARNING;
    if (shown == LoadIcon(nullptr, IDI_ASTERISK)) return MB_ICONINFORMATION;
    return 0;
}

// A message box: press the queued answer (or its default button).
void AnswerMessageBox(HWND box) {
    SimLogEntry entry{};
    entry.kind = LogMessageBox;
    entry.caption = WindowText(box);
    entry.text = WindowText(GetDlgItem(box, 0xFFFF));
    entry.owner = GetWindow(box, GW_OWNER);
    bool yesNo = GetDlgItem(box, IDYES) != nullptr;
    entry.a = (yesNo ? MB_YESNO : MB_OK) | IconFlag(box);
    int answer = yesNo ? IDYES : IDOK;
    Lock();
    if (!world.messageBoxAnswers.empty()) {
        answer = world.messageBoxAnswers.front();
        world.messageBoxAnswers.pop_front();
    }
    seenDialogs.push_back(entry);
    Unlock();
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, answer)));
}

// A dialog made from the module's own templates (not a message box or a
// common dialog, which belong to the system's libraries).
bool IsModuleDialog(HWND window) {
    return library && reinterpret_cast<HMODULE>(GetWindowLongPtrA(window, GWLP_HINSTANCE)) == library;
}

BOOL CALLBACK VisitWindow(HWND window, LPARAM) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != GetCurrentProcessId() || !IsWindowVisible(window)) return TRUE;
    char className[64] = "";
    GetClassNameA(window, className, sizeof className);
    if (std::strcmp(className, "#32770") != 0) return TRUE;
    if (IsModuleDialog(window)) {
        SimAnswerModuleDialog(window);
        return TRUE;
    }
    static HWND lastAnswered;
    static DWORD lastTime;
    if (window == lastAnswered && GetTickCount() - lastTime < 2000) return TRUE;
    lastAnswered = window;
    lastTime = GetTickCount();
    AnswerMessageBox(window);
    return TRUE;
}

DWORD WINAPI WatchDialogs(LPVOID) {
    for (;;) {
        EnumWindows(VisitWindow, 0);
        Sleep(20);
    }
    return 0;
}

void StartWatcher() {
    static bool started;
    if (started) return;
    Lock();
    Unlock();
    CreateThread(nullptr, 0, WatchDialogs, nullptr, 0, nullptr);
    started = true;
}

// Wine opens a Unix path only when it is spelled as a drive path.
std::string WindowsPath(const std::string& path) {
    if (path.empty() || path[0] != '/') return path;
    std::string result = "Z:" + path;
    for (char& c : result)
        if (c == '/') c = '\\';
    return result;
}

}  // namespace

void SimPlatformLock() { Lock(); }
void SimPlatformUnlock() { Unlock(); }

void SimPlatformStageLog(const SimLogEntry& entry) {
    Lock();
    seenDialogs.push_back(entry);
    Unlock();
}

void SimPlatformReset() {
    StartWatcher();
    if (!mainWindow && world.config.mainWindowPresent) CreateMainWindow();
    if (mainWindow && !world.config.mainWindowPresent) {
        DestroyWindow(mainWindow);
        mainWindow = nullptr;
    }
}

bool SimLoadModule() {
    library = LoadLibraryA(WindowsPath(modulePath).c_str());
    SimPlatformPumpMessages();
    if (!library) return false;
    linkage = reinterpret_cast<ModuleLinkage*>(GetProcAddress(library, "Linkage"));
    ImportEntry* imports = reinterpret_cast<ImportEntry*>(GetProcAddress(library, "ImportTable"));
    if (!linkage || !imports) {
        FreeLibrary(library);
        library = nullptr;
        return false;
    }
    for (int i = 0; i < HostInterfaceCount; ++i)
        imports[i].interfacePointer =
            i == world.config.missingInterface ? nullptr : SimInterfacePointer(imports[i].moduleId);
    linkage->moduleInit();
    SimPlatformPumpMessages();
    return true;
}

void SimUnloadModule() {
    if (!library) return;
    linkage->moduleDeinit();
    SimPlatformPumpMessages();
    // FS2004 unloads its modules only when it closes: the main window and
    // its subclassed procedure go with the library.
    if (mainWindow) {
        DestroyWindow(mainWindow);
        mainWindow = nullptr;
    }
    FreeLibrary(library);
    library = nullptr;
}

bool SimModuleLoaded() { return library != nullptr; }

// GetAsyncKeyState reports the real keyboard: press the key for real. Its
// own key message reaches the main window before this returns.
void SimPlatformSetKeyHeld(int virtualKey, bool held) {
    if (mainWindow) SetForegroundWindow(mainWindow);
    keybd_event(static_cast<BYTE>(virtualKey), 0, held ? 0 : KEYEVENTF_KEYUP, 0);
    SimPlatformPumpMessages();
}

void SimPlatformPumpMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    SimPlatformCollect();
}

void SimPlatformCollect() {
    if (!lockReady) return;
    Lock();
    std::vector<SimLogEntry> seen;
    seen.swap(seenDialogs);
    Unlock();
    for (SimLogEntry& entry : seen) {
        SimLogEntry& logged = SimAppendLog(entry.kind);
        logged.caption = entry.caption;
        logged.text = entry.text;
        logged.owner = entry.owner;
        logged.a = entry.a;
    }
}

void* SimMainWindow() { return mainWindow; }

intptr_t SimSendMainWindowMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    LRESULT result = SendMessageA(mainWindow, message, wParam, lParam);
    SimPlatformPumpMessages();
    return result;
}

bool SimHasMenuBar() { return mainWindow && GetMenu(mainWindow); }

std::vector<std::string> SimMenuBarTitles() {
    std::vector<std::string> titles;
    HMENU bar = mainWindow ? GetMenu(mainWindow) : nullptr;
    int count = bar ? GetMenuItemCount(bar) : 0;
    for (int position = 0; position < count; ++position) titles.push_back(MenuText(bar, position));
    return titles;
}

static std::vector<SimMenuItem> MenuItems(HMENU popup) {
    std::vector<SimMenuItem> items;
    int count = popup ? GetMenuItemCount(popup) : 0;
    for (int i = 0; i < count; ++i) {
        UINT state = GetMenuState(popup, static_cast<UINT>(i), MF_BYPOSITION);
        SimMenuItem item;
        item.text = MenuText(popup, i);
        item.separator = (state & MF_SEPARATOR) != 0;
        HMENU sub = GetSubMenu(popup, i);
        item.popup = sub != nullptr;
        item.grayed = (state & (MF_GRAYED | MF_DISABLED)) != 0;
        item.checked = (state & MF_CHECKED) != 0;
        UINT id = GetMenuItemID(popup, i);
        item.id = item.separator || item.popup || id == static_cast<UINT>(-1) ? 0 : id;
        if (sub) item.items = MenuItems(sub);
        items.push_back(item);
    }
    return items;
}

std::vector<SimMenuItem> SimModuleMenuItems() {
    HMENU bar = mainWindow ? GetMenu(mainWindow) : nullptr;
    int position = ModuleMenuPosition(bar);
    return position < 0 ? std::vector<SimMenuItem>() : MenuItems(GetSubMenu(bar, position));
}

// The position of the module popup's sub-menu of this title, -1 for none.
static int SubMenuPosition(HMENU popup, const std::string& title) {
    int count = popup ? GetMenuItemCount(popup) : 0;
    for (int i = 0; i < count; ++i)
        if (GetSubMenu(popup, i) && MenuText(popup, i) == title) return i;
    return -1;
}

void SimOpenModuleSubMenu(const std::string& title) {
    HMENU bar = mainWindow ? GetMenu(mainWindow) : nullptr;
    int position = ModuleMenuPosition(bar);
    if (position < 0) return;
    HMENU popup = GetSubMenu(bar, position);
    SendMessageA(mainWindow, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), position);
    int sub = SubMenuPosition(popup, title);
    if (sub >= 0) SendMessageA(mainWindow, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(GetSubMenu(popup, sub)), sub);
    SimPlatformPumpMessages();
}

// What the picture of an open sub-menu needs while the menu runs its loop.
static struct {
    int downPresses;
    std::string path;
    bool saved;
} menuPicture;

static BOOL CALLBACK AddMenuWindow(HWND window, LPARAM rectangle) {
    char name[16] = "";
    GetClassNameA(window, name, sizeof name);
    if (std::strcmp(name, "#32768") != 0 || !IsWindowVisible(window)) return TRUE;
    RECT frame;
    GetWindowRect(window, &frame);
    UnionRect(reinterpret_cast<RECT*>(rectangle), reinterpret_cast<RECT*>(rectangle), &frame);
    return TRUE;
}

static void CALLBACK PictureMenuLater(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    RECT area;
    GetWindowRect(mainWindow, &area);
    area.bottom = area.top;
    EnumWindows(AddMenuWindow, reinterpret_cast<LPARAM>(&area));
    menuPicture.saved = SimSaveScreenPicture(area.left, area.top, area.right - area.left, area.bottom - area.top,
                                             menuPicture.path);
    EndMenu();
}

// The keys a user presses to walk down to the sub-menu and open it.
static void CALLBACK OpenSubMenuLater(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    for (int i = 0; i < menuPicture.downPresses; ++i) {
        PostMessageA(mainWindow, WM_KEYDOWN, VK_DOWN, 1);
        PostMessageA(mainWindow, WM_KEYUP, VK_DOWN, static_cast<LPARAM>(0xC0000001u));
    }
    PostMessageA(mainWindow, WM_KEYDOWN, VK_RIGHT, 1);
    PostMessageA(mainWindow, WM_KEYUP, VK_RIGHT, static_cast<LPARAM>(0xC0000001u));
    SetTimer(nullptr, 0, 1500, PictureMenuLater);
}

bool SimPictureModuleSubMenu(const std::string& title, const std::string& path) {
    HMENU bar = mainWindow ? GetMenu(mainWindow) : nullptr;
    int position = ModuleMenuPosition(bar);
    HMENU popup = position < 0 ? nullptr : GetSubMenu(bar, position);
    int sub = SubMenuPosition(popup, title);
    if (sub < 0) return false;
    // Every item but the separators takes a press of the down arrow.
    menuPicture.downPresses = 0;
    for (int i = 0; i <= sub; ++i)
        if (!(GetMenuState(popup, static_cast<UINT>(i), MF_BYPOSITION) & MF_SEPARATOR)) ++menuPicture.downPresses;
    menuPicture.path = path;
    menuPicture.saved = false;
    RECT titleRect = {};
    GetMenuItemRect(mainWindow, bar, static_cast<UINT>(position), &titleRect);
    SetForegroundWindow(mainWindow);
    HiliteMenuItem(mainWindow, bar, static_cast<UINT>(position), MF_BYPOSITION | MF_HILITE);
    SetTimer(nullptr, 0, 500, OpenSubMenuLater);
    TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_TOPALIGN, titleRect.left, titleRect.bottom, 0, mainWindow, nullptr);
    HiliteMenuItem(mainWindow, bar, static_cast<UINT>(position), MF_BYPOSITION | MF_UNHILITE);
    SimPlatformPumpMessages();
    return menuPicture.saved;
}

void SimAddMenuBarItem(const std::string& title) {
    HMENU bar = mainWindow ? GetMenu(mainWindow) : nullptr;
    if (!bar) return;
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(HostMenu()), title.c_str());
    DrawMenuBar(mainWindow);
    SimPlatformPumpMessages();
}

void SimRebuildMenuBar() {
    if (!mainWindow) return;
    HMENU old = GetMenu(mainWindow);
    SetMenu(mainWindow, BuildHostMenuBar());
    if (old) DestroyMenu(old);
    SimPlatformPumpMessages();
}

void SimRepaintFrame() {
    if (!mainWindow) return;
    RedrawWindow(mainWindow, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    SimPlatformPumpMessages();
}

bool SimShowModuleMenu(double seconds) {
    HMENU bar = mainWindow ? GetMenu(mainWindow) : nullptr;
    int position = ModuleMenuPosition(bar);
    if (position < 0) return false;
    RECT title = {};
    GetMenuItemRect(mainWindow, bar, static_cast<UINT>(position), &title);
    SetForegroundWindow(mainWindow);
    HiliteMenuItem(mainWindow, bar, static_cast<UINT>(position), MF_BYPOSITION | MF_HILITE);
    SetTimer(nullptr, 0, static_cast<UINT>(seconds * 1000.0), CloseMenuLater);
    TrackPopupMenu(GetSubMenu(bar, position), TPM_LEFTALIGN | TPM_TOPALIGN, title.left, title.bottom, 0, mainWindow,
                   nullptr);
    HiliteMenuItem(mainWindow, bar, static_cast<UINT>(position), MF_BYPOSITION | MF_UNHILITE);
    SimPlatformPumpMessages();
    return true;
}

void SimEnterDirectory(const std::string& path) {
    std::string windowsPath = WindowsPath(path);
    CreateDirectoryA(windowsPath.c_str(), nullptr);
    if (!SetCurrentDirectoryA(windowsPath.c_str())) return;
    CreateDirectoryA("Modules", nullptr);
}

std::string SimCurrentDirectory() {
    char buffer[MAX_PATH] = ".";
    GetCurrentDirectoryA(sizeof buffer, buffer);
    return buffer;
}

void SimChangeDirectory(const std::string& path) { SetCurrentDirectoryA(WindowsPath(path).c_str()); }

void SimSetModulePath(const std::string& path) { modulePath = path; }

// The module is a separate library here: its commands arrive as menu
// messages once it has a menu. Until then a test that needs one fails (the
// test framework reports the exception and goes on with the next test).
void SimModuleCommand(const char* name) {
    throw std::logic_error(std::string("SimModuleCommand(\"") + name +
                           "\") needs the module's menu, which the Windows stand-in cannot reach yet");
}
