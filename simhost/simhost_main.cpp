// The stand-in simulator as a program: loads the module the way FS2004 does
// and plays a user through its menu, keys and dialogs. It opens each of the
// module's dialogs once: the settings (the control window turned on), the
// keyboard controls (Ctrl+R becomes the Record key), the about box; flies
// with the replay buffer running, saves it and replays its last 30 seconds from the replay dialog,
// plays the saved replay; then records the scripted flight with the AI
// aircraft around it from the record dialog, plays the recording back (at
// normal speed, faster in a loop, and as traffic while a second flight is
// recorded beside it with the Record key) and reports what the module did.
// Before the flight, a tower view from the simulator's tower watches the
// take-off go past. Everything goes through the module menu, the keys, the
// dialogs and the control window, as a user would drive them.
//   simhost [--dll PATH] [--dir FOLDER] [--minutes N] [--ai N] [--show-menu SECONDS] [--pictures FOLDER]
//           [--control-window BMP]
// --show-menu opens the module menu on the menu bar for that long before the
// flight; --pictures only opens the five dialogs, then the four advanced-view
// dialogs and the three view sub-menus, leaving a BMP picture of each in
// FOLDER; --control-window only records and plays a short flight, saving a
// picture of the control window during the playback (Windows build: for
// screenshots, see scripts/screenshot.sh).
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "sim.h"
#include "ui/dialogs/dialog_ids.h"
#include "view_pictures.h"

// The user's hand on the simulator's main window: the module menu's
// commands (WM_COMMAND) and keys (WM_KEYDOWN, WM_KEYUP) with their default
// bindings.
static const uint32_t CommandMessage = 0x0111, KeyDownMessage = 0x0100, KeyUpMessage = 0x0101;
static const uintptr_t CmdRecord = 43566;       // "Record..." / "Stop recording..."
static const uintptr_t CmdPlay = 43567;         // "Play..." / "Stop playback..."
static const uintptr_t CmdPlayTraffic = 43568;  // "Play as traffic..."
static const uintptr_t CmdReplay = 43569;       // "Replay..."
static const uintptr_t CmdSettings = 43570;     // "Settings..."
static const uintptr_t CmdAbout = 43571;        // "About..."
static const uintptr_t CmdKeyboard = 43572;     // "Keyboard controls..."
static const int KeyEscape = 27, KeyEnd = 35, KeyLeft = 37, KeyRight = 39, KeyDelete = 46, KeyControl = 0x11;
static const int KeyLoopStart = 111, KeyLoopEnd = 106, KeyFaster = 107, KeySlower = 109;  // keypad / * + -
// Controls of the module's control window.
static const uint32_t ControlLoopStart = 1009, ControlLoopEnd = 1011, ControlSpeedLabel = 1013, ControlFaster = 1014;

static void Choose(uintptr_t command) { SimSendMainWindowMessage(CommandMessage, command, 0); }

// The advanced tower views: "New tower view", "FS tower" and the first stored view.
static const uintptr_t CmdNewTowerView = 43600, CmdFsTower = 43610, CmdFirstTowerView = 43611;

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

// Where the dialogs' pictures go ("" for none).
static std::string picturesFolder;

// A step that takes a picture of the dialog, when pictures are asked for.
static SimDialogStep Picture(const char* name) {
    return picturesFolder.empty() ? SimHoldOpen(0.0) : SimCaptureDialog(picturesFolder + "/" + name + ".bmp");
}

// A control as the dialog that opened last showed it when it opened.
static SimControlState Shown(int control) {
    std::vector<SimDialogShown> shown = SimDialogsShown();
    const SimControlState* state =
        shown.empty() || shown.back().states.empty() ? nullptr : SimFindControl(shown.back().states.front(), control);
    return state ? *state : SimControlState{control, "", "(not shown)", 0, false, {}, -1, 0, 0, 0, false};
}

static std::string ShownText(int control) {
    std::string text = Shown(control).text;
    for (char& c : text)
        if (c == '\n') c = ' ';
    return text;
}

static void SettingsDialog() {
    SimClearLog();
    SimQueueDialogAnswer("Aerotrace Settings",
                         {SimClick(SETTINGS_SHOW_WINDOW), Picture("settings-dialog"), SimClick(DIALOG_OK)});
    Choose(CmdSettings);
    std::printf("\"Settings...\": \"Show window during playback\" on. %s\n",
                ShownText(SETTINGS_MEMORY_LABEL).c_str());
}

static void KeyboardDialog() {
    SimQueueDialogAnswer("Keyboard controls", {
                                                  SimChoose(KEYBOARD_LIST, 16),  // "Record"
                                                  SimPressHotKey(KEYBOARD_HOT_KEY, 0x0200 | 'R'),
                                                  Picture("keyboard-dialog"),
                                                  SimClick(DIALOG_OK),
                                              });
    Choose(CmdKeyboard);
    std::printf("\"Keyboard controls...\": Ctrl+R records from now on.\n");
}

