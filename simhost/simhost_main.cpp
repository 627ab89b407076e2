// The stand-in simulator as a program: loads the module the way FS2004 does,
// flies with the replay buffer running, replays its last 30 seconds, saves
// it as a recording and plays that back; then flies the scripted flight,
// records it with the AI aircraft around it, plays the recording back (at
// normal speed, faster in a loop, and as traffic while a second flight is
// recorded beside it) and reports what the module did. Before all that, a
// tower view from the simulator's tower watches the take-off go past.
// Recording and playback go through the module menu, the keys and the
// control window, as a user would drive them; the replay buffer's replay
// and save through the native stand-in's command seam until the module has
// the replay dialog (the Windows build leaves that part out).
//   simhost [--dll PATH] [--dir FOLDER] [--minutes N] [--ai N] [--show-menu SECONDS] [--tower-dialog BMP]
// --show-menu opens the module menu on the menu bar for that long before the
// flight (Windows build: for screenshots, see scripts/screenshot.sh).
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "sim.h"

// The user's hand on the simulator's main window: the module menu's
// commands and keys with their default bindings.
static const uintptr_t CmdRecord = 43566;       // "Record..." / "Stop recording..."
static const uintptr_t CmdPlay = 43567;         // "Play..." / "Stop playback..."
static const uintptr_t CmdPlayTraffic = 43568;  // "Play as traffic..."
static const int KeyEscape = 27, KeyLeft = 37, KeyRight = 39, KeyDelete = 46;
static const int KeyLoopStart = 111, KeyLoopEnd = 106, KeyFaster = 107, KeySlower = 109;  // keypad / * + -
// Controls of the module's control window.
static const uint32_t ControlFaster = 1014, ControlSpeedLabel = 1013;

static void Choose(uintptr_t command) { SimChooseMenuCommand(static_cast<uint32_t>(command)); }
static void Press(int key) { SimTapKey(key); }

// The advanced tower views: "New tower view", "FS tower" and the first stored view.
static const uintptr_t CmdNewTowerView = 43600, CmdEditTowerView = 43602, CmdFsTower = 43610,
                       CmdFirstTowerView = 43611;

// The title the module drew last, if any.
static std::string LastViewTitle() {
    std::vector<SimLogEntry> lines = SimLogOf(LogStatusLine);
    for (auto it = lines.rbegin(); it != lines.rend(); ++it)
        if (it->a == 0x0D) return it->text;
    return "(none)";
}

// Where the module's last camera stands and looks, seen from the aircraft.
static void PrintCamera(const char* moment) {
    const std::vector<SimCameraPlacement>& cameras = SimCameraPlacements();
    if (cameras.empty() || cameras.back().frame != SimFrameNumber()) {
        std::printf("  %-34s (the simulator's own camera)\n", moment);
        return;
    }
    const SimCameraPlacement& camera = cameras.back();
    SimAircraftState aircraft;
    SimGetAircraftState(1, &aircraft);
    HostPosition at;
    std::memcpy(&at, aircraft.placement, sizeof at);
    double offset[3];
    SimOffsetMetres(camera.position, at, offset);
    const double distance = std::sqrt(offset[0] * offset[0] + offset[1] * offset[1] + offset[2] * offset[2]);
    const double heading = static_cast<uint32_t>(camera.heading) * 360.0 / 4294967296.0;
    const double zoom = camera.hasMatrix ? camera.matrix[0] : camera.zoom / 64.0;
    std::printf("  %-34s aircraft %6.0f m away, camera heading %5.1f deg, zoom %.2fx\n", moment, distance, heading,
                zoom);
}

// Flies `times` stretches of `seconds` and says where the camera is after each.
static void WatchCamera(int times, double seconds) {
    for (int i = 0; i < times; ++i) {
        SimRunSeconds(seconds);
        char moment[64];
        std::snprintf(moment, sizeof moment, "%3.0f s into the flight", SimWorldSeconds());
        PrintCamera(moment);
    }
}

