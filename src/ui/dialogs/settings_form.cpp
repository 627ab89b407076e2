// The settings dialog's form: settings to controls, controls to settings,
// the step fields and the memory label.
#include "ui/dialogs/settings_form.h"

#include <cinttypes>
#include <cstdio>

#include "engine/tracks/sample.h"
#include "ui/dialogs/interval_choice.h"

namespace {

uint32_t OnOff(bool on) { return on ? 1u : 0u; }

// The three settings of a step level.
struct StepValues {
    uint32_t searches;
    uint16_t jumpSize;
    uint8_t searchSpeed;
};

StepValues StepValuesOf(const Settings& settings, int level) {
    switch (level) {
        case 0:
            return {settings.Search1, settings.JumpSize1, settings.SearchSpeed1};
        case 1:
            return {settings.Search2, settings.JumpSize2, settings.SearchSpeed2};
        default:
            return {settings.Search3, settings.JumpSize3, settings.SearchSpeed3};
    }
}

void StoreStepValues(Settings* settings, int level, const StepValues& values) {
    switch (level) {
        case 0:
            settings->Search1 = values.searches;
            settings->JumpSize1 = values.jumpSize;
            settings->SearchSpeed1 = values.searchSpeed;
            break;
        case 1:
            settings->Search2 = values.searches;
            settings->JumpSize2 = values.jumpSize;
            settings->SearchSpeed2 = values.searchSpeed;
            break;
        default:
            settings->Search3 = values.searches;
            settings->JumpSize3 = values.jumpSize;
            settings->SearchSpeed3 = values.searchSpeed;
            break;
    }
}

}  // namespace

SettingsForm SettingsFormFor(const Settings& settings) {
    SettingsForm form{};
    form.intervalItem = ItemOfInterval(settings.RplyItvl);
    form.replayEnabled = settings.RplyEnabled != 0;
    form.clearOnFlightChange = settings.RplyClear != 0;
    form.bufferSize = settings.BufferSize;
    for (int level = 0; level < StepLevelCount; ++level) {
        form.stepSearches[level] = StepValuesOf(settings, level).searches != 0;
        form.stepField[level] = StepFieldValue(settings, level, form.stepSearches[level]);
    }
    form.showWindow = settings.Show != 0;
    form.pauseAtEnd = settings.Pause != 0;
    form.simRate = settings.SetSimRate != 0;
    form.simRateOnSearch = settings.SetSimRateSrch != 0;
    form.simRateLimit = settings.LimSimRate != 0;
    // A mode the file should not hold checks none of the three.
    for (int mode = 0; mode < 3; ++mode) form.aiMode[mode] = settings.PlayAIMode == mode;
    form.maxAiAircraft = settings.MaxAIAcft;
    form.recordedFlags = static_cast<uint32_t>(settings.RecFlags) & SettingsFlagsMask;
    form.playedFlags = static_cast<uint32_t>(settings.PlayFlags) & SettingsFlagsMask;
    form.trafficControlKeys = settings.ContrAiPlay != 0;
    form.trafficControlWindow = settings.WindAiPlay != 0;
    form.showRecording = settings.ShowRec != 0;
    form.showPlayback = settings.ShowPlay != 0;
    form.noRecordDialogs = settings.NoRecDlg != 0;
    return form;
}

Settings SettingsFromForm(const SettingsForm& form, const Settings& before) {
    Settings after = before;
    // No item chosen (the list was never filled): the interval stays.
    if (IntervalOfItem(form.intervalItem) != 0)
        after.RplyItvl = static_cast<int32_t>(IntervalOfItem(form.intervalItem));
    after.RplyEnabled = OnOff(form.replayEnabled);
    after.RplyClear = OnOff(form.clearOnFlightChange);
    for (int level = 0; level < StepLevelCount; ++level) {
        StepValues step = StepValuesOf(after, level);
        step.searches = OnOff(form.stepSearches[level]);
        // Search speeds go up to 100x; a jump size is kept modulo 65536.
        if (form.stepSearches[level])
            step.searchSpeed = static_cast<uint8_t>(form.stepField[level] > 100 ? 100 : form.stepField[level]);
        else
            step.jumpSize = static_cast<uint16_t>(form.stepField[level]);
        StoreStepValues(&after, level, step);
    }
    after.Show = OnOff(form.showWindow);
    after.Pause = OnOff(form.pauseAtEnd);
    // Read in order, so the last checked one wins; none checked keeps the mode.
    for (int mode = 0; mode < 3; ++mode)
        if (form.aiMode[mode]) after.PlayAIMode = mode;
    after.MaxAIAcft = static_cast<uint16_t>(form.maxAiAircraft);
    after.ContrAiPlay = static_cast<int32_t>(OnOff(form.trafficControlKeys));
    after.WindAiPlay = static_cast<int32_t>(OnOff(form.trafficControlWindow));
    after.NoRecDlg = static_cast<int32_t>(OnOff(form.noRecordDialogs));
    after.RecFlags = static_cast<int32_t>(form.recordedFlags & SettingsFlagsMask);
    after.PlayFlags = static_cast<int32_t>(form.playedFlags & SettingsFlagsMask);
    after.ShowRec = static_cast<int32_t>(OnOff(form.showRecording));
    after.ShowPlay = static_cast<int32_t>(OnOff(form.showPlayback));
    after.SetSimRate = static_cast<int32_t>(OnOff(form.simRate));
    // The two options under it mean nothing without it, whatever their boxes show.
    after.SetSimRateSrch = static_cast<int32_t>(OnOff(form.simRate && form.simRateOnSearch));
    after.LimSimRate = static_cast<int32_t>(OnOff(form.simRate && form.simRateLimit));
    uint32_t size = form.bufferSize;
    if (size < 120) size = 120;
    if (size > 72000) size = 72000;
    after.BufferSize = size;
    return after;
}

uint32_t StepFieldValue(const Settings& settings, int level, bool searches) {
    const StepValues step = StepValuesOf(settings, level);
    return searches ? step.searchSpeed : step.jumpSize;
}

const char* StepFieldUnit(bool searches) { return searches ? "x" : "sec"; }

void MemoryLabelText(uint32_t bufferSize, uint32_t recordedFlags, uint32_t intervalMilliseconds, char* text,
                     size_t size) {
    // In 64 bits: a number typed far beyond the buffer's range must not show
    // a small figure that wrapped around.
    const uint64_t kilobytes = static_cast<uint64_t>(RecordSize(recordedFlags)) * bufferSize / 1024;
    const uint64_t seconds = static_cast<uint64_t>(intervalMilliseconds) * bufferSize / 1000;
    std::snprintf(text, size, "Used memory: %" PRIu64 "kb\nMaximum replay time: %" PRIu64 " seconds", kilobytes,
                  seconds);
}
