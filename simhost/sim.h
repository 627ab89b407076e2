// The stand-in simulator: what a test or the demo sees of it. It honours the
// host interface the module binds to (tables at their offsets, the state
// block, aircraft objects, events and the dispatch chain), flies scripted
// aircraft, and logs everything the module does to it.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "core/abi/host_abi.h"

// ---------------------------------------------------------------- configuration

struct SimAiScript {
    uint32_t id;          // host aircraft id (> 1)
    std::string title;
    double appearSeconds;  // world time at which it enters the simulation
    double leaveSeconds;   // world time at which it leaves (< 0: never)
    double timeOffset;     // flies the user's script shifted by this many seconds
    double eastOffsetMetres;
    double northOffsetMetres;
};

struct SimConfig {
    double stepSeconds = 0.05;      // frame length the host reports
    std::string userTitle = "Cessna Skyhawk 172SP";
    float userReferenceElevation = 0.0f;  // feet
    float createdAiReferenceElevation = 0.0f;  // feet, of AI aircraft the module creates
    std::vector<SimAiScript> ai;
    int missingInterface = -1;      // index of an ImportTable entry left null
    bool mainWindowPresent = true;  // an "FS98MAIN" window exists at attach
    // Time of day at world time 0.
    int16_t year = 2004;
    uint16_t dayOfYear = 160;
    uint32_t hour = 14;
    uint32_t minute = 5;
    uint8_t second = 9;
    uint32_t trafficLevel = 50;
    // The x87 precision control at 24 bits whenever the module runs (its
    // frames, window messages and events), as a Direct3D host commonly has it.
    bool singlePrecisionX87 = false;
};

// A typical scenario: the user aircraft and the given number of AI aircraft
// flying beside it; every third leaves half-way through the flight.
SimConfig SimStandardConfig(int aiCount);

// ---------------------------------------------------------------- the log

enum SimLogKind {
    LogRegister,        // a = event id
    LogUnregister,      // a = event id
    LogModalBegin,
    LogModalEnd,
    LogMessageBox,      // text, caption, a = flags, owner
    LogFileDialog,      // caption = title, text = path answered ("" = cancelled), a = OFN_ flags,
                        // filter (each NUL as "|"), defaultExtension
    LogStatusLine,      // text, a = style, b = first colour, c = second colour, d = inside BeginDraw/EndDraw
    LogKeyEvent,        // a = event id, b = value (SendKeyEvent)
    LogAircraftEvent,   // a = aircraft id, b = event id, c = value
    LogValueSet,        // a = aircraft id, b = variable, c = unit, d = index, value
    LogVariableSet,     // text = name, value
    LogPositionSet,     // a = aircraft id, b = on ground, c = continuous-move word at the call
    LogAiCreated,       // a = new id, text = title
    LogAiRemoved,       // a = id
    LogTrafficSet,      // a = level
    LogCamera,          // a = camera token, value = zoom (the placement itself: SimCameraPlacements)
    LogHostInput,       // a = dispatch type, b = event id: reached the host's own dispatch
    LogHostMessage,     // a = message, b = wParam, c = lParam: reached the host's window procedure
    LogDialog,          // caption, owner: one of the module's dialogs opened (SimDialogsShown says more)
};

struct SimLogEntry {
    SimLogKind kind;
    uint64_t frame;
    std::string text;
    std::string caption;
    uint64_t a, b, c, d;
    double value;
    void* owner;
    std::string filter, defaultExtension;  // a file dialog's
};

// ---------------------------------------------------------------- aircraft

// The fields of an aircraft the scripts and tests look at.
struct SimAircraftState {
    uint8_t placement[36];  // record 533: HostPosition, pitch, bank, heading
    double motion[3];       // record 536
};

// ---------------------------------------------------------------- running

// Starts a new world (no module loaded) and sets the current directory's
// Modules folder up. Clears the log.
void SimReset(const SimConfig& config);
// Attaches and starts the module as the simulator does. False when the
// module refused to load.
bool SimLoadModule();
// Shuts the module down (ModuleDeinit) and unloads it.
void SimUnloadModule();
bool SimModuleLoaded();

// Runs frames: clock dispatch, capture and playback events, view windows,
// status line, title timer. Window messages are pumped between frames.
void SimRunFrames(int count);
void SimRunSeconds(double seconds);

