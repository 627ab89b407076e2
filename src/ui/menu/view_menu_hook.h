// The advanced views' part of the module menu and of the keys, which the
// views give (views/menus/view_menus.h): the kinds and titles of their three
// sub-menus, the command ids those sub-menus send and whether a view key
// acts on the focused window. The menu knows the views only through this.
#pragma once

#include <cstdint>

#include "config/keys.h"

constexpr int ViewPopupCount = 3;

struct ViewMenuHook {
    uint8_t popupKinds[ViewPopupCount];  // the view kind of each sub-menu, in menu order
    const char* (*popupTitle)(uint8_t viewKind);
    bool (*ownsCommand)(uint32_t commandId);
    // windowKind: the kind byte of the focused view window, 0 for none.
    bool (*keyActs)(KeyCommand key, uint8_t windowKind);
};
