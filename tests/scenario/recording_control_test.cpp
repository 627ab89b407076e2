// Starting and stopping recordings on the stand-in as the user meets them:
// the status line, the save dialog and the question after cancelling it, a
// flight loaded mid-recording, and every way the files can fail the user,
// none of which may lose the flight.
#include <filesystem>

#include "recording_scenario.h"

using RecordingControl = RecordingScenario;

namespace {

std::vector<SimLogEntry> Boxes() { return SimLogOf(LogMessageBox); }

// ModalBegin and ModalEnd pair up around every box and dialog.
void ExpectModalPairs() {
    int depth = 0;
    for (const SimLogEntry& entry : SimLog()) {
        if (entry.kind == LogModalBegin) ++depth;
        if (entry.kind == LogModalEnd) --depth;
        if (entry.kind == LogMessageBox || entry.kind == LogFileDialog) {
            EXPECT_EQ(depth, 1) << entry.text;
        }
        ASSERT_GE(depth, 0);
    }
    EXPECT_EQ(depth, 0);
}

// The samples of a temporary track file, checked to be whole.
ParsedTrack TempTrack(const std::string& name) {
    std::vector<uint8_t> bytes = ReadWholeFile("Modules/" + name);
    ParsedTrack track;
    size_t offset = 0;
    std::string problem;
    EXPECT_TRUE(ParseTrackSection(bytes, &offset, &track, &problem)) << problem;
    EXPECT_EQ(offset, bytes.size()) << name;
    return track;
}

}  // namespace

TEST_F(RecordingControl, StatusLineShowsTheRecordedSecondsInRed) {
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
    WriteSettings("[SETTINGS]\nShowRec=0\nShowPlay=1\n");
    Start();
    StartRecording();
    Fly(3.0);
    EXPECT_TRUE(SimLogOf(LogStatusLine).empty());
    EXPECT_EQ(TempFiles().size(), 1u);  // it does record
}

TEST_F(RecordingControl, CancelledSaveThenNoThrowsEverythingAway) {
    WriteSettings("[RECORD]\nRecAI=1\n");
    Start(SimStandardConfig(2));
    StartRecording();
    Fly(20.0);
    EXPECT_EQ(TempFiles().size(), 3u);
    SimClearLog();
    SimQueueFileDialogAnswer({""});
    SimQueueMessageBoxAnswer(7);  // No
    SimModuleCommand("StopRecording");
    std::vector<SimLogEntry> dialogs = SimLogOf(LogFileDialog);
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].caption, "Save Recording");
    EXPECT_EQ(dialogs[0].owner, SimMainWindow());
    std::vector<SimLogEntry> boxes = Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Do you want to continue recording?");
    EXPECT_EQ(boxes[0].caption, "Aerotrace");
    EXPECT_EQ(boxes[0].a, 0x24u);  // Yes/No, question icon
    EXPECT_EQ(boxes[0].owner, SimMainWindow());
    ExpectModalPairs();
    EXPECT_TRUE(TempFiles().empty());
    EXPECT_FALSE(std::filesystem::exists("Recordings"));
    SimClearLog();
    Fly(2.0);
    EXPECT_TRUE(SimLogOf(LogStatusLine).empty());  // Idle
}

TEST_F(RecordingControl, CancelledSaveThenYesRecordsOnAndSavesLater) {
    Start();
    StartRecording();
    Fly(10.0);
    SimQueueFileDialogAnswer({""});
    SimQueueMessageBoxAnswer(6);  // Yes
    SimModuleCommand("StopRecording");
    EXPECT_EQ(TempFiles().size(), 1u);
    Fly(10.0);
    SimQueueFileDialogAnswer({"flight.atr"});
    SimModuleCommand("StopRecording");
    ParsedRecording recording = ParseRecording(ReadWholeFile("flight.atr"));
    ASSERT_TRUE(recording.valid) << recording.problem;
    ASSERT_EQ(recording.tracks.size(), 1u);
    EXPECT_EQ(recording.tracks[0].samples.size(), 80u);  // both halves, 1/4 s apart
    EXPECT_TRUE(TempFiles().empty());
    ExpectModalPairs();
}

