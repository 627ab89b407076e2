// The record dialog's form: stored defaults to controls, controls to the
// defaults and the recording parameters.
#include "ui/dialogs/record_form.h"

#include "engine/record/recording_start_stop.h"
#include "ui/dialogs/interval_choice.h"

const char* const AutostopItemTexts[AutostopItemCount] = {"after touchdown", "after engine shutdown",
                                                          "after start of recording"};

static bool IsAutostopItem(int32_t item) { return item >= 0 && item < AutostopItemCount; }

RecordForm RecordFormFor(const RecordDefaults& defaults) {
    RecordForm form{};
    // A missing or unknown interval shows (and records) 1/4 s.
    form.intervalItem = IntervalOfItem(defaults.DfltItvlIdx) != 0 ? defaults.DfltItvlIdx : 1;
    form.autostop = defaults.DfltAutostop >= 0;
    // The list always shows a choice: the stored one, or the first.
    form.autostopItem = IsAutostopItem(defaults.DfltAutostop) ? defaults.DfltAutostop : 0;
    // The delay as a recording would use it: a hand-edited negative or huge
    // number shows as the bound it counts as.
    form.autostopSeconds = AutostopDelayForSeconds(defaults.DfltAutostopTime) / 10000u;
    form.recordAi = defaults.RecAI != 0;
    form.aiFactor = defaults.AIItvlFactor;
    return form;
}

RecordChoice RecordChoiceFromForm(const RecordForm& form, uint32_t currentKind) {
    RecordChoice choice{};
    const int interval = IntervalOfItem(form.intervalItem) != 0 ? form.intervalItem : 1;
    choice.defaults.DfltItvlIdx = interval;
    choice.parameters.recordInterval = IntervalOfItem(interval);

    const int32_t kind = form.autostop && IsAutostopItem(form.autostopItem) ? form.autostopItem : -1;
    // Unchecking the box keeps the seconds for the next time it is checked.
    const uint32_t seconds =
        form.autostopSeconds > MaxAutostopSeconds ? static_cast<uint32_t>(MaxAutostopSeconds) : form.autostopSeconds;
    choice.defaults.DfltAutostop = kind;
    choice.defaults.DfltAutostopTime = static_cast<int32_t>(seconds);
    choice.parameters.autostopDelay = AutostopDelayForSeconds(seconds);
    choice.parameters.autostopKind = AutostopKindForChoice(kind, currentKind);

    int32_t factor = form.aiFactor;
    if (factor < 1) factor = 1;
    if (factor > 64) factor = 64;
    choice.defaults.RecAI = form.recordAi ? 1 : 0;
    choice.defaults.AIItvlFactor = factor;
    choice.parameters.aiSampleFactor = form.recordAi ? static_cast<uint8_t>(factor) : 0;
    return choice;
}
