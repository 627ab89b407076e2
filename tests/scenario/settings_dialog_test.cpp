// "Aerotrace Settings" as a user meets it: opened from the menu with the
// settings shown, its live reactions (memory label, step fields, the
// simulation-rate boxes, the date/time warning), OK writing every setting
// in its order and restarting the replay buffer, Cancel changing nothing,
// and "Recording settings..." editing only the recording defaults.
#include <algorithm>

#include "dialog_scenario.h"

namespace {

using SettingsDialog = DialogScenario;

const char Caption[] = "Aerotrace Settings";

// The label for a buffer of this many samples of these groups at this interval.
std::string MemoryLabel(uint32_t samples, uint32_t flags, uint32_t milliseconds) {
    return "Used memory: " + std::to_string(ParsedRecordSize(flags) * samples / 1024) +
           "kb\nMaximum replay time: " + std::to_string(milliseconds * samples / 1000) + " seconds";
}

// Seconds the replay buffer holds, as the replay dialog offers them.
uint32_t BufferedSeconds() {
    SimClearLog();
    SimQueueDialogAnswer("Replay", {SimClick(DIALOG_CANCEL)});
    Choose(CmdReplay);
    std::vector<SimDialogShown> shown = SimDialogsShown();
    if (shown.empty() || shown[0].states.empty()) return 0;
    const SimControlState* field = SimFindControl(shown[0].states[0], REPLAY_SECONDS);
    return field ? static_cast<uint32_t>(std::stoul(field->text)) : 0;
}

}  // namespace

TEST_F(SettingsDialog, OkWritesEverySettingInItsOrderAndRestartsTheReplayBuffer) {
    StartWithSettings("");
    Fly(60.0);
    SimClearLog();
    SimQueueDialogAnswer(Caption, {
                                      SimChoose(SETTINGS_REPLAY_INTERVAL, 1),  // 1/4 sec
                                      SimType(SETTINGS_BUFFER_SIZE, "1000"),
                                      SimType(SETTINGS_STEP1_FIELD, "70000"),  // a jump of 70000 s
                                      SimClick(SETTINGS_STEP2_SEARCH),
                                      SimType(SETTINGS_STEP2_FIELD, "250"),  // searching at 250x
                                      SimClick(SETTINGS_AI_OFF),
                                      SimType(SETTINGS_MAX_AI, "12"),
                                      SimClick(SETTINGS_REC_DATE),
                                      SimClick(SETTINGS_PLAY_THROTTLES),
                                      SimClick(SETTINGS_SHOW_WINDOW),
                                      SimClick(SETTINGS_NO_RECORD_DIALOGS),
                                      SimClick(DIALOG_OK),
                                  });
    Choose(CmdSettings);
    const SimDialogShown dialog = OnlyDialog();
    EXPECT_EQ(dialog.owner, SimMainWindow());
    EXPECT_EQ(SimLogOf(LogModalBegin).size(), 1u);
    EXPECT_EQ(SimLogOf(LogModalEnd).size(), 1u);
    // The label follows the buffer size as it is typed.
    EXPECT_EQ(Control(dialog, 2, SETTINGS_MEMORY_LABEL).text, MemoryLabel(1000, 127, 250));

    const std::vector<IniEntry> expected = {
        {"SETTINGS", "RplyItvl", "250"},     {"SETTINGS", "RplyEnabled", "1"},    {"SETTINGS", "RplyClear", "1"},
        {"SETTINGS", "JumpSize1", "4464"},   {"SETTINGS", "JumpSize2", "60"},     {"SETTINGS", "JumpSize3", "300"},
        {"SETTINGS", "SearchSpeed1", "5"},   {"SETTINGS", "SearchSpeed2", "100"}, {"SETTINGS", "SearchSpeed3", "50"},
        {"SETTINGS", "Search1", "0"},        {"SETTINGS", "Search2", "1"},        {"SETTINGS", "Search3", "0"},
        {"SETTINGS", "Pause", "1"},          {"SETTINGS", "PlayAIMode", "2"},     {"SETTINGS", "MaxAIAcft", "12"},
        {"SETTINGS", "BufferSize", "1000"},  {"SETTINGS", "RecFlags", "1151"},    {"SETTINGS", "PlayFlags", "126"},
        {"SETTINGS", "ShowRec", "1"},        {"SETTINGS", "ShowPlay", "1"},       {"SETTINGS", "SetSimRate", "1"},
        {"SETTINGS", "SetSimRateSrch", "0"}, {"SETTINGS", "LimSimRate", "0"},     {"SETTINGS", "ContrAiPlay", "0"},
        {"SETTINGS", "WindAiPlay", "0"},     {"SETTINGS", "NoRecDlg", "1"},       {"WINDOW", "Show", "1"},
    };
    EXPECT_EQ(IniEntries(SettingsFileText()), expected);

    // A new, empty buffer: the minute flown before is gone.
    Fly(20.0);
    EXPECT_LE(BufferedSeconds(), 20u);
}

