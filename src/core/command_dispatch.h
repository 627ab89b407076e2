// The one place that turns what the user asked for (ui_action.h) into the
// call of the recording, playback, transport, dialog or view command.
#pragma once

#include <cstdint>

#include "ui/menu/ui_action.h"

void PerformAction(UiAction action, int32_t argument);
