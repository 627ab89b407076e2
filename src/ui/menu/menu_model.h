// The module menu as data: which items the "Aerotrace" popup holds in each
// mode, with their texts and states, and what each of its commands does in
// each mode. The Win32 shell only turns this into a real menu.
#pragma once

#include <cstdint>

#include "config/settings.h"
#include "core/host/module_state.h"
#include "ui/menu/ui_action.h"
#include "ui/menu/view_menu_hook.h"

// The title of the module's popup on the simulator's menu bar.
#define MODULE_MENU_TITLE "Aerotrace"

// Command ids of the module menu (the view sub-menus use 43600 to 43840).
enum MenuCommandId : uint16_t {
    CmdRecord = 43566,
    CmdPlay = 43567,
    CmdPlayTraffic = 43568,
    CmdReplay = 43569,
    CmdSettings = 43570,
    CmdAbout = 43571,
    CmdKeyboard = 43572,
    CmdViewSettings = 43573,
};

// A view popup is one of the three advanced-view sub-menus, built by the
// views for the kind it names (view_menu_hook.h).
enum MenuEntryKind : uint8_t { MenuEntryCommand, MenuEntrySeparator, MenuEntryViewPopup };

struct MenuEntry {
    MenuEntryKind kind;
    uint16_t id;       // commands only
    const char* text;  // commands and popups
    bool grayed;
    uint8_t viewKind;  // popups only
};

constexpr int ModuleMenuCapacity = 16;

struct ModuleMenuModel {
    int count;
    MenuEntry entries[ModuleMenuCapacity];
};

// The popup's entries, top to bottom, for a menu built in this mode. The
// menu is not updated afterwards: it shows the mode it was built in.
ModuleMenuModel BuildModuleMenuModel(Mode mode, const Settings& settings, const ViewMenuHook& views);

// What a WM_COMMAND with this id (the low word of wParam) does in this mode.
// Every module menu id is consumed, even when the mode lets it do nothing
// (a menu built in an earlier mode can still send it); other ids go on.
UiDecision MenuCommandDecision(uint32_t commandId, Mode mode, const Settings& settings, const ViewMenuHook& views);
