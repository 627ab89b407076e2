// A flight whose recording was cut off by a crash: the temporary track files
// it left in Modules are turned into a recording in Recordings on the first
// frame after the module next starts (not while the simulator is still
// loading), the user is told where, and the pieces are removed. A recording
// started before that frame never touches the pieces first.
#include <cstdio>
#include <cstring>
#include <vector>

#include "recording_bytes.h"
#include "recording_file.h"
#include "scenario_support.h"
#include "user_input.h"

namespace {

// Records holding the date and time group only: position, orientation,
// motion, on ground, toggle state, date and time, time stamp.
const uint32_t DateTimeFlag = 0x400;
const size_t RecordBytes = 72;

void Put32(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

// What a recording leaves after a crash: the header as written when the
// track started (no count, no times) and the windows spilled so far, the
// last one cut short.
std::vector<uint8_t> CrashedTrack(const char* title, uint32_t whole, size_t partial) {
    std::vector<uint8_t> bytes(124, 0);
    Put32(bytes, 4, DateTimeFlag);
    std::memcpy(&bytes[16], title, std::strlen(title));
    Put32(bytes, 120, 250);
    for (uint32_t i = 0; i <= whole; ++i) {
        std::vector<uint8_t> record(RecordBytes, 0);
        SimAircraftState state;
        SimScriptedState(i * 0.25, &state);
        std::memcpy(&record[0], state.placement, 36);
        std::memcpy(&record[36], state.motion, 24);
        record[62] = 104;  // 2004
        record[63] = 160;  // day 160: June 8
        record[65] = 14;
        record[66] = 5;
        record[67] = 9;
        Put32(record, 68, i * 2500);
        bytes.insert(bytes.end(), record.begin(), record.begin() + (i < whole ? RecordBytes : partial));
    }
    return bytes;
}

void Write(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr) << path;
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
}

bool Exists(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file) std::fclose(file);
    return file != nullptr;
}

using CrashRecovery = Scenario;

// ModalBegin, the box, ModalEnd, in that order and nothing else modal.
void ExpectOneModalBox() {
    std::vector<SimLogKind> modal;
    for (const SimLogEntry& entry : SimLog())
        if (entry.kind == LogModalBegin || entry.kind == LogModalEnd || entry.kind == LogMessageBox)
            modal.push_back(entry.kind);
    EXPECT_EQ(modal, (std::vector<SimLogKind>{LogModalBegin, LogMessageBox, LogModalEnd}));
}

TEST_F(CrashRecovery, TheFirstFrameSavesTheFlightTellsWhereAndRemovesThePieces) {
    Write("Modules/Aerotrace1.tmp", CrashedTrack("Cessna Skyhawk 172SP", 480, 30));
    Write("Modules/Aerotrace5.tmp", CrashedTrack("Beech Baron 58", 240, 0));
    Write("Modules/Aerotrace6.tmp", CrashedTrack("Learjet 45", 1, 50));  // too short to play
    Start();
    // Nothing while the simulator loads the module.
    EXPECT_TRUE(SimLogOf(LogMessageBox).empty());
    EXPECT_TRUE(Exists("Modules/Aerotrace1.tmp"));
    SimRunFrames(1);
    std::vector<SimLogEntry> boxes = SimLogOf(LogMessageBox);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].frame, 1u);
    EXPECT_EQ(boxes[0].caption, "Aerotrace");
    EXPECT_EQ(boxes[0].owner, SimMainWindow());
    // Named for the flight's date and time (with a number after it should a
    // run of this test before have left that name taken).
    const size_t named = boxes[0].text.find("saved as Recordings\\Recovered_2004-06-08_14-05-09");
    ASSERT_NE(named, std::string::npos) << boxes[0].text;
    std::string saved = boxes[0].text.substr(named + 9);
    ASSERT_EQ(saved.substr(saved.size() - 4), ".atr");
    saved[10] = '/';
    ExpectOneModalBox();

    std::vector<uint8_t> file = ReadWholeFile(saved);
    // Version, times 0 to 119.75 s, two tracks of every whole sample.
    ASSERT_EQ(file.size(), 18u + 2 * 124 + (480 + 240) * RecordBytes);
    ParsedRecording parsed = ParseRecording(file);
    ASSERT_TRUE(parsed.valid) << parsed.problem;
    ASSERT_EQ(parsed.tracks.size(), 2u);
    EXPECT_EQ(parsed.tracks[0].samples.size(), 480u);
    EXPECT_EQ(parsed.tracks[1].samples.size(), 240u);
    EXPECT_EQ(parsed.tracks[0].samples.back().day, 160u);
    EXPECT_EQ(parsed.version, 0x01000006u);
    EXPECT_EQ(parsed.startTime, 0u);
    EXPECT_EQ(parsed.endTime, 479u * 2500);
    EXPECT_EQ(parsed.tracks[0].count, 480u);
    EXPECT_EQ(parsed.tracks[0].lastTime, 479u * 2500);
    EXPECT_EQ(parsed.tracks[0].title, "Cessna Skyhawk 172SP");
    EXPECT_EQ(parsed.tracks[1].title, "Beech Baron 58");
    // The last whole sample as it was written.
    std::vector<uint8_t> pieces = CrashedTrack("Cessna Skyhawk 172SP", 480, 0);
    EXPECT_TRUE(std::equal(pieces.begin() + 124, pieces.end(), file.begin() + 18 + 124));

    EXPECT_FALSE(Exists("Modules/Aerotrace1.tmp"));
    EXPECT_FALSE(Exists("Modules/Aerotrace5.tmp"));
    EXPECT_TRUE(Exists("Modules/Aerotrace6.tmp"));
    // The module then runs as ever.
    SimRunSeconds(5.0);
    EXPECT_EQ(SimLogOf(LogMessageBox).size(), 1u);
    std::remove(saved.c_str());
}

