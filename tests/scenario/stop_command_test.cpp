// The user's stop during a playback: the playback runs out from one second
// before its end and then ends by itself; a recording shorter than that
// second plays out from where it is, and is never started over.
#include <cstring>

#include "recording_bytes.h"
#include "scenario_support.h"
#include "user_input.h"

namespace {

using StopCommand = Scenario;

// The altitude the module gave the user aircraft this frame; false when it
// placed no aircraft.
bool PlacedAltitude(int64_t* altitude) {
    if (SimLogOf(LogPositionSet).empty()) return false;
    SimAircraftState state;
    if (!SimGetAircraftState(1, &state)) return false;
    *altitude = PlacementAltitude(state.placement);
    return true;
}

}  // namespace

TEST_F(StopCommand, AHalfSecondRecordingStoppedHalfWayEndsWithoutStartingOver) {
    WriteBytes("Modules/Aerotrace.ini", "[SETTINGS]\r\nPause=0\r\nRplyEnabled=0\r\n");
    // Samples every tenth of a second, climbing all the way: 0.5 s.
    WriteBytes("short.atr", MultiTrackFile({SmoothTrack(0, 0, 1000, 6, 0)}));
    Start();
    for (int stopKey = 0; stopKey < 2; ++stopKey) {
        SCOPED_TRACE(stopKey ? "the Stop key" : "\"Stop playback...\"");
        // A pause long enough that the first playback frame takes no step
        // from the time since the last one.
        SimRunSeconds(1.0);
        SimQueueFileDialogAnswer({folder + "/short.atr"});
        EXPECT_FALSE(Choose(CmdPlay));
        SimClearLog();
        SimRunFrames(6);
        int64_t reached = 0;
        ASSERT_TRUE(PlacedAltitude(&reached));
        EXPECT_GT(reached, SmoothTrack(0, 0, 1000, 6, 0).samples[1].altitude);
        // "Stop playback..." is the Play item while a playback runs; the
        // Stop key is Escape.
        EXPECT_FALSE(stopKey ? Press(KeyEscape) : Choose(CmdPlay));
        int frames = 0;
        for (;; ++frames) {
            ASSERT_LT(frames, 40) << "the playback did not end";
            SimClearLog();
            SimRunFrames(1);
            int64_t altitude = 0;
            if (!PlacedAltitude(&altitude)) break;
            EXPECT_GE(altitude, reached) << "frame " << frames << " went back towards the start";
            reached = altitude;
        }
        // Ended within a second of play time (twenty frames), status line gone.
        EXPECT_LE(frames, 20);
        EXPECT_TRUE(StatusTexts().empty());
        SimRunFrames(5);
        EXPECT_TRUE(SimLogOf(LogPositionSet).empty());
    }
}
