// "Replay" as a user meets it: it offers the seconds the replay buffer
// holds (none under five), replays the number chosen, kept between five and
// what is there — also for a buffer longer than 65,535 seconds, and read as
// the up-down control writes it whatever the user's thousands separator —
// and saves the whole buffer while it stays open.
#include <cstdio>

#include "dialog_scenario.h"

namespace {

using ReplayDialog = DialogScenario;

const char Caption[] = "Replay";

// The status line of the next frame ("" when none).
std::string NextStatus() {
    SimClearLog();
    SimRunFrames(1);
    std::vector<std::string> lines = StatusTexts();
    return lines.empty() ? "" : lines.back();
}

}  // namespace

TEST_F(ReplayDialog, ItOffersWhatTheBufferHoldsAndReplaysTheChosenSeconds) {
    StartWithSettings("");
    Fly(120.0);
    SimClearLog();
    SimQueueDialogAnswer(Caption, {SimType(REPLAY_SECONDS, "20"), SimClick(DIALOG_OK)});
    Choose(CmdReplay);
    const SimDialogShown dialog = OnlyDialog();
    EXPECT_EQ(dialog.owner, SimMainWindow());
    EXPECT_EQ(SimLogOf(LogModalBegin).size(), 1u);
    EXPECT_EQ(SimLogOf(LogModalEnd).size(), 1u);
    const SimControlState spin = Control(dialog, 0, REPLAY_SPIN);
    EXPECT_EQ(spin.rangeLow, 5);
    EXPECT_GE(spin.rangeHigh, 119);
    EXPECT_LE(spin.rangeHigh, 120);
    EXPECT_EQ(Control(dialog, 0, REPLAY_SECONDS).text, std::to_string(spin.rangeHigh));
    EXPECT_EQ(NextStatus(), "REPLAY [20 seconds]");
}

TEST_F(ReplayDialog, UnderFiveSecondsItOnlySaysThereIsNothingToReplay) {
    StartWithSettings("");
    Fly(4.4);
    SimClearLog();
    Choose(CmdReplay);
    EXPECT_TRUE(SimDialogsShown().empty());
    std::vector<SimLogEntry> boxes = SimLogOf(LogMessageBox);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "No replay data available!");
    EXPECT_EQ(boxes[0].caption, "Aerotrace");
    EXPECT_EQ(boxes[0].a & 0xF0, 0x30u);
    EXPECT_EQ(boxes[0].owner, SimMainWindow());
    EXPECT_EQ(SimLogOf(LogModalBegin).size(), 1u);
    EXPECT_EQ(SimLogOf(LogModalEnd).size(), 1u);
    EXPECT_EQ(NextStatus(), "");

    Fly(1.5);
    SimClearLog();
    SimQueueDialogAnswer(Caption, {SimClick(DIALOG_CANCEL)});
    Choose(CmdReplay);
    EXPECT_EQ(Control(OnlyDialog(), 0, REPLAY_SECONDS).text, "5");
    EXPECT_TRUE(SimLogOf(LogMessageBox).empty());
    EXPECT_EQ(NextStatus(), "");
}

TEST_F(ReplayDialog, ATypedNumberIsKeptBetweenFiveAndWhatTheBufferHolds) {
    StartWithSettings("[SETTINGS]\r\nPause=0\r\n");
    Fly(60.0);
    SimQueueDialogAnswer(Caption, {SimType(REPLAY_SECONDS, "3"), SimClick(DIALOG_OK)});
    Choose(CmdReplay);
    EXPECT_EQ(NextStatus(), "REPLAY [5 seconds]");
    Fly(6.0);
    EXPECT_EQ(NextStatus(), "");

    SimClearLog();
    SimQueueDialogAnswer(Caption, {SimType(REPLAY_SECONDS, "99999999999"), SimClick(DIALOG_OK)});
    Choose(CmdReplay);
    const int offered = Control(OnlyDialog(), 0, REPLAY_SPIN).rangeHigh;
    // The first frame of this second replay already plays one frame step.
    int left = 0;
    EXPECT_EQ(std::sscanf(NextStatus().c_str(), "REPLAY [%d seconds]", &left), 1);
    EXPECT_GE(left, offered - 1);
    EXPECT_LE(left, offered);
}

