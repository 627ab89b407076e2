// Reading recording files: where the check finds damage and what it says,
// the height corrections, the load dialog's answer, the shared file closed
// with the last of its tracks, and a load that meets a failing file
// operation at every step. The recording fuzzer's seed corpus is replayed
// here as well.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <limits>
#include <string>
#include <vector>

#include "../../fuzz/recording_exercise.h"
#include "core/host/clock.h"
#include "engine/play/load_dialog.h"
#include "engine/play/recording_loader.h"
#include "engine/tracks/recording_format.h"
#include "engine/tracks/track.h"
#include "engine/tracks/track_table.h"
#include "sim.h"

namespace fs = std::filesystem;

namespace {

// count packed samples of the given flags' layout, times 0, 1 s, ...; the
// altitude and the first throttle climb with the index.
std::string Samples(uint32_t flags, uint32_t count) {
    const SampleLayout layout = ComputeLayout(flags);
    std::string out;
    for (uint32_t i = 0; i < count; ++i) {
        FullSample sample{};
        sample.position.altitude = 1000LL * i;
        sample.throttles[0] = static_cast<int16_t>(100 * i);
        sample.time = i * 10000;
        std::string record(layout.recordSize, '\0');
        PackSample(layout, sample, reinterpret_cast<uint8_t*>(&record[0]));
        out += record;
    }
    return out;
}

// A track section of count samples with the given flags, times 0, 1 s, ...
std::string Section(uint32_t flags, uint32_t count, const char* title = "Track") {
    TrackHeader header{};
    header.count = count;
    header.flags = flags;
    header.firstTime = 0;
    header.lastTime = count ? (count - 1) * 10000 : 0;
    CopyTrackTitle(header.title, title);
    header.interval = 1000;
    uint8_t bytes[TrackHeaderSize];
    EncodeTrackHeader(header, bytes);
    return std::string(reinterpret_cast<char*>(bytes), sizeof bytes) + Samples(flags, count);
}

// A single-track file of the given version whose header holds flags.
std::string SingleTrack(uint32_t version, uint32_t flags, uint32_t count, uint32_t recordFlags) {
    uint8_t bytes[LegacySamplesOffset];
    PutU32(bytes, version);
    EncodeLegacyHeader({count, 0, flags, 0.0f, 99, 0}, bytes + FileVersionSize);
    return std::string(reinterpret_cast<char*>(bytes), sizeof bytes) + Samples(recordFlags, count);
}

std::string Recording(const std::vector<std::string>& sections, uint32_t version = FileVersionCurrent) {
    uint8_t bytes[FirstTrackOffset];
    PutU32(bytes, version);
    RecordingHeader header{0, 20000, 7, static_cast<uint16_t>(sections.size())};
    EncodeRecordingHeader(header, bytes + FileVersionSize);
    std::string out(reinterpret_cast<char*>(bytes), sizeof bytes);
    for (const std::string& section : sections) out += section;
    return out;
}

class RecordingLoaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        original = fs::current_path();
        char pattern[] = "/tmp/aerotrace-loader-test-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        scratch = pattern;
        fs::current_path(scratch);
        fs::create_directory("Modules");
        SimReset(SimConfig());
        ASSERT_TRUE(SimLoadModule());
    }
    void TearDown() override {
        SimUnloadModule();
        EmptyTrackTable();
        fs::current_path(original);
        fs::remove_all(scratch);
    }

    static void Write(const std::string& bytes, const char* path = "test.atr") {
        std::ofstream(path, std::ios::binary) << bytes;
    }

    static RecordingCheck Check(const std::string& bytes) {
        Write(bytes);
        PlatformFile* file = FileOpen("test.atr", "rb");
        RecordingCheck check{};
        if (!file) {
            ADD_FAILURE() << "cannot open the test file";
            return check;
        }
        ValidateRecording(file, &check);
        FileClose(file);
        return check;
    }

    fs::path original, scratch;
};

