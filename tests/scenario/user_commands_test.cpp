// Recordings and playbacks driven as the user drives them: through the
// module menu's commands and the keys pressed in the simulator's main window,
// with the bindings of the settings file.
#include <cstdio>
#include <fstream>

#include "recording_bytes.h"
#include "recording_file.h"
#include "scenario_support.h"
#include "user_input.h"

namespace {


class UserCommands : public Scenario {
public:
    void StartModule() { Start(); }
    // Writes the settings file, and clears what an earlier run of the test
    // program saved in this folder.
    void Settings(const std::string& text) {
        std::ofstream("Modules/Aerotrace.ini", std::ios::binary) << text;
        for (const std::string& name : FilesIn("Recordings", "Rec_", ".atr"))
            std::remove(("Recordings/" + name).c_str());
    }

    // A 60-second recording of the user aircraft and one AI aircraft.
    void WriteFlight() {
        WriteBytes("flight.atr", MultiTrackFile({SmoothTrack(0, 0, 10000, 61, 0), SmoothTrack(0, 0, 10000, 61, 7)}));
    }

    // Chooses "Play..." (or "Play as traffic...") and answers its file dialog.
    void PlayFlight(uint32_t command) {
        SimQueueFileDialogAnswer({folder + "/flight.atr"});
        EXPECT_FALSE(Choose(command));
        EXPECT_EQ(SimLogOf(LogFileDialog).size(), 1u);
    }

    // The status line of the last frame ("" when none was drawn).
    static std::string Status() {
        SimClearLog();
        SimRunFrames(1);
        std::vector<std::string> texts = StatusTexts();
        return texts.empty() ? "" : texts.back();
    }
    // The seconds played, from "PLAYBACK [12 / 60 seconds]"; -1 when not playing.
    static int PlayedSeconds() {
        std::string text = Status();
        size_t bracket = text.find('[');
        int played = -1;
        if (bracket == std::string::npos || std::sscanf(text.c_str() + bracket, "[%d", &played) != 1) return -1;
        return played;
    }
};

}  // namespace

TEST_F(UserCommands, RecordFromTheMenuOrTheKeyAndStopEitherWay) {
    Settings("[SETTINGS]\r\nNoRecDlg=1\r\nRplyEnabled=0\r\n[KEYBOARD]\r\nRecord=82\r\nPlay=80\r\n");
    Start();
    SimRunSeconds(1.0);
    EXPECT_FALSE(Choose(CmdRecord));
    SimRunSeconds(5.0);
    EXPECT_EQ(Status().rfind("RECORDING [", 0), 0u);

    // Nothing else may start meanwhile, from the menu or from a key, and the
    // simulator does not see those keys either.
    EXPECT_FALSE(Choose(CmdPlay));
    EXPECT_FALSE(Choose(CmdPlayTraffic));
    EXPECT_FALSE(Press('P'));
    EXPECT_TRUE(SimLogOf(LogFileDialog).empty());
    // The arrows are the simulator's while recording.
    EXPECT_TRUE(Press(ArrowRight));
    EXPECT_TRUE(Release(ArrowRight));

    EXPECT_FALSE(Press(KeyEscape));
    EXPECT_EQ(FilesIn("Recordings", "Rec_", ".atr").size(), 1u);
    EXPECT_EQ(Status(), "");
    // Nothing runs now: Escape is the simulator's again, and the Play key
    // asks for recordings.
    EXPECT_TRUE(Press(KeyEscape));
    SimQueueFileDialogAnswer({""});
    EXPECT_FALSE(Press('P'));
    EXPECT_EQ(SimLogOf(LogFileDialog).size(), 1u);
    EXPECT_EQ(Status(), "");

    // The other way round: the Record key starts, "Stop recording..." saves.
    EXPECT_FALSE(Press('R'));
    SimRunSeconds(2.0);
    EXPECT_EQ(Status().rfind("RECORDING [", 0), 0u);
    EXPECT_FALSE(Press('R'));  // already recording: taken, nothing new
    EXPECT_FALSE(Choose(CmdRecord));
    EXPECT_EQ(FilesIn("Recordings", "Rec_", ".atr").size(), 2u);
    EXPECT_EQ(Status(), "");
}

TEST_F(UserCommands, PlaybackKeysJumpSearchChangeSpeedLoopAndStop) {
    Settings("[SETTINGS]\r\nPause=0\r\nSearch2=1\r\nRplyEnabled=0\r\n");
    WriteFlight();
    Start();
    SimRunSeconds(1.0);
    PlayFlight(CmdPlay);
    SimRunSeconds(2.0);
    int at = PlayedSeconds();
    ASSERT_GE(at, 1);

    // Right jumps 15 s forward, Home back to the beginning.
    EXPECT_FALSE(Press(ArrowRight));
    EXPECT_FALSE(Release(ArrowRight));
    EXPECT_NEAR(PlayedSeconds(), at + 15, 1);
    EXPECT_FALSE(Press(KeyHome));
    EXPECT_LE(PlayedSeconds(), 0);

    // Down searches forward at 15x while held; its release returns to
    // normal speed.
    EXPECT_FALSE(Press(ArrowDown));
    SimRunSeconds(1.0);
    at = PlayedSeconds();
    EXPECT_NEAR(at, 15, 2);
    EXPECT_FALSE(Release(ArrowDown));
    SimRunSeconds(2.0);
    EXPECT_NEAR(PlayedSeconds(), at + 2, 1);

    // Speed and loop show on the status line.
    EXPECT_FALSE(Press(KeypadAdd));
    EXPECT_NE(Status().find("(speed 200%)"), std::string::npos);
    EXPECT_FALSE(Press(KeyInsert));
    EXPECT_EQ(Status().find("(speed"), std::string::npos);
    EXPECT_FALSE(Press(KeyDelete));
    EXPECT_NE(Status().find("(loop)"), std::string::npos);

    // Escape: to one second before the end, looping off, out by itself.
    EXPECT_FALSE(Press(KeyEscape));
    std::string status = Status();
    EXPECT_EQ(status.find("(loop)"), std::string::npos);
    EXPECT_EQ(status.rfind("PLAYBACK [59 / 60 seconds]", 0), 0u);
    SimRunSeconds(1.5);
    EXPECT_EQ(Status(), "");
    EXPECT_TRUE(Press(KeyEscape));

    // Shift+Escape ends a playback at once, where it is.
    PlayFlight(CmdPlay);
    SimRunSeconds(2.0);
    SimSetKeyHeld(KeyShift, true);
    EXPECT_FALSE(Press(KeyEscape));
    SimSetKeyHeld(KeyShift, false);
    EXPECT_EQ(Status(), "");
    EXPECT_TRUE(SimLogOf(LogPositionSet).empty());
}

