// "Aerotrace Settings": the general settings, shown from and stored into the
// settings in memory only when the user presses OK, which also saves them
// and restarts the replay buffer. The memory label follows every edit.
#include "config/settings.h"
#include "core/host/module_state.h"
#include "engine/replay/replay_buffer.h"
#include "ui/dialogs/dialog_controls.h"
#include "ui/dialogs/dialog_ids.h"
#include "ui/dialogs/dialogs.h"
#include "ui/dialogs/interval_choice.h"
#include "ui/dialogs/settings_form.h"

namespace {

// The "Recorded data" and "Played data" boxes of each sample group.
struct FlagBoxes {
    uint32_t flag;
    int recorded;
    int played;
};
const FlagBoxes FlagBoxTable[] = {
    {0x001, SETTINGS_REC_THROTTLES, SETTINGS_PLAY_THROTTLES},
    {0x002, SETTINGS_REC_CONTROLS, SETTINGS_PLAY_CONTROLS},
    {0x004, SETTINGS_REC_SPOILERS, SETTINGS_PLAY_SPOILERS},
    {0x008, SETTINGS_REC_FLAPS, SETTINGS_PLAY_FLAPS},
    {0x010, SETTINGS_REC_GEAR, SETTINGS_PLAY_GEAR},
    {0x020, SETTINGS_REC_LIGHTS, SETTINGS_PLAY_LIGHTS},
    {0x040, SETTINGS_REC_ENGINES, SETTINGS_PLAY_ENGINES},
    {0x080, SETTINGS_REC_NAV, SETTINGS_PLAY_NAV},
    {0x100, SETTINGS_REC_COM, SETTINGS_PLAY_COM},
    {0x200, SETTINGS_REC_PROP, SETTINGS_PLAY_PROP},
    {0x400, SETTINGS_REC_DATE, SETTINGS_PLAY_DATE},
    {0x800, SETTINGS_REC_SMOKE, SETTINGS_PLAY_SMOKE},
};

// The controls of a step level.
struct StepControls {
    int jump;
    int search;
    int field;
    int unit;
};
const StepControls StepControlTable[StepLevelCount] = {
    {SETTINGS_STEP1_JUMP, SETTINGS_STEP1_SEARCH, SETTINGS_STEP1_FIELD, SETTINGS_STEP1_UNIT},
    {SETTINGS_STEP2_JUMP, SETTINGS_STEP2_SEARCH, SETTINGS_STEP2_FIELD, SETTINGS_STEP2_UNIT},
    {SETTINGS_STEP3_JUMP, SETTINGS_STEP3_SEARCH, SETTINGS_STEP3_FIELD, SETTINGS_STEP3_UNIT},
};

const int AiModeButtons[3] = {SETTINGS_AI_RECORDED, SETTINGS_AI_NORMAL, SETTINGS_AI_OFF};

const char DateTimeWarning[] =
    "Enabling the playback of date and time can cause problems on some system configurations because of the "
    "frequent clock modifications. If you have problems during playback try to disable this option.";

uint32_t FlagsOfBoxes(WindowHandle dialog, bool recorded) {
    uint32_t flags = 0;
    for (const FlagBoxes& boxes : FlagBoxTable)
        if (ControlChecked(dialog, recorded ? boxes.recorded : boxes.played)) flags |= boxes.flag;
    return flags;
}

void ShowStep(WindowHandle dialog, int level, bool searches, uint32_t value) {
    SetControlNumber(dialog, StepControlTable[level].field, value);
    SetControlText(dialog, StepControlTable[level].unit, StepFieldUnit(searches));
}

void EnableSimRateOptions(WindowHandle dialog, bool enabled) {
    DialogItemEnable(dialog, SETTINGS_SIM_RATE_SEARCH, enabled);
    DialogItemEnable(dialog, SETTINGS_SIM_RATE_LIMIT, enabled);
}

void UpdateMemoryLabel(WindowHandle dialog) {
    char text[128];
    MemoryLabelText(ControlNumber(dialog, SETTINGS_BUFFER_SIZE), FlagsOfBoxes(dialog, true),
                    IntervalOfItem(ComboSelection(dialog, SETTINGS_REPLAY_INTERVAL)), text, sizeof text);
    SetControlText(dialog, SETTINGS_MEMORY_LABEL, text);
}

// In this order: the buffer size last, since its change notification
// computes the memory label from everything else.
void Show(WindowHandle dialog, const SettingsForm& form) {
    FillComboBox(dialog, SETTINGS_REPLAY_INTERVAL, IntervalItemTexts, IntervalItemCount);
    SetComboSelection(dialog, SETTINGS_REPLAY_INTERVAL, form.intervalItem);
    SetControlChecked(dialog, SETTINGS_REPLAY_ENABLED, form.replayEnabled);
    SetControlChecked(dialog, SETTINGS_REPLAY_CLEAR, form.clearOnFlightChange);
    for (int level = 0; level < StepLevelCount; ++level) {
        const bool searches = form.stepSearches[level];
        SetControlChecked(dialog, searches ? StepControlTable[level].search : StepControlTable[level].jump, true);
        ShowStep(dialog, level, searches, form.stepField[level]);
    }
    SetControlChecked(dialog, SETTINGS_SHOW_WINDOW, form.showWindow);
    SetControlChecked(dialog, SETTINGS_PAUSE, form.pauseAtEnd);
    for (int mode = 0; mode < 3; ++mode)
        if (form.aiMode[mode]) SetControlChecked(dialog, AiModeButtons[mode], true);
    SetControlNumber(dialog, SETTINGS_MAX_AI, form.maxAiAircraft);
    SetControlChecked(dialog, SETTINGS_TRAFFIC_KEYS, form.trafficControlKeys);
    SetControlChecked(dialog, SETTINGS_TRAFFIC_WINDOW, form.trafficControlWindow);
    SetControlChecked(dialog, SETTINGS_NO_RECORD_DIALOGS, form.noRecordDialogs);
    for (const FlagBoxes& boxes : FlagBoxTable) {
        SetControlChecked(dialog, boxes.recorded, (form.recordedFlags & boxes.flag) != 0);
        SetControlChecked(dialog, boxes.played, (form.playedFlags & boxes.flag) != 0);
    }
    SetControlChecked(dialog, SETTINGS_SHOW_RECORDING, form.showRecording);
    SetControlChecked(dialog, SETTINGS_SHOW_PLAYBACK, form.showPlayback);
    SetControlChecked(dialog, SETTINGS_SIM_RATE, form.simRate);
    SetControlChecked(dialog, SETTINGS_SIM_RATE_SEARCH, form.simRateOnSearch);
    SetControlChecked(dialog, SETTINGS_SIM_RATE_LIMIT, form.simRateLimit);
    EnableSimRateOptions(dialog, form.simRate);
    SetControlNumber(dialog, SETTINGS_BUFFER_SIZE, form.bufferSize);
}

SettingsForm Read(WindowHandle dialog) {
    SettingsForm form{};
    form.intervalItem = ComboSelection(dialog, SETTINGS_REPLAY_INTERVAL);
    form.replayEnabled = ControlChecked(dialog, SETTINGS_REPLAY_ENABLED);
    form.clearOnFlightChange = ControlChecked(dialog, SETTINGS_REPLAY_CLEAR);
    form.bufferSize = ControlNumber(dialog, SETTINGS_BUFFER_SIZE);
    for (int level = 0; level < StepLevelCount; ++level) {
        form.stepSearches[level] = ControlChecked(dialog, StepControlTable[level].search);
        form.stepField[level] = ControlNumber(dialog, StepControlTable[level].field);
    }
    form.showWindow = ControlChecked(dialog, SETTINGS_SHOW_WINDOW);
    form.pauseAtEnd = ControlChecked(dialog, SETTINGS_PAUSE);
    form.simRate = ControlChecked(dialog, SETTINGS_SIM_RATE);
    form.simRateOnSearch = ControlChecked(dialog, SETTINGS_SIM_RATE_SEARCH);
    form.simRateLimit = ControlChecked(dialog, SETTINGS_SIM_RATE_LIMIT);
    for (int mode = 0; mode < 3; ++mode) form.aiMode[mode] = ControlChecked(dialog, AiModeButtons[mode]);
    form.maxAiAircraft = ControlNumber(dialog, SETTINGS_MAX_AI);
    form.recordedFlags = FlagsOfBoxes(dialog, true);
    form.playedFlags = FlagsOfBoxes(dialog, false);
    form.trafficControlKeys = ControlChecked(dialog, SETTINGS_TRAFFIC_KEYS);
    form.trafficControlWindow = ControlChecked(dialog, SETTINGS_TRAFFIC_WINDOW);
    form.showRecording = ControlChecked(dialog, SETTINGS_SHOW_RECORDING);
    form.showPlayback = ControlChecked(dialog, SETTINGS_SHOW_PLAYBACK);
    form.noRecordDialogs = ControlChecked(dialog, SETTINGS_NO_RECORD_DIALOGS);
    return form;
}

// A click on a "Step" or "Search" button shows that choice's stored value.
bool StepChoiceClicked(WindowHandle dialog, int control) {
    for (int level = 0; level < StepLevelCount; ++level) {
        const StepControls& step = StepControlTable[level];
        if (control != step.jump && control != step.search) continue;
        const bool searches = ControlChecked(dialog, step.search);
        ShowStep(dialog, level, searches, StepFieldValue(settings, level, searches));
        return true;
    }
    return false;
}

// A click (or the Enter and Escape keys, or the close box); false once the
// dialog has ended.
bool Clicked(WindowHandle dialog, int control) {
    if (StepChoiceClicked(dialog, control)) return true;
    switch (control) {
        case SETTINGS_SIM_RATE:
            EnableSimRateOptions(dialog, ControlChecked(dialog, SETTINGS_SIM_RATE));
            return true;
        case SETTINGS_PLAY_DATE:
            if (ControlChecked(dialog, SETTINGS_PLAY_DATE))
                ShowMessageBox(dialog, DateTimeWarning, "Warning", BoxOk | BoxIconWarning);
            return true;
        case SETTINGS_RECORD_DEFAULTS:
            // Only the stored defaults change: no recording starts from here,
            // and nothing the replay buffer records with is touched.
            RunRecordDialog(nullptr);
            return true;
        case DIALOG_OK:
            settings = SettingsFromForm(Read(dialog), settings);
            SaveSettings();
            StartReplayBuffer();
            DialogEnd(dialog, DIALOG_OK);
            return false;
        case DIALOG_CANCEL:
            DialogEnd(dialog, DIALOG_CANCEL);
            return false;
        default:
            return true;
    }
}

intptr_t SettingsProcedure(WindowHandle dialog, uint32_t message, uintptr_t wParam, intptr_t) {
    if (message == MessageInitDialog) {
        Show(dialog, SettingsFormFor(settings));
        return 1;
    }
    if (message != MessageDialogCommand) return 0;
    const int control = CommandControl(wParam);
    const uint32_t notification = CommandNotification(wParam);
    if (notification == NotifyClicked) {
        if (Clicked(dialog, control)) UpdateMemoryLabel(dialog);
        return 1;
    }
    if ((control == SETTINGS_BUFFER_SIZE && notification == NotifyEditChange) ||
        (control == SETTINGS_REPLAY_INTERVAL && notification == NotifySelectionChange)) {
        UpdateMemoryLabel(dialog);
        return 1;
    }
    return 0;
}

}  // namespace

void RunSettingsDialog() { DialogRun(DIALOG_SETTINGS, module.mainWindow, SettingsProcedure, nullptr); }
