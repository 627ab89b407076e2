// Recovering flights the simulator never saved: temporary files with stale
// headers and unfinished records, the start-up pass that rebuilds them into
// Recordings, tells the user and removes them, and a failure at any single
// file operation that must never lose the flight.
#include "engine/record/leftover_recovery.h"
#include "engine/tracks/temp_tracks.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "core/host/module_state.h"
#include "engine/tracks/sim_date.h"
#include "platform/platform.h"
#include "recording_fixture.h"
#include "recording_reader.h"
#include "sim.h"

namespace {

const uint32_t Flags = FlagThrottles | FlagGear | FlagDateTime;

class Recovery : public ::testing::Test {
protected:
    void SetUp() override {
        char here[4096];
        ASSERT_NE(getcwd(here, sizeof here), nullptr);
        home = here;
        folder = home + "/recovery-" + ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::system(("rm -rf '" + folder + "'").c_str());
        SimEnterDirectory(folder);  // makes folder and folder/Modules, and enters it
    }
    void TearDown() override {
        if (SimModuleLoaded()) SimUnloadModule();
        SimChangeDirectory(home);
    }
    std::vector<std::string> Recovered() {
        std::vector<std::string> names;
        DirectoryList(
            "Recordings", "Recovered_*.atr",
            [](const char* name, void* list) {
                static_cast<std::vector<std::string>*>(list)->push_back(std::string("Recordings/") + name);
            },
            &names);
        return names;
    }
    std::string home, folder;
};

TEST_F(Recovery, ScanTrustsOnlyWholeRecordsWithTimesInOrder) {
    const uint32_t size = RecordSize(Flags);
    ASSERT_TRUE(WriteCrashedTempFile("Modules/Aerotrace1.tmp", "Cessna", Flags, 500, size / 2));
    PlatformFile* file = FileOpen("Modules\\Aerotrace1.tmp", "rb");
    ASSERT_NE(file, nullptr);
    TempTrackScan scan;
    ASSERT_TRUE(ScanTempTrack(file, &scan));
    EXPECT_EQ(scan.wholeRecords, 500u);
    EXPECT_EQ(scan.header.count, 500u);
    EXPECT_EQ(scan.header.firstTime, 0u);
    EXPECT_EQ(scan.header.lastTime, 499u * 2500u);
    EXPECT_STREQ(scan.header.title, "Cessna");
    // The first record's date and time group dates the recording.
    CalendarTime when{};
    ASSERT_TRUE(DecodeDateStamp(RecoveredDateStamp(file, scan), &when));
    EXPECT_EQ(when.year, 2004);
    EXPECT_EQ(when.dayOfYear, 160u);
    FileClose(file);

    // A record whose time runs backwards was never finished: it and what
    // follows are left out.
    std::vector<uint8_t> bytes = ReadWholeFile("Modules/Aerotrace1.tmp");
    const size_t record300 = TrackHeaderSize + 300ull * size;
    SetRecordTime(ComputeLayout(Flags), bytes.data() + record300, 5);
    WriteWholeFile("Modules/Aerotrace1.tmp", bytes);
    file = FileOpen("Modules\\Aerotrace1.tmp", "rb");
    ASSERT_TRUE(ScanTempTrack(file, &scan));
    EXPECT_EQ(scan.header.count, 300u);
    EXPECT_EQ(scan.header.lastTime, 299u * 2500u);
    FileClose(file);

    // Shorter than a header: nothing to scan.
    WriteWholeFile("Modules/Aerotrace2.tmp", std::vector<uint8_t>(100, 0));
    file = FileOpen("Modules\\Aerotrace2.tmp", "rb");
    EXPECT_FALSE(ScanTempTrack(file, &scan));
    FileClose(file);
}

TEST_F(Recovery, StartUpRebuildsTheFlightTellsTheUserOnceAndRemovesThePieces) {
    ASSERT_TRUE(WriteCrashedTempFile("Modules/Aerotrace1.tmp", "Cessna Skyhawk 172SP", Flags, 720, 17));
    ASSERT_TRUE(WriteCrashedTempFile("Modules/Aerotrace7.tmp", "Boeing 737-800", Flags & 0x7F, 480, 3));
    ASSERT_TRUE(WriteCrashedTempFile("Modules/Aerotrace9.tmp", "Learjet 45", Flags & 0x7F, 1, 0));
    ASSERT_TRUE(WriteCrashedTempFile("Modules/aerotrace12.TMP", "Beech Baron 58", Flags & 0x7F, 240, 0));
    WriteWholeFile("Modules/Aerotrace.tmp.bak", std::vector<uint8_t>(300, 1));
    SimReset(SimStandardConfig(0));
    ASSERT_TRUE(SimLoadModule());
    // Not while the simulator is still loading: on the first frame, once.
    EXPECT_TRUE(Recovered().empty());
    EXPECT_TRUE(SimLogOf(LogMessageBox).empty());
    SimRunFrames(1);

    std::vector<std::string> recovered = Recovered();
    ASSERT_EQ(recovered.size(), 1u);
    EXPECT_EQ(recovered[0], "Recordings/Recovered_2004-06-08_14-05-09.atr");
    std::vector<SimLogEntry> boxes = SimLogOf(LogMessageBox);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Aerotrace");
    EXPECT_EQ(boxes[0].owner, SimMainWindow());
    EXPECT_NE(boxes[0].text.find("Recordings\\Recovered_2004-06-08_14-05-09.atr"), std::string::npos);
    // Shown modally, on the first frame.
    EXPECT_EQ(boxes[0].frame, 1u);
    const std::vector<SimLogEntry>& log = SimLog();
    size_t box = 0, begin = 0, end = 0;
    for (size_t i = 0; i < log.size(); ++i) {
        if (log[i].kind == LogMessageBox) box = i;
        if (log[i].kind == LogModalBegin && !begin) begin = i + 1;
        if (log[i].kind == LogModalEnd && !end) end = i + 1;
    }
    EXPECT_TRUE(begin && begin - 1 < box && box < end - 1);
    SimRunFrames(5);
    EXPECT_EQ(SimLogOf(LogMessageBox).size(), 1u);

    // The pieces that went in are gone; the one-sample file stays.
    EXPECT_FALSE(FileExists("Modules/Aerotrace1.tmp"));
    EXPECT_FALSE(FileExists("Modules/Aerotrace7.tmp"));
    EXPECT_FALSE(FileExists("Modules/aerotrace12.TMP"));
    EXPECT_TRUE(FileExists("Modules/Aerotrace9.tmp"));
    EXPECT_TRUE(FileExists("Modules/Aerotrace.tmp.bak"));

    // The user's track first, every whole sample of each, nothing else.
    std::unique_ptr<RecordingFile> recording = OpenRecording(recovered[0]);
    ASSERT_EQ(recording->tracks.size(), 3u);
    EXPECT_STREQ(recording->tracks[0].title, "Cessna Skyhawk 172SP");
    EXPECT_EQ(recording->tracks[0].count, 720u);
    EXPECT_STREQ(recording->tracks[1].title, "Boeing 737-800");
    EXPECT_EQ(recording->tracks[1].count, 480u);
    EXPECT_EQ(recording->tracks[2].count, 240u);
    EXPECT_EQ(recording->startTime, 0u);
    EXPECT_EQ(recording->endTime, 719u * 2500u);
    FullSample expected = ScriptedSample(719 * 0.25);
    FullSample got = SampleAt(recording->tracks[0], 719);
    EXPECT_EQ(got.position.latitude, expected.position.latitude);
    EXPECT_EQ(got.time, expected.time);

    // Nothing is left to recover at the next start.
    SimUnloadModule();
    SimReset(SimStandardConfig(0));
    ASSERT_TRUE(SimLoadModule());
    SimRunFrames(1);
    EXPECT_TRUE(SimLogOf(LogMessageBox).empty());
    EXPECT_EQ(Recovered().size(), 1u);
}

TEST_F(Recovery, ANameAlreadyTakenIsNotOverwritten) {
    DirectoryCreate("Recordings");
    WriteWholeFile("Recordings/Recovered_2004-06-08_14-05-09.atr", {1, 2, 3});
    ASSERT_TRUE(WriteCrashedTempFile("Modules/Aerotrace1.tmp", "Cessna", Flags, 10, 0));
    SimReset(SimStandardConfig(0));
    ASSERT_TRUE(SimLoadModule());
    SimRunFrames(1);
    EXPECT_EQ(ReadWholeFile("Recordings/Recovered_2004-06-08_14-05-09.atr"), (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_TRUE(FileExists("Recordings/Recovered_2004-06-08_14-05-09_2.atr"));
}

TEST_F(Recovery, AFailureAtAnyFileOperationNeverLosesTheFlight) {
    ASSERT_TRUE(WriteCrashedTempFile("Modules/Aerotrace1.tmp", "Cessna", Flags, 600, 40));
    const std::vector<uint8_t> original = ReadWholeFile("Modules/Aerotrace1.tmp");
    std::system("mv Modules/Aerotrace1.tmp original.tmp");
    SimReset(SimStandardConfig(0));
    ASSERT_TRUE(SimLoadModule());
    SimRunFrames(1);  // the start-up pass: nothing to recover yet
    // How many file operations a whole recovery takes.
    WriteWholeFile("Modules/Aerotrace1.tmp", original);
    FileOperationCountReset();
    ASSERT_EQ(RecoverLeftoverRecordings(), 1);
    const uint64_t operations = FileOperationCount();
    ASSERT_GT(operations, 10u);

    for (uint64_t n = 1; n <= operations; ++n) {
        std::system("rm -rf Recordings");
        WriteWholeFile("Modules/Aerotrace1.tmp", original);
        SimClearLog();
        FileOperationCountReset();
        FaultInjectionArm(n);
        int recovered = RecoverLeftoverRecordings();
        FaultInjectionArm(0);
        std::vector<std::string> files = Recovered();
        const bool pieceKept = ReadWholeFile("Modules/Aerotrace1.tmp") == original;
        std::vector<SimLogEntry> boxes = SimLogOf(LogMessageBox);
        ASSERT_LE(boxes.size(), 1u) << "operation " << n;
        if (recovered) {
            ASSERT_EQ(boxes.size(), 1u) << "operation " << n;
            // Saved: the recording is whole (the piece may survive a failed delete).
            ASSERT_EQ(files.size(), 1u) << "operation " << n;
            RecordingFault fault;
            EXPECT_TRUE(CheckRecording(files[0], &fault)) << "operation " << n << ": " << fault.expected;
            EXPECT_EQ(OpenRecording(files[0])->tracks[0].count, 600u);
            EXPECT_EQ(boxes[0].a & 0xF0, static_cast<uint64_t>(BoxIconInformation));
        } else {
            // Not saved: the piece is untouched and no half recording is left.
            EXPECT_TRUE(pieceKept) << "operation " << n;
            EXPECT_TRUE(files.empty()) << "operation " << n;
            // A piece that could not even be read is left for the next start
            // without a word; one that could not be saved is reported.
            if (!boxes.empty()) {
                EXPECT_EQ(boxes[0].a & 0xF0, static_cast<uint64_t>(BoxIconWarning));
                EXPECT_NE(boxes[0].text.find("aerotrace recover"), std::string::npos);
            }
        }
    }
}

}  // namespace
