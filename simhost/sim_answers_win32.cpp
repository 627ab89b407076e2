// The user at the Windows stand-in's message boxes and file dialogs: a
// watcher thread finds every one the module opens and presses the answer a
// test queued; the module's own dialogs it hands to their driver
// (sim_dialogs_win32.cpp). The main thread sits in the dialog's modal loop
// meanwhile; the watcher hands it each sighting through a message to a
// window of its own, so that the log and the answer queues are touched on
// the main thread only, and the sighting lands in the log where the dialog
// was open (between ModalBegin and ModalEnd).
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "sim_internal.h"
#include "sim_win32.h"

namespace {

// Controls of the dialogs, by their standard ids.
const int StaticText = 0xFFFF;  // a message box's text
const int IconStatic = 0x440;   // its icon
const int FileNameCombo = 0x47C;  // the explorer-style file dialog's name box
const int FileNameEdit = 0x480;   // the old-style one's

const UINT SightingMessage = WM_APP + 17;
const char* const AnsweredProperty = "AerotraceStandInAnswered";

enum SightingKind { SightMessageBox, SightFileDialog };

// What the watcher saw, and what the main thread answers.
struct Sighting {
    SightingKind kind;
    std::string caption;
    std::string text;  // the message box's text
    HWND owner;
    uint32_t flags;  // MB_ style of the box as it shows
    // Answers.
    int button;                      // the button to press
    std::vector<std::string> paths;  // for a file dialog: one path, or a folder and names
};

HWND answerWindow;  // the main thread's window that takes sightings
HANDLE watcherRunning;

std::string WindowText(HWND window) {
    char text[1024] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

// The system icons a message box may show, with their MB_ICON flags. Loaded
// once on the main thread: loading a resource takes the loader lock, which
// the module's DllMain holds while it shows its message, so the watcher
// must never load one itself.
struct SystemIcon {
    HICON icon;
    uint32_t flag;
};
SystemIcon systemIcons[4];

void LoadSystemIcons() {
    const struct {
        LPCSTR name;
        uint32_t flag;
    } icons[] = {{IDI_HAND, MB_ICONERROR},
                 {IDI_QUESTION, MB_ICONQUESTION},
                 {IDI_EXCLAMATION, MB_ICONWARNING},
                 {IDI_ASTERISK, MB_ICONINFORMATION}};
    for (int i = 0; i < 4; ++i) systemIcons[i] = {LoadIconA(nullptr, icons[i].name), icons[i].flag};
}

// Which of the system icons the box shows, as its MB_ICON flag.
uint32_t IconFlag(HWND box) {
    HWND iconControl = GetDlgItem(box, IconStatic);
    if (!iconControl) return 0;
    DWORD_PTR shown = 0;
    if (!SendMessageTimeoutA(iconControl, STM_GETICON, 0, 0, SMTO_NORMAL, 20000, &shown)) return 0;
    for (const SystemIcon& system : systemIcons)
        if (reinterpret_cast<HICON>(shown) == system.icon) return system.flag;
    return 0;
}

// A path as the user's choice gives it: whole. A relative answer means the
// simulator's folder, not whichever folder the dialog shows first (it opens
// on the folder used last, and makes that the current directory as it
// opens). Wine opens a Unix path only when it is spelled as a drive path.
std::string FullPath(const std::string& path) {
    std::string result = SimWindowsPath(path);
    for (char& c : result)
        if (c == '/') c = '\\';
    const bool relative = result.size() < 2 || (result[1] != ':' && result[0] != '\\');
    return relative ? SimWindowsPath(SimSimulatorFolder()) + "\\" + result : result;
}

// On the main thread, inside the dialog's modal loop: logs the sighting and
// takes its answer from the queues.
void TakeSighting(Sighting* sighting) {
    if (sighting->kind == SightFileDialog) {
        SimLogEntry& entry = SimAppendLog(LogFileDialog);
        entry.caption = sighting->caption;
        entry.owner = sighting->owner;
        SimFileDialogCall call;
        if (SimTakeFileDialogCall(&call)) {
            entry.a = call.flags;
            entry.filter = call.filter;
            entry.defaultExtension = call.defaultExtension;
        }
        if (!world.fileDialogAnswers.empty()) {
            sighting->paths = world.fileDialogAnswers.front();
            world.fileDialogAnswers.pop_front();
        }
        entry.text = sighting->paths.empty() ? "" : sighting->paths.front();
        sighting->button = sighting->paths.empty() || sighting->paths.front().empty() ? IDCANCEL : IDOK;
        // One path, or the folder of several names, made whole here, where
        // the current directory is still the simulator's.
        if (sighting->button == IDOK) sighting->paths.front() = FullPath(sighting->paths.front());
        return;
    }
    SimLogEntry& entry = SimAppendLog(LogMessageBox);
    entry.caption = sighting->caption;
    entry.text = sighting->text;
    entry.owner = sighting->owner;
    entry.a = sighting->flags;
    sighting->button = (sighting->flags & 0x0F) == MB_YESNO ? IDYES : IDOK;
    if (!world.messageBoxAnswers.empty()) {
        sighting->button = world.messageBoxAnswers.front();
        world.messageBoxAnswers.pop_front();
    }
}

LRESULT CALLBACK AnswerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == SightingMessage) {
        TakeSighting(reinterpret_cast<Sighting*>(lParam));
        return 1;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// Sends to a window of the main thread and waits, but never for ever: a
// main thread that stopped pumping fails the test instead of hanging it.
bool SendBounded(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR* result = nullptr) {
    DWORD_PTR ignored = 0;
    return SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, 20000, result ? result : &ignored) != 0;
}

void Press(HWND dialog, int button) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)));
}

