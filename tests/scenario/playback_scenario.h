// The fixture of the playback and loading scenarios: settings written before
// the module loads, a world that has run for a moment, and the load dialog
// answered with the recordings to play.
#pragma once

#include <string>
#include <vector>

#include "recording_bytes.h"
#include "scenario_support.h"

const uint32_t FrameUnits = 500;  // the stand-in's 0.05 s frame in TimeStamp units

class PlaybackWorld : public Scenario {
protected:
    // Settings for the module, written before it is loaded.
    void Settings(const std::string& lines) { WriteBytes("Modules/Aerotrace.ini", "[SETTINGS]\r\n" + lines); }

    // Loads the module and lets the world run for a moment, so that the
    // first playback frame finds a settled clock.
    void StartWorld(const SimConfig& config = SimConfig()) {
        Start(config);
        SimRunSeconds(1.0);
        SimClearLog();
    }

    // "Play..." (or "Play as traffic...") in the module menu, its file
    // dialog answered with these recordings.
    void Play(const std::vector<std::string>& answer, bool asTraffic = false) {
        SimQueueFileDialogAnswer(answer);
        EXPECT_FALSE(SimChooseMenuCommand(asTraffic ? SimCmdPlayTraffic : SimCmdPlay));
    }
    // Shift+Escape: a playback on the user aircraft ends at once, where it is.
    static void StopHere() { EXPECT_FALSE(SimTapKeyWith(SimKeyShift, SimKeyEscape)); }
};