// Sends a simulator input event through the dispatch chain; true if the
// module consumed it.
bool SimDispatchInput(uint32_t type, uint32_t eventId, void* record);
// What the host's own dispatch function returns from now on.
void SimSetHostDispatchResult(uint32_t result);
// Fires a host event directly (e.g. 38 for a flight load: p2 = 1).
void SimFireEvent(uint32_t eventId, HostArg p1, HostArg p2);

// ---------------------------------------------------------------- the world

double SimWorldSeconds();
uint64_t SimFrameNumber();
void SimSetPaused(bool paused);         // as the user pausing the simulator
void SimSetSimulationRate(uint16_t rate);
uint16_t SimSimulationRate();
uint32_t SimPauseRequest();
uint32_t SimTrafficLevel();
void SimSetUserAircraftMissing(bool missing);
void SimSetUserTitle(const std::string& title);
void SimSetStepSeconds(double seconds);
void SimSetNamedVariable(const std::string& name, double value);
double SimNamedVariable(const std::string& name);
bool SimAircraftExists(uint32_t id);
std::vector<uint32_t> SimAircraftIds();  // in next-aircraft order, starting with 1
bool SimGetAircraftState(uint32_t id, SimAircraftState* state);
double SimAircraftValue(uint32_t id, uint32_t variable, uint32_t unit, uint32_t index);
std::string SimAircraftTitle(uint32_t id);
// The scripted state of the user aircraft at a world time (what it flies
// unless the module drives it).
void SimScriptedState(double worldSeconds, SimAircraftState* state);
double SimScriptedValue(double worldSeconds, uint32_t variable, uint32_t unit, uint32_t index);
// The same for an AI aircraft of the configuration: it flies the user's
// script shifted in time and place (its values: SimScriptedValue at
// worldSeconds + ai.timeOffset).
void SimScriptedAiState(const SimAiScript& ai, double worldSeconds, SimAircraftState* state);
uint8_t* SimHostStateBlock();
// The x87 control word in effect at the module's latest call of the host's
// StepSeconds (once a frame).
uint16_t SimX87ControlWordSeenByHost();
void SimSetAiCreationFails(bool fails);

// ---------------------------------------------------------------- the user's hand
// What the user does to the simulator's main window, as the window gets it:
// a command of the module menu (WM_COMMAND with the item's id) and keys
// (WM_KEYDOWN, WM_KEYUP with the lParam a keyboard gives). Each returns true
// when the message went on to the host's own window procedure, that is when
// the module did not take it.
enum SimModuleMenuCommand : uint32_t {
    SimCmdRecord = 43566,       // "Record..." / "Stop recording..."
    SimCmdPlay = 43567,         // "Play..." / "Stop playback..."
    SimCmdPlayTraffic = 43568,  // "Play as traffic..."
    SimCmdReplay = 43569,       // "Replay..." / "Stop replay..."
    SimCmdSettings = 43570,
    SimCmdAbout = 43571,
    SimCmdKeyboard = 43572,
    SimCmdViewSettings = 43573,
};
// Virtual keys with their Windows numbers, the module's default bindings
// named after what they do.
enum SimKey : int {
    SimKeyShift = 0x10,
    SimKeyControl = 0x11,
    SimKeyEscape = 27,   // stop; with Shift: stop here
    SimKeyPageUp = 33,   // jump back, step 3
    SimKeyPageDown = 34, // jump forward, step 3
    SimKeyEnd = 35,      // jump to the end
    SimKeyHome = 36,     // jump to the beginning
    SimKeyLeft = 37,     // jump back, step 1
    SimKeyUp = 38,       // jump back, step 2
    SimKeyRight = 39,    // jump forward, step 1
    SimKeyDown = 40,     // jump forward, step 2
    SimKeyInsert = 45,   // normal speed
    SimKeyDelete = 46,   // looping on or off
    SimKeyMultiply = 106,  // keypad *: loop end here
    SimKeyAdd = 107,       // keypad +: faster; with Shift: height correction up
    SimKeySubtract = 109,  // keypad -: slower; with Shift: height correction down
    SimKeyDivide = 111,    // keypad /: loop start here
};
bool SimChooseMenuCommand(uint32_t id);
bool SimPressKey(int virtualKey);    // the key goes down
bool SimReleaseKey(int virtualKey);  // and comes up
// Down and up, as a short press; true when the press went on to the host.
bool SimTapKey(int virtualKey);
// A key pressed and released while a modifier (SimKeyShift, SimKeyControl)
// is held down, as GetAsyncKeyState reports it.
bool SimTapKeyWith(int modifierKey, int virtualKey);

