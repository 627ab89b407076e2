// What the Windows stand-in's source files share among themselves: the
// simulator's own menu bar, and the watcher that answers the module's
// dialogs as the user would.
#pragma once

#include <windows.h>

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
