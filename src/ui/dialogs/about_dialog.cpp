// "About Aerotrace": the product, version, rights and support lines, all in
// the dialog's template. It sets no initial focus.
#include "core/host/module_state.h"
#include "ui/dialogs/dialog_controls.h"
#include "ui/dialogs/dialog_ids.h"
#include "ui/dialogs/dialogs.h"

static intptr_t AboutProcedure(WindowHandle dialog, uint32_t message, uintptr_t wParam, intptr_t) {
    if (message != MessageDialogCommand) return 0;
    const int control = CommandControl(wParam);
    if (control != DIALOG_OK && control != DIALOG_CANCEL) return 0;
    return EndWith(dialog, control);
}

void RunAboutDialog() { DialogRun(DIALOG_ABOUT, module.mainWindow, AboutProcedure, nullptr); }