// ---------------------------------------------------------------- view windows
// The host's 3D view windows. The main view is one of them (kind 1, the 2D
// cockpit, when the world starts) and has the focus; more can be opened. Each
// window the host has open is processed every frame (events 15 and 37) and
// gets its title draw (event 27) with a draw record of its own. A window is
// the address of the host's record: its bytes may be read and written at the
// host's offsets (0x20 kind, 0x30 tower zoom, 0xBC camera position, ...).

enum : uint8_t { SimViewCockpit2d = 1, SimViewVirtualCockpit = 2, SimViewTower = 3, SimViewSpot = 4, SimViewMap = 6 };

uint8_t* SimMainViewWindow();
// Opens another window of this kind, with the host's default view values.
uint8_t* SimOpenViewWindow(uint8_t kind);
// Closes it: the host stops processing it (the module is not told).
void SimCloseViewWindow(uint8_t* window);
void SimSetViewWindowKind(uint8_t* window, uint8_t kind);
// The window with the focus (HostState 0x1190); null for none.
void SimFocusViewWindow(uint8_t* window);
// The draw record the host passes with a window's title event.
uint8_t* SimViewWindowDrawRecord(uint8_t* window);

// A camera the module placed with SetViewCamera.
struct SimCameraPlacement {
    uint64_t frame;
    uint8_t* window;  // the window being processed then (null outside a window's turn)
    uint32_t token;   // the value passed first, which the host keeps at HostState 0x1184
    HostPosition position;
    Angle32 pitch, bank, heading;
    bool hasMatrix;
    float matrix[16];
    int32_t zoom;
};
const std::vector<SimCameraPlacement>& SimCameraPlacements();
// The value the host keeps at HostState 0x1184 and expects back first.
constexpr uint32_t SimCameraToken = 0x7A11C0DEu;
// The host's two zoom words at its fixed addresses 0x20CE32B0 and 0x20CE32B2.
uint16_t SimAutozoomWord(int which);

// The simulator's own tower (HostState 0xD50): near the runway when the
// world starts.
HostPosition SimTowerPosition();
void SimSetTowerPosition(const HostPosition& position);
// The ground under a position, metres: 130 m around the airfield, with a
// hill of 300 m six kilometres to the west.
double SimGroundElevation(const HostPosition& position);
// The flags argument of the module's latest ground query (the host expects 9).
uint32_t SimLastGroundFlags();
// A position so many metres east and north of the airfield's origin, at a
// height above sea level.
HostPosition SimPositionNearAirfield(double eastMetres, double northMetres, double altitudeMetres);
// East, up and north metres from one position to another, as the host's
// geometry measures them.
void SimOffsetMetres(const HostPosition& from, const HostPosition& to, double out[3]);

// A simulator input event (dispatch type 8 or 9) with its event record, whose
// 32-bit value at 0x0C is the parameter; true if the module consumed it.
bool SimDispatchKeyEvent(uint32_t type, uint32_t eventId, int32_t parameter);

// ---------------------------------------------------------------- user answers

// Answers for the next message boxes, in order; when none is queued the
// default button is pressed.
void SimQueueMessageBoxAnswer(int answer);
// Answers for the next file dialogs: a path, or "" to cancel. Open dialogs
// may be answered with several names: "dir\0a\0b\0" style is built from the
// list given here when it holds more than one entry.
void SimQueueFileDialogAnswer(const std::vector<std::string>& paths);

// ---------------------------------------------------------------- the module's dialogs
// The user in one of the module's own dialogs, step by step, by control id
// (ui/dialogs/dialog_ids.h). Natively the stand-in plays the dialog manager over
// the module's dialog templates (its resource script) and works the
// controls as Windows would; under Windows a test thread finds the real
// dialog and works its controls through their own messages. Message boxes
// and file dialogs a step opens are answered from their own queues.

enum SimDialogStepKind {
    SimStepType,
    SimStepClick,
    SimStepChoose,
    SimStepHotKey,
    SimStepHold,
    SimStepCapture,
    SimStepArrow,
};

