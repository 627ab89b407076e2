// Recordings and playbacks driven as the user drives them: through the
// module menu's commands and the keys pressed in the simulator's main window,
// with the bindings of the settings file.
#include <cstdio>
#include <fstream>

#include "recording_file.h"
#include "scenario_support.h"

namespace {

const uint32_t KeyDownMessage = 0x0100, KeyUpMessage = 0x0101, CommandMessage = 0x0111;
const uint32_t CmdRecord = 43566, CmdPlay = 43567, CmdPlayTraffic = 43568;
const int Escape = 27, Right = 39;

class UserCommands : public Scenario {
public:
    void StartModule() { Start(); }
    void Settings(const std::string& text) {
        std::ofstream("Modules/Aerotrace.ini", std::ios::binary) << text;
    }

    static bool ReachedHost(uint32_t message, uintptr_t wParam, intptr_t lParam) {
        SimClearLog();
        SimSendMainWindowMessage(message, wParam, lParam);
        for (const SimLogEntry& entry : SimLogOf(LogHostMessage))
            if (entry.a == message && entry.b == wParam && entry.c == static_cast<uint64_t>(lParam)) return true;
        return false;
    }
    // A key press as the window receives it: the scan code and repeat count
    // in lParam, the previous-state and transition bits on release.
    static bool Press(int key) { return ReachedHost(KeyDownMessage, key, 0x00000001); }
    static bool Release(int key) { return ReachedHost(KeyUpMessage, key, static_cast<intptr_t>(0xC0000001u)); }
    static bool Choose(uint32_t id) { return ReachedHost(CommandMessage, id, 0); }

    // The status line of the last frame ("" when none was drawn).
    static std::string Status() {
        SimClearLog();
        SimRunFrames(1);
        std::vector<std::string> texts = StatusTexts();
        return texts.empty() ? "" : texts.back();
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
    EXPECT_TRUE(Press(Right));
    EXPECT_TRUE(Release(Right));

    EXPECT_FALSE(Press(Escape));
    EXPECT_EQ(FilesIn("Recordings", "Rec_", ".atr").size(), 1u);
    EXPECT_EQ(Status(), "");
    // Nothing runs now: Escape is the simulator's again.
    EXPECT_TRUE(Press(Escape));

    // The other way round: the Record key starts, "Stop recording..." saves.
    EXPECT_FALSE(Press('R'));
    SimRunSeconds(2.0);
    EXPECT_EQ(Status().rfind("RECORDING [", 0), 0u);
    EXPECT_FALSE(Press('R'));  // already recording: taken, nothing new
    EXPECT_FALSE(Choose(CmdRecord));
    EXPECT_EQ(FilesIn("Recordings", "Rec_", ".atr").size(), 2u);
    EXPECT_EQ(Status(), "");
}

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