TEST_F(ReplayDialog, ABufferOfMoreThan65535SecondsIsOfferedWhole) {
    // 2 s samples in 72000 slots; at 128 times the normal rate the
    // simulator covers 70,000 s in a few thousand frames.
    StartWithSettings("[SETTINGS]\r\nRplyItvl=2000\r\nBufferSize=72000\r\nSetSimRate=0\r\n");
    stepSeconds = 0.4;
    SimSetStepSeconds(stepSeconds);
    SimSetSimulationRate(128 * 256);
    Fly(70000.0);
    SimSetSimulationRate(256);
    SimClearLog();
    SimQueueDialogAnswer(Caption, {SimType(REPLAY_SECONDS, "66000"), SimClick(DIALOG_OK)});
    Choose(CmdReplay);
    const SimDialogShown dialog = OnlyDialog();
    const SimControlState spin = Control(dialog, 0, REPLAY_SPIN);
    EXPECT_GT(spin.rangeHigh, 69900);
    EXPECT_EQ(spin.rangeLow, 5);
    EXPECT_EQ(Control(dialog, 0, REPLAY_SECONDS).text, std::to_string(spin.rangeHigh));
    EXPECT_EQ(NextStatus(), "REPLAY [66000 seconds]");
}

TEST_F(ReplayDialog, AnArrowClickIsReadWithTheUsersThousandsSeparator) {
    // 2 s samples; at 16 times the normal rate 1,300 s pass in 200 frames.
    StartWithSettings("[SETTINGS]\r\nRplyItvl=2000\r\nBufferSize=1000\r\nSetSimRate=0\r\n");
    stepSeconds = 0.4;
    SimSetStepSeconds(stepSeconds);
    SimSetSimulationRate(16 * 256);
    Fly(1300.0);
    SimSetSimulationRate(256);
    // A no-break space, as French writes "1 299".
    SimSetThousandsSeparator("\xA0");
    SimClearLog();
    SimQueueDialogAnswer(Caption, {SimClickArrow(REPLAY_SPIN, -1), SimClick(DIALOG_OK)});
    Choose(CmdReplay);
    const SimDialogShown dialog = OnlyDialog();
    const int chosen = Control(dialog, 0, REPLAY_SPIN).rangeHigh - 1;
    ASSERT_GE(chosen, 1000);
    const std::string digits = std::to_string(chosen);
    const std::string shown = Control(dialog, 1, REPLAY_SECONDS).text;
    const std::string grouped = digits.substr(0, 1) + "\xA0" + digits.substr(1);
#ifdef _WIN32
    // Wine's up-down control groups digits with "," whatever the user's setting.
    EXPECT_TRUE(shown == grouped || shown == digits.substr(0, 1) + "," + digits.substr(1)) << shown;
#else
    EXPECT_EQ(shown, grouped);
#endif
    int left = 0;
    EXPECT_EQ(std::sscanf(NextStatus().c_str(), "REPLAY [%d seconds]", &left), 1);
    EXPECT_GE(left, chosen - 1);
    EXPECT_LE(left, chosen);
}

TEST_F(ReplayDialog, SaveReplayWritesTheWholeBufferAndTheDialogStaysOpen) {
    StartWithSettings("");
    Fly(60.0);
    SimClearLog();
    SimQueueFileDialogAnswer({folder + "/replay.atr"});
    SimQueueDialogAnswer(Caption, {SimType(REPLAY_SECONDS, "10"), SimClick(REPLAY_SAVE), SimClick(DIALOG_CANCEL)});
    Choose(CmdReplay);
    const SimDialogShown dialog = OnlyDialog();
    ASSERT_EQ(dialog.states.size(), 3u);  // still open after the save
    std::vector<SimLogEntry> dialogs = SimLogOf(LogFileDialog);
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].owner, dialog.window);
    EXPECT_EQ(SimLogOf(LogModalBegin).size(), 1u);  // the replay dialog's; its file dialog has none of its own
    const ParsedRecording saved = ParseRecording(ReadWholeFile("replay.atr"));
    ASSERT_TRUE(saved.valid) << saved.problem;
    ASSERT_EQ(saved.tracks.size(), 1u);
    EXPECT_NEAR((saved.endTime - saved.startTime) / 10000.0, 60.0, 1.0);
    EXPECT_EQ(NextStatus(), "");  // Cancel: no replay
}
