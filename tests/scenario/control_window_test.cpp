// The playback control window as the user meets it: hidden at start-up at
// its stored place (350 x 65 inside, whatever the title bar), shown and
// hidden as playbacks, traffic and recordings beside it come and go, its
// title and slider following the play, its buttons jumping, searching while
// held, changing the speed and setting the loop, its slider seeking, never
// taking the keyboard from the simulator, and its place kept after a move.
// Playbacks are started from the module menu; the window is handled with
// the mouse (real input under Windows).
#include <cstdio>
#include <fstream>
#include <sstream>

#include "recording_bytes.h"
#include "scenario_support.h"
#include "user_input.h"

namespace {

const uint32_t ToBeginning = 1000, Back1 = 1003, Slider = 1004, Forward1 = 1005, ToEnd = 1008, LoopStart = 1009,
               LoopButton = 1010, LoopEnd = 1011, Slower = 1012, SpeedLabel = 1013, Faster = 1014;

class ControlWindow : public Scenario {
protected:
    static void Settings(const std::string& text) { std::ofstream("Modules/Aerotrace.ini", std::ios::binary) << text; }
    static std::string SettingsText() {
        std::ifstream file("Modules/Aerotrace.ini", std::ios::binary);
        std::ostringstream text;
        text << file.rdbuf();
        return text.str();
    }
    // A recording of the user aircraft from first to first + seconds, and one AI aircraft.
    void WriteFlight(uint32_t first, uint32_t seconds) {
        WriteBytes("flight.atr", MultiTrackFile({SmoothTrack(0, first, 10000, seconds + 1, 0),
                                                 SmoothTrack(0, first, 10000, seconds + 1, 7)}));
    }
    void StartWith(const std::string& settings) {
        Settings(settings);
        Start();
        SimRunSeconds(1.0);
    }
    void Play(uint32_t command) {
        SimQueueFileDialogAnswer({folder + "/flight.atr"});
        Choose(command);
        SimRunFrames(2);
    }

    // The seconds played as the window's title tells them; -1 without such a title.
    static int Played() {
        int played = -1, length = -1;
        if (std::sscanf(SimControlWindow().title.c_str(), "Playback %d / %d seconds", &played, &length) != 2) return -1;
        return played;
    }
    static bool Visible() { return SimControlWindow().visible; }
    static std::string LastStatus() {
        SimClearLog();
        SimRunFrames(1);
        std::vector<std::string> texts = StatusTexts();
        return texts.empty() ? "" : texts.back();
    }
};

}  // namespace

TEST_F(ControlWindow, StartsHiddenAtTheStoredPosition) {
    StartWith("[WINDOW]\r\nXPos=240\r\nYPos=180\r\n");
    SimControlWindowView view = SimControlWindow();
    ASSERT_TRUE(view.exists);
    EXPECT_FALSE(view.visible);
    EXPECT_EQ(view.left, 240);
    EXPECT_EQ(view.top, 180);
    EXPECT_EQ(view.title, "Aerotrace");
    EXPECT_EQ(view.speedText, "100%");
    EXPECT_EQ(view.slider, 0u);
    EXPECT_TRUE(view.marks.empty());
    EXPECT_TRUE(SimMainWindowActive());
}

TEST_F(ControlWindow, UnderWindowsItsClientAreaIs350By65WhateverTheTitleBar) {
#ifndef _WIN32
    GTEST_SKIP() << "native builds have no window to measure";
#endif
    StartWith("");
    SimControlWindowView view = SimControlWindow();
    EXPECT_EQ(view.clientWidth, 350);
    EXPECT_EQ(view.clientHeight, 65);
    EXPECT_EQ(view.left, 5);
    EXPECT_EQ(view.top, 25);
}