TEST_F(SettingsDialog, CancelLeavesTheSettingsAndTheFileAsTheyWere) {
    const std::string file =
        "; kept by hand\r\n[SETTINGS]\r\nbuffersize=2000\r\nJumpSize1=20\r\n\r\n[KEYBOARD]\r\nPlay=80\r\n";
    StartWithSettings(file);
    Fly(40.0);
    SimQueueDialogAnswer(Caption, {
                                      SimType(SETTINGS_BUFFER_SIZE, "500"),
                                      SimClick(SETTINGS_STEP1_SEARCH),
                                      SimClick(SETTINGS_REPLAY_ENABLED),
                                      SimClick(SETTINGS_REC_SMOKE),
                                      SimChoose(SETTINGS_REPLAY_INTERVAL, 4),
                                      SimClick(DIALOG_CANCEL),
                                  });
    Choose(CmdSettings);
    EXPECT_EQ(SettingsFileText(), file);
    // The buffer records on, and the next opening shows what was there.
    EXPECT_GE(BufferedSeconds(), 39u);
    SimClearLog();
    SimQueueDialogAnswer(Caption, {SimClick(DIALOG_CANCEL)});
    Choose(CmdSettings);
    const SimDialogShown dialog = OnlyDialog();
    EXPECT_EQ(Control(dialog, 0, SETTINGS_BUFFER_SIZE).text, "2000");
    EXPECT_EQ(Control(dialog, 0, SETTINGS_STEP1_FIELD).text, "20");
    EXPECT_EQ(Control(dialog, 0, SETTINGS_STEP1_JUMP).checked, 1);
    EXPECT_EQ(Control(dialog, 0, SETTINGS_REPLAY_ENABLED).checked, 1);
    EXPECT_EQ(SettingsFileText(), file);
}