static void AboutDialog() {
    SimClearLog();
    SimQueueDialogAnswer("About Aerotrace", {Picture("about-dialog"), SimClick(DIALOG_OK)});
    Choose(CmdAbout);
    std::vector<SimDialogShown> shown = SimDialogsShown();
    std::string text;
    if (!shown.empty() && !shown.back().states.empty())
        for (const SimControlState& control : shown.back().states.front())
            if (control.className == "static") text = control.text;
    text = text.substr(0, text.find("\n\n"));  // the product and version lines
    std::replace(text.begin(), text.end(), '\n', ' ');
    std::printf("\"About...\": %s\n", text.c_str());
}

// Only the five dialogs, each with its picture.
static void DialogPictures() {
    SettingsDialog();
    KeyboardDialog();
    AboutDialog();
    SimRunSeconds(30.0);  // something in the replay buffer
    SimQueueDialogAnswer("Replay", {Picture("replay-dialog"), SimClick(DIALOG_CANCEL)});
    Choose(CmdReplay);
    SimQueueDialogAnswer("Record Flight", {SimClick(RECORD_AI), Picture("record-dialog"), SimClick(DIALOG_CANCEL)});
    Choose(CmdRecord);
    std::printf("Pictures of the five dialogs in %s.\n", picturesFolder.c_str());
}

#ifndef _WIN32
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

static void Press(int key) {
    SimSendMainWindowMessage(KeyDownMessage, static_cast<uintptr_t>(key), 0x00000001);
    SimSendMainWindowMessage(KeyUpMessage, static_cast<uintptr_t>(key), static_cast<intptr_t>(0xC0000001u));
}

// The replay buffer records from the flight load on. The replay dialog saves
// it, then replays its last 30 seconds.
static void ReplayBufferDemo(double seconds) {
    std::printf("Flying %.0f seconds with the replay buffer running:\n", seconds);
    SimRunSeconds(seconds);
    PrintStatus("buffer recording");
    const char* saved = "Replay.atr";
    SimQueueFileDialogAnswer({saved});
    SimClearLog();
    SimQueueDialogAnswer("Replay", {
                                       Picture("replay-dialog"),
                                       SimClick(REPLAY_SAVE),
                                       SimType(REPLAY_SECONDS, "30"),
                                       SimClick(DIALOG_OK),
                                   });
    Choose(CmdReplay);
    std::error_code error;
    std::printf("  \"Replay...\" offered %s seconds; \"Save replay\" wrote %s (%llu bytes)\n",
                ShownText(REPLAY_SECONDS).c_str(), saved,
                static_cast<unsigned long long>(std::filesystem::file_size(saved, error)));
    SimRunSeconds(1.0);
    PrintStatus("replaying the last 30 seconds");
    SimRunSeconds(20.0);
    PrintStatus("20 seconds later");
    SimRunSeconds(15.0);
    PrintStatus("after the replay");
    SimSetPaused(false);
    SimRunSeconds(5.0);
    SimQueueFileDialogAnswer({saved});
    Choose(CmdPlay);
    SimRunSeconds(1.0);
    PrintStatus("playing the saved replay");
    Press(KeyEnd);  // to its last second
    SimRunSeconds(2.0);
    PrintStatus("saved replay played to its end");
    SimSetPaused(false);
    SimRunSeconds(1.0);
}

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
    // Ctrl+R, bound in the keyboard dialog: the record dialog, then a
    // recording beside the traffic.
    SimQueueDialogAnswer("Record Flight", {SimClick(DIALOG_OK)});
    SimSetKeyHeld(KeyControl, true);
    SimSendMainWindowMessage(KeyDownMessage, 'R', 0x00130001);
    SimSetKeyHeld(KeyControl, false);
    SimRunSeconds(120.0);
    PrintStatus("Ctrl+R beside it");
    SimQueueFileDialogAnswer({"Recordings/Second flight.atr"});
    Choose(CmdRecord);
    SimRunSeconds(1.0);
    PrintStatus("\"Stop recording...\"");
    Press(KeyEscape);
    SimRunSeconds(1.0);
    PrintStatus("Escape: traffic ended");
    std::printf("  %-34s %zu aircraft in the simulation\n", "", SimAircraftIds().size());
}
#endif

// A minute and a half recorded and played back, with a loop set and the
// speed raised on the control window, and its picture taken.
static void ControlWindowPicture(const std::string& path) {
    SimQueueDialogAnswer("Record Flight", {SimClick(DIALOG_OK)});
    Choose(CmdRecord);
    SimRunSeconds(90.0);
    const char* recording = "Recordings/Control window.atr";
    SimQueueFileDialogAnswer({recording});
    Choose(CmdRecord);
    SimQueueFileDialogAnswer({recording});
    Choose(CmdPlay);
    SimRunSeconds(20.0);
    SimClickControl(ControlLoopStart);
    SimRunSeconds(30.0);
    SimClickControl(ControlLoopEnd);
    SimClickControl(ControlFaster);
    SimRunSeconds(5.0);
    const SimControlWindowView window = SimControlWindow();
    std::printf("Control window \"%s\", slider at %u of 350, speed %s, %zu loop marks: ", window.title.c_str(),
                window.slider, window.speedText.c_str(), window.marks.size());
    std::printf(SimCaptureControlWindow(path) ? "picture in %s.\n" : "no picture could be saved as %s.\n",
                path.c_str());
}

