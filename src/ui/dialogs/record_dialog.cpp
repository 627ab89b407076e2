// "Record Flight": the interval, the automatic stop and the AI traffic of
// the next recording, shown from and stored as the RECORD defaults.
#include "config/settings.h"
#include "core/host/module_state.h"
#include "engine/session/session.h"
#include "ui/dialogs/dialog_controls.h"
#include "ui/dialogs/dialog_ids.h"
#include "ui/dialogs/dialogs.h"
#include "ui/dialogs/interval_choice.h"
#include "ui/dialogs/record_form.h"

namespace {

struct RecordDialogState {
    RecordParameters chosen;
};

void Show(WindowHandle dialog, const RecordForm& form) {
    FillComboBox(dialog, RECORD_INTERVAL, IntervalItemTexts, IntervalItemCount);
    SetComboSelection(dialog, RECORD_INTERVAL, form.intervalItem);
    SetControlChecked(dialog, RECORD_AUTOSTOP, form.autostop);
    SetControlNumber(dialog, RECORD_AUTOSTOP_SECONDS, form.autostopSeconds);
    FillComboBox(dialog, RECORD_AUTOSTOP_KIND, AutostopItemTexts, AutostopItemCount);
    SetComboSelection(dialog, RECORD_AUTOSTOP_KIND, form.autostopItem);
    SetControlChecked(dialog, RECORD_AI, form.recordAi);
    SetControlSignedNumber(dialog, RECORD_AI_FACTOR, form.aiFactor);
}

RecordForm Read(WindowHandle dialog) {
    RecordForm form;
    form.intervalItem = ComboSelection(dialog, RECORD_INTERVAL);
    form.autostop = ControlChecked(dialog, RECORD_AUTOSTOP);
    form.autostopSeconds = ControlNumber(dialog, RECORD_AUTOSTOP_SECONDS);
    form.autostopItem = ComboSelection(dialog, RECORD_AUTOSTOP_KIND);
    form.recordAi = ControlChecked(dialog, RECORD_AI);
    form.aiFactor = ControlSignedNumber(dialog, RECORD_AI_FACTOR);
    return form;
}

intptr_t RecordProcedure(WindowHandle dialog, uint32_t message, uintptr_t wParam, intptr_t) {
    if (message == MessageInitDialog) {
        Show(dialog, RecordFormFor(ReadRecordDefaults(AI_FACTOR_DEFAULT_DIALOG)));
        return 1;
    }
    if (message != MessageDialogCommand || CommandNotification(wParam) != NotifyClicked) return 0;
    switch (CommandControl(wParam)) {
        case DIALOG_OK: {
            const RecordChoice choice = RecordChoiceFromForm(Read(dialog), session.autostopKind);
            WriteRecordDefaults(choice.defaults);
            static_cast<RecordDialogState*>(DialogState(dialog))->chosen = choice.parameters;
            return EndWith(dialog, DIALOG_OK);
        }
        case DIALOG_CANCEL:
            return EndWith(dialog, DIALOG_CANCEL);
        default:
            return 0;
    }
}

}  // namespace

bool RunRecordDialog(RecordParameters* parameters) {
    RecordDialogState state{};
    if (DialogRun(DIALOG_RECORD, module.mainWindow, RecordProcedure, &state) != DIALOG_OK) return false;
    if (parameters) *parameters = state.chosen;
    return true;
}
