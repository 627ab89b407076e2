// The simulator's main window procedure as the module replaces it: it adds
// the module menu to the menu bar whenever the bar lacks it, hands commands
// and keys to the portable handler, and passes the rest on unchanged to the
// procedure the window had before.
#include <windows.h>

#include <cstring>

#include "config/settings.h"
#include "core/main_window.h"
#include "core/module.h"
#include "ui/menu/menu_model.h"
#include "views/menus/view_menus.h"

static_assert(MessageNcPaint == WM_NCPAINT && MessageKeyDown == WM_KEYDOWN && MessageKeyUp == WM_KEYUP &&
                  MessageCommand == WM_COMMAND,
              "the portable handler uses the Win32 message numbers");

// The position of the item titled exactly like the module's popup, -1 for
// none; "Aerotrace2" or "aerotrace" belong to someone else.
static int ModuleMenuPosition(HMENU bar) {
    int count = bar ? GetMenuItemCount(bar) : 0;
    for (int position = 0; position < count; ++position) {
        char title[128] = "";
        GetMenuStringA(bar, static_cast<UINT>(position), title, sizeof title, MF_BYPOSITION);
        if (std::strcmp(title, MODULE_MENU_TITLE) == 0) return position;
    }
    return -1;
}

// A view sub-menu's items for the focused window as it is now.
static bool FillViewMenu(HMENU popup, ViewKind kind) {
    const ViewMenuModel model = BuildViewMenuModel(kind);
    for (int i = 0; i < model.count; ++i) {
        const ViewMenuItem& item = model.items[i];
        BOOL appended;
        if (item.separator) {
            appended = AppendMenuA(popup, MF_SEPARATOR, 0, nullptr);
        } else {
            UINT flags = MF_STRING | (item.grayed ? MF_GRAYED : MF_ENABLED) | (item.checked ? MF_CHECKED : 0);
            appended = AppendMenuA(popup, flags, item.id, item.text);
        }
        if (!appended) return false;
    }
    return true;
}

static HMENU BuildViewMenu(ViewKind kind) {
    HMENU popup = CreatePopupMenu();
    if (popup && !FillViewMenu(popup, kind)) {
        DestroyMenu(popup);
        return nullptr;
    }
    return popup;
}

// The views change while the module menu stays on the bar (keys, the
// simulator's own view changes, another window): each view sub-menu is
// filled afresh as the user opens it, so it shows what is current then.
static void RefreshViewMenu(HWND window, HMENU opened) {
    HMENU bar = GetMenu(window);
    const int modulePosition = ModuleMenuPosition(bar);
    HMENU modulePopup = modulePosition < 0 ? nullptr : GetSubMenu(bar, modulePosition);
    int items = modulePopup ? GetMenuItemCount(modulePopup) : 0;
    for (int position = 0; position < items; ++position) {
        if (GetSubMenu(modulePopup, position) != opened) continue;
        char title[128] = "";
        GetMenuStringA(modulePopup, static_cast<UINT>(position), title, sizeof title, MF_BYPOSITION);
        for (ViewKind kind : CatalogueKinds) {
            if (std::strcmp(title, ViewMenuTitle(kind)) != 0) continue;
            while (GetMenuItemCount(opened) > 0) DeleteMenu(opened, 0, MF_BYPOSITION);
            FillViewMenu(opened, kind);
        }
        return;
    }
}

static HMENU BuildModuleMenu() {
    HMENU popup = CreateMenu();
    if (!popup) return nullptr;
    ModuleMenuModel model = BuildModuleMenuModel(module.mode, settings, viewMenuHook);
    for (int i = 0; i < model.count; ++i) {
        const MenuEntry& entry = model.entries[i];
        BOOL appended;
        if (entry.kind == MenuEntrySeparator) {
            appended = AppendMenuA(popup, MF_SEPARATOR, 0, nullptr);
        } else if (entry.kind == MenuEntryViewPopup) {
            HMENU views = BuildViewMenu(static_cast<ViewKind>(entry.viewKind));
            appended = views && AppendMenuA(popup, MF_POPUP, reinterpret_cast<UINT_PTR>(views), entry.text);
            if (views && !appended) DestroyMenu(views);
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
    if (!bar || ModuleMenuPosition(bar) >= 0) return;
    HMENU popup = BuildModuleMenu();
    if (!popup) return;
    if (!AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), MODULE_MENU_TITLE)) DestroyMenu(popup);
}

static LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCPAINT) {
        // Passed on afterwards, so that the host paints the bar with the new item.
        InsertModuleMenu(window);
    } else if (message == WM_INITMENUPOPUP) {
        // Passed on as well: the host fills its own menus on the same message.
        if (module.handlersRegistered && !HIWORD(lParam)) RefreshViewMenu(window, reinterpret_cast<HMENU>(wParam));
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