// Opens "Edit tower view" on the stored view, saves a picture of it and
// cancels it (Windows build: the native stand-in has no dialog windows).
static void ShowTowerDialog(const std::string& picture) {
    if (!SimHasDialogWindows()) {
        std::printf("No dialog windows here: no picture of the tower dialog.\n");
        return;
    }
    SimSetViewWindowKind(SimMainViewWindow(), SimViewTower);
    SimRunFrames(1);
    Choose(CmdFirstTowerView);
    SimRunFrames(1);
    SimDialogAnswer answer;
    answer.closeWith = 2;
    answer.picturePath = picture;
    SimQueueDialogAnswer(answer);
    Choose(CmdEditTowerView);
    std::printf("Tower dialog saved as %s.\n", picture.c_str());
    Choose(CmdFsTower);
    SimSetViewWindowKind(SimMainViewWindow(), SimViewCockpit2d);
}

// A tower view from the simulator's tower beside the runway watches the
// take-off roll go past; then the stored view at the runway's far end
// follows the climb-out with autozoom.
static void TowerViewDemo() {
    std::printf("Tower views in the main view:\n");
    SimSetViewWindowKind(SimMainViewWindow(), SimViewTower);
    SimRunFrames(1);  // the window draws once as the simulator's tower
    Choose(CmdNewTowerView);
    SimRunFrames(1);
    std::printf("  %-34s \"%s\"\n", "\"New tower view\"", LastViewTitle().c_str());
    WatchCamera(7, 15.0);
    Choose(CmdFirstTowerView);
    SimRunFrames(1);
    std::printf("  %-34s \"%s\" (autozoom)\n", "the first stored view", LastViewTitle().c_str());
    WatchCamera(3, 20.0);
    Choose(CmdFsTower);
    SimRunFrames(1);
    PrintCamera("\"FS tower\"");
    SimSetViewWindowKind(SimMainViewWindow(), SimViewCockpit2d);
}

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

// The status line the module drew in the last frame, if any, and the
// control window while it is on screen.
static void PrintStatus(const char* moment) {
    std::vector<SimLogEntry> lines = SimLogOf(LogStatusLine);
    const bool now = !lines.empty() && lines.back().frame == SimFrameNumber();
    std::printf("  %-34s %s\n", moment, now ? lines.back().text.c_str() : "(no status line)");
    const SimControlWindowView window = SimControlWindow();
    if (!window.visible) return;
    std::printf("  %-34s control window \"%s\", slider at %u of 350, speed %s", "", window.title.c_str(),
                window.slider, window.speedText.c_str());
    if (window.loopChecked) std::printf(", loop button down");
    for (uint32_t mark : window.marks) std::printf(", mark at %u", mark);
    std::printf("\n");
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
    Choose(CmdPlay);
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
    Choose(CmdPlay);
    SimRunSeconds(1.0);
    PrintStatus("\"Play...\"");
    SimRunSeconds(60.0);
    PrintStatus("after a minute");
    Press(KeyRight);
    SimRunFrames(1);
    PrintStatus("Right: 15 s on");
    Press(KeyLeft);
    SimRunFrames(1);
    PrintStatus("Left: 15 s back");
    Press(KeyFaster);
    Press(KeyFaster);
    Press(KeyLoopStart);  // the loop starts here
    SimRunSeconds(10.0);
    Press(KeyLoopEnd);  // and ends here: 30 s of the recording at 300 %
    SimRunFrames(1);
    PrintStatus("keypad + + /, 10 s later *");
    SimRunSeconds(6.0);
    PrintStatus("wrapped round the loop");
    Press(KeyDelete);
    Press(KeySlower);
    SimRunFrames(1);
    PrintStatus("Delete, keypad -");
    // The control window's slider to the middle, its "+" once and its speed
    // label to get back to normal speed.
    SimDragSlider(175);
    SimRunFrames(1);
    PrintStatus("window: slider to the middle");
    SimClickControl(ControlFaster);
    SimRunSeconds(2.0);
    PrintStatus("window: \"+\", 2 s later");
    SimClickControl(ControlSpeedLabel);
    SimRunFrames(1);
    PrintStatus("window: speed label clicked");
    Press(KeyEscape);
    SimRunFrames(1);
    PrintStatus("Escape: to the end");
    SimRunSeconds(1.0);
    std::printf("  %-34s %s\n", "stopped", SimPauseRequest() ? "the simulator is paused" : "running");
    SimSetPaused(false);
    SimRunSeconds(1.0);

    SimQueueFileDialogAnswer({recording});
    Choose(CmdPlayTraffic);
    SimRunSeconds(30.0);
    PrintStatus("\"Play as traffic...\"");
    std::printf("  %-34s %zu aircraft in the simulation\n", "", SimAircraftIds().size());
    Choose(CmdRecord);
    SimRunSeconds(120.0);
    PrintStatus("\"Record...\" beside it");
    Choose(CmdRecord);
    SimRunSeconds(1.0);
    PrintStatus("\"Stop recording...\"");
    Press(KeyEscape);
    SimRunSeconds(1.0);
    PrintStatus("Escape: traffic ended");
    std::printf("  %-34s %zu aircraft in the simulation\n", "", SimAircraftIds().size());
}

