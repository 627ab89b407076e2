// The desktop's side of the tool: the console Explorer opens, and the
// default browser (the shell's "open" on Windows, xdg-open elsewhere).
#include "desktop.h"

#include <cstdio>
#include <cstdlib>

#ifdef _WIN32
#include <windows.h>
#include <process.h>
#include <shellapi.h>
#else
#include <spawn.h>
#include <sys/wait.h>
extern char** environ;
#endif

#ifdef _WIN32

bool OwnsConsoleAlone() {
    DWORD processes[2];
    return GetConsoleProcessList(processes, 2) == 1;
}

static bool Run(const char* program, const std::string& path) {
    return _spawnlp(_P_WAIT, program, program, ("\"" + path + "\"").c_str(), static_cast<char*>(nullptr)) == 0;
}

bool OpenInBrowser(const std::string& path) {
    if (const char* opener = std::getenv("AEROTRACE_OPENER")) return Run(opener, path);
    char full[MAX_PATH];
    const DWORD length = GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
    if (length == 0 || length >= sizeof full) return false;
    // Above 32 is success.
    return reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, "open", full, nullptr, nullptr, SW_SHOWNORMAL)) > 32;
}

#else

bool OwnsConsoleAlone() { return false; }

static bool Run(const char* program, const std::string& path) {
    char* arguments[] = {const_cast<char*>(program), const_cast<char*>(path.c_str()), nullptr};
    pid_t child;
    if (posix_spawnp(&child, program, nullptr, nullptr, arguments, environ) != 0) return false;
    int status = 0;
    return waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool OpenInBrowser(const std::string& path) {
    const char* opener = std::getenv("AEROTRACE_OPENER");
    return Run(opener ? opener : "xdg-open", path);
}

#endif

void WaitForEnter() {
    std::printf("\nPress Enter to close this window.");
    std::fflush(stdout);
    for (int c = std::getchar(); c != '\n' && c != EOF; c = std::getchar()) {
    }
}