TEST_F(RecordingLoaderTest, CheckWalksEveryTrackAndSaysWhereDamageLies) {
    const std::string first = Section(0x7, 3), second = Section(0, 2), third = Section(0x800, 4);
    const std::string whole = Recording({first, second, third});
    RecordingCheck check = Check(whole);
    EXPECT_EQ(check.expected[0], '\0');
    EXPECT_EQ(check.version, FileVersionCurrent);
    EXPECT_EQ(check.trackCount, 3u);
    EXPECT_EQ(check.offset, whole.size());

    // Cut inside the second track's samples: the damage is where they start.
    const size_t secondSamples = FirstTrackOffset + first.size() + TrackHeaderSize;
    check = Check(whole.substr(0, secondSamples + 70));
    EXPECT_EQ(check.offset, secondSamples);
    EXPECT_NE(std::string(check.expected).find("samples of track 2"), std::string::npos) << check.expected;
    EXPECT_EQ(check.readFailed, 0);

    // Cut inside the third track's header.
    check = Check(whole.substr(0, FirstTrackOffset + first.size() + second.size() + 50));
    EXPECT_EQ(check.offset, FirstTrackOffset + first.size() + second.size());
    EXPECT_NE(std::string(check.expected).find("header of track 3 of 3"), std::string::npos) << check.expected;

    check = Check(Recording({first}, 0x01000007));
    EXPECT_EQ(check.offset, 0u);
    EXPECT_NE(std::string(check.expected).find("version"), std::string::npos);
    check = Check(std::string("\x06\x00\x00\x01\x00", 5));
    EXPECT_EQ(check.offset, FileVersionSize);
    check = Check("");
    EXPECT_EQ(check.offset, 0u);
}

TEST_F(RecordingLoaderTest, CheckOfSingleTrackFilesNeedsASampleOfTheFlagsSize) {
    const std::string whole = SingleTrack(FileVersionLegacy, 0x3, 2, 0x3);
    RecordingCheck check = Check(whole);
    EXPECT_EQ(check.expected[0], '\0') << check.expected;
    EXPECT_EQ(check.offset, whole.size());

    std::string noSamples = whole;
    PutU32(reinterpret_cast<uint8_t*>(&noSamples[4]), 0);
    EXPECT_NE(Check(noSamples).expected[0], '\0');
    // The oldest version ignores the field, and its records are of the first seven groups.
    std::string oldest = whole;
    oldest[0] = 0x04;
    EXPECT_EQ(Check(oldest).offset, LegacySamplesOffset);  // 2 x 91 bytes do not fit where 2 x 80 are
    EXPECT_NE(std::string(Check(oldest).expected).find("samples"), std::string::npos);
    oldest = SingleTrack(FileVersionNoFlags, 0xFFFFFFFF, 2, 127);
    EXPECT_EQ(Check(oldest).expected[0], '\0');
}

// Bits above the twelve groups mean nothing: a file whose flags carry them
// (a RecFlags typo records such a file) loads with the layout of its group
// bits alone, in both versions that store flags.
TEST_F(RecordingLoaderTest, FlagBitsAboveTheGroupsAreIgnoredInEveryVersionWithFlags) {
    const std::string files[2] = {Recording({Section(0xF07F, 3, "User"), Section(0x80000000u, 2, "AI")}),
                                  SingleTrack(FileVersionLegacy, 0xF07F, 3, 0x7F)};
    for (const std::string& bytes : files) {
        const bool multi = &bytes == &files[0];
        RecordingCheck check = Check(bytes);
        EXPECT_EQ(check.expected[0], '\0') << multi << ": " << check.expected;
        EXPECT_EQ(check.offset, bytes.size()) << multi;
        SimClearLog();
        moduleClock.startTime = 0xFFFFFFFF;
        moduleClock.endTime = 0;
        uint32_t dateStamp = 0;
        ASSERT_TRUE(LoadRecording("test.atr", 0, &dateStamp)) << multi;
        EXPECT_EQ(dateStamp, multi ? 7u : 99u) << "the loader gives back the file's date stamp";
        EXPECT_TRUE(SimLogOf(LogMessageBox).empty()) << multi;
        ASSERT_EQ(trackTable.count, multi ? 2 : 1);
        Track& user = trackTable.tracks[0];
        EXPECT_EQ(user.flags, 0xF07Fu);  // kept as stored, not used
        EXPECT_EQ(user.layout.flags, 0x7Fu);
        EXPECT_EQ(user.layout.recordSize, RecordSize(0x7F));
        FullSample out{};
        ASSERT_TRUE(InterpolateAt(&user, 15000, &out)) << multi;
        EXPECT_EQ(out.position.altitude, 1500) << multi;
        EXPECT_EQ(out.throttles[0], 150) << multi;
        EXPECT_EQ(moduleClock.endTime, 20000u) << multi;
        if (multi) {
            EXPECT_EQ(trackTable.tracks[1].layout.recordSize, RecordSize(0));
        }
        while (trackTable.count) RemoveLoadedTrack(0);
    }
}

