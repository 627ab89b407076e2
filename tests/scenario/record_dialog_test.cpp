// "Record Flight" as a user meets it: opened from the menu with the stored
// recording defaults (or the defaults of a file without them), OK storing
// the choices and starting a recording made with them, Cancel starting and
// storing nothing.
#include "dialog_scenario.h"

namespace {

using RecordDialog = DialogScenario;

const char Caption[] = "Record Flight";

std::vector<IniEntry> RecordSection(const std::string& text) {
    std::vector<IniEntry> entries;
    for (const IniEntry& entry : IniEntries(text))
        if (entry.section == "RECORD") entries.push_back(entry);
    return entries;
}

bool Recording() {
    SimClearLog();
    SimRunFrames(1);
    std::vector<std::string> lines = StatusTexts();
    return !lines.empty() && lines.back().rfind("RECORDING [", 0) == 0;
}

}  // namespace

TEST_F(RecordDialog, FromTheMenuItShowsTheDefaultsAndRecordsAtTheChosenInterval) {
    StartWithSettings("");
    Fly(5.0);
    SimClearLog();
    SimQueueDialogAnswer(Caption, {SimChoose(RECORD_INTERVAL, 3), SimClick(DIALOG_OK)});
    Choose(CmdRecord);
    const SimDialogShown dialog = OnlyDialog();
    EXPECT_EQ(dialog.owner, SimMainWindow());
    // A file without a RECORD section: 1/4 s, no autostop (60 s, after
    // touchdown, ready), no AI traffic, every 10th sample.
    const SimControlState interval = Control(dialog, 0, RECORD_INTERVAL);
    EXPECT_EQ(interval.items, (std::vector<std::string>{"1/8 sec", "1/4 sec", "1/2 sec", "1 sec", "2 sec"}));
    EXPECT_EQ(interval.selection, 1);
    EXPECT_EQ(Control(dialog, 0, RECORD_AUTOSTOP).checked, 0);
    EXPECT_EQ(Control(dialog, 0, RECORD_AUTOSTOP_SECONDS).text, "60");
    const SimControlState kind = Control(dialog, 0, RECORD_AUTOSTOP_KIND);
    EXPECT_EQ(kind.items,
              (std::vector<std::string>{"after touchdown", "after engine shutdown", "after start of recording"}));
    EXPECT_EQ(kind.selection, 0);
    EXPECT_TRUE(kind.enabled);  // the fields under an unchecked box stay usable
    EXPECT_EQ(Control(dialog, 0, RECORD_AI).checked, 0);
    EXPECT_EQ(Control(dialog, 0, RECORD_AI_FACTOR).text, "10");
    EXPECT_EQ(SimLogOf(LogModalBegin).size(), 1u);
    EXPECT_EQ(SimLogOf(LogModalEnd).size(), 1u);
    EXPECT_EQ(RecordSection(SettingsFileText()), (std::vector<IniEntry>{{"RECORD", "DfltItvlIdx", "3"},
                                                                        {"RECORD", "DfltAutostop", "-1"},
                                                                        {"RECORD", "DfltAutostopTime", "60"},
                                                                        {"RECORD", "RecAI", "0"},
                                                                        {"RECORD", "AIItvlFactor", "10"}}));
    ASSERT_TRUE(Recording());
    Fly(20.0);
    SimQueueFileDialogAnswer({folder + "/flight.atr"});
    Choose(CmdRecord);  // "Stop recording..."
    const ParsedRecording recording = ParseRecording(ReadWholeFile("flight.atr"));
    ASSERT_TRUE(recording.valid) << recording.problem;
    ASSERT_EQ(recording.tracks.size(), 1u);
    EXPECT_EQ(recording.tracks[0].interval, 1000u);
    EXPECT_NEAR(static_cast<double>(recording.tracks[0].samples.size()), 21.0, 1.0);
}