TEST_F(CrashRecovery, PiecesTooShortToPlayAreLeftAloneSilently) {
    Write("Modules/Aerotrace1.tmp", CrashedTrack("Cessna Skyhawk 172SP", 1, 20));
    Start();
    SimRunFrames(3);
    EXPECT_TRUE(SimLogOf(LogMessageBox).empty());
    EXPECT_TRUE(Exists("Modules/Aerotrace1.tmp"));
    EXPECT_FALSE(Exists("Recordings/Recovered_2004-06-08_14-05-09.atr"));
}

// The user chooses "Record..." before the first frame: the flight of the
// crash is saved first, and the new recording starts on fresh files.
TEST_F(CrashRecovery, ARecordingStartedBeforeTheFirstFrameRecoversTheLeftoversFirst) {
    WriteBytes("Modules/Aerotrace.ini", "[SETTINGS]\r\nNoRecDlg=1\r\nRplyEnabled=0\r\n");
    const std::vector<uint8_t> crashed = CrashedTrack("Cessna Skyhawk 172SP", 480, 30);
    Write("Modules/Aerotrace1.tmp", crashed);
    Start();
    EXPECT_FALSE(Choose(CmdRecord));
    std::vector<SimLogEntry> boxes = SimLogOf(LogMessageBox);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].frame, 0u);
    EXPECT_NE(boxes[0].text.find("has been recovered"), std::string::npos) << boxes[0].text;
    ExpectOneModalBox();
    const std::vector<std::string> recovered = FilesIn("Recordings", "Recovered_2004-06-08_14-05-09", ".atr");
    ASSERT_EQ(recovered.size(), 1u);
    ParsedRecording flight = ParseRecording(ReadWholeFile("Recordings/" + recovered[0]));
    ASSERT_TRUE(flight.valid) << flight.problem;
    EXPECT_EQ(flight.tracks.at(0).samples.size(), 480u);

    // The new recording runs, records and saves as ever; nothing is recovered twice.
    SimRunSeconds(5.0);
    const std::vector<std::string> status = StatusTexts();
    ASSERT_FALSE(status.empty());
    EXPECT_EQ(status.back().rfind("RECORDING [", 0), 0u);
    EXPECT_FALSE(Choose(CmdRecord));
    EXPECT_EQ(FilesIn("Recordings", "Rec_", ".atr").size(), 1u);
    EXPECT_EQ(SimLogOf(LogMessageBox).size(), 0u);
    std::remove(("Recordings/" + recovered[0]).c_str());
}

// When the flight of the crash cannot be saved, the user is told to keep its
// pieces, and a recording asked for before the first frame does not start
// over them.
TEST_F(CrashRecovery, PiecesThatCannotBeSavedAreNotOverwrittenByARecordingStartedBeforeTheFirstFrame) {
    WriteBytes("Modules/Aerotrace.ini", "[SETTINGS]\r\nNoRecDlg=1\r\nRplyEnabled=0\r\n");
    const std::vector<uint8_t> crashed = CrashedTrack("Cessna Skyhawk 172SP", 480, 30);
    Write("Modules/Aerotrace1.tmp", crashed);
    Write("Recordings", {1, 2, 3});  // a file where the folder should be: nothing can be saved there
    Start();
    EXPECT_FALSE(Choose(CmdRecord));
    std::vector<SimLogEntry> boxes = SimLogOf(LogMessageBox);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].text.find("could not be recovered"), std::string::npos) << boxes[0].text;
    EXPECT_EQ(boxes[0].a & 0xF0, 0x30u);  // a warning
    SimRunSeconds(2.0);
    EXPECT_TRUE(StatusTexts().empty());  // not recording
    EXPECT_EQ(ReadWholeFile("Modules/Aerotrace1.tmp"), crashed);
    EXPECT_EQ(SimLogOf(LogMessageBox).size(), 1u);  // told once, not again on the first frame
}

}  // namespace
