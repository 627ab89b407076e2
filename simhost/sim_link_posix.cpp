// Native linkage of the stand-in: the module is the shared library the
// program links, so loading it means giving the library its data as a fresh
// load has it, attaching it, filling its ImportTable and calling ModuleInit
// through its exported records, as the simulator does with the DLL; the
// user's answers come from the queues through the platform hooks.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "core/host/entry_records.h"
#include "core/module.h"
#include "platform/posix/posix_hooks.h"
#include "sim_internal.h"
#include "sim_module_posix.h"

static bool loaded;
static ModuleLibrary library;
static int mainWindowToken;

static int AnswerMessageBox(WindowHandle owner, const char* text, const char* caption, uint32_t flags) {
    SimLogEntry& entry = SimAppendLog(LogMessageBox);
    entry.text = text ? text : "";
    entry.caption = caption ? caption : "";
    entry.a = flags;
    entry.owner = owner;
    if (!world.messageBoxAnswers.empty()) {
        int answer = world.messageBoxAnswers.front();
        world.messageBoxAnswers.pop_front();
        return answer;
    }
    return (flags & 0x0F) == BoxYesNo ? AnswerYes : AnswerOk;
}

static WindowHandle FindWindowHook(const char* className) {
    if (std::strcmp(className, "FS98MAIN") != 0 || !world.config.mainWindowPresent) return nullptr;
    return &mainWindowToken;
}

// The common dialogs leave the folder the user chose in as the process's
// current directory (unless told not to); the stand-in does the same, so
// that a module that does not put its directory back is caught.
static void EnterChosenFolder(const std::vector<std::string>& paths) {
    std::string folder = paths.front();
    if (paths.size() == 1) {
        size_t slash = folder.find_last_of("\\/");
        folder = slash == std::string::npos ? std::string() : folder.substr(0, slash);
    }
    for (char& c : folder)
        if (c == '\\') c = '/';
    if (!folder.empty() && chdir(folder.c_str()) != 0) return;  // a folder that is not there: stay
}

// Fills the buffer the way the common dialogs do: one path, or a folder
// followed by names, each terminated, then an empty string.
static int AnswerFileDialog(const FileDialogRequest* request, uint32_t flags, char* buffer, uint32_t size) {
    std::vector<std::string> paths;
    if (!world.fileDialogAnswers.empty()) {
        paths = world.fileDialogAnswers.front();
        world.fileDialogAnswers.pop_front();
    }
    SimLogEntry& entry = SimAppendLog(LogFileDialog);
    entry.caption = request->title ? request->title : "";
    entry.owner = request->owner;
    entry.a = flags;
    entry.filter = std::string(request->filterDescription) + "|" + request->filterPattern + "|";
    entry.defaultExtension = request->defaultExtension ? request->defaultExtension : "";
    std::string packed;
    for (const std::string& path : paths) {
        packed += path;
        packed.push_back('\0');
    }
    entry.text = paths.empty() ? "" : paths.front();
    if (paths.empty() || paths.front().empty()) return 0;
    if (paths.size() > 1) packed.push_back('\0');
    if (packed.size() + 1 > size) return 0;  // as the dialog does when the buffer is too small
    std::memset(buffer, 0, size);
    std::memcpy(buffer, packed.data(), packed.size());
    EnterChosenFolder(paths);
    return 1;
}

// The host's own procedure of its main window: it logs the messages a test
// sends it, as the Windows stand-in's window does.
static intptr_t HostWindowProcedure(WindowHandle, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    if (message == 0x0111 || message == 0x0100 || message == 0x0101) {  // WM_COMMAND, WM_KEYDOWN, WM_KEYUP
        SimLogEntry& entry = SimAppendLog(LogHostMessage);
        entry.a = message;
        entry.b = wParam;
        entry.c = static_cast<uint64_t>(lParam);
    }
    return 0;
}

// The procedure the main window runs now: the host's, or the module's once
// it has taken the window over.
static PosixWindowProcedure mainWindowProcedure = HostWindowProcedure;

static PosixWindowProcedure SubclassHook(WindowHandle window, PosixWindowProcedure procedure) {
    if (window != &mainWindowToken) return nullptr;
    PosixWindowProcedure previous = mainWindowProcedure;
    mainWindowProcedure = procedure;
    return previous;
}

static int16_t KeyStateHook(int virtualKey) { return SimKeyHeld(virtualKey) ? static_cast<int16_t>(0x8000) : 0; }

void SimPlatformReset() {}
void SimPlatformLock() {}
void SimPlatformUnlock() {}
void SimPlatformSetKeyHeld(int, bool) {}

bool SimLoadModule() {
    library = SimFindModuleLibrary();
    if (!library.linkage || !library.importTable || !SimRestoreModuleImage()) {
        std::fprintf(stderr, "the stand-in found no module library in this program\n");
        return false;
    }
    PosixHostHooks hooks{};
    hooks.messageBox = AnswerMessageBox;
    hooks.findWindow = FindWindowHook;
    hooks.asyncKeyState = KeyStateHook;
    hooks.fileDialog = AnswerFileDialog;
    hooks.subclassWindow = SubclassHook;
    SimSetDialogHooks(&hooks);
    PosixSetHostHooks(hooks);
    // A fresh main window, as the simulator has when it starts.
    mainWindowProcedure = HostWindowProcedure;
    if (!ModuleProcessAttach(&mainWindowToken)) return false;
    ImportEntry* imports = library.importTable;
    for (int i = 0; i < HostInterfaceCount; ++i)
        imports[i].interfacePointer = i == world.config.missingInterface ? nullptr : SimInterfacePointer(imports[i].moduleId);
    library.linkage->moduleInit();
    loaded = true;
    return true;
}

void SimUnloadModule() {
    if (!loaded) return;
    library.linkage->moduleDeinit();
    loaded = false;
    // The module goes with its window, as when the simulator closes.
    mainWindowProcedure = HostWindowProcedure;
}

bool SimModuleLoaded() { return loaded; }
void SimPlatformPumpMessages() {}
void SimPlatformCollect() {}

void* SimMainWindow() { return &mainWindowToken; }
intptr_t SimSendMainWindowMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    return mainWindowProcedure(&mainWindowToken, message, wParam, lParam);
}

// No menu bar natively: the module's menu is Win32 code.
bool SimHasMenuBar() { return false; }
std::vector<std::string> SimMenuBarTitles() { return {}; }
std::vector<SimMenuItem> SimModuleMenuItems() { return {}; }
void SimAddMenuBarItem(const std::string&) {}
void SimRebuildMenuBar() {}
void SimRepaintFrame() { SimSendMainWindowMessage(0x0085, 1, 0); }  // WM_NCPAINT, whole frame
bool SimShowModuleMenu(double) { return false; }
void SimOpenModuleSubMenu(const std::string&) {}
bool SimPictureModuleSubMenu(const std::string&, const std::string&) { return false; }

void SimEnterDirectory(const std::string& path) {
    mkdir(path.c_str(), 0777);
    if (chdir(path.c_str()) != 0) return;
    mkdir("Modules", 0777);
}

std::string SimCurrentDirectory() {
    char buffer[4096];
    return getcwd(buffer, sizeof buffer) ? std::string(buffer) : std::string(".");
}

void SimChangeDirectory(const std::string& path) {
    if (chdir(path.c_str()) != 0) std::perror(path.c_str());
}

void SimSetModulePath(const std::string&) {}

void SimHoldFileLocked(const std::string& path) { std::remove(path.c_str()); }
