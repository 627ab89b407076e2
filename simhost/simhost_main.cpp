// The stand-in simulator as a program: loads the module the way FS2004 does,
// flies the scripted flight, records it with the AI aircraft around it
// through the module's menu, as a user would, and reports what the module did.
//   simhost [--dll PATH] [--dir FOLDER] [--minutes N] [--ai N] [--show-menu SECONDS]
// --show-menu opens the module menu on the menu bar for that long before the
// flight (Windows build: for screenshots, see scripts/screenshot.sh).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#ifndef _WIN32
#include <filesystem>
#endif

#include "sim.h"

// The module's menu command as the simulator's main window receives it.
static const uint32_t CommandMessage = 0x0111;  // WM_COMMAND
static const uintptr_t CmdRecord = 43566;       // "Record..." / "Stop recording..."

static const char* EventName(uint64_t id) {
    switch (id) {
    case 1: return "frame (capture)";
    case 2: return "title timer";
    case 15: return "view begin";
    case 18: return "status draw";
    case 27: return "view title draw";
    case 34: return "frame (playback)";
    case 37: return "view end";
    case 38: return "flight loaded";
    default: return "?";
    }
}

int main(int argc, char** argv) {
    std::string folder = "dist/demo";
    double minutes = 11.0;  // the scripted flight, from the gate to engine shut-down
    int aiCount = 2;
    double showMenuSeconds = 0.0;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!std::strcmp(argv[i], "--dll")) SimSetModulePath(argv[i + 1]);
        else if (!std::strcmp(argv[i], "--dir")) folder = argv[i + 1];
        else if (!std::strcmp(argv[i], "--minutes")) minutes = std::atof(argv[i + 1]);
        else if (!std::strcmp(argv[i], "--ai")) aiCount = std::atoi(argv[i + 1]);
        else if (!std::strcmp(argv[i], "--show-menu")) showMenuSeconds = std::atof(argv[i + 1]);
        else {
            std::fprintf(stderr,
                         "usage: simhost [--dll PATH] [--dir FOLDER] [--minutes N] [--ai N] [--show-menu SECONDS]\n");
            return 2;
        }
    }
    SimEnterDirectory(folder);
    // Recordings are saved without dialog, the AI aircraft recorded with them.
    if (FILE* ini = std::fopen("Modules/Aerotrace.ini", "w")) {
        std::fputs("[SETTINGS]\nNoRecDlg=1\n[RECORD]\nDfltItvlIdx=1\nRecAI=1\n", ini);
        std::fclose(ini);
    }
    SimReset(SimStandardConfig(aiCount));
    if (!SimLoadModule()) {
        std::printf("The module refused to load.\n");
        for (const SimLogEntry& box : SimLogOf(LogMessageBox))
            std::printf("  message box \"%s\": %s\n", box.caption.c_str(), box.text.c_str());
        return 1;
    }
    std::printf("Module loaded. Handlers registered:\n");
    for (const SimLogEntry& entry : SimLogOf(LogRegister))
        std::printf("  event %2llu  %s\n", static_cast<unsigned long long>(entry.a), EventName(entry.a));
    SimFireEvent(38, 0, 1);
    SimRepaintFrame();
    if (showMenuSeconds > 0.0) {
        std::printf("Module menu open for %.0f s.\n", showMenuSeconds);
        std::fflush(stdout);
        if (!SimShowModuleMenu(showMenuSeconds)) std::printf("No module menu on a menu bar here.\n");
    }
    // "Record..." in the Aerotrace menu: with NoRecDlg the recording starts
    // at once with the stored defaults.
    SimSendMainWindowMessage(CommandMessage, CmdRecord, 0);
    SimRunSeconds(minutes * 60.0);
    std::vector<SimLogEntry> lines = SimLogOf(LogStatusLine);
    if (!lines.empty()) std::printf("Status line at the end: %s\n", lines.back().text.c_str());
    // "Stop recording...": saved under Recordings, named after the date.
    SimSendMainWindowMessage(CommandMessage, CmdRecord, 0);
    std::printf("Flew %.0f simulated seconds in %llu frames with %d AI aircraft.\n", SimWorldSeconds(),
                static_cast<unsigned long long>(SimFrameNumber()), aiCount);
    for (const SimLogEntry& box : SimLogOf(LogMessageBox))
        std::printf("  message box \"%s\": %s\n", box.caption.c_str(), box.text.c_str());
#ifndef _WIN32
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("Recordings", error))
        std::printf("Recording saved: %s/Recordings/%s (%llu bytes)\n", folder.c_str(),
                    entry.path().filename().string().c_str(),
                    static_cast<unsigned long long>(std::filesystem::file_size(entry.path(), error)));
#endif
    SimUnloadModule();
    std::printf("Module shut down. Handlers unregistered: %zu; still registered: %zu.\n",
                SimLogOf(LogUnregister).size(), SimRegisteredEvents().size());
    return 0;
}