struct SimDialogStep {
    SimDialogStepKind kind;
    int control;
    std::string text;  // Type: the field's new text (digits only in a number field); Capture: image path
    int index;         // Choose: item of a drop-down list, row of a list box; Arrow: +1 up, -1 down
    uint16_t keys;     // HotKey: virtual key and held HOTKEYF_ flags (Shift 1, Control 2, Alt 4, extended 8)
    double seconds;    // Hold
};
// Replaces the text of an edit field, as typing does.
SimDialogStep SimType(int control, const std::string& text);
// Clicks a button, check box or radio button; the focus goes to it.
SimDialogStep SimClick(int control);
// Picks an item of a drop-down list or a row of a list box, which takes the focus.
SimDialogStep SimChoose(int control, int index);
// Clicks the up (+1) or down (-1) arrow of an up-down control once: it
// reads the number in its buddy field, steps it within its range and writes
// it back with the thousands separator (SimSetThousandsSeparator).
SimDialogStep SimClickArrow(int upDownControl, int direction);
// The thousands separator of the user's language, with which up-down
// controls write and read numbers (one character, in the module's ANSI code
// page; natively "," until set, under Windows the user's locale setting).
// SimReset puts it back.
void SimSetThousandsSeparator(const std::string& separator);
// Presses a key combination in a hot-key control (its rules apply); 0
// clears the control, as Backspace does.
SimDialogStep SimPressHotKey(int control, uint16_t keys);
// Leaves the dialog open for a while (under Windows; natively no time passes).
SimDialogStep SimHoldOpen(double seconds);
// Saves a picture of the dialog as a BMP file (under Windows; natively nothing).
SimDialogStep SimCaptureDialog(const std::string& path);

// The answer to the next dialog of the module that opens, which must have
// this caption: the steps in order, the last usually pressing OK or Cancel.
// A dialog that opens without an answer, with another caption, or that is
// still open after its steps, is cancelled and reported in SimDialogProblems.
void SimQueueDialogAnswer(const std::string& caption, const std::vector<SimDialogStep>& steps);

struct SimControlState {
    int id;
    std::string className;  // lower case: "button", "edit", "static", "combobox", "listbox", "msctls_hotkey32", ...
    std::string text;
    int checked;                     // buttons: BM_GETCHECK
    bool enabled;
    std::vector<std::string> items;  // drop-down list items, list box rows
    int selection;                   // chosen item or row, -1 for none
    uint16_t hotKey;                 // hot-key controls: HKM_GETHOTKEY
    int32_t rangeLow, rangeHigh;     // up-down controls
    // Has the keyboard focus. Natively only the module and a click or choice
    // (which focus the control, as the mouse does) move it, so that it is on
    // no control as the dialog opens; on Windows the dialog manager's too.
    bool focused;
};
typedef std::vector<SimControlState> SimDialogControls;

struct SimDialogShown {
    std::string caption;
    void* window;  // the dialog (what owns its message boxes and file dialogs)
    void* owner;
    // The controls as the dialog opened, then after each step that left it open.
    std::vector<SimDialogControls> states;
};
// The module's dialogs that opened since the log was cleared, in order. A
// dialog that closed itself before it showed (the replay dialog with too
// little in the buffer) is not among them.
std::vector<SimDialogShown> SimDialogsShown();
// Everything that went wrong answering dialogs since SimReset: no answer, a
// caption that did not match, a control that does not exist or cannot do
// what a step asks, a dialog left open.
std::vector<std::string> SimDialogProblems();
// The control with this id among a dialog's controls; null when there is none.
const SimControlState* SimFindControl(const SimDialogControls& controls, int id);

// Keys held down as GetAsyncKeyState reports them. Under Windows the key is
// pressed or released for real, and its own key message reaches the main
// window before this returns.
void SimSetKeyHeld(int virtualKey, bool held);
bool SimKeyHeld(int virtualKey);

// Another program holds the file open and lets nobody else open it, until
// the next SimReset (Windows). The native stand-in's file dialogs answer
// names without looking at the disk, so there the file is simply removed:
// either way the user can choose it and the module cannot open it.
void SimHoldFileLocked(const std::string& path);

// Makes path (and its Modules folder) and enters it: the simulator's folder.
void SimEnterDirectory(const std::string& path);
std::string SimCurrentDirectory();
void SimChangeDirectory(const std::string& path);
// Windows builds: the module library to load (default "Aerotrace.dll").
void SimSetModulePath(const std::string& path);

// ---------------------------------------------------------------- inspection

