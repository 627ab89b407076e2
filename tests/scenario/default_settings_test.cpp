// With the settings file at its defaults (no file at all), a user records
// from the menu and from a key they bind themselves, replays the last
// seconds and saves them: the record and replay dialogs make the module
// usable as it comes.
#include "dialog_scenario.h"

namespace {

using DefaultSettings = DialogScenario;

std::string NextStatus() {
    SimClearLog();
    SimRunFrames(1);
    std::vector<std::string> lines = StatusTexts();
    return lines.empty() ? "" : lines.back();
}

ParsedRecording Saved(const std::string& path) {
    ParsedRecording recording = ParseRecording(ReadWholeFile(path));
    EXPECT_TRUE(recording.valid) << path << ": " << recording.problem;
    return recording;
}

}  // namespace

TEST_F(DefaultSettings, AUserRecordsFromTheMenu) {
    StartWithSettings("");
    Fly(2.0);
    SimQueueDialogAnswer("Record Flight", {SimClick(DIALOG_OK)});
    Choose(CmdRecord);
    EXPECT_EQ(NextStatus().rfind("RECORDING [", 0), 0u);
    Fly(30.0);
    SimQueueFileDialogAnswer({folder + "/menu.atr"});
    Choose(CmdRecord);  // "Stop recording..."
    EXPECT_EQ(NextStatus(), "");
    const ParsedRecording recording = Saved("menu.atr");
    ASSERT_EQ(recording.tracks.size(), 1u);
    EXPECT_EQ(recording.tracks[0].interval, 250u);
    EXPECT_NEAR((recording.endTime - recording.startTime) / 10000.0, 30.0, 0.5);
}

TEST_F(DefaultSettings, AUserBindsTheRecordKeyAndRecordsWithIt) {
    StartWithSettings("");
    SimQueueDialogAnswer("Keyboard controls", {
                                                  SimChoose(KEYBOARD_LIST, 16),  // "Record"
                                                  SimPressHotKey(KEYBOARD_HOT_KEY, HotControl | 'R'),
                                                  SimClick(DIALOG_OK),
                                              });
    Choose(CmdKeyboard);
    SimClearLog();
    SimQueueDialogAnswer("Record Flight", {SimChoose(RECORD_INTERVAL, 2), SimClick(DIALOG_OK)});
    EXPECT_TRUE(PressWithControl('R'));
    EXPECT_EQ(OnlyDialog().caption, "Record Flight");
    EXPECT_EQ(NextStatus().rfind("RECORDING [", 0), 0u);
    Fly(20.0);
    SimQueueFileDialogAnswer({folder + "/key.atr"});
    EXPECT_FALSE(Stroke(KeyEscape));  // the Stop key
    const ParsedRecording recording = Saved("key.atr");
    ASSERT_EQ(recording.tracks.size(), 1u);
    EXPECT_EQ(recording.tracks[0].interval, 500u);
}

TEST_F(DefaultSettings, AUserReplaysTheLastSecondsAndSavesThem) {
    StartWithSettings("");
    Fly(90.0);
    SimQueueDialogAnswer("Replay", {SimType(REPLAY_SECONDS, "30"), SimClick(DIALOG_OK)});
    Choose(CmdReplay);
    EXPECT_EQ(NextStatus(), "REPLAY [30 seconds]");
    Fly(31.0);
    EXPECT_EQ(NextStatus(), "");  // back to the buffer, the simulator paused as the defaults say
    SimSetPaused(false);
    Fly(10.0);

    SimQueueFileDialogAnswer({folder + "/last.atr"});
    SimQueueDialogAnswer("Replay", {SimClick(REPLAY_SAVE), SimClick(DIALOG_CANCEL)});
    Choose(CmdReplay);
    const ParsedRecording saved = Saved("last.atr");
    ASSERT_EQ(saved.tracks.size(), 1u);
    EXPECT_EQ(saved.tracks[0].interval, 500u);
    EXPECT_NEAR((saved.endTime - saved.startTime) / 10000.0, 100.0, 1.5);
}
