// The simulator's main window procedure as the module replaces it: what the
// module does not handle goes on to the procedure the window had before.
#include <windows.h>

#include "core/module.h"

static LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return CallWindowProcA(reinterpret_cast<WNDPROC>(module.previousWindowProcedure), window, message, wParam,
                           lParam);
}

void* SubclassMainWindow(WindowHandle window) {
    return reinterpret_cast<void*>(
        SetWindowLongA(static_cast<HWND>(window), GWL_WNDPROC, reinterpret_cast<LONG>(MainWindowProc)));
}
