// The control window's side of the engine's calls (control_window_hooks.h)
// and of the user's clicks, which the module's command dispatch carries out:
// the module gives the engine the one and the window the other at start-up.
#pragma once

#include <cstdint>

#include "engine/session/control_window_hooks.h"
#include "ui/menu/ui_action.h"

extern const ControlWindowHooks controlWindowHooks;

// What performs the actions the window's buttons and slider ask for; until
// it is given, a click does nothing.
void SetControlWindowPerformer(void (*performer)(UiAction action, int32_t argument));