TEST_F(RecordingLoaderTest, HeightCorrectionsTruncateAndRefuseTheUnrepresentable) {
    EXPECT_EQ(LoadedHeightCorrection(110.0f, 100.0f), 13091060318LL);
    EXPECT_EQ(CreatedHeightCorrection(110.0f, 100.0f), 13091060318LL);
    EXPECT_EQ(LoadedHeightCorrection(100.0f, 110.0f), -13091060318LL);
    EXPECT_EQ(LoadedHeightCorrection(0.0f, std::numeric_limits<float>::quiet_NaN()), 0);
    EXPECT_EQ(CreatedHeightCorrection(std::numeric_limits<float>::infinity(), 0.0f), 0);
    EXPECT_EQ(CreatedHeightCorrection(3.0e38f, -3.0e38f), 0);
}

TEST_F(RecordingLoaderTest, SelectionGivesEachPathInOrder) {
    char path[64];
    uint32_t cursor = 0;
    const char single[] = "C:\\Flights\\one.atr\0\0";
    ASSERT_TRUE(NextSelectedPath(single, sizeof single, &cursor, path, sizeof path));
    EXPECT_STREQ(path, "C:\\Flights\\one.atr");
    EXPECT_FALSE(NextSelectedPath(single, sizeof single, &cursor, path, sizeof path));

    const char several[] = "C:\\Flights\0a.atr\0b.atr\0c.atr\0\0";
    std::vector<std::string> paths;
    cursor = 0;
    while (NextSelectedPath(several, sizeof several, &cursor, path, sizeof path)) paths.push_back(path);
    EXPECT_EQ(paths, (std::vector<std::string>{"C:\\Flights\\a.atr", "C:\\Flights\\b.atr", "C:\\Flights\\c.atr"}));

    // A name too long for the path is skipped; an answer cut off ends the walk.
    const char tooLong[] = "C:\\F\0aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa.atr\0b.atr\0\0";
    paths.clear();
    cursor = 0;
    while (NextSelectedPath(tooLong, sizeof tooLong, &cursor, path, sizeof path)) paths.push_back(path);
    EXPECT_EQ(paths, std::vector<std::string>{"C:\\F\\b.atr"});
    const char cut[] = {'C', ':', '\\', 'F', 0, 'a', '.', 'a', 't', 'r'};
    cursor = 0;
    EXPECT_FALSE(NextSelectedPath(cut, sizeof cut, &cursor, path, sizeof path));
    const char empty[] = "\0";
    cursor = 0;
    EXPECT_FALSE(NextSelectedPath(empty, sizeof empty, &cursor, path, sizeof path));
}