TEST_F(ControlWindow, PlaybacksShowItWhenSoSetAndTheirEndsHideIt) {
    WriteFlight(0, 60);
    StartWith("[SETTINGS]\r\nPause=0\r\n[WINDOW]\r\nShow=0\r\n");
    Play(CmdPlay);
    EXPECT_FALSE(Visible());
    Stroke(KeyEscape);
    SimRunSeconds(2.0);

    StartWith("[SETTINGS]\r\nPause=0\r\n[WINDOW]\r\nShow=1\r\n");
    Play(CmdPlay);
    EXPECT_TRUE(Visible());
    Stroke(KeyEscape);  // to the last second, out by itself
    SimRunSeconds(0.5);
    EXPECT_TRUE(Visible());
    SimRunSeconds(1.0);
    EXPECT_FALSE(Visible());

    // As traffic only when "Show control window" of traffic is on too, also
    // once a recording made beside the traffic has stopped.
    StartWith("[SETTINGS]\r\nPause=0\r\nNoRecDlg=1\r\n[WINDOW]\r\nShow=1\r\n");
    Play(CmdPlayTraffic);
    EXPECT_FALSE(Visible());
    Choose(CmdRecord);
    SimRunSeconds(3.0);
    Choose(CmdRecord);
    SimRunFrames(1);
    EXPECT_FALSE(Visible());
    Stroke(KeyEscape);  // ends traffic at once
    StartWith("[SETTINGS]\r\nPause=0\r\nWindAiPlay=1\r\nNoRecDlg=1\r\n[WINDOW]\r\nShow=1\r\n");
    Play(CmdPlayTraffic);
    EXPECT_TRUE(Visible());
    // A recording beside the traffic hides it; the traffic alone again shows it.
    Choose(CmdRecord);
    SimRunSeconds(3.0);
    EXPECT_FALSE(Visible());
    Choose(CmdRecord);
    SimRunFrames(1);
    EXPECT_TRUE(Visible());
    Stroke(KeyEscape);
    EXPECT_FALSE(Visible());
}

TEST_F(ControlWindow, TitleAndSliderFollowThePlay) {
    WriteFlight(100000, 60);
    StartWith("[WINDOW]\r\nShow=1\r\n");
    Play(CmdPlay);
    SimRunSeconds(5.0);
    // The window counts from the recording's start, as the status line does.
    const std::string status = LastStatus();
    const int played = Played();
    ASSERT_GE(played, 4);
    EXPECT_EQ(status.rfind("PLAYBACK [" + std::to_string(played) + " / 60 seconds]", 0), 0u) << status;
    EXPECT_EQ(SimControlWindow().title, "Playback " + std::to_string(played) + " / 60 seconds");
    const uint32_t slider = SimControlWindow().slider;
    EXPECT_GE(slider, static_cast<uint32_t>(played * 350 / 60));
    EXPECT_LE(slider, static_cast<uint32_t>((played + 1) * 350 / 60));
}

TEST_F(ControlWindow, ButtonsJumpChangeTheSpeedAndSetTheLoop) {
    WriteFlight(0, 200);
    StartWith("[SETTINGS]\r\nPause=0\r\nRplyEnabled=0\r\n[WINDOW]\r\nShow=1\r\n");
    Play(CmdPlay);
    SimRunSeconds(40.0);
    const int at = Played();
    ASSERT_GE(at, 39);
    SimClickControl(Back1);
    SimRunFrames(1);
    EXPECT_EQ(Played(), at - 15);
    SimClickControl(Forward1);
    SimClickControl(Forward1);
    SimRunFrames(1);
    EXPECT_EQ(Played(), at + 15);
    SimClickControl(1002);  // back 60 s: no further than the start
    SimRunFrames(1);
    EXPECT_EQ(Played(), 0);

    SimClickControl(Faster);
    EXPECT_EQ(SimControlWindow().speedText, "200%");
    SimRunSeconds(2.0);
    EXPECT_EQ(Played(), 4);
    SimClickControl(Slower);
    SimClickControl(Slower);
    EXPECT_EQ(SimControlWindow().speedText, "50%");
    SimClickControl(SpeedLabel);
    EXPECT_EQ(SimControlWindow().speedText, "100%");

    // A loop from here for five seconds: marks on the slider, the loop button down.
    SimRunSeconds(20.0);
    SimClickControl(LoopStart);
    const int loopFrom = Played();
    EXPECT_TRUE(SimControlWindow().marks.empty());  // looping is not on yet
    SimRunSeconds(5.0);
    SimClickControl(LoopEnd);
    SimControlWindowView view = SimControlWindow();
    EXPECT_TRUE(view.loopChecked);
    ASSERT_EQ(view.marks.size(), 2u);
    EXPECT_NEAR(view.marks[0], loopFrom * 350.0 / 200, 2.0);
    EXPECT_NEAR(view.marks[1], (loopFrom + 5) * 350.0 / 200, 2.0);
    SimRunSeconds(3.0);
    EXPECT_LE(Played(), loopFrom + 4);  // wrapped to the loop start
    // The loop button itself: up turns looping off, down on again.
    SimClickControl(LoopButton);
    view = SimControlWindow();
    EXPECT_FALSE(view.loopChecked);
    EXPECT_TRUE(view.marks.empty());
    SimRunSeconds(6.0);
    EXPECT_GE(Played(), loopFrom + 6);
    SimClickControl(LoopButton);
    EXPECT_TRUE(SimControlWindow().loopChecked);
    EXPECT_EQ(SimControlWindow().marks.size(), 2u);
    SimRunSeconds(1.0);
    EXPECT_LE(Played(), loopFrom + 5);

    SimClickControl(LoopButton);  // off, so that the end ends
    SimClickControl(ToBeginning);
    SimRunFrames(1);
    EXPECT_EQ(Played(), 0);
    SimClickControl(ToEnd);
    SimRunFrames(1);
    EXPECT_EQ(Played(), 199);
    SimRunSeconds(1.5);
    EXPECT_FALSE(Visible());
}

