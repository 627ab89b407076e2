// What a Windows user without a command line gets: a recording or folder
// dropped on aerotrace.exe opens as a report or logbook in the browser, and
// a window Explorer opened stays until Enter is pressed.
#pragma once

#include <string>

// True when this process has its console to itself: Explorer started it (a
// double-click or a drop) and the window closes when it ends.
bool OwnsConsoleAlone();
void WaitForEnter();
// Opens the page in the default browser (AEROTRACE_OPENER names another
// program to hand it to); false when it could not be started.
bool OpenInBrowser(const std::string& path);
