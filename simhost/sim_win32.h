// What the Windows stand-in's source files share among themselves: the
// simulator's own menu bar, and the watcher that answers the module's
// dialogs as the user would.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

// The simulator's menu bar as it builds it: "Flights" to "Help".
HMENU SimBuildHostMenuBar();
// Starts the thread that answers message boxes and file dialogs and hands
// the module's dialogs to their driver; returns once it runs.
void SimStartDialogWatcher();
// Gives the user's locale back the thousands separator it had before
// SimSetThousandsSeparator changed it (sim_dialogs_win32.cpp).
void SimRestoreThousandsSeparator();
// The folder the simulator runs in (the latest SimEnterDirectory or
// SimChangeDirectory), where relative paths of the user's answers lead.
std::string SimSimulatorFolder();
// Wine opens a Unix path only when it is spelled as a drive path.
std::string SimWindowsPath(const std::string& path);
// The module's library while it is loaded, else null.
HMODULE SimModuleLibrary();

// What the module passed to GetOpenFileNameA or GetSaveFileNameA last.
struct SimFileDialogCall {
    uint32_t flags;
    std::string filter;  // each NUL as "|"
    std::string defaultExtension;
};
// Points the loaded module's imports of the two file dialogs at wrappers
// that keep what each call asks (sim_file_dialog_calls_win32.cpp).
void SimWatchFileDialogCalls(HMODULE library);
// The call the module made since the last take, if any.
bool SimTakeFileDialogCall(SimFileDialogCall* call);