TEST_F(SettingsDialog, TheDialogFollowsEveryEdit) {
    StartWithSettings("");
    SimClearLog();
    SimQueueDialogAnswer(Caption, {
                                      // 1-5: every "Recorded data" group on, 1/4 s, 1000 samples
                                      SimClick(SETTINGS_REC_PROP),
                                      SimClick(SETTINGS_REC_NAV),
                                      SimClick(SETTINGS_REC_COM),
                                      SimClick(SETTINGS_REC_DATE),
                                      SimClick(SETTINGS_REC_SMOKE),
                                      SimChoose(SETTINGS_REPLAY_INTERVAL, 1),  // 6
                                      SimType(SETTINGS_BUFFER_SIZE, "1000"),   // 7
                                      SimClick(SETTINGS_REC_SMOKE),            // 8: smoke off again
                                      SimType(SETTINGS_BUFFER_SIZE, "1000"),   // 9
                                      SimType(SETTINGS_STEP2_FIELD, "99"),     // 10
                                      SimClick(SETTINGS_STEP2_SEARCH),         // 11
                                      SimClick(SETTINGS_STEP2_JUMP),           // 12
                                      SimClick(SETTINGS_PLAY_DATE),            // 13: the warning
                                      SimClick(SETTINGS_PLAY_DATE),            // 14: off, no warning
                                      SimClick(SETTINGS_SIM_RATE),             // 15
                                      SimClick(SETTINGS_SIM_RATE),             // 16
                                      SimClick(DIALOG_CANCEL),
                                  });
    Choose(CmdSettings);
    const SimDialogShown dialog = OnlyDialog();
    ASSERT_EQ(dialog.states.size(), 17u);

    // As it opens, with the defaults.
    const SimControlState interval = Control(dialog, 0, SETTINGS_REPLAY_INTERVAL);
    EXPECT_EQ(interval.items, (std::vector<std::string>{"1/8 sec", "1/4 sec", "1/2 sec", "1 sec", "2 sec"}));
    EXPECT_EQ(interval.selection, 2);
    EXPECT_EQ(Control(dialog, 0, SETTINGS_BUFFER_SIZE).text, "3600");
    EXPECT_EQ(Control(dialog, 0, SETTINGS_MEMORY_LABEL).text, MemoryLabel(3600, 127, 500));
    EXPECT_EQ(Control(dialog, 0, SETTINGS_STEP3_FIELD).text, "300");
    EXPECT_EQ(Control(dialog, 0, SETTINGS_STEP3_UNIT).text, "sec");
    EXPECT_EQ(Control(dialog, 0, SETTINGS_AI_RECORDED).checked, 1);
    EXPECT_EQ(Control(dialog, 0, SETTINGS_PLAY_ENGINES).checked, 1);
    EXPECT_EQ(Control(dialog, 0, SETTINGS_PLAY_PROP).checked, 0);
    EXPECT_TRUE(Control(dialog, 0, SETTINGS_SIM_RATE_LIMIT).enabled);

    // The label follows a box's click alone and the interval's choice alone.
    EXPECT_EQ(Control(dialog, 5, SETTINGS_MEMORY_LABEL).text, MemoryLabel(3600, 0xFFF, 500));
    EXPECT_EQ(Control(dialog, 6, SETTINGS_MEMORY_LABEL).text, MemoryLabel(3600, 0xFFF, 250));
    // 1000 samples of all twelve groups (132 bytes) at 1/4 s; then without smoke.
    EXPECT_EQ(Control(dialog, 7, SETTINGS_MEMORY_LABEL).text, "Used memory: 128kb\nMaximum replay time: 250 seconds");
    EXPECT_EQ(Control(dialog, 8, SETTINGS_MEMORY_LABEL).text, MemoryLabel(1000, 0x7FF, 250));
    EXPECT_EQ(Control(dialog, 9, SETTINGS_MEMORY_LABEL).text, MemoryLabel(1000, 0x7FF, 250));

    // The other choice of a step shows its stored value, not what was typed.
    EXPECT_EQ(Control(dialog, 11, SETTINGS_STEP2_FIELD).text, "15");
    EXPECT_EQ(Control(dialog, 11, SETTINGS_STEP2_UNIT).text, "x");
    EXPECT_EQ(Control(dialog, 11, SETTINGS_STEP2_JUMP).checked, 0);
    EXPECT_EQ(Control(dialog, 12, SETTINGS_STEP2_FIELD).text, "60");
    EXPECT_EQ(Control(dialog, 12, SETTINGS_STEP2_UNIT).text, "sec");

    // Played date and time warns once, when it is turned on; recorded date did not.
    std::vector<SimLogEntry> boxes = SimLogOf(LogMessageBox);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Warning");
    EXPECT_EQ(boxes[0].text,
              "Enabling the playback of date and time can cause problems on some system configurations because of "
              "the frequent clock modifications. If you have problems during playback try to disable this option.");
    EXPECT_EQ(boxes[0].a & 0xF0, 0x30u);
    EXPECT_EQ(boxes[0].owner, dialog.window);

    // The simulation-rate options follow their box.
    EXPECT_FALSE(Control(dialog, 15, SETTINGS_SIM_RATE_SEARCH).enabled);
    EXPECT_FALSE(Control(dialog, 15, SETTINGS_SIM_RATE_LIMIT).enabled);
    EXPECT_TRUE(Control(dialog, 16, SETTINGS_SIM_RATE_SEARCH).enabled);
}

