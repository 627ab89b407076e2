// What the floating control window shows and what its controls ask for, as
// pure functions: the slider position of a play time and the play time of a
// slider position, the title and speed texts, and the command behind each
// button, click or press. The window itself (control_window_win32.cpp) only
// moves these values between its controls and the module.
#pragma once

#include <cstddef>
#include <cstdint>

#include "config/settings.h"
#include "core/host/module_state.h"
#include "ui/menu/ui_action.h"

// The slider runs from 0 (StartTime) to this (EndTime).
constexpr uint32_t SliderRange = 350;

// Control ids of the window's children.
enum : uint32_t {
    ControlToBeginning = 1000,
    ControlBackLevel3 = 1001,
    ControlBackLevel2 = 1002,
    ControlBackLevel1 = 1003,
    ControlSlider = 1004,
    ControlForwardLevel1 = 1005,
    ControlForwardLevel2 = 1006,
    ControlForwardLevel3 = 1007,
    ControlToEnd = 1008,
    ControlLoopStart = 1009,
    ControlLoopButton = 1010,
    ControlLoopEnd = 1011,
    ControlSlower = 1012,
    ControlSpeedLabel = 1013,
    ControlFaster = 1014,
};

// Slider position of the play time t in a playback from startTime to
// endTime: 0 at the start, SliderRange at the end, in proportion between.
// A time outside the range sits at the nearer end; a playback without
// length shows 0.
uint32_t SliderPositionOfTime(uint32_t t, uint32_t startTime, uint32_t endTime);
// The play time a slider position stands for (the inverse, truncated toward
// the start); a playback without length seeks to its start. Positions
// beyond the slider's ends count as its ends.
uint32_t TimeOfSliderPosition(int32_t position, uint32_t startTime, uint32_t endTime);

// The window's title during a playback tick: the seconds left of a replay,
// or the seconds played and the length of anything else. Whole seconds,
// truncated.
void ControlWindowTitle(Mode mode, uint32_t trackTime, uint32_t startTime, uint32_t endTime, char* text, size_t size);
// The speed label's text for a playback speed in percent ("100%").
void SpeedLabelText(int32_t playbackSpeed, char* text, size_t size);

// One of the six step buttons: which level's search flag it follows, the
// icon it is drawn with, and the transport commands it sends while held
// (search start, or the jump of a click) and when let go (search end).
struct StepButton {
    uint32_t id;
    uint32_t icon;
    int level;               // 1..3
    int32_t pressCommand;    // 2..7
    int32_t releaseCommand;  // 8..10
};
// The step button with this control id, or null.
const StepButton* FindStepButton(uint32_t id);
// Whether a step level searches while held (1) or jumps on a click (0).
bool LevelSearches(const Settings& settings, int level);

// What a WM_COMMAND from one of the window's controls asks for: the
// notification code and, for the loop button, whether it is checked now.
// PassOn for a control or notification the window does not handle.
UiDecision ControlCommandDecision(uint32_t id, uint32_t notification, bool loopButtonChecked, const Settings& settings);
// What drawing a step button asks for: on a level that searches, holding it
// down searches and letting it go ends the search, so every drawing sends
// the command of its pressed state; a jumping level's button does nothing
// when drawn (its click jumps). ActionNone for any other control.
UiDecision StepButtonDrawDecision(uint32_t id, bool pressed, const Settings& settings);

// The control window's commands act while what it is shown for plays: a
// playback, a replay or traffic (not traffic beside a recording, whose time
// line belongs to the recording).
bool ControlWindowSteers(Mode mode);
