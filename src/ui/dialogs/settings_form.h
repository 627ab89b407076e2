// The settings dialog's decisions, apart from its controls: what the
// controls show for given settings, what OK stores for given control
// values, what a step's field shows when its "Step"/"Search" choice
// changes, and the memory label kept up to date while the user edits.
#pragma once

#include <cstddef>
#include <cstdint>

#include "config/settings.h"

constexpr int StepLevelCount = 3;

// What the dialog's controls hold, control by control.
struct SettingsForm {
    int intervalItem;                    // "Replay recording interval" (-1: none)
    bool replayEnabled;                  // "Enable replay"
    bool clearOnFlightChange;            // "Clear data on flight or aircraft change"
    uint32_t bufferSize;                 // the number in "Buffer size", as typed
    bool stepSearches[StepLevelCount];   // "Search" checked rather than "Step"
    uint32_t stepField[StepLevelCount];  // jump size or search speed, as typed
    bool showWindow;                     // "Show window during playback"
    bool pauseAtEnd;                     // "Pause at end"
    bool simRate;                        // "Set simrate with playback speed"
    bool simRateOnSearch;                // "Set simrate on search"
    bool simRateLimit;                   // "Limit to 4x"
    bool aiMode[3];                      // "play recorded traffic", "show normal traffic", "turn off traffic"
    uint32_t maxAiAircraft;              // "Max. rec/played AI aircraft:"
    uint32_t recordedFlags;              // SampleFlags of the "Recorded data" boxes
    uint32_t playedFlags;                // SampleFlags of the "Played data" boxes
    bool trafficControlKeys;             // "Enable playback control keys"
    bool trafficControlWindow;           // "Show control window"
    bool showRecording;                  // "Display recording"
    bool showPlayback;                   // "Display playback/replay"
    bool noRecordDialogs;                // "No recording dialogs"
};

// The twelve sample groups the "Recorded data" and "Played data" boxes offer.
constexpr uint32_t SettingsFlagsMask = 0xFFF;

SettingsForm SettingsFormFor(const Settings& settings);
// The settings after OK: every value the form holds, corrected where a
// setting has a range; the half of each step that is not shown keeps its
// value from before.
Settings SettingsFromForm(const SettingsForm& form, const Settings& before);

// What a step level's field shows for its choice: the stored search speed
// or jump size (never what was typed for the other choice), and its unit.
uint32_t StepFieldValue(const Settings& settings, int level, bool searches);
const char* StepFieldUnit(bool searches);

// "Used memory: %dkb\nMaximum replay time: %d seconds" for the buffer size
// as typed (unclamped), the "Recorded data" flags and the interval in ms.
void MemoryLabelText(uint32_t bufferSize, uint32_t recordedFlags, uint32_t intervalMilliseconds, char* text,
                     size_t size);
