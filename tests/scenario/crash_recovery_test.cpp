// A flight whose recording was cut off by a crash: the temporary track files
// it left in Modules are turned into a recording in Recordings when the
// module next starts, the user is told where, and the pieces are removed.
#include <cstdio>
#include <cstring>
#include <vector>

#include "recording_file.h"
#include "scenario_support.h"

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

TEST_F(CrashRecovery, TheNextStartSavesTheFlightTellsWhereAndRemovesThePieces) {
    Write("Modules/Aerotrace1.tmp", CrashedTrack("Cessna Skyhawk 172SP", 480, 30));
    Write("Modules/Aerotrace5.tmp", CrashedTrack("Beech Baron 58", 240, 0));
    Write("Modules/Aerotrace6.tmp", CrashedTrack("Learjet 45", 1, 50));  // too short to play
    Start();
    std::vector<SimLogEntry> boxes = SimLogOf(LogMessageBox);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Aerotrace");
    EXPECT_EQ(boxes[0].owner, SimMainWindow());
    // Named for the flight's date and time (with a number after it should a
    // run of this test before have left that name taken).
    const size_t named = boxes[0].text.find("saved as Recordings\\Recovered_2004-06-08_14-05-09");
    ASSERT_NE(named, std::string::npos) << boxes[0].text;
    std::string saved = boxes[0].text.substr(named + 9);
    ASSERT_EQ(saved.substr(saved.size() - 4), ".atr");
    saved[10] = '/';
    EXPECT_EQ(SimLogOf(LogModalBegin).size(), 1u);
    EXPECT_EQ(SimLogOf(LogModalEnd).size(), 1u);

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
    EXPECT_TRUE(SimLogOf(LogMessageBox).empty());
    EXPECT_TRUE(Exists("Modules/Aerotrace1.tmp"));
    EXPECT_FALSE(Exists("Recordings/Recovered_2004-06-08_14-05-09.atr"));
}

}  // namespace
