// What a recording holds is what RecFlags selects: its bits above the twelve
// sample groups mean nothing, so a slip of the finger in the settings file
// still records a flight that plays.
#include <cstdio>

#include "recording_bytes.h"
#include "recording_file.h"
#include "scenario_support.h"
#include "user_input.h"

using RecordedGroups = Scenario;

TEST_F(RecordedGroups, BitsAboveTheGroupsRecordAFlightThatPlays) {
    for (const std::string& name : FilesIn("Recordings", "Rec_", ".atr")) std::remove(("Recordings/" + name).c_str());
    // 4223 is 0x107F: the first seven groups and a bit that is none.
    WriteBytes(
        "Modules/Aerotrace.ini",
        "[SETTINGS]\r\nNoRecDlg=1\r\nRplyEnabled=0\r\nPause=0\r\nRecFlags=4223\r\n[RECORD]\r\nDfltItvlIdx=3\r\n");
    Start();
    SimRunSeconds(1.0);
    EXPECT_FALSE(Choose(CmdRecord));
    SimRunSeconds(10.0);
    EXPECT_FALSE(Choose(CmdRecord));  // "Stop recording..."
    const std::vector<std::string> saved = FilesIn("Recordings", "Rec_", ".atr");
    ASSERT_EQ(saved.size(), 1u);
    const ParsedRecording recording = ParseRecording(ReadWholeFile("Recordings/" + saved[0]));
    ASSERT_TRUE(recording.valid) << recording.problem;
    ASSERT_EQ(recording.tracks.size(), 1u);
    EXPECT_EQ(recording.tracks[0].flags, 4223u);  // stored as chosen, laid out by its groups
    ASSERT_GE(recording.tracks[0].samples.size(), 10u);

    SimClearLog();
    SimQueueFileDialogAnswer({folder + "/Recordings/" + saved[0]});
    EXPECT_FALSE(Choose(CmdPlay));
    SimRunSeconds(2.5);
    EXPECT_TRUE(SimLogOf(LogMessageBox).empty()) << SimLogOf(LogMessageBox)[0].text;
    std::vector<std::string> status = StatusTexts();
    ASSERT_FALSE(status.empty());
    EXPECT_EQ(status.back(), "PLAYBACK [2 / 9 seconds]");
    EXPECT_FALSE(SimLogOf(LogPositionSet).empty());
    // The recorded throttles are played back.
    bool throttleSet = false;
    for (const SimLogEntry& entry : SimLogOf(LogValueSet)) throttleSet |= entry.a == 1 && entry.b == 271;
    EXPECT_TRUE(throttleSet);
}