TEST_F(SettingsDialog, OptionsUnderAnUncheckedSimRateBoxAreStoredOff) {
    StartWithSettings("[SETTINGS]\r\nSetSimRateSrch=1\r\nLimSimRate=1\r\n");
    SimQueueDialogAnswer(Caption, {SimClick(SETTINGS_SIM_RATE), SimClick(DIALOG_OK)});
    Choose(CmdSettings);
    const SimDialogShown dialog = OnlyDialog();
    EXPECT_EQ(Control(dialog, 1, SETTINGS_SIM_RATE_LIMIT).checked, 1);
    EXPECT_FALSE(Control(dialog, 1, SETTINGS_SIM_RATE_LIMIT).enabled);
    // The two keys already in the file are written where they stand.
    const std::vector<IniEntry> entries = IniEntries(SettingsFileText());
    ASSERT_EQ(entries.size(), 27u);
    EXPECT_EQ(entries[0], (IniEntry{"SETTINGS", "SetSimRateSrch", "0"}));
    EXPECT_EQ(entries[1], (IniEntry{"SETTINGS", "LimSimRate", "0"}));
    EXPECT_NE(std::find(entries.begin(), entries.end(), IniEntry{"SETTINGS", "SetSimRate", "0"}), entries.end());

    // With the rate not set, its two options open disabled; the "AI traffic"
    // radio opens on the stored mode.
    const struct {
        const char* mode;
        int radio;
    } modes[] = {{"1", SETTINGS_AI_NORMAL}, {"2", SETTINGS_AI_OFF}};
    for (const auto& mode : modes) {
        StartWithSettings(std::string("[SETTINGS]\r\nSetSimRate=0\r\nPlayAIMode=") + mode.mode + "\r\n");
        SimClearLog();
        SimQueueDialogAnswer(Caption, {SimClick(DIALOG_CANCEL)});
        Choose(CmdSettings);
        const SimDialogShown opened = OnlyDialog();
        EXPECT_FALSE(Control(opened, 0, SETTINGS_SIM_RATE_SEARCH).enabled);
        EXPECT_FALSE(Control(opened, 0, SETTINGS_SIM_RATE_LIMIT).enabled);
        for (int radio : {SETTINGS_AI_RECORDED, SETTINGS_AI_NORMAL, SETTINGS_AI_OFF})
            EXPECT_EQ(Control(opened, 0, radio).checked, radio == mode.radio ? 1 : 0) << mode.mode << " " << radio;
    }
}

TEST_F(SettingsDialog, RecordingSettingsChangeOnlyTheRecordingDefaults) {
    StartWithSettings("");
    Fly(30.0);
    SimClearLog();
    SimQueueDialogAnswer(Caption, {SimClick(SETTINGS_RECORD_DEFAULTS), SimClick(DIALOG_CANCEL)});
    SimQueueDialogAnswer("Record Flight", {SimChoose(RECORD_INTERVAL, 0), SimClick(DIALOG_OK)});
    Choose(CmdSettings);
    const std::vector<SimDialogShown> shown = SimDialogsShown();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[1].caption, "Record Flight");
    EXPECT_EQ(shown[1].owner, SimMainWindow());  // the simulator's window, not the settings dialog
    EXPECT_EQ(SimLogOf(LogModalBegin).size(), 1u);
    EXPECT_EQ(IniEntries(SettingsFileText()), (std::vector<IniEntry>{{"RECORD", "DfltItvlIdx", "0"},
                                                                     {"RECORD", "DfltAutostop", "-1"},
                                                                     {"RECORD", "DfltAutostopTime", "60"},
                                                                     {"RECORD", "RecAI", "0"},
                                                                     {"RECORD", "AIItvlFactor", "10"}}));
    // No recording started, and the replay buffer goes on at its own interval.
    SimRunFrames(1);
    EXPECT_TRUE(StatusTexts().empty());
    Fly(10.0);
    SimQueueFileDialogAnswer({"buffer.atr"});
    SimQueueDialogAnswer("Replay", {SimClick(REPLAY_SAVE), SimClick(DIALOG_CANCEL)});
    Choose(CmdReplay);
    const ParsedRecording saved = ParseRecording(ReadWholeFile("buffer.atr"));
    ASSERT_TRUE(saved.valid) << saved.problem;
    ASSERT_EQ(saved.tracks.size(), 1u);
    EXPECT_EQ(saved.tracks[0].interval, 500u);
    EXPECT_NEAR(static_cast<double>(saved.tracks[0].samples.size()), 80.0, 2.0);
}
