// What each playback frame writes into the simulator, as the user meets it
// through the menu and the keys: the toggle-state event when the aircraft's
// own state differs from the recording, the gear legs while the playback
// runs faster than the gear can follow or backwards, and nothing at all, not
// even a status line, while the simulator is paused.
#include <cstdio>

#include "recording_bytes.h"
#include "scenario_support.h"
#include "user_input.h"

namespace {

class PlaybackFrames : public Scenario {
protected:
    // Loads the module with these SETTINGS lines, lets the world run a
    // moment and plays the recording from the menu.
    void PlayFromTheMenu(const std::string& settingsLines, const TestTrack& track) {
        WriteBytes("Modules/Aerotrace.ini", "[SETTINGS]\r\nPause=0\r\nRplyEnabled=0\r\n" + settingsLines);
        WriteBytes("flight.atr", MultiTrackFile({track}));
        Start();
        SimRunSeconds(1.0);
        SimQueueFileDialogAnswer({folder + "/flight.atr"});
        EXPECT_FALSE(Choose(CmdPlay));
        SimRunSeconds(1.0);
    }
};

// How often, in the frames since the log was cleared, the module set the
// user aircraft's variable, sent it the event, placed it.
size_t ValueSets(uint32_t variable) {
    size_t count = 0;
    for (const SimLogEntry& entry : SimLogOf(LogValueSet)) count += entry.a == 1 && entry.b == variable ? 1 : 0;
    return count;
}

size_t EventsSent(uint32_t eventId) {
    size_t count = 0;
    for (const SimLogEntry& entry : SimLogOf(LogAircraftEvent)) count += entry.a == 1 && entry.b == eventId ? 1 : 0;
    return count;
}

size_t Placements() { return SimLogOf(LogPositionSet).size(); }

// The seconds played, from "PLAYBACK [12 / 60 seconds]"; -1 when none is shown.
int PlayedSeconds() {
    std::vector<std::string> texts = StatusTexts();
    int played = -1;
    if (texts.empty() || std::sscanf(texts.back().c_str(), "PLAYBACK [%d", &played) != 1) return -1;
    return played;
}

const uint32_t EventToggleState = 65752;
const uint32_t VarGear = 110, VarGearLegs[3] = {111, 112, 113};

}  // namespace

// The stand-in's aircraft holds toggle state 0 in this part of its flight;
// the recording holds 1 for its first five seconds.
TEST_F(PlaybackFrames, TheToggleEventGoesOutOnEveryFrameWhoseStateDiffersFromTheRecording) {
    TestTrack track = SmoothTrack(0, 0, 10000, 11, 0);
    for (size_t i = 0; i < track.samples.size(); ++i) track.samples[i].toggleState = i < 5 ? 1 : 0;
    PlayFromTheMenu("", track);
    SimClearLog();
    SimRunFrames(40);  // from about 1 s to 3 s
    EXPECT_EQ(Placements(), 40u);
    EXPECT_EQ(EventsSent(EventToggleState), 40u);
    for (const SimLogEntry& entry : SimLogOf(LogAircraftEvent)) {
        if (entry.b == EventToggleState) {
            EXPECT_EQ(entry.c, 0u);
        }
    }
    SimRunSeconds(2.5);
    SimClearLog();
    SimRunFrames(40);  // from about 5.5 s on: the states agree
    EXPECT_EQ(Placements(), 40u);
    EXPECT_EQ(EventsSent(EventToggleState), 0u);
}

// Above 300 % and backwards each leg of the gear is set beside the gear
// lever; at 300 % and below, playing forwards, only the lever.
TEST_F(PlaybackFrames, GearLegsAreSetAboveThreeHundredPercentAndBackwardsOnly) {
    PlayFromTheMenu("Search1=1\r\nSearchSpeed1=4\r\n", SmoothTrack(0x10, 0, 10000, 61, 0));
    struct Step {
        const char* what;
        int key;    // pressed (and released, unless held) before the frames
        bool held;  // the key stays down during the frames
        bool legs;
    };
    const Step steps[] = {
        {"100 %", 0, false, false},
        {"200 %", KeypadAdd, false, false},
        {"300 %", KeypadAdd, false, false},
        {"500 %", KeypadAdd, false, true},
        {"back to 100 %", KeyInsert, false, false},
        {"searching back", ArrowLeft, true, true},
        {"searching forward at 400 %", ArrowRight, true, true},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        if (step.key) {
            EXPECT_FALSE(Press(step.key));
            if (!step.held) Release(step.key);  // the simulator's own, for these keys
        }
        SimClearLog();
        SimRunFrames(10);
        EXPECT_EQ(Placements(), 10u);
        EXPECT_EQ(ValueSets(VarGear), 10u);
        for (uint32_t leg : VarGearLegs) EXPECT_EQ(ValueSets(leg), step.legs ? 10u : 0u) << "leg variable " << leg;
        if (step.held) {
            EXPECT_FALSE(Release(step.key));
        }
    }
    // The search ended with the key: forwards at normal speed again.
    SimClearLog();
    SimRunFrames(10);
    EXPECT_EQ(ValueSets(VarGearLegs[0]), 0u);
}

TEST_F(PlaybackFrames, WhilePausedNothingIsPlayedAndNoStatusLineIsAskedFor) {
    PlayFromTheMenu("", SmoothTrack(0, 0, 10000, 61, 0));
    SimRunSeconds(0.5);
    SimClearLog();
    SimRunFrames(1);
    const int before = PlayedSeconds();
    ASSERT_EQ(before, 1);
    SimSetPaused(true);
    SimClearLog();
    SimRunFrames(40);
    EXPECT_EQ(Placements(), 0u);
    EXPECT_TRUE(SimLogOf(LogValueSet).empty());
    EXPECT_TRUE(StatusTexts().empty());
    // Unpaused, the playback goes on where it stood.
    SimSetPaused(false);
    SimClearLog();
    SimRunFrames(1);
    EXPECT_EQ(Placements(), 1u);
    EXPECT_EQ(PlayedSeconds(), before);
}

TEST_F(PlaybackFrames, WhilePausedARecordingShowsNoStatusLine) {
    WriteBytes("Modules/Aerotrace.ini", "[SETTINGS]\r\nNoRecDlg=1\r\nRplyEnabled=0\r\n");
    Start();
    SimRunSeconds(1.0);
    EXPECT_FALSE(Choose(CmdRecord));
    SimRunSeconds(1.0);
    EXPECT_FALSE(StatusTexts().empty());
    SimSetPaused(true);
    SimClearLog();
    SimRunFrames(40);
    EXPECT_TRUE(StatusTexts().empty());
    SimSetPaused(false);
    SimClearLog();
    SimRunFrames(1);
    ASSERT_EQ(StatusTexts().size(), 1u);
    EXPECT_EQ(StatusTexts()[0], "RECORDING [1 seconds]");
}
