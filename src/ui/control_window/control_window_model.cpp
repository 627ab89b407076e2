// The control window's decisions: slider mapping both ways, its texts, and
// which transport, loop or speed command each control sends.
#include "ui/control_window/control_window_model.h"

#include <cstdio>

uint32_t SliderPositionOfTime(uint32_t t, uint32_t startTime, uint32_t endTime) {
    // A playback that has no length (or whose range is upside down, as one
    // with nothing loaded has for its first frame) has nowhere to show.
    if (endTime <= startTime) return 0;
    // The loop marks may lie outside the played range (a loop from 0 in a
    // recording that starts later, a loop end before the start of a very
    // short one): they sit at the nearer end instead of wrapping round.
    if (t <= startTime) return 0;
    if (t >= endTime) return SliderRange;
    const double position = static_cast<double>(t - startTime) * SliderRange / static_cast<double>(endTime - startTime);
    return static_cast<uint32_t>(position);
}

uint32_t TimeOfSliderPosition(int32_t position, uint32_t startTime, uint32_t endTime) {
    if (endTime <= startTime || position <= 0) return startTime;
    const uint32_t p = position > static_cast<int32_t>(SliderRange) ? SliderRange : static_cast<uint32_t>(position);
    const double offset = p * static_cast<double>(endTime - startTime) / SliderRange;
    return startTime + static_cast<uint32_t>(offset);
}

void ControlWindowTitle(Mode mode, uint32_t trackTime, uint32_t startTime, uint32_t endTime, char* text, size_t size) {
    // The tick calls this only with StartTime <= TrackTime < EndTime, so the
    // differences are what they say.
    if (mode == Replay) {
        std::snprintf(text, size, "Replay %u seconds", (endTime - trackTime) / 10000u);
    } else {
        std::snprintf(text, size, "Playback %u / %u seconds", (trackTime - startTime) / 10000u,
                      (endTime - startTime) / 10000u);
    }
}

void SpeedLabelText(int32_t playbackSpeed, char* text, size_t size) {
    std::snprintf(text, size, "%d%%", static_cast<int>(playbackSpeed));
}

// Back buttons from the outside in, then forward buttons from the inside out,
// as they sit in the window.
static const StepButton StepButtons[] = {
    {ControlBackLevel3, 120, 3, 4, 10},   {ControlBackLevel2, 119, 2, 3, 9},    {ControlBackLevel1, 118, 1, 2, 8},
    {ControlForwardLevel1, 122, 1, 5, 8}, {ControlForwardLevel2, 123, 2, 6, 9}, {ControlForwardLevel3, 124, 3, 7, 10},
};

const StepButton* FindStepButton(uint32_t id) {
    for (const StepButton& button : StepButtons)
        if (button.id == id) return &button;
    return nullptr;
}

bool LevelSearches(const Settings& settings, int level) {
    switch (level) {
        case 1:
            return settings.Search1 != 0;
        case 2:
            return settings.Search2 != 0;
        default:
            return settings.Search3 != 0;
    }
}

UiDecision ControlCommandDecision(uint32_t id, uint32_t notification, bool loopButtonChecked,
                                  const Settings& settings) {
    if (const StepButton* step = FindStepButton(id)) {
        // A searching level's button works while it is held (drawing), not on the click.
        if (LevelSearches(settings, step->level)) return Swallow();
        return Fire(ActionTransport, step->pressCommand);
    }
    switch (id) {
        case ControlToBeginning:
            return Fire(ActionTransport, 0);
        case ControlToEnd:
            return Fire(ActionTransport, 1);
        case ControlLoopStart:
            return Fire(ActionLoop, 0);
        case ControlLoopEnd:
            return Fire(ActionLoop, 1);
        case ControlLoopButton:
            // The button has checked or unchecked itself by the time it says it was clicked.
            if (notification != 0) return Swallow();
            return Fire(ActionLoop, loopButtonChecked ? 2 : 3);
        case ControlSlower:
            return Fire(ActionSpeed, 1);
        case ControlSpeedLabel:
            return Fire(ActionSpeed, 2);
        case ControlFaster:
            return Fire(ActionSpeed, 0);
        default:
            return PassOn();
    }
}

UiDecision StepButtonDrawDecision(uint32_t id, bool pressed, const Settings& settings) {
    const StepButton* step = FindStepButton(id);
    if (!step) return PassOn();
    if (!LevelSearches(settings, step->level)) return Swallow();
    return Fire(ActionTransport, pressed ? step->pressCommand : step->releaseCommand);
}

bool ControlWindowSteers(Mode mode) { return mode == Playback || mode == Replay || mode == TrafficPlayback; }