TEST_F(RecordingControl, TheSaveDialogLeavesTheCurrentDirectoryAsItWas) {
    std::filesystem::create_directory("flights");
    Start();
    StartRecording();
    Fly(5.0);
    SimQueueFileDialogAnswer({"flights\\first.atr"});  // the dialog ends in "flights"
    SimModuleCommand("StopRecording");
    EXPECT_EQ(SimCurrentDirectory(), folder);
    EXPECT_EQ(ParseRecording(ReadWholeFile("flights/first.atr")).tracks.size(), 1u);
    // The next recording's files are in the simulator's Modules folder again.
    StartRecording();
    Fly(1.0);
    EXPECT_EQ(TempFiles().size(), 1u);
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(RecordingControl, FlightLoadOffersTheSaveAndCancellingRecordsOnSilently) {
    Start();
    StartRecording();
    Fly(10.0);
    SimClearLog();
    SimQueueFileDialogAnswer({""});
    SimFireEvent(38, 0, 1);
    EXPECT_EQ(SimLogOf(LogFileDialog).size(), 1u);
    EXPECT_TRUE(Boxes().empty());
    Fly(10.0);
    EXPECT_FALSE(SimLogOf(LogStatusLine).empty());  // still recording
    SimQueueFileDialogAnswer({"flight.atr"});
    SimModuleCommand("StopRecording");
    ParsedRecording recording = ParseRecording(ReadWholeFile("flight.atr"));
    ASSERT_TRUE(recording.valid) << recording.problem;
    EXPECT_EQ(recording.tracks.at(0).samples.size(), 80u);
}

TEST_F(RecordingControl, FlightLoadWithoutDialogsSavesAndStops) {
    WriteSettings("[SETTINGS]\nNoRecDlg=1\n");
    Start();
    StartRecording();
    Fly(10.0);
    SimFireEvent(38, 0, 1);
    EXPECT_EQ(OnlyRecording().tracks.at(0).samples.size(), 40u);
    SimClearLog();
    Fly(2.0);
    EXPECT_TRUE(SimLogOf(LogStatusLine).empty());
}

TEST_F(RecordingControl, APathThatCannotBeOpenedKeepsTheRecordingGoing) {
    Start();
    StartRecording();
    Fly(10.0);
    SimQueueFileDialogAnswer({"no-such-folder\\flight.atr"});
    SimModuleCommand("StopRecording");
    std::vector<SimLogEntry> boxes = Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "The selected file could not be opened!");
    EXPECT_EQ(boxes[0].caption, "Aerotrace");
    EXPECT_EQ(boxes[0].a, 0x10u);
    EXPECT_EQ(TempFiles().size(), 1u);
    Fly(10.0);
    SimQueueFileDialogAnswer({"flight.atr"});
    SimModuleCommand("StopRecording");
    ParsedRecording recording = ParseRecording(ReadWholeFile("flight.atr"));
    ASSERT_TRUE(recording.valid) << recording.problem;
    EXPECT_EQ(recording.tracks.at(0).samples.size(), 80u);
    ExpectModalPairs();
}

TEST_F(RecordingControl, ALostUserAircraftEndsTheRecordingButKeepsItsFiles) {
    WriteSettings("[RECORD]\nRecAI=1\nAIItvlFactor=1\n");
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

TEST_F(RecordingControl, ShutDownWhileRecordingOffersTheSave) {
    Start();
    StartRecording();
    Fly(10.0);
    SimQueueFileDialogAnswer({"flight.atr"});
    SimUnloadModule();
    EXPECT_EQ(SimLogOf(LogFileDialog).size(), 1u);
    EXPECT_EQ(ParseRecording(ReadWholeFile("flight.atr")).tracks.at(0).samples.size(), 40u);
    EXPECT_TRUE(TempFiles().empty());
}

TEST_F(RecordingControl, ShutDownWithTheSaveCancelledLeavesTheFlightInItsTempFiles) {
    WriteSettings("[RECORD]\nRecAI=1\n");
    Start(SimStandardConfig(1));
    StartRecording();
    Fly(10.0);
    SimQueueFileDialogAnswer({""});
    SimUnloadModule();
    EXPECT_TRUE(Boxes().empty());  // no question: the simulator is closing
    EXPECT_EQ(TempTrack("Aerotrace1.tmp").samples.size(), 40u);
    EXPECT_EQ(TempTrack("Aerotrace100.tmp").samples.size(), 10u);
}

// A crash before the save leaves only the temporary files: their header must
// already carry what the saved file would, the reference elevation included.
TEST_F(RecordingControl, TemporaryFileHeaderCarriesTheReferenceElevationFromTheStart) {
    SimConfig config;
    config.userReferenceElevation = 321.5f;
    Start(config);
    StartRecording();
    Fly(2.0);
    ParsedTrack track = TempTrack("Aerotrace1.tmp");
    EXPECT_EQ(track.referenceElevation, 321.5f);
    EXPECT_EQ(track.title, "Cessna Skyhawk 172SP");
}