TEST_F(RecordingLoaderTest, TracksOfOneFileShareItAndTheLastOneClosesIt) {
    uint32_t dateStamp = 0;
    Write(Recording({Section(0, 3, "User"), Section(0, 3, "AI one"), Section(0, 3, "AI two")}));
    moduleClock.startTime = 0xFFFFFFFF;
    moduleClock.endTime = 0;
    ASSERT_TRUE(LoadRecording("test.atr", 0, &dateStamp));
    ASSERT_EQ(trackTable.count, 3);
    EXPECT_EQ(trackTable.tracks[0].aircraftId, 1u);
    EXPECT_NE(trackTable.tracks[0].window, nullptr);
    EXPECT_EQ(trackTable.tracks[1].aircraftId, 0u);
    EXPECT_EQ(trackTable.tracks[1].window, nullptr);  // AI tracks wait for their aircraft
    EXPECT_STREQ(trackTable.tracks[2].title, "AI two");
    EXPECT_EQ(trackTable.tracks[1].file, trackTable.tracks[0].file);
    EXPECT_EQ(moduleClock.startTime, 0u);
    EXPECT_EQ(moduleClock.endTime, 20000u);
    FileOperationCountReset();
    ASSERT_TRUE(RemoveLoadedTrack(0));
    ASSERT_TRUE(RemoveLoadedTrack(0));
    EXPECT_EQ(FileOperationCount(), 0u);  // still read by the last track
    ASSERT_TRUE(RemoveLoadedTrack(0));
    EXPECT_EQ(FileOperationCount(), 1u);  // closed once
    EXPECT_EQ(trackTable.count, 0);
    EXPECT_FALSE(RemoveLoadedTrack(0));
}

// A load that meets a failing open, read, seek or close at any point either
// loads the whole file or adds nothing and tells the user; the time range is
// only widened by a file that loaded.
TEST_F(RecordingLoaderTest, AFailingFileOperationAtAnyStepLeavesNothingHalfLoaded) {
    uint32_t dateStamp = 0;
    Write(Recording({Section(0x3, 300, "User"), Section(0, 250, "AI one"), Section(0x20, 3, "AI two")}));
    FileOperationCountReset();
    moduleClock.startTime = 0xFFFFFFFF;
    moduleClock.endTime = 0;
    ASSERT_TRUE(LoadRecording("test.atr", 0, &dateStamp));
    const uint64_t operations = FileOperationCount();
    while (trackTable.count) RemoveLoadedTrack(0);
    for (uint64_t n = 1; n <= operations; ++n) {
        SimClearLog();
        moduleClock.startTime = 0xFFFFFFFF;
        moduleClock.endTime = 0;
        FileOperationCountReset();
        FaultInjectionArm(n);
        const int loaded = LoadRecording("test.atr", 0, &dateStamp);
        FaultInjectionArm(0);
        if (loaded) {
            EXPECT_EQ(trackTable.count, 3) << n;
            EXPECT_TRUE(SimLogOf(LogMessageBox).empty()) << n;
            EXPECT_EQ(moduleClock.endTime, 20000u) << n;  // as the header says
        } else {
            EXPECT_EQ(trackTable.count, 0) << n;
            EXPECT_EQ(SimLogOf(LogMessageBox).size(), 1u) << n;
            EXPECT_EQ(moduleClock.startTime, 0xFFFFFFFFu) << n;
            EXPECT_EQ(moduleClock.endTime, 0u) << n;
        }
        while (trackTable.count) RemoveLoadedTrack(0);
        if (HasFailure()) return;
    }
}

TEST_F(RecordingLoaderTest, FuzzCorpusReplays) {
    fs::path corpus = fs::path(AEROTRACE_FUZZ_CORPUS) / "recording";
    ASSERT_TRUE(fs::is_directory(corpus)) << corpus;
    int replayed = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(corpus)) {
        if (!entry.is_regular_file() || entry.path().extension() != ".atr") continue;
        std::ifstream stream(entry.path(), std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
        const std::string name = entry.path().filename().string();
        const RecordingCheck check = Check(bytes);
        EXPECT_EQ(check.expected[0] == '\0', name.rfind("invalid-", 0) != 0) << name << ": " << check.expected;
        const char* problem =
            recording_exercise::Run(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
        EXPECT_EQ(problem, nullptr) << name << ": " << (problem ? problem : "");
        ++replayed;
    }
    EXPECT_GE(replayed, 8);
}

}  // namespace
