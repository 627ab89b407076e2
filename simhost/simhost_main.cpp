// The stand-in simulator as a program: loads the module the way FS2004 does,
// flies with the replay buffer running, replays its last 30 seconds, saves
// it as a recording and plays that back; then flies the scripted flight,
// records it with the AI aircraft around it, plays the recording back (at
// normal speed, faster in a loop, and as traffic while a second flight is
// recorded beside it) and reports what the module did. Recording and
// playback go through the module menu and keys, as a user would drive them;
// the replay buffer's replay and save through the native stand-in's command
// seam until the module has the replay dialog (the Windows build leaves that
// part out).
//   simhost [--dll PATH] [--dir FOLDER] [--minutes N] [--ai N] [--show-menu SECONDS]
// --show-menu opens the module menu on the menu bar for that long before the
// flight (Windows build: for screenshots, see scripts/screenshot.sh).
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "sim.h"

// The user's hand on the simulator's main window: the module menu's
// commands and keys with their default bindings.
static void Choose(uint32_t command) { SimChooseMenuCommand(command); }
static void Press(int key) { SimTapKey(key); }

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

// The status line the module drew in the last frame, if any.
static void PrintStatus(const char* moment) {
    std::vector<SimLogEntry> lines = SimLogOf(LogStatusLine);
    const bool now = !lines.empty() && lines.back().frame == SimFrameNumber();
    std::printf("  %-34s %s\n", moment, now ? lines.back().text.c_str() : "(no status line)");
}

static std::vector<std::string> SavedRecordings() {
    std::vector<std::string> paths;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("Recordings", error))
        paths.push_back("Recordings/" + entry.path().filename().string());
    std::sort(paths.begin(), paths.end());
    return paths;
}

#ifndef _WIN32
// The replay buffer records from the flight load on. What the replay dialog
// will offer (replay the last N seconds, save the buffer) goes through the
// stand-in's command seam until the dialog exists.
static void ReplayBufferDemo(double seconds) {
    std::printf("Flying %.0f seconds with the replay buffer running:\n", seconds);
    SimRunSeconds(seconds);
    PrintStatus("buffer recording");
    SimModuleCommand("Replay 30");
    SimRunSeconds(1.0);
    PrintStatus("replaying the last 30 seconds");
    SimRunSeconds(20.0);
    PrintStatus("20 seconds later");
    SimRunSeconds(15.0);
    PrintStatus("after the replay");
    SimSetPaused(false);
    SimRunSeconds(5.0);
    const char* saved = "Replay.atr";
    SimQueueFileDialogAnswer({saved});
    SimModuleCommand("SaveReplay");
    std::error_code error;
    std::printf("Replay buffer saved: %s (%llu bytes)\n", saved,
                static_cast<unsigned long long>(std::filesystem::file_size(saved, error)));
    SimQueueFileDialogAnswer({saved});
    Choose(SimCmdPlay);
    SimRunSeconds(1.0);
    PrintStatus("playing the saved replay");
    Press(SimKeyEnd);  // to its last second
    SimRunSeconds(2.0);
    PrintStatus("saved replay played to its end");
    SimSetPaused(false);
    SimRunSeconds(1.0);
}
#endif

// Plays the first recording back three ways: "Play..." with the transport
// keys, then "Play as traffic..." with a second recording made beside it.
static void PlayBack(const std::string& recording) {
    std::printf("Playing %s back:\n", recording.c_str());
    SimQueueFileDialogAnswer({recording});
    Choose(SimCmdPlay);
    SimRunSeconds(1.0);
    PrintStatus("\"Play...\"");
    SimRunSeconds(60.0);
    PrintStatus("after a minute");
    Press(SimKeyRight);
    SimRunFrames(1);
    PrintStatus("Right: 15 s on");
    Press(SimKeyLeft);
    SimRunFrames(1);
    PrintStatus("Left: 15 s back");
    Press(SimKeyAdd);
    Press(SimKeyAdd);
    Press(SimKeyDivide);  // the loop starts here
    SimRunSeconds(10.0);
    Press(SimKeyMultiply);  // and ends here: 30 s of the recording at 300 %
    SimRunFrames(1);
    PrintStatus("keypad + + /, 10 s later *");
    SimRunSeconds(6.0);
    PrintStatus("wrapped round the loop");
    Press(SimKeyDelete);
    Press(SimKeySubtract);
    SimRunFrames(1);
    PrintStatus("Delete, keypad -");
    Press(SimKeyEscape);
    SimRunFrames(1);
    PrintStatus("Escape: to the end");
    SimRunSeconds(1.0);
    std::printf("  %-34s %s\n", "stopped", SimPauseRequest() ? "the simulator is paused" : "running");
    SimSetPaused(false);
    SimRunSeconds(1.0);

    SimQueueFileDialogAnswer({recording});
    Choose(SimCmdPlayTraffic);
    SimRunSeconds(30.0);
    PrintStatus("\"Play as traffic...\"");
    std::printf("  %-34s %zu aircraft in the simulation\n", "", SimAircraftIds().size());
    Choose(SimCmdRecord);
    SimRunSeconds(120.0);
    PrintStatus("\"Record...\" beside it");
    Choose(SimCmdRecord);
    SimRunSeconds(1.0);
    PrintStatus("\"Stop recording...\"");
    Press(SimKeyEscape);
    SimRunSeconds(1.0);
    PrintStatus("Escape: traffic ended");
    std::printf("  %-34s %zu aircraft in the simulation\n", "", SimAircraftIds().size());
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
#ifndef _WIN32
    ReplayBufferDemo(180.0);
#endif
    // "Record..." in the Aerotrace menu: with NoRecDlg the recording starts
    // at once with the stored defaults.
    Choose(SimCmdRecord);
    SimRunSeconds(minutes * 60.0);
    std::vector<SimLogEntry> lines = SimLogOf(LogStatusLine);
    if (!lines.empty()) std::printf("Status line at the end: %s\n", lines.back().text.c_str());
    // "Stop recording...": saved under Recordings, named after the date.
    Choose(SimCmdRecord);
    std::printf("Flew %.0f simulated seconds in %llu frames with %d AI aircraft.\n", SimWorldSeconds(),
                static_cast<unsigned long long>(SimFrameNumber()), aiCount);
    for (const SimLogEntry& box : SimLogOf(LogMessageBox))
        std::printf("  message box \"%s\": %s\n", box.caption.c_str(), box.text.c_str());
    std::error_code error;
    const std::vector<std::string> recorded = SavedRecordings();
    for (const std::string& path : recorded)
        std::printf("Recording saved: %s/%s (%llu bytes)\n", folder.c_str(), path.c_str(),
                    static_cast<unsigned long long>(std::filesystem::file_size(path, error)));
    if (!recorded.empty()) {
        PlayBack(recorded.front());
        for (const std::string& path : SavedRecordings())
            if (std::find(recorded.begin(), recorded.end(), path) == recorded.end())
                std::printf("Recorded beside the traffic: %s/%s (%llu bytes)\n", folder.c_str(), path.c_str(),
                            static_cast<unsigned long long>(std::filesystem::file_size(path, error)));
    }
    for (const SimLogEntry& box : SimLogOf(LogMessageBox))
        std::printf("  message box \"%s\": %s\n", box.caption.c_str(), box.text.c_str());
    SimUnloadModule();
    std::printf("Module shut down. Handlers unregistered: %zu; still registered: %zu.\n",
                SimLogOf(LogUnregister).size(), SimRegisteredEvents().size());
    return 0;
}
