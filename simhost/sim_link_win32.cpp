// Windows linkage of the stand-in, as FS2004 does it: a real top-level
// window of class "FS98MAIN" with a menu bar, LoadLibrary of the module,
// ImportTable filled through GetProcAddress, frames inside a real message
// loop, keys pressed on the real keyboard; and the lock and staged log that
// the threads answering dialogs share with the main thread. Message boxes
// and file dialogs are answered in sim_answers_win32.cpp, the module's own
// dialogs in sim_dialogs_win32.cpp, the menu bar is in sim_menu_bar_win32.cpp.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "core/module.h"
#include "sim_internal.h"
#include "sim_win32.h"

namespace {

HWND mainWindow;
HMODULE library;
ModuleLinkage* linkage;
std::string modulePath = "Aerotrace.dll";
std::vector<HANDLE> lockedFiles;  // held by "another program" until the next reset

// The host's own procedure of its main window: it logs what reaches it.
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
    mainWindow = CreateWindowA("FS98MAIN", "Microsoft Flight Simulator 2004 (stand-in)", WS_OVERLAPPEDWINDOW, 20, 20,
                               800, 600, nullptr, SimBuildHostMenuBar(), GetModuleHandleA(nullptr), nullptr);
    ShowWindow(mainWindow, SW_SHOWNORMAL);
    UpdateWindow(mainWindow);
}

std::string simulatorFolder;

// A recursive lock, ready before any other thread runs.
CRITICAL_SECTION& Lock() {
    static CRITICAL_SECTION lock;
    static bool ready;
    if (!ready) {
        InitializeCriticalSection(&lock);
        ready = true;
    }
    return lock;
}
std::vector<SimLogEntry> stagedLog;  // made on other threads, not yet in the log

}  // namespace

void SimPlatformLock() { EnterCriticalSection(&Lock()); }
void SimPlatformUnlock() { LeaveCriticalSection(&Lock()); }

void SimPlatformStageLog(const SimLogEntry& entry) {
    SimPlatformLock();
    stagedLog.push_back(entry);
    SimPlatformUnlock();
}

void SimPlatformCollect() {
    SimPlatformLock();
    std::vector<SimLogEntry> staged;
    staged.swap(stagedLog);
    SimPlatformUnlock();
    for (const SimLogEntry& entry : staged) {
        SimLogEntry& logged = SimAppendLog(entry.kind);
        const uint64_t frame = logged.frame;
        logged = entry;
        logged.frame = frame;
    }
}

HMODULE SimModuleLibrary() { return library; }

std::string SimWindowsPath(const std::string& path) {
    if (path.empty() || path[0] != '/') return path;
    std::string result = "Z:" + path;
    for (char& c : result)
        if (c == '/') c = '\\';
    return result;
}

std::string SimSimulatorFolder() { return simulatorFolder; }

void SimPlatformReset() {
    Lock();
    SimStartDialogWatcher();
    SimRestoreThousandsSeparator();
    for (HANDLE file : lockedFiles) CloseHandle(file);
    lockedFiles.clear();
    if (!mainWindow && world.config.mainWindowPresent) CreateMainWindow();
    if (mainWindow && !world.config.mainWindowPresent) {
        DestroyWindow(mainWindow);
        mainWindow = nullptr;
    }
}

bool SimLoadModule() {
    library = LoadLibraryA(SimWindowsPath(modulePath).c_str());
    SimPlatformPumpMessages();
    if (!library) return false;
    SimWatchFileDialogCalls(library);
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

// GetAsyncKeyState reports the real keyboard: press the key for real. The
// state it reports may lag the input by a moment (Wine keeps it for a few
// milliseconds per thread), so this waits until the key reads as pressed or
// released before the module can look.
void SimPlatformSetKeyHeld(int virtualKey, bool held) {
    if (mainWindow) SetForegroundWindow(mainWindow);
    keybd_event(static_cast<BYTE>(virtualKey), 0, held ? 0 : KEYEVENTF_KEYUP, 0);
    for (int wait = 0; wait < 200 && ((GetAsyncKeyState(virtualKey) & 0x8000) != 0) != held; ++wait) Sleep(10);
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

void* SimMainWindow() { return mainWindow; }

intptr_t SimSendMainWindowMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    LRESULT result = SendMessageA(mainWindow, message, wParam, lParam);
    SimPlatformPumpMessages();
    return result;
}

void SimEnterDirectory(const std::string& path) {
    std::string windowsPath = SimWindowsPath(path);
    CreateDirectoryA(windowsPath.c_str(), nullptr);
    if (!SetCurrentDirectoryA(windowsPath.c_str())) return;
    simulatorFolder = SimCurrentDirectory();
    CreateDirectoryA("Modules", nullptr);
}

std::string SimCurrentDirectory() {
    char buffer[MAX_PATH] = ".";
    GetCurrentDirectoryA(sizeof buffer, buffer);
    return buffer;
}

void SimChangeDirectory(const std::string& path) {
    if (SetCurrentDirectoryA(SimWindowsPath(path).c_str())) simulatorFolder = SimCurrentDirectory();
}

void SimSetModulePath(const std::string& path) { modulePath = path; }

void SimHoldFileLocked(const std::string& path) {
    HANDLE file = CreateFileA(SimWindowsPath(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) lockedFiles.push_back(file);
}