int main(int argc, char** argv) {
    std::string folder = "dist/demo";
    double minutes = 11.0;  // the scripted flight, from the gate to engine shut-down
    int aiCount = 2;
    double showMenuSeconds = 0.0;
    std::string towerDialogPicture;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!std::strcmp(argv[i], "--dll")) SimSetModulePath(argv[i + 1]);
        else if (!std::strcmp(argv[i], "--dir")) folder = argv[i + 1];
        else if (!std::strcmp(argv[i], "--minutes")) minutes = std::atof(argv[i + 1]);
        else if (!std::strcmp(argv[i], "--ai")) aiCount = std::atoi(argv[i + 1]);
        else if (!std::strcmp(argv[i], "--show-menu")) showMenuSeconds = std::atof(argv[i + 1]);
        else if (!std::strcmp(argv[i], "--tower-dialog")) towerDialogPicture = argv[i + 1];
        else {
            std::fprintf(stderr,
                         "usage: simhost [--dll PATH] [--dir FOLDER] [--minutes N] [--ai N] [--show-menu SECONDS] "
                         "[--tower-dialog BMP]\n");
            return 2;
        }
    }
    SimEnterDirectory(folder);
    // Recordings are saved without dialog, the AI aircraft recorded with them;
    // the control window shows during playbacks. A tower view stands at the
    // far end of the runway, 10 m up, with autozoom.
    if (FILE* ini = std::fopen("Modules/Aerotrace.ini", "w")) {
        std::fputs("[SETTINGS]\nNoRecDlg=1\n[WINDOW]\nShow=1\n[RECORD]\nDfltItvlIdx=1\nRecAI=1\n", ini);
        const HostPosition threshold = SimPositionNearAirfield(320.0, 1500.0, 140.0);
        std::fprintf(ini, "[TOWERVIEWS]\nnViews=1\nView0Name=Runway far end\nView0Lat=%.8f\nView0Lon=%.8f\n"
                          "View0Alt=140.00\nView0Zoom=64\nView0AutoZoom=0.04\n",
                     static_cast<double>(threshold.latitude) / 477302101697422.25,
                     static_cast<double>(threshold.longitude) * 360.0 / 18446744073709551616.0);
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
    if (!towerDialogPicture.empty()) ShowTowerDialog(towerDialogPicture);
    TowerViewDemo();
#ifndef _WIN32
    ReplayBufferDemo(180.0);
#endif
    // "Record..." in the Aerotrace menu: with NoRecDlg the recording starts
    // at once with the stored defaults.
    Choose(CmdRecord);
    SimRunSeconds(minutes * 60.0);
    std::vector<SimLogEntry> lines = SimLogOf(LogStatusLine);
    if (!lines.empty()) std::printf("Status line at the end: %s\n", lines.back().text.c_str());
    // "Stop recording...": saved under Recordings, named after the date.
    Choose(CmdRecord);
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
