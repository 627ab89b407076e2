// The stand-in simulator's own state, shared by its source files and by
// nothing else: the world, its aircraft, the interface tables, the log.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "sim.h"

// What the module holds: an object whose first slot is its operation table
// and whose slot 0x28 leads to the reference-elevation block.
struct SimAircraft {
    void* slots[16];  // must come first: the module's AircraftObject* points here
    void* elevationBlockPointer;
    uint8_t elevationBlock[0x130];
    uint32_t id;
    std::string title;
    bool scripted;           // flies a script unless driven
    double timeOffset;       // script time = world time + offset
    double eastOffset, northOffset;
    double leaveSeconds;     // < 0: stays
    uint64_t drivenFrame;    // last frame the module wrote its state in (0 = never)
    SimAircraftState state;
    std::map<uint64_t, double> written;  // values the module set
};

struct SimViewWindow {
    uint8_t bytes[0x400];      // the host's record of the window
    uint8_t drawRecord[0x40];  // what its title event carries; 0x18 points to bytes
};

// A queued answer to one of the module's dialogs.
struct SimDialogAnswer {
    std::string caption;
    std::vector<SimDialogStep> steps;
};

struct SimWorld {
    SimConfig config;
    double worldSeconds;
    uint64_t frame;
    double stepSeconds;
    bool userMissing;
    bool aiCreationFails;
    uint32_t nextAiId;
    std::vector<std::unique_ptr<SimAircraft>> aircraft;  // id order; [0] is the user
    std::vector<SimAiScript> pendingAi;                 // not yet appeared
    std::vector<std::pair<uint32_t, EventHandler>> handlers;
    std::vector<std::string> variableNames;
    std::vector<double> variableValues;
    uint32_t trafficLevel;
    std::vector<SimLogEntry> log;
    std::deque<int> messageBoxAnswers;
    std::deque<std::vector<std::string>> fileDialogAnswers;
    int modalDepth;
    bool drawing;  // between BeginDraw and EndDraw
    std::vector<std::unique_ptr<SimViewWindow>> viewWindows;  // besides the main view
    SimViewWindow mainView;
    uint8_t* processingWindow;  // the window between its events 15 and 37
    std::vector<SimCameraPlacement> cameras;
    uint32_t lastGroundFlags;
    uint32_t hostDispatchResult;  // what the host's own dispatch function answers
    std::vector<int> heldKeys;  // virtual keys held down now
    std::string thousandsSeparator = ",";  // natively: what up-down controls group digits with
    std::deque<SimDialogAnswer> dialogAnswers;
    std::vector<SimDialogShown> dialogsShown;  // since the log was cleared
    std::vector<uint64_t> dialogSerials;       // which run of a dialog each of dialogsShown is
    std::vector<std::string> dialogProblems;   // since SimReset
    uint16_t x87ControlWordSeen;  // at the latest StepSeconds
};
extern SimWorld world;

// The x87 control word; bits 8 and 9 are its precision control (00: 24 bits).
inline uint16_t SimReadX87ControlWord() {
    uint16_t word;
    __asm__ volatile("fnstcw %0" : "=m"(word));
    return word;
}
inline void SimWriteX87ControlWord(uint16_t word) { __asm__ volatile("fldcw %0" : : "m"(word)); }

// Holds the host's control word while the module runs, when so configured.
struct SimModuleRuns {
    uint16_t saved;
    SimModuleRuns() : saved(SimReadX87ControlWord()) {
        if (world.config.singlePrecisionX87) SimWriteX87ControlWord(static_cast<uint16_t>(saved & ~0x0300));
    }
    ~SimModuleRuns() { SimWriteX87ControlWord(saved); }
};

// Interface tables (sim_interfaces.cpp).
void SimBuildInterfaces();
void* SimInterfacePointer(uint32_t id);
DispatchFunction SimCurrentDispatch();

// Aircraft (sim_aircraft.cpp).
SimAircraft* SimFindAircraft(uint32_t id);
SimAircraft* SimAddAircraft(uint32_t id, const std::string& title, bool scripted);
void SimRemoveAircraft(uint32_t id);
void SimUpdateScriptedAircraft();
double SimValueOf(SimAircraft* aircraft, uint32_t variable, uint32_t unit, uint32_t index);
uint64_t SimValueKey(uint32_t variable, uint32_t unit, uint32_t index);

// Host state block (sim_interfaces.cpp).
void SimAdvanceHostClock(double seconds);  // < 0: set the configured time
void SimSetActiveViewWindow(void* window);

// View windows (sim_views.cpp).
void SimInitViewWindow(SimViewWindow* window, uint8_t kind);
void SimResetViews();  // the main view with the focus, the tower near the runway
SimViewWindow* SimViewWindowOf(uint8_t* bytes);

// The log (sim_state.cpp).
SimLogEntry& SimAppendLog(SimLogKind kind);

// The module's dialogs (sim_dialogs.cpp; the dialog manager and the user's
// hand in sim_dialogs_posix.cpp natively, sim_dialogs_win32.cpp under Windows).
// Notes a problem answering a dialog (and prints it, for the test's output).
void SimDialogProblem(const std::string& problem);
// Records what a run of a dialog showed, replacing the record of the same run.
void SimRecordDialogShown(uint64_t serial, const SimDialogShown& shown);
// The next answer, for a dialog with this caption; false (and a problem
// noted) when there is none or it was meant for another dialog, which then
// stays queued.
bool SimTakeDialogAnswer(const std::string& caption, SimDialogAnswer* answer);
// A step's text is one a user can type into the field.
bool SimTypeable(const std::string& text, bool digitsOnly);
// Windows: takes on a dialog of the module that has just shown (called by
// the watcher thread for every one it sees).
void SimAnswerModuleDialog(void* window);
// Windows: a picture of the window as it is on the screen, in a 24-bit BMP
// file (the dialogs' and the control window's pictures).
bool SimCaptureWindow(void* window, const std::string& path);
// Windows: a log entry made on another thread, taken into the log by the
// main thread.
void SimPlatformStageLog(const SimLogEntry& entry);

// Module linkage, native or Windows (sim_link_*.cpp).
// Guards what the Windows stand-in's watcher threads share with the main
// thread (a recursive lock; nothing natively, where there is one thread).
void SimPlatformLock();
void SimPlatformUnlock();
void SimPlatformPumpMessages();
// Takes into the log what other threads saw (dialogs answered under Windows).
void SimPlatformCollect();
void SimPlatformReset();
// Presses or releases a key on the real keyboard (Windows; natively the
// module asks the stand-in through its hooks).
void SimPlatformSetKeyHeld(int virtualKey, bool held);
// Windows builds: saves what the screen shows of this rectangle as a 24-bit
// BMP file (sim_dialogs_win32.cpp).
bool SimSaveScreenPicture(int left, int top, int width, int height, const std::string& path);