TEST_F(UserCommands, TheMenusStopLetsThePlaybackRunOut) {
    Settings("[SETTINGS]\r\nPause=0\r\nRplyEnabled=0\r\n");
    WriteFlight();
    Start();
    SimRunSeconds(1.0);
    for (uint32_t stop : {CmdPlay, CmdPlayTraffic}) {
        PlayFlight(CmdPlay);
        SimRunSeconds(2.0);
        // Record and Replay do nothing during a playback.
        EXPECT_FALSE(Choose(CmdRecord));
        EXPECT_FALSE(Choose(CmdReplay));
        EXPECT_EQ(Status().rfind("PLAYBACK [2 / 60 seconds]", 0), 0u);
        EXPECT_FALSE(Choose(stop));
        EXPECT_EQ(Status().rfind("PLAYBACK [59 / 60 seconds]", 0), 0u);
        SimRunSeconds(1.5);
        EXPECT_EQ(Status(), "");
    }
}

// Traffic plays beside the user's own flight: the arrows stay the
// simulator's unless ContrAiPlay gives them to the playback, a recording may
// be made meanwhile, and Escape ends the traffic at once.
static void TrafficPlaybackWithControlKeys(UserCommands* test, int controlKeys) {
    test->Settings("[SETTINGS]\r\nNoRecDlg=1\r\nRplyEnabled=0\r\nContrAiPlay=" + std::to_string(controlKeys) +
                   "\r\n[KEYBOARD]\r\nRecord=82\r\n");
    test->WriteFlight();
    test->StartModule();
    SimRunSeconds(1.0);
    test->PlayFlight(CmdPlayTraffic);
    SimRunSeconds(2.0);
    int at = UserCommands::PlayedSeconds();
    EXPECT_EQ(Press(ArrowRight), controlKeys == 0);
    EXPECT_EQ(Release(ArrowRight), controlKeys == 0);
    EXPECT_NEAR(UserCommands::PlayedSeconds(), controlKeys ? at + 15 : at, 1);

    // Record while the traffic plays; Escape then stops the recording and
    // the traffic plays on.
    EXPECT_FALSE(Press('R'));
    EXPECT_EQ(UserCommands::Status().rfind("RECORDING + TRAFFIC PLAYBACK [", 0), 0u);
    SimRunSeconds(1.0);
    EXPECT_FALSE(Press(KeyEscape));
    EXPECT_EQ(UserCommands::Status().rfind("TRAFFIC PLAYBACK [", 0), 0u);
    EXPECT_EQ(FilesIn("Recordings", "Rec_", ".atr").size(), 1u);

    // Escape ends the traffic at once: its aircraft leave now.
    EXPECT_FALSE(Press(KeyEscape));
    EXPECT_EQ(SimLogOf(LogAiRemoved).size(), 2u);
    EXPECT_EQ(UserCommands::Status(), "");
}

TEST_F(UserCommands, TrafficPlaybackWithoutControlKeys) { TrafficPlaybackWithControlKeys(this, 0); }
TEST_F(UserCommands, TrafficPlaybackWithControlKeys) { TrafficPlaybackWithControlKeys(this, 1); }

TEST_F(UserCommands, TheMenuShowsTheModeItWasBuiltIn) {
    Settings("[SETTINGS]\r\nNoRecDlg=1\r\nRplyEnabled=0\r\n");
    Start();
    if (!SimHasMenuBar()) GTEST_SKIP() << "the native stand-in has no menu bar";
    SimRepaintFrame();
    ASSERT_EQ(SimModuleMenuItems().at(0).text, "Record...");
    EXPECT_FALSE(Choose(CmdRecord));
    // The menu keeps its items until the simulator builds its bar anew.
    SimRepaintFrame();
    EXPECT_EQ(SimModuleMenuItems().at(0).text, "Record...");
    SimRebuildMenuBar();
    SimRepaintFrame();
    std::vector<SimMenuItem> items = SimModuleMenuItems();
    ASSERT_GE(items.size(), 5u);
    EXPECT_EQ(items[0].text, "Stop recording...");
    EXPECT_FALSE(items[0].grayed);
    for (size_t i = 1; i < 5; ++i) EXPECT_TRUE(items[i].grayed) << items[i].text;
}