const std::vector<SimLogEntry>& SimLog();
void SimClearLog();
std::vector<SimLogEntry> SimLogOf(SimLogKind kind);
std::vector<uint32_t> SimRegisteredEvents();  // event ids registered now, in order
// The host's main window (native: an opaque token).
void* SimMainWindow();
// Sends a message to the main window and pumps messages (Windows: real
// messages). What the module does not take reaches the host's own window
// procedure, which logs WM_COMMAND, WM_KEYDOWN and WM_KEYUP (LogHostMessage).
intptr_t SimSendMainWindowMessage(uint32_t message, uintptr_t wParam, intptr_t lParam);

// ---------------------------------------------------------------- the control window
// The module's floating playback control window as the user sees it and
// handles it with the mouse. Windows builds: the real window, clicked,
// held and dragged with real mouse input. Native builds have no window: the
// module keeps what it would show, and the mouse's work reaches the
// window's handlers in the order Windows sends it (a press draws the button
// pressed, a release draws it released and then clicks it); there is no
// client area to measure and no activation to lose.

struct SimControlWindowView {
    bool exists = false;
    bool visible = false;
    int32_t left = 0, top = 0;                    // screen position of the top-left corner
    int32_t clientWidth = -1, clientHeight = -1;  // -1 natively
    std::string title;
    uint32_t slider = 0;     // the slider's position, 0 .. 350
    std::string speedText;   // the speed label
    bool loopChecked = false;
    std::vector<uint32_t> marks;  // the slider's tick marks (not those at its ends)
};
SimControlWindowView SimControlWindow();
// True when the simulator's main window is the active window (natively
// always: nothing else could be).
bool SimMainWindowActive();
// The user clicks into the simulator's main window: it becomes the
// foreground window, which takes the keyboard (Windows; natively nothing).
void SimActivateMainWindow();
// The mouse on a control of the window (by control id): pressed down on it,
// let go over it (a click), or both.
void SimHoldControl(uint32_t id, bool held);
void SimClickControl(uint32_t id);
// Drags the slider's thumb towards position and lets go; returns the
// position the slider ended at (Windows: as near as a pixel gets).
uint32_t SimDragSlider(uint32_t position);
// Drags the window by its title bar so that its top-left corner ends at
// (left, top), and lets go.
void SimMoveControlWindow(int32_t left, int32_t top);
// Saves a picture of the window as a BMP file (under Windows; natively
// there is none, and it returns false).
bool SimCaptureControlWindow(const std::string& path);
// A key pressed and released wherever the keyboard is (Windows: real key
// input, not sent to any window in particular; natively to the main window).
void SimTypeKey(int virtualKey);

// ---------------------------------------------------------------- the menu bar
// Windows builds: the real menu bar of the main window ("Flights", "World",
// "Aircraft", "Views", "Options", "Help" when the world starts). Native
// builds have none: SimHasMenuBar() is false and the rest report nothing.

struct SimMenuItem {
    std::string text;  // "" for a separator
    uint32_t id;       // command id (0 for separators and popups)
    bool grayed;
    bool separator;
    bool popup;
    bool checked = false;
    std::vector<SimMenuItem> items;  // a popup's items
};

bool SimHasMenuBar();
std::vector<std::string> SimMenuBarTitles();
// The items of the first popup on the bar titled exactly "Aerotrace".
std::vector<SimMenuItem> SimModuleMenuItems();
// Adds a popup with this title to the bar, as another add-on might.
void SimAddMenuBarItem(const std::string& title);
// The simulator builds its menu bar afresh (its own items only), as it does
// when it changes its menus.
void SimRebuildMenuBar();
// Repaints the main window's frame (WM_NCPAINT) and pumps messages.
void SimRepaintFrame();
// Opens the module's popup below its title on the bar and keeps it open for
// the given time (for screenshots). False when there is no such popup.
bool SimShowModuleMenu(double seconds);
// The user opens the module's popup and its sub-menu of this title: the main
// window gets WM_INITMENUPOPUP for each, as Windows sends it before it shows
// a popup. The items can be read afterwards (SimModuleMenuItems).
void SimOpenModuleSubMenu(const std::string& title);
// Opens the module's popup on the bar and, with the keyboard, its sub-menu
// of this title, and saves a picture of the screen around both as a BMP
// file. False when there is no such sub-menu or no picture could be saved.
bool SimPictureModuleSubMenu(const std::string& title, const std::string& path);
