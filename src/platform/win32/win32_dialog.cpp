// The module's modal dialogs on Windows: DialogBoxParam with the module's
// own templates, and one dialog procedure that hands every message to the
// portable procedure together with the dialog's state, which travels in the
// dialog's own parameter and then in its DWLP_USER slot.
#include <windows.h>

#include "platform/platform.h"

namespace {

struct DialogContext {
    DialogProcedure procedure;
    void* state;
};

INT_PTR CALLBACK DialogThunk(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        DialogContext* context = reinterpret_cast<DialogContext*>(lParam);
        SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(context));
        return context->procedure(dialog, message, wParam, reinterpret_cast<intptr_t>(context->state));
    }
    // Messages before WM_INITDIALOG (WM_SETFONT) find no context yet.
    DialogContext* context = reinterpret_cast<DialogContext*>(GetWindowLongPtrA(dialog, DWLP_USER));
    return context ? context->procedure(dialog, message, wParam, lParam) : FALSE;
}

// The templates are in the image that holds this code.
HINSTANCE ModuleImage() {
    HMODULE image = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&DialogThunk), &image);
    return image;
}

}  // namespace

intptr_t DialogRun(uint32_t templateId, WindowHandle owner, DialogProcedure procedure, void* state) {
    DialogContext context = {procedure, state};
    return DialogBoxParamA(ModuleImage(), MAKEINTRESOURCEA(templateId), static_cast<HWND>(owner), DialogThunk,
                           reinterpret_cast<LPARAM>(&context));
}

void* DialogState(WindowHandle dialog) {
    DialogContext* context = reinterpret_cast<DialogContext*>(GetWindowLongPtrA(static_cast<HWND>(dialog), DWLP_USER));
    return context ? context->state : nullptr;
}

intptr_t DialogItemMessage(WindowHandle dialog, int control, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    return SendDlgItemMessageA(static_cast<HWND>(dialog), control, message, wParam, lParam);
}

void DialogItemEnable(WindowHandle dialog, int control, int enabled) {
    EnableWindow(GetDlgItem(static_cast<HWND>(dialog), control), enabled ? TRUE : FALSE);
}

// Through the dialog manager, so that the default button follows the focus.
void DialogItemFocus(WindowHandle dialog, int control) {
    HWND item = GetDlgItem(static_cast<HWND>(dialog), control);
    if (item) SendMessageA(static_cast<HWND>(dialog), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(item), TRUE);
}

void DialogEnd(WindowHandle dialog, intptr_t result) { EndDialog(static_cast<HWND>(dialog), result); }
