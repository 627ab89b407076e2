// What the engine makes the control window show (native builds keep it in
// a record): created hidden at its stored place, the title and slider of
// every playback frame (sent only when they change), the speed label, the
// loop marks and button, shown and hidden by replays; and what the window's
// controls are refused while nothing plays that they could steer.
#include "engine/session/control_window_hooks.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/settings.h"
#include "core/host/clock.h"
#include "core/host/module_state.h"
#include "engine/play/playback_frames.h"
#include "engine/replay/replay_buffer.h"
#include "engine/session/transport.h"
#include "ini_folder.h"
#include "sim.h"
#include "ui/control_window/control_window_posix.h"

namespace {

const uint32_t Second = 10000;

class ControlWindowTest : public IniFolderTest {
protected:
    void TearDown() override {
        SimUnloadModule();
        IniFolderTest::TearDown();
    }

    static void Load(const std::string& ini, const SimConfig& config = SimConfig()) {
        WriteFile(ini);
        SimReset(config);
        ASSERT_TRUE(SimLoadModule());
    }

    // A playback from 10 s to 70 s with no tracks: the clock alone, a steady
    // frame of 0.05 s.
    static void Playing(Mode mode, uint32_t trackTime) {
        module.mode = mode;
        moduleClock.startTime = 10 * Second;
        moduleClock.endTime = 70 * Second;
        moduleClock.trackTime = trackTime;
        transport = Transport{100, NormalSpeedIndex, false, 0, 70 * Second - 2000, false};
        playback.lastPlayFrameTime = moduleClock.frameTime;
        playback.lastPlayStep = 500;
    }
    static void Frames(int count) {
        for (int i = 0; i < count; ++i) {
            moduleClock.frameTime += 500;
            PlaybackTick();
        }
    }
    static std::vector<uint32_t> Marks() {
        return std::vector<uint32_t>(nativeControlWindow.marks,
                                     nativeControlWindow.marks + nativeControlWindow.markCount);
    }
};

}  // namespace

TEST_F(ControlWindowTest, StartsHiddenAtItsStoredPlace) {
    Load("");
    EXPECT_TRUE(nativeControlWindow.created);
    EXPECT_FALSE(nativeControlWindow.visible);
    EXPECT_EQ(nativeControlWindow.left, 5);
    EXPECT_EQ(nativeControlWindow.top, 25);
    EXPECT_STREQ(nativeControlWindow.title, "Aerotrace");
    EXPECT_STREQ(nativeControlWindow.speedText, "100%");
    EXPECT_EQ(nativeControlWindow.slider, 0u);

    SimUnloadModule();
    Load("[WINDOW]\r\nXPos=612\r\nYPos=-40\r\n");
    EXPECT_EQ(nativeControlWindow.left, 612);
    EXPECT_EQ(nativeControlWindow.top, -40);
    SimUnloadModule();
    Load("[WINDOW]\r\nXPos=left\r\nYPos=17px\r\n");
    EXPECT_EQ(nativeControlWindow.left, 0);
    EXPECT_EQ(nativeControlWindow.top, 17);

    // A module that could not start makes no window.
    SimUnloadModule();
    SimConfig broken;
    broken.missingInterface = 3;
    Load("", broken);
    EXPECT_FALSE(nativeControlWindow.created);
}

TEST_F(ControlWindowTest, EveryFrameShowsThePositionButSendsOnlyWhatChanged) {
    Load("");
    Playing(Playback, 10 * Second);
    Frames(78);  // 3.9 s
    EXPECT_EQ(moduleClock.trackTime, 10 * Second + 39000);
    EXPECT_STREQ(nativeControlWindow.title, "Playback 3 / 60 seconds");
    EXPECT_EQ(nativeControlWindow.slider, 22u);
    // Seconds 0 to 3: four titles for 78 frames.
    EXPECT_EQ(nativeControlWindow.titlesSent, 4u);

    module.mode = Replay;
    moduleClock.trackTime = 70 * Second - 125000 - 500;
    Frames(1);
    EXPECT_STREQ(nativeControlWindow.title, "Replay 12 seconds");
    EXPECT_EQ(nativeControlWindow.slider, 277u);  // 47.5 s of 60

    // Traffic played on its own: the tick drives the window as a playback's.
    module.mode = TrafficPlayback;
    moduleClock.trackTime = 25 * Second - 500;
    Frames(1);
    EXPECT_STREQ(nativeControlWindow.title, "Playback 15 / 60 seconds");
    EXPECT_EQ(nativeControlWindow.slider, 87u);  // 15 s of 60

    // The frame that reaches the end ends the playback and leaves the window as it was.
    module.mode = Playback;
    ControlWindowShow(1);
    moduleClock.trackTime = 70 * Second - 300;
    const std::string before = nativeControlWindow.title;
    Frames(1);
    EXPECT_NE(module.mode, Playback);
    EXPECT_FALSE(nativeControlWindow.visible);
    EXPECT_EQ(nativeControlWindow.title, before);
}

