// Starting and stopping recordings from the module menu as the user meets
// them with the recording dialogs turned off: the status line, a flight
// loaded mid-recording, and the ways the files can fail the user, none of
// which may lose the flight. The save dialog's side is in
// recording_save_dialog_test.cpp.
#include <filesystem>

#include "recording_scenario.h"

using RecordingControl = RecordingScenario;

namespace {

const char* const WithoutDialogs = "[SETTINGS]\nNoRecDlg=1\n";

std::vector<SimLogEntry> Boxes() { return SimLogOf(LogMessageBox); }

}  // namespace

TEST_F(RecordingControl, StatusLineShowsTheRecordedSecondsInRed) {
    WriteSettings(WithoutDialogs);
    Start();
    StartRecording();
    Fly(12.5);
    std::vector<SimLogEntry> lines = SimLogOf(LogStatusLine);
    ASSERT_FALSE(lines.empty());
    const SimLogEntry& last = lines.back();
    EXPECT_EQ(last.text, "RECORDING [12 seconds]");
    EXPECT_EQ(last.a, 7u);
    EXPECT_EQ(last.b, 0xFFFFFFFFu);
    EXPECT_EQ(last.c, 0xC0FF0000u);
    EXPECT_EQ(last.d, 1u);  // between BeginDraw and EndDraw
    EXPECT_EQ(lines.size(), worldAt.size());  // once a frame
    EXPECT_EQ(lines.front().text, "RECORDING [0 seconds]");
}

TEST_F(RecordingControl, StatusLineStaysOffWithShowRecOff) {
    WriteSettings("[SETTINGS]\nNoRecDlg=1\nShowRec=0\nShowPlay=1\n");
    Start();
    StartRecording();
    Fly(3.0);
    EXPECT_TRUE(SimLogOf(LogStatusLine).empty());
    EXPECT_EQ(TempFiles().size(), 1u);  // it does record
}

TEST_F(RecordingControl, FlightLoadWithoutDialogsSavesAndStops) {
    WriteSettings(WithoutDialogs);
    Start();
    StartRecording();
    Fly(10.0);
    SimFireEvent(38, 0, 1);
    EXPECT_EQ(OnlyRecording().tracks.at(0).samples.size(), 40u);
    SimClearLog();
    Fly(2.0);
    EXPECT_TRUE(SimLogOf(LogStatusLine).empty());
}

TEST_F(RecordingControl, ALostUserAircraftEndsTheRecordingButKeepsItsFiles) {
    WriteSettings("[SETTINGS]\nNoRecDlg=1\n[RECORD]\nRecAI=1\nAIItvlFactor=1\n");
    Start(SimStandardConfig(1));
    StartRecording();
    Fly(100.0);  // more than a window of samples
    SimSetUserAircraftMissing(true);
    FlyFrames(1);
    std::vector<SimLogEntry> boxes = Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Aerotrace Module");
    EXPECT_EQ(boxes[0].text.rfind("An unexpected error occured! Please report this to ", 0), 0u);
    EXPECT_EQ(boxes[0].a, 0x10u);
    ExpectModalPairs();
    SimClearLog();
    SimSetUserAircraftMissing(false);
    Fly(2.0);
    EXPECT_TRUE(SimLogOf(LogStatusLine).empty());  // Idle
    // Every sample taken is in the files, with headers that say so.
    ParsedTrack user = TempTrack("Aerotrace1.tmp");
    EXPECT_EQ(user.samples.size(), 400u);
    EXPECT_EQ(user.lastTime, user.samples.back().time);
    EXPECT_EQ(TempTrack("Aerotrace100.tmp").samples.size(), 400u);
    // A new recording can start.
    StartRecording();
    Fly(1.0);
    EXPECT_FALSE(SimLogOf(LogStatusLine).empty());
}

TEST_F(RecordingControl, ATempFileThatCannotBeMadeStopsTheStart) {
    std::filesystem::create_directory("Modules/Aerotrace1.tmp");
    WriteSettings(WithoutDialogs);
    Start();
    StartRecording();
    std::vector<SimLogEntry> boxes = Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Aerotrace Module");
    EXPECT_EQ(boxes[0].text.rfind("Temp file could not be opened! Please contact the author at ", 0), 0u);
    EXPECT_EQ(boxes[0].a, 0x10u);
    ExpectModalPairs();
    Fly(2.0);
    EXPECT_TRUE(SimLogOf(LogStatusLine).empty());
}

// A crash before the save leaves only the temporary files: their header must
// already carry what the saved file would, the reference elevation included.
TEST_F(RecordingControl, TemporaryFileHeaderCarriesTheReferenceElevationFromTheStart) {
    SimConfig config;
    config.userReferenceElevation = 321.5f;
    WriteSettings(WithoutDialogs);
    Start(config);
    StartRecording();
    Fly(2.0);
    ParsedTrack track = TempTrack("Aerotrace1.tmp");
    EXPECT_EQ(track.referenceElevation, 321.5f);
    EXPECT_EQ(track.title, "Cessna Skyhawk 172SP");
}