TEST_F(RecordDialog, CancelStartsAndStoresNothing) {
    const std::string file = "[RECORD]\r\nDfltItvlIdx=4\r\nDfltAutostop=1\r\n";
    StartWithSettings(file);
    SimQueueDialogAnswer(Caption, {SimChoose(RECORD_INTERVAL, 0), SimClick(RECORD_AI), SimClick(DIALOG_CANCEL)});
    Choose(CmdRecord);
    EXPECT_EQ(Control(OnlyDialog(), 0, RECORD_INTERVAL).selection, 4);
    EXPECT_EQ(SimLogOf(LogModalBegin).size(), 1u);
    EXPECT_EQ(SimLogOf(LogModalEnd).size(), 1u);
    EXPECT_EQ(SettingsFileText(), file);
    EXPECT_FALSE(Recording());
}

TEST_F(RecordDialog, AnAutostopAfterTheStartEndsTheRecordingAndTheFieldsAreKeptInRange) {
    StartWithSettings("[RECORD]\r\nAIItvlFactor=5\r\n");
    SimQueueDialogAnswer(Caption, {
                                      SimClick(RECORD_AUTOSTOP),
                                      SimType(RECORD_AUTOSTOP_SECONDS, "30"),
                                      SimChoose(RECORD_AUTOSTOP_KIND, 2),  // after start of recording
                                      SimClick(RECORD_AI),
                                      SimType(RECORD_AI_FACTOR, "0"),
                                      SimClick(DIALOG_OK),
                                  });
    Choose(CmdRecord);
    EXPECT_EQ(Control(OnlyDialog(), 0, RECORD_AI_FACTOR).text, "5");
    EXPECT_EQ(RecordSection(SettingsFileText()), (std::vector<IniEntry>{{"RECORD", "AIItvlFactor", "1"},
                                                                        {"RECORD", "DfltItvlIdx", "1"},
                                                                        {"RECORD", "DfltAutostop", "2"},
                                                                        {"RECORD", "DfltAutostopTime", "30"},
                                                                        {"RECORD", "RecAI", "1"}}));
    ASSERT_TRUE(Recording());
    SimQueueFileDialogAnswer({folder + "/stopped.atr"});
    Fly(29.0);
    EXPECT_TRUE(SimLogOf(LogFileDialog).empty());
    Fly(2.0);
    EXPECT_EQ(SimLogOf(LogFileDialog).size(), 1u);  // the autostop asks where to save
    const ParsedRecording recording = ParseRecording(ReadWholeFile("stopped.atr"));
    ASSERT_TRUE(recording.valid) << recording.problem;
    EXPECT_NEAR((recording.endTime - recording.startTime) / 10000.0, 30.0, 0.5);
}

TEST_F(RecordDialog, UncheckingTheAutostopKeepsItsSecondsAndALargeFactorIsStoredAs64) {
    StartWithSettings("[RECORD]\r\nDfltAutostop=1\r\nDfltAutostopTime=45\r\nRecAI=1\r\n");
    SimQueueDialogAnswer(Caption, {SimClick(RECORD_AUTOSTOP), SimType(RECORD_AI_FACTOR, "100"), SimClick(DIALOG_OK)});
    Choose(CmdRecord);
    const SimDialogShown dialog = OnlyDialog();
    EXPECT_EQ(Control(dialog, 0, RECORD_AUTOSTOP).checked, 1);
    EXPECT_EQ(Control(dialog, 0, RECORD_AUTOSTOP_KIND).selection, 1);
    EXPECT_EQ(Control(dialog, 0, RECORD_AUTOSTOP_SECONDS).text, "45");
    EXPECT_EQ(Control(dialog, 0, RECORD_AI).checked, 1);
    EXPECT_EQ(RecordSection(SettingsFileText()), (std::vector<IniEntry>{{"RECORD", "DfltAutostop", "-1"},
                                                                        {"RECORD", "DfltAutostopTime", "45"},
                                                                        {"RECORD", "RecAI", "1"},
                                                                        {"RECORD", "DfltItvlIdx", "1"},
                                                                        {"RECORD", "AIItvlFactor", "64"}}));
    EXPECT_TRUE(Recording());
}
