// The main window procedure of native builds: the stand-in simulator's
// window gets the same handling as the real one, minus the menu bar it does
// not have. What the module does not consume goes on to the window's
// previous procedure.
#include "core/main_window.h"
#include "core/module.h"
#include "platform/posix/posix_hooks.h"

static intptr_t MainWindowProc(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    int consumed = 0;
    intptr_t result = HandleMainWindowMessage(message, wParam, lParam, &consumed);
    if (consumed) return result;
    PosixWindowProcedure previous = reinterpret_cast<PosixWindowProcedure>(module.previousWindowProcedure);
    return previous ? previous(window, message, wParam, lParam) : 0;
}

void* SubclassMainWindow(WindowHandle window) {
    return reinterpret_cast<void*>(PosixSubclassWindow(window, MainWindowProc));
}
