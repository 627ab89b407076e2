// Native stand-ins for the module's Win32 services: user interaction goes to
// the hooks the stand-in simulator installs.
#include "platform/posix/posix_hooks.h"

static PosixHostHooks hostHooks;

void PosixSetHostHooks(const PosixHostHooks& hooks) { hostHooks = hooks; }

int ShowMessageBox(WindowHandle owner, const char* text, const char* caption, uint32_t flags) {
    if (hostHooks.messageBox) return hostHooks.messageBox(owner, text, caption, flags);
    return (flags & 0x0F) == BoxYesNo ? AnswerYes : AnswerOk;
}

PosixWindowProcedure PosixSubclassWindow(WindowHandle window, PosixWindowProcedure procedure) {
    return hostHooks.subclassWindow ? hostHooks.subclassWindow(window, procedure) : nullptr;
}

WindowHandle FindTopLevelWindow(const char* className) {
    return hostHooks.findWindow ? hostHooks.findWindow(className) : nullptr;
}

int16_t AsyncKeyState(int virtualKey) {
    return hostHooks.asyncKeyState ? hostHooks.asyncKeyState(virtualKey) : 0;
}

int ChooseOpenFile(const FileDialogRequest* request, char* buffer, uint32_t size) {
    if (!hostHooks.fileDialog) return 0;
    return hostHooks.fileDialog(request, FileDialogFlags(request, OpenFileDialogKind), buffer, size);
}

int ChooseSaveFile(const FileDialogRequest* request, char* buffer, uint32_t size) {
    if (!hostHooks.fileDialog) return 0;
    return hostHooks.fileDialog(request, FileDialogFlags(request, SaveFileDialogKind), buffer, size);
}

// Without a stand-in to show it, a dialog is as good as cancelled.
intptr_t DialogRun(uint32_t templateId, WindowHandle owner, DialogProcedure procedure, void* state) {
    if (!hostHooks.dialogRun) return AnswerCancel;
    return hostHooks.dialogRun(templateId, owner, procedure, state);
}

void* DialogState(WindowHandle dialog) { return hostHooks.dialogState ? hostHooks.dialogState(dialog) : nullptr; }

intptr_t DialogItemMessage(WindowHandle dialog, int control, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    return hostHooks.dialogItemMessage ? hostHooks.dialogItemMessage(dialog, control, message, wParam, lParam) : 0;
}

void DialogItemEnable(WindowHandle dialog, int control, int enabled) {
    if (hostHooks.dialogItemEnable) hostHooks.dialogItemEnable(dialog, control, enabled);
}

void DialogItemFocus(WindowHandle dialog, int control) {
    if (hostHooks.dialogItemFocus) hostHooks.dialogItemFocus(dialog, control);
}

void DialogEnd(WindowHandle dialog, intptr_t result) {
    if (hostHooks.dialogEnd) hostHooks.dialogEnd(dialog, result);
}
