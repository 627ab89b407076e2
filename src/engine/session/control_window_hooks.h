// The floating playback control window as the engine drives it: created
// hidden at start-up, shown and hidden as playbacks, replays and recordings
// start and end, and told the play position, the speed and the loop. The
// user interface implements these (the real window in the shipped module, a
// record that tests read in native builds) and give the engine their calls
// at start-up, so the engine needs no windows. Until then, and in a program
// that runs the engine without them, every call does nothing.
#pragma once

#include <cstdint>

#include "config/settings.h"
#include "core/host/module_state.h"

struct ControlWindowHooks {
    void (*create)();
    void (*show)(int shown);
    void (*progress)(Mode mode, uint32_t trackTime, uint32_t startTime, uint32_t endTime);
    void (*speed)(int32_t playbackSpeed);
    void (*loopMarks)(bool loopEnabled, uint32_t loopStartTime, uint32_t loopEndTime, uint32_t startTime,
                      uint32_t endTime);
    void (*loopButton)(bool checked);
};
// The user interface's calls, kept (not copied) until replaced.
void SetControlWindowHooks(const ControlWindowHooks* hooks);

// Start-up: the window, hidden, at its stored place.
void ControlWindowCreate();
// Shows (non-zero) or hides (0) the window.
void ControlWindowShow(int shown);
// Whether a playback shows the window when it starts (asTraffic: one played
// as traffic, or traffic that plays on once a recording beside it stopped);
// a replay shows it as a playback onto the user aircraft does.
inline bool ControlWindowWanted(const Settings& current, bool asTraffic) {
    return current.Show != 0 && (!asTraffic || current.WindAiPlay != 0);
}

// Every playback frame, once the new play time is settled: the title and
// the slider follow the position.
void ControlWindowProgress(Mode mode, uint32_t trackTime, uint32_t startTime, uint32_t endTime);
// After every speed command: the speed label.
void ControlWindowSpeed(int32_t playbackSpeed);
// The slider's loop marks, drawn afresh: none unless looping is on, then
// one at the loop start and one at the loop end.
void ControlWindowLoopMarks(bool loopEnabled, uint32_t loopStartTime, uint32_t loopEndTime, uint32_t startTime,
                            uint32_t endTime);
// The loop button's check mark.
void ControlWindowLoopButton(bool checked);