TEST_F(ControlWindow, AStepButtonOfASearchingLevelSearchesExactlyWhileHeld) {
    WriteFlight(0, 200);
    StartWith("[SETTINGS]\r\nSearch1=1\r\nSearchSpeed1=5\r\nRplyEnabled=0\r\n[WINDOW]\r\nShow=1\r\n");
    Play(CmdPlay);
    SimRunSeconds(20.0);
    int at = Played();
    // A click jumps nowhere.
    SimClickControl(Back1);
    SimRunFrames(1);
    EXPECT_EQ(Played(), at);

    at = Played();
    SimHoldControl(Forward1, true);
    SimRunSeconds(4.0);
    EXPECT_NEAR(Played(), at + 20, 1);  // five times normal speed
    EXPECT_EQ(SimControlWindow().speedText, "100%");
    SimHoldControl(Forward1, false);
    at = Played();
    SimRunSeconds(4.0);
    EXPECT_NEAR(Played(), at + 4, 1);

    SimHoldControl(Back1, true);
    SimRunSeconds(2.0);
    EXPECT_NEAR(Played(), at + 4 - 10, 1);
    SimHoldControl(Back1, false);
    at = Played();
    SimRunSeconds(2.0);
    EXPECT_NEAR(Played(), at + 2, 1);
}

TEST_F(ControlWindow, DraggingTheSliderSeeksInProportion) {
    WriteFlight(100000, 70);  // from 10 s to 80 s
    StartWith("[WINDOW]\r\nShow=1\r\n");
    Play(CmdPlay);
    SimRunSeconds(1.0);
    const uint32_t position = SimDragSlider(175);
    EXPECT_NEAR(position, 175.0, 6.0);
    // 10 s + position / 350 of 70 s; the status line counts from 10 s.
    const int expected = static_cast<int>(position * 700000.0 / 350) / 10000;
    EXPECT_EQ(LastStatus().rfind("PLAYBACK [" + std::to_string(expected) + " / 70 seconds]", 0), 0u);
#ifndef _WIN32
    EXPECT_EQ(expected, 35);  // 45 s into the clock
#endif
}

TEST_F(ControlWindow, ClicksNeverTakeTheKeyboardFromTheSimulator) {
    WriteFlight(0, 200);
    StartWith("[SETTINGS]\r\nRplyEnabled=0\r\n[WINDOW]\r\nShow=1\r\n");
    Play(CmdPlay);
    SimRunSeconds(5.0);
    // The load dialog has gone; the user is back in the simulator's window.
    SimActivateMainWindow();
    ASSERT_TRUE(SimMainWindowActive());
    for (uint32_t control : {Faster, Slower, LoopButton, LoopButton, Back1, Slider}) {
        SCOPED_TRACE(control);
        if (control == Slider)
            SimDragSlider(100);
        else
            SimClickControl(control);
        EXPECT_TRUE(SimMainWindowActive());
        // The next key is the simulator's: its Right key jumps 15 s on.
        SimRunFrames(1);
        const int at = Played();
        SimTypeKey(ArrowRight);
        SimRunFrames(1);
        EXPECT_EQ(Played(), at + 15);
    }
}

TEST_F(ControlWindow, AMovedWindowComesBackWhereItWasLeft) {
    WriteFlight(0, 60);
    StartWith("[WINDOW]\r\nShow=1\r\n");
    Play(CmdPlay);
    ASSERT_TRUE(Visible());
    SimMoveControlWindow(300, 210);
    SimControlWindowView view = SimControlWindow();
    EXPECT_EQ(view.left, 300);
    EXPECT_EQ(view.top, 210);
    const std::string text = SettingsText();
    EXPECT_NE(text.find("XPos=300"), std::string::npos) << text;
    EXPECT_NE(text.find("YPos=210"), std::string::npos) << text;
    EXPECT_TRUE(SimMainWindowActive());

    SimUnloadModule();
    Start();
    view = SimControlWindow();
    EXPECT_EQ(view.left, 300);
    EXPECT_EQ(view.top, 210);
    EXPECT_FALSE(view.visible);
}
