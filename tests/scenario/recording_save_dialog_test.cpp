// Stopping recordings through the save dialog: the dialog, the question
// after cancelling it, a flight loaded or the simulator closed
// mid-recording, and a path that cannot be opened. With the save dialog
// turned on the record dialog is too: "Record..." opens it, and OK starts
// the recording.
#include <filesystem>

#include "recording_scenario.h"
#include "ui/dialogs/dialog_ids.h"

using RecordingControl = RecordingScenario;

namespace {

std::vector<SimLogEntry> Boxes() { return SimLogOf(LogMessageBox); }

// "Record...", and OK in the record dialog with what it proposes.
void StartRecordingThroughTheRecordDialog() {
    SimQueueDialogAnswer("Record Flight", {SimClick(DIALOG_OK)});
    EXPECT_FALSE(SimChooseMenuCommand(SimCmdRecord));
}

}  // namespace

TEST_F(RecordingControl, CancelledSaveThenNoThrowsEverythingAway) {
    WriteSettings("[RECORD]\nRecAI=1\n");
    Start(SimStandardConfig(2));
    StartRecordingThroughTheRecordDialog();
    Fly(20.0);
    EXPECT_EQ(TempFiles().size(), 3u);
    SimClearLog();
    SimQueueFileDialogAnswer({""});
    SimQueueMessageBoxAnswer(7);  // No
    StopRecording();
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
    StartRecordingThroughTheRecordDialog();
    Fly(10.0);
    SimQueueFileDialogAnswer({""});
    SimQueueMessageBoxAnswer(6);  // Yes
    StopRecording();
    EXPECT_EQ(TempFiles().size(), 1u);
    Fly(10.0);
    SimQueueFileDialogAnswer({"flight.atr"});
    StopRecording();
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
    // As the platform spells it (Windows: with backslashes).
    const std::string before = SimCurrentDirectory();
    StartRecordingThroughTheRecordDialog();
    Fly(5.0);
    SimQueueFileDialogAnswer({"flights\\first.atr"});  // the dialog ends in "flights"
    StopRecording();
    EXPECT_EQ(SimCurrentDirectory(), before);
    EXPECT_EQ(ParseRecording(ReadWholeFile("flights/first.atr")).tracks.size(), 1u);
    // The next recording's files are in the simulator's Modules folder again.
    StartRecordingThroughTheRecordDialog();
    Fly(1.0);
    EXPECT_EQ(TempFiles().size(), 1u);
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(RecordingControl, FlightLoadOffersTheSaveAndCancellingRecordsOnSilently) {
    Start();
    StartRecordingThroughTheRecordDialog();
    Fly(10.0);
    SimClearLog();
    SimQueueFileDialogAnswer({""});
    SimFireEvent(38, 0, 1);
    EXPECT_EQ(SimLogOf(LogFileDialog).size(), 1u);
    EXPECT_TRUE(Boxes().empty());
    Fly(10.0);
    EXPECT_FALSE(SimLogOf(LogStatusLine).empty());  // still recording
    SimQueueFileDialogAnswer({"flight.atr"});
    StopRecording();
    ParsedRecording recording = ParseRecording(ReadWholeFile("flight.atr"));
    ASSERT_TRUE(recording.valid) << recording.problem;
    EXPECT_EQ(recording.tracks.at(0).samples.size(), 80u);
}

TEST_F(RecordingControl, APathThatCannotBeOpenedKeepsTheRecordingGoing) {
    Start();
    StartRecordingThroughTheRecordDialog();
    Fly(10.0);
    SimQueueFileDialogAnswer({"no-such-folder\\flight.atr"});
    StopRecording();
    std::vector<SimLogEntry> boxes = Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "The selected file could not be opened!");
    EXPECT_EQ(boxes[0].caption, "Aerotrace");
    EXPECT_EQ(boxes[0].a, 0x10u);
    EXPECT_EQ(TempFiles().size(), 1u);
    Fly(10.0);
    SimQueueFileDialogAnswer({"flight.atr"});
    StopRecording();
    ParsedRecording recording = ParseRecording(ReadWholeFile("flight.atr"));
    ASSERT_TRUE(recording.valid) << recording.problem;
    EXPECT_EQ(recording.tracks.at(0).samples.size(), 80u);
    ExpectModalPairs();
}

TEST_F(RecordingControl, ShutDownWhileRecordingOffersTheSave) {
    Start();
    StartRecordingThroughTheRecordDialog();
    Fly(10.0);
    SimQueueFileDialogAnswer({"flight.atr"});
    SimUnloadModule();
    EXPECT_EQ(SimLogOf(LogFileDialog).size(), 1u);
    EXPECT_EQ(ParseRecording(ReadWholeFile("flight.atr")).tracks.at(0).samples.size(), 40u);
    EXPECT_TRUE(TempFiles().empty());
}

TEST_F(RecordingControl, ShutDownWithTheSaveCancelledLeavesTheFlightInItsTempFiles) {
    WriteSettings("[RECORD]\nRecAI=1\nAIItvlFactor=4\n");  // every fourth sample of the AI aircraft
    Start(SimStandardConfig(1));
    StartRecordingThroughTheRecordDialog();
    Fly(10.0);
    SimQueueFileDialogAnswer({""});
    SimUnloadModule();
    EXPECT_TRUE(Boxes().empty());  // no question: the simulator is closing
    EXPECT_EQ(TempTrack("Aerotrace1.tmp").samples.size(), 40u);
    EXPECT_EQ(TempTrack("Aerotrace100.tmp").samples.size(), 10u);
}
