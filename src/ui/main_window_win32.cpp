// The simulator's main window procedure as the module replaces it: it adds
// the module menu to the menu bar whenever the bar lacks it, hands commands
// and keys to the portable handler, and passes the rest on unchanged to the
// procedure the window had before.
#include <windows.h>

#include <cstring>

#include "config/settings.h"
#include "core/module.h"
#include "ui/main_window.h"
#include "ui/menu_model.h"

static_assert(MessageNcPaint == WM_NCPAINT && MessageKeyDown == WM_KEYDOWN && MessageKeyUp == WM_KEYUP &&
                  MessageCommand == WM_COMMAND,
              "the portable handler uses the Win32 message numbers");

// True when an item of the bar is titled exactly like the module's popup;
// "Aerotrace2" or "aerotrace" belong to someone else.
static bool MenuBarHasModuleMenu(HMENU bar) {
    int count = GetMenuItemCount(bar);
    for (int position = 0; position < count; ++position) {
        char title[128] = "";
        GetMenuStringA(bar, static_cast<UINT>(position), title, sizeof title, MF_BYPOSITION);
        if (std::strcmp(title, MODULE_MENU_TITLE) == 0) return true;
    }
    return false;
}

static HMENU BuildModuleMenu() {
    HMENU popup = CreateMenu();
    if (!popup) return nullptr;
    ModuleMenuModel model = BuildModuleMenuModel(module.mode, settings);
    for (int i = 0; i < model.count; ++i) {
        const MenuEntry& entry = model.entries[i];
        BOOL appended;
        if (entry.kind == MenuEntrySeparator) {
            appended = AppendMenuA(popup, MF_SEPARATOR, 0, nullptr);
        } else {
            UINT flags = MF_STRING | (entry.grayed ? MF_GRAYED : MF_ENABLED);
            appended = AppendMenuA(popup, flags, entry.id, entry.text);
        }
        // A menu with an item missing would offer the wrong commands.
        if (!appended) {
            DestroyMenu(popup);
            return nullptr;
        }
    }
    return popup;
}

// The simulator rebuilds its menu bar from time to time (and has not built
// it yet when the module is attached); each repaint of the frame looks
// whether the module's popup is still there.
static void InsertModuleMenu(HWND window) {
    HMENU bar = GetMenu(window);
    if (!bar || MenuBarHasModuleMenu(bar)) return;
    HMENU popup = BuildModuleMenu();
    if (!popup) return;
    if (!AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), MODULE_MENU_TITLE)) DestroyMenu(popup);
}

static LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCPAINT) {
        // Passed on afterwards, so that the host paints the bar with the new item.
        InsertModuleMenu(window);
    } else {
        int consumed = 0;
        intptr_t result = HandleMainWindowMessage(message, wParam, lParam, &consumed);
        if (consumed) return result;
    }
    return CallWindowProcA(reinterpret_cast<WNDPROC>(module.previousWindowProcedure), window, message, wParam, lParam);
}

void* SubclassMainWindow(WindowHandle window) {
    return reinterpret_cast<void*>(
        SetWindowLongPtrA(static_cast<HWND>(window), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(MainWindowProc)));
}