TEST_F(ControlWindowTest, SpeedLabelAndLoopDisplayFollowTheCommands) {
    Load("[SETTINGS]\r\nSearch1=1\r\n");
    Playing(Playback, 20 * Second);
    SpeedCommand(0);
    EXPECT_STREQ(nativeControlWindow.speedText, "200%");
    // A search changes the speed, not the label; its end leaves the label alone too.
    TransportCommand(5);
    EXPECT_EQ(transport.playbackSpeed, 500);
    TransportCommand(8);
    EXPECT_STREQ(nativeControlWindow.speedText, "200%");
    SpeedCommand(1);
    SpeedCommand(1);
    EXPECT_STREQ(nativeControlWindow.speedText, "50%");
    SpeedCommand(3);
    EXPECT_STREQ(nativeControlWindow.speedText, "50%");

    // Loop start with looping off: no marks, the button as it was.
    LoopCommand(0);
    EXPECT_TRUE(Marks().empty());
    EXPECT_FALSE(nativeControlWindow.loopChecked);
    moduleClock.trackTime = 40 * Second;
    LoopCommand(1);  // loop end here: looping on
    EXPECT_EQ(Marks(), (std::vector<uint32_t>{58, 175}));
    EXPECT_TRUE(nativeControlWindow.loopChecked);
    LoopCommand(4);
    EXPECT_TRUE(Marks().empty());
    EXPECT_FALSE(nativeControlWindow.loopChecked);
    LoopCommand(4);
    EXPECT_EQ(Marks(), (std::vector<uint32_t>{58, 175}));
    EXPECT_TRUE(nativeControlWindow.loopChecked);
    moduleClock.trackTime = 30 * Second;
    LoopCommand(0);
    EXPECT_EQ(Marks(), (std::vector<uint32_t>{116, 175}));
    EXPECT_TRUE(nativeControlWindow.loopChecked);
    LoopCommand(3);
    EXPECT_TRUE(Marks().empty());
    EXPECT_FALSE(nativeControlWindow.loopChecked);
    LoopCommand(2);
    EXPECT_EQ(Marks(), (std::vector<uint32_t>{116, 175}));
    EXPECT_TRUE(nativeControlWindow.loopChecked);
}

TEST_F(ControlWindowTest, AReplayShowsTheWindowWhenSoSetAndItsEndHidesIt) {
    for (const char* show : {"1", "0"}) {
        SCOPED_TRACE(show);
        Load(std::string("[SETTINGS]\r\nRplyItvl=250\r\n[WINDOW]\r\nShow=") + show + "\r\n");
        SimFireEvent(38, 0, 1);  // the flight is loaded: the buffer records
        SimRunSeconds(30.0);
        ASSERT_EQ(module.mode, ReplayBuffer);
        StartReplay(10);
        ASSERT_EQ(module.mode, Replay);
        EXPECT_EQ(nativeControlWindow.visible, show[0] == '1');
        SimRunSeconds(1.0);
        EXPECT_STREQ(nativeControlWindow.title, "Replay 9 seconds");
        TransportCommand(1);
        SimRunSeconds(1.5);
        EXPECT_EQ(module.mode, ReplayBuffer);
        EXPECT_FALSE(nativeControlWindow.visible);
        SimUnloadModule();
    }
}

TEST_F(ControlWindowTest, ItsControlsDoNothingWhileNothingPlaysThatTheyCouldSteer) {
    Load("");
    // Traffic played beside a recording: the time line is the recording's.
    Playing(RecordingWithTraffic, 30 * Second);
    EXPECT_EQ(SimDragSlider(175), 175u);
    EXPECT_EQ(moduleClock.trackTime, 30 * Second);
    SimClickControl(1014);
    EXPECT_EQ(transport.playbackSpeed, 100);
    SimClickControl(1011);
    EXPECT_FALSE(transport.loopEnabled);

    Playing(TrafficPlayback, 30 * Second);
    SimDragSlider(175);
    EXPECT_EQ(moduleClock.trackTime, 40 * Second);
    EXPECT_TRUE(transport.positionJumped);
    SimClickControl(1014);
    EXPECT_EQ(transport.playbackSpeed, 200);
    EXPECT_STREQ(nativeControlWindow.speedText, "200%");
}
