// The views' dialogs through the module's dialog seam: natively the
// stand-in plays the dialog manager over the same templates, so the same
// procedure is tested there and under Windows.
#include "views/dialogs/view_dialog.h"

#include <cstring>

#include "core/host/module_state.h"
#include "ui/dialogs/dialog_controls.h"
#include "ui/dialogs/dialog_ids.h"

namespace {

struct RunningForm {
    const ViewDialogForm* form;
    void* values;
};

char* TextAt(const RunningForm& running, const FormText& text) {
    return static_cast<char*>(running.values) + text.offset;
}
bool& BoxAt(const RunningForm& running, const FormBox& box) {
    return *reinterpret_cast<bool*>(static_cast<char*>(running.values) + box.offset);
}

void Show(WindowHandle dialog, const RunningForm& running) {
    const ViewDialogForm& form = *running.form;
    for (size_t i = 0; i < form.textCount; ++i) {
        const FormText& text = form.texts[i];
        DialogItemMessage(dialog, text.control, EditLimitText, static_cast<uintptr_t>(text.limit), 0);
        SetControlText(dialog, text.control, TextAt(running, text));
    }
    for (size_t i = 0; i < form.boxCount; ++i)
        SetControlChecked(dialog, form.boxes[i].control, BoxAt(running, form.boxes[i]));
    if (form.opened) form.opened(dialog);
}

void Read(WindowHandle dialog, const RunningForm& running) {
    const ViewDialogForm& form = *running.form;
    for (size_t i = 0; i < form.textCount; ++i) {
        const FormText& text = form.texts[i];
        ControlText(dialog, text.control, TextAt(running, text), static_cast<size_t>(text.limit) + 1);
    }
    for (size_t i = 0; i < form.boxCount; ++i)
        BoxAt(running, form.boxes[i]) = ControlChecked(dialog, form.boxes[i].control);
}

intptr_t FormProcedure(WindowHandle dialog, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    if (message == MessageInitDialog) {
        Show(dialog, *static_cast<RunningForm*>(reinterpret_cast<void*>(lParam)));
        return 1;
    }
    if (message != MessageDialogCommand) return 0;
    RunningForm* running = static_cast<RunningForm*>(DialogState(dialog));
    if (!running) return 0;
    const int control = CommandControl(wParam);
    if (control == DIALOG_OK) {
        Read(dialog, *running);
        return EndWith(dialog, DIALOG_OK);
    }
    if (control == DIALOG_CANCEL) return EndWith(dialog, DIALOG_CANCEL);
    if (CommandNotification(wParam) == NotifyClicked && running->form->clicked) {
        running->form->clicked(dialog, control);
        return 1;
    }
    return 0;
}

}  // namespace

bool RunViewDialog(const ViewDialogForm& form, void* values) {
    RunningForm running = {&form, values};
    return DialogRun(form.templateId, module.mainWindow, FormProcedure, &running) == DIALOG_OK;
}

void CopyLimited(char* to, const char* from, size_t limit) {
    size_t length = std::strlen(from);
    if (length > limit) length = limit;
    std::memcpy(to, from, length);
    to[length] = 0;
}