int main(int argc, char** argv) {
    std::string folder = "dist/demo";
    double minutes = 11.0;  // the scripted flight, from the gate to engine shut-down
    int aiCount = 2;
    double showMenuSeconds = 0.0;
    std::string controlWindowPicture;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!std::strcmp(argv[i], "--dll")) SimSetModulePath(argv[i + 1]);
        else if (!std::strcmp(argv[i], "--dir")) folder = argv[i + 1];
        else if (!std::strcmp(argv[i], "--minutes")) minutes = std::atof(argv[i + 1]);
        else if (!std::strcmp(argv[i], "--ai")) aiCount = std::atoi(argv[i + 1]);
        else if (!std::strcmp(argv[i], "--show-menu")) showMenuSeconds = std::atof(argv[i + 1]);
        else if (!std::strcmp(argv[i], "--pictures")) picturesFolder = argv[i + 1];
        else if (!std::strcmp(argv[i], "--control-window")) controlWindowPicture = argv[i + 1];
        else {
            std::fprintf(stderr,
                         "usage: simhost [--dll PATH] [--dir FOLDER] [--minutes N] [--ai N] [--show-menu SECONDS] "
                         "[--pictures FOLDER] [--control-window BMP]\n");
            return 2;
        }
    }
    SimEnterDirectory(folder);
    // The settings as the module comes, but for a tower view at the far end
    // of the runway, 10 m up, with autozoom (the settings dialog turns the
    // control window on). Recordings go where the user puts them in the
    // save dialog.
    if (FILE* ini = std::fopen("Modules/Aerotrace.ini", "w")) {
        const HostPosition threshold = SimPositionNearAirfield(320.0, 1500.0, 140.0);
        std::fprintf(ini, "[TOWERVIEWS]\nnViews=1\nView0Name=Runway far end\nView0Lat=%.8f\nView0Lon=%.8f\n"
                          "View0Alt=140.00\nView0Zoom=64\nView0AutoZoom=0.04\n",
                     static_cast<double>(threshold.latitude) / 477302101697422.25,
                     static_cast<double>(threshold.longitude) * 360.0 / 18446744073709551616.0);
        // For its picture the control window shows, beside the main window.
        if (!controlWindowPicture.empty()) std::fputs("[WINDOW]\nShow=1\nXPos=120\nYPos=420\n", ini);
        std::fclose(ini);
    }
    std::error_code error;
    std::filesystem::create_directory("Recordings", error);
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
    if (!controlWindowPicture.empty()) {
        ControlWindowPicture(controlWindowPicture);
        SimUnloadModule();
        return 0;
    }
    if (!picturesFolder.empty()) {
        std::filesystem::create_directories(picturesFolder, error);
        DialogPictures();
        TakeViewPictures(picturesFolder);
        SimUnloadModule();
        return 0;
    }
    SettingsDialog();
    KeyboardDialog();
    AboutDialog();
    TowerViewDemo();
#ifndef _WIN32
    ReplayBufferDemo(180.0);
#endif
    // "Record..." in the Aerotrace menu: the record dialog, recording the
    // AI traffic too.
    SimClearLog();
    SimQueueDialogAnswer("Record Flight", {SimClick(RECORD_AI), Picture("record-dialog"), SimClick(DIALOG_OK)});
    Choose(CmdRecord);
    const SimControlState interval = Shown(RECORD_INTERVAL);
    std::printf("\"Record...\": the record dialog, every %s, AI traffic recorded too.\n",
                interval.selection >= 0 ? interval.items[static_cast<size_t>(interval.selection)].c_str() : "?");
    SimRunSeconds(minutes * 60.0);
    std::vector<SimLogEntry> lines = SimLogOf(LogStatusLine);
    if (!lines.empty()) std::printf("Status line at the end: %s\n", lines.back().text.c_str());
    // "Stop recording...": saved where the save dialog says.
    SimQueueFileDialogAnswer({"Recordings/Demo flight.atr"});
    Choose(CmdRecord);
    std::printf("Flew %.0f simulated seconds in %llu frames with %d AI aircraft.\n", SimWorldSeconds(),
                static_cast<unsigned long long>(SimFrameNumber()), aiCount);
    for (const SimLogEntry& box : SimLogOf(LogMessageBox))
        std::printf("  message box \"%s\": %s\n", box.caption.c_str(), box.text.c_str());
#ifndef _WIN32
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
#endif
    SimUnloadModule();
    std::printf("Module shut down. Handlers unregistered: %zu; still registered: %zu.\n",
                SimLogOf(LogUnregister).size(), SimRegisteredEvents().size());
    return 0;
}
