// "Replay": how many of the replay buffer's last seconds to replay, and
// "Save replay" for the whole buffer. The seconds it offers were counted
// when it opened; the buffer takes no samples while the dialog is up.
#include "core/host/module_state.h"
#include "engine/replay/replay_buffer.h"
#include "ui/dialogs/dialog_controls.h"
#include "ui/dialogs/dialog_ids.h"
#include "ui/dialogs/dialogs.h"
#include "ui/dialogs/replay_form.h"

namespace {

struct ReplayDialogState {
    uint32_t availableSeconds;
};

void Open(WindowHandle dialog, ReplayDialogState* state) {
    state->availableSeconds = AvailableReplaySeconds();
    if (!ReplayOffered(state->availableSeconds)) {
        ShowMessageBox(module.mainWindow, "No replay data available!", "Aerotrace", BoxIconWarning);
        DialogEnd(dialog, DIALOG_CANCEL);
        return;
    }
    // The 32-bit range: a long buffer holds more seconds than 16 bits count.
    DialogItemMessage(dialog, REPLAY_SPIN, UpDownSetRange32, ShortestReplaySeconds, state->availableSeconds);
    SetControlNumber(dialog, REPLAY_SECONDS, state->availableSeconds);
}

// The number the field shows. The up-down control reads it as it writes it,
// with the user's thousands separator (a no-break space or an apostrophe in
// some languages), which a reading of the text could take for its end. A
// number the control cannot take (typed beyond what the buffer holds, say)
// is read from the text and kept in range by the caller.
uint32_t ShownSeconds(WindowHandle dialog) {
    int32_t unreadable = 0;  // the BOOL the control sets when the text is no number of its range
    const intptr_t position =
        DialogItemMessage(dialog, REPLAY_SPIN, UpDownGetPos32, 0, reinterpret_cast<intptr_t>(&unreadable));
    return unreadable || position < 0 ? ControlNumber(dialog, REPLAY_SECONDS) : static_cast<uint32_t>(position);
}

intptr_t ReplayProcedure(WindowHandle dialog, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    if (message == MessageInitDialog) {
        Open(dialog, static_cast<ReplayDialogState*>(reinterpret_cast<void*>(lParam)));
        return 1;
    }
    if (message != MessageDialogCommand || CommandNotification(wParam) != NotifyClicked) return 0;
    ReplayDialogState* state = static_cast<ReplayDialogState*>(DialogState(dialog));
    switch (CommandControl(wParam)) {
        case DIALOG_OK:
            StartReplay(ReplaySecondsFor(ShownSeconds(dialog), state->availableSeconds));
            return EndWith(dialog, DIALOG_OK);
        case REPLAY_SAVE:
            // The whole buffer, whatever the field shows; the dialog stays.
            SaveReplay(dialog);
            return 1;
        case DIALOG_CANCEL:
            return EndWith(dialog, DIALOG_CANCEL);
        default:
            return 0;
    }
}

}  // namespace

void RunReplayDialog() {
    ReplayDialogState state = {0};
    DialogRun(DIALOG_REPLAY, module.mainWindow, ReplayProcedure, &state);
}
