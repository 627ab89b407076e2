// Which command a key fires in which mode: the key-down dispatch (transport,
// stop, recording and playback keys, in that order) and the key-up dispatch
// that ends a search. Pure decisions; the main-window procedure has the
// command dispatch perform them.
#pragma once

#include "config/keys.h"
#include "config/settings.h"
#include "core/host/module_state.h"
#include "ui/menu/ui_action.h"
#include "ui/menu/view_menu_hook.h"

// activeViewKind: the kind byte of the view window that has the focus (0 for
// none), which decides with the views whether the view keys are the
// module's; without views they never are.
UiDecision KeyDownDecision(Mode mode, const Settings& settings, const KeyTable& keys, KeyCode code,
                           const ViewMenuHook* views = nullptr, uint8_t activeViewKind = 0);
UiDecision KeyUpDecision(Mode mode, const Settings& settings, const KeyTable& keys, KeyCode code);