void TypeFileName(HWND dialog, const std::string& text) {
    for (int id : {FileNameCombo, FileNameEdit})
        if (HWND control = GetDlgItem(dialog, id))
            SendBounded(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

// The folder the dialog shows now ("" when it does not tell).
std::string DialogFolder(HWND dialog) {
    char folder[MAX_PATH] = "";
    DWORD_PTR length = 0;
    if (!SendBounded(dialog, CDM_GETFOLDERPATH, sizeof folder, reinterpret_cast<LPARAM>(folder), &length)) return "";
    return folder;
}

// One path: typed and confirmed. A folder and names: the folder is opened
// first, then the names are typed in quotes, as a user selects several.
void AnswerFileDialog(HWND dialog, const Sighting& sighting) {
    if (sighting.button != IDOK) {
        Press(dialog, IDCANCEL);
        return;
    }
    if (sighting.paths.size() == 1) {
        TypeFileName(dialog, sighting.paths.front());
        Press(dialog, IDOK);
        return;
    }
    const std::string& folder = sighting.paths.front();
    if (lstrcmpiA(DialogFolder(dialog).c_str(), folder.c_str()) != 0) {
        TypeFileName(dialog, folder);
        Press(dialog, IDOK);
        for (int wait = 0; wait < 500 && lstrcmpiA(DialogFolder(dialog).c_str(), folder.c_str()) != 0; ++wait)
            Sleep(20);
    }
    std::string names;
    for (size_t i = 1; i < sighting.paths.size(); ++i) names += "\"" + sighting.paths[i] + "\" ";
    TypeFileName(dialog, names);
    Press(dialog, IDOK);
}

// Dialogs stay visible for a moment after the answer is pressed: each is
// answered once.
void Answer(HWND dialog) {
    // The tick of the answer, never 0, kept with the window.
    const DWORD now = GetTickCount() | 1;
    const DWORD answeredAt = static_cast<DWORD>(reinterpret_cast<uintptr_t>(GetPropA(dialog, AnsweredProperty)));
    if (answeredAt) {
        // Still open long after its answer (a file dialog that refused the
        // path, say): cancelled, so that the test fails instead of hanging.
        if (now - answeredAt > 10000) {
            SetPropA(dialog, AnsweredProperty, reinterpret_cast<HANDLE>(static_cast<uintptr_t>(now)));
            Press(dialog, IDCANCEL);
        }
        return;
    }
    SetPropA(dialog, AnsweredProperty, reinterpret_cast<HANDLE>(static_cast<uintptr_t>(now)));

    // A message box shows its text in a static control of id 0xFFFF; a file
    // dialog has its name box.
    Sighting sighting{};
    sighting.kind = GetDlgItem(dialog, FileNameCombo) || GetDlgItem(dialog, FileNameEdit) ? SightFileDialog
                                                                                          : SightMessageBox;
    sighting.caption = WindowText(dialog);
    sighting.owner = GetWindow(dialog, GW_OWNER);
    if (sighting.kind == SightMessageBox) {
        sighting.text = WindowText(GetDlgItem(dialog, StaticText));
        sighting.flags = (GetDlgItem(dialog, IDYES) ? MB_YESNO : MB_OK) | IconFlag(dialog);
    }
    if (!SendBounded(answerWindow, SightingMessage, 0, reinterpret_cast<LPARAM>(&sighting))) return;
    if (sighting.kind == SightFileDialog)
        AnswerFileDialog(dialog, sighting);
    else
        Press(dialog, sighting.button);
}

void VisitDialog(HWND window) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != GetCurrentProcessId() || !IsWindowVisible(window)) return;
    // A dialog made from the module's own templates (message boxes and
    // common dialogs belong to the system's libraries).
    HMODULE module = SimModuleLibrary();
    if (module && reinterpret_cast<HMODULE>(GetWindowLongPtrA(window, GWLP_HINSTANCE)) == module)
        SimAnswerModuleDialog(window);
    else
        Answer(window);
}

// Every top-level dialog window, found by its class: the system looks the
// class up itself, so that a sweep costs little however many other windows
// there are (an emulated machine feels every call into the window system).
DWORD WINAPI WatchDialogs(LPVOID) {
    SetEvent(watcherRunning);
    for (;;) {
        std::vector<HWND> dialogs;
        for (HWND window = nullptr; (window = FindWindowExA(nullptr, window, "#32770", nullptr)) != nullptr;)
            dialogs.push_back(window);
        for (HWND dialog : dialogs) VisitDialog(dialog);
        Sleep(20);
    }
    return 0;
}

}  // namespace

// Before the first LoadLibrary: a thread that is still starting waits for
// the loader lock, which the module's DllMain holds while it shows its
// message, so the watcher must be running when the library loads.
void SimStartDialogWatcher() {
    if (answerWindow) return;
    LoadSystemIcons();
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = AnswerWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "AerotraceStandInAnswers";
    RegisterClassA(&windowClass);
    answerWindow = CreateWindowA(windowClass.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                 windowClass.hInstance, nullptr);
    watcherRunning = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE thread = CreateThread(nullptr, 0, WatchDialogs, nullptr, 0, nullptr);
    WaitForSingleObject(watcherRunning, INFINITE);
    CloseHandle(thread);
}

