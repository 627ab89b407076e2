// The line of text the module shows on the main view while it records or
// plays: whether there is one in the current mode, its words and numbers,
// and its colour. Drawing it is the event handlers' part.
#pragma once

#include <cstdint>

#include "core/host/clock.h"
#include "core/host/module_state.h"
#include "engine/session/transport.h"

struct StatusLine {
    bool shown;       // false: nothing is drawn in this mode with these settings
    uint32_t colour;  // ARGB, drawn beside the white of the text
    char text[96];
};

// True when the mode shows a line with the display settings ShowRec and
// ShowPlay as they are (non-zero = on).
bool StatusLineWanted(Mode mode, int32_t showRec, int32_t showPlay);

StatusLine BuildStatusText(Mode mode, int32_t showRec, int32_t showPlay, const ModuleClock& clock,
                           const Transport& transport);
