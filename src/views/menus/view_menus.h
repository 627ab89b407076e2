// The three view sub-menus of the module menu, "Advanced tower views",
// "Advanced spot views" and "Advanced VC views", as data: their items with
// texts, ids and states for the focused window as it is at this moment. The
// Win32 shell builds them with the module menu and fills them again each
// time the user opens one, so that they always show the current views.
#pragma once

#include <cstdint>

#include "ui/menu/view_menu_hook.h"
#include "views/state/view_state.h"

struct ViewMenuItem {
    uint16_t id;  // 0 for the separator
    bool separator;
    bool grayed;
    bool checked;
    char text[2 * ViewNameLength + 1];  // a stored view's name, "&" doubled so that it shows as typed
};

// New, Delete, Edit, Load, Save, a separator, the simulator's own view and
// one item per stored view.
constexpr int ViewMenuCapacity = 7 + ViewListCapacity;

struct ViewMenuModel {
    int count;
    ViewMenuItem items[ViewMenuCapacity];
};

// The sub-menu of a kind for the window that has the focus; empty when the
// window has no row (the table is full) or there is no such window.
ViewMenuModel BuildViewMenuModel(ViewKind kind);
// "Advanced tower views", "Advanced spot views", "Advanced VC views".
const char* ViewMenuTitle(ViewKind kind);

// The views' part of the module menu and keys, as the menu asks for it.
extern const ViewMenuHook viewMenuHook;
