// Which command a key fires in which mode: the key-down dispatch (transport,
// stop, recording and playback keys, in that order) and the key-up dispatch
// that ends a search. Pure decisions; main_window performs them.
#pragma once

#include "config/keys.h"
#include "config/settings.h"
#include "core/module_state.h"
#include "ui/command_dispatch.h"

// activeViewKind: the kind byte of the view window that has the focus (0 for
// none), which decides whether the view keys are the module's.
UiDecision KeyDownDecision(Mode mode, const Settings& settings, const KeyTable& keys, KeyCode code,
                           uint8_t activeViewKind = 0);
UiDecision KeyUpDecision(Mode mode, const Settings& settings, const KeyTable& keys, KeyCode code);
