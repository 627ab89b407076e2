// New recordings made by the tool from existing ones — merged, trimmed,
// converted from the old versions, recovered from a crash — read back whole
// and play through the module's own track code; and validate's report of
// where a damaged file goes wrong.
#include <gtest/gtest.h>

#include <cstring>
#include <set>

#include "engine/tracks/track.h"
#include "recording_fixture.h"
#include "recording_reader.h"
#include "sim.h"
#include "tool_support.h"

namespace {

// Plays a file in the module on the stand-in as "Play..." does: it loads
// without a message, the first track drives the user aircraft and every
// other track's aircraft appears as traffic.
void ExpectPlays(const std::string& path) {
    std::unique_ptr<RecordingFile> recording = OpenRecording(path);
    const size_t tracks = recording->tracks.size();
    const double seconds = (recording->endTime - recording->startTime) / 10000.0;
    recording.reset();
    SimReset(SimStandardConfig(0));
    ASSERT_TRUE(SimLoadModule());
    SimQueueFileDialogAnswer({path});
    EXPECT_FALSE(SimChooseMenuCommand(SimCmdPlay));
    SimRunSeconds(seconds / 2);
    EXPECT_TRUE(SimLogOf(LogMessageBox).empty()) << path << ": " << SimLogOf(LogMessageBox).at(0).text;
    std::set<uint64_t> moved;
    for (const SimLogEntry& entry : SimLogOf(LogPositionSet)) moved.insert(entry.a);
    EXPECT_EQ(moved.count(1), 1u) << path << ": the user aircraft is not played";
    EXPECT_EQ(SimLogOf(LogAiCreated).size(), tracks - 1) << path;
    SimUnloadModule();
}

using Merge = ToolTest;

TEST_F(Merge, PutsEveryTrackInOneFileFirstFilesFirstTrackFirstWithOffsets) {
    ASSERT_TRUE(WriteFixtureRecording("lead.atr",
                                      {{"Lead", 0x3F, 0.0, 60.0, 250, 0.0}, {"Lead AI", 0x3F, 0.0, 30.0, 500, 100.0}}));
    ASSERT_TRUE(WriteFixtureRecording("wing.atr", {{"Wing", FlagAllGroups, 0.0, 40.0, 1000, 30.0}}, 123456789u));
    std::string output;
    ASSERT_EQ(RunTool("merge lead.atr wing.atr -o formation.atr --offset 0 --offset 2.5", &output), 0) << output;
    ExpectPlays("formation.atr");
    std::unique_ptr<RecordingFile> merged = OpenRecording("formation.atr");
    ASSERT_EQ(merged->tracks.size(), 3u);
    EXPECT_STREQ(merged->tracks[0].title, "Lead");
    EXPECT_STREQ(merged->tracks[1].title, "Lead AI");
    EXPECT_STREQ(merged->tracks[2].title, "Wing");
    EXPECT_EQ(merged->dateStamp, OpenRecording("lead.atr")->dateStamp);
    // The wingman moved 2.5 s later, sample for sample.
    EXPECT_EQ(merged->tracks[2].firstTime, 25000u);
    EXPECT_EQ(merged->tracks[2].lastTime, 425000u);
    EXPECT_EQ(merged->tracks[2].flags, static_cast<uint32_t>(FlagAllGroups));
    FullSample a = SampleAt(OpenRecording("wing.atr")->tracks[0], 7);
    FullSample b = SampleAt(merged->tracks[2], 7);
    EXPECT_EQ(b.time, a.time + 25000u);
    b.time = a.time;
    EXPECT_EQ(std::memcmp(&a, &b, sizeof a), 0);
    EXPECT_EQ(merged->startTime, 0u);
    EXPECT_EQ(merged->endTime, 600000u);

    // Offsets as a list; one that moves samples before zero is refused.
    ASSERT_EQ(RunTool("merge lead.atr wing.atr -o list.atr --offset 1,2"), 0);
    EXPECT_EQ(OpenRecording("list.atr")->tracks[0].firstTime, 10000u);
    std::string errors;
    EXPECT_EQ(RunTool("merge lead.atr wing.atr -o early.atr --offset 0,-1", nullptr, &errors), 2);
    EXPECT_NE(errors.find("before the start"), std::string::npos);
    EXPECT_FALSE(FileExists("early.atr"));
    EXPECT_EQ(RunTool("merge lead.atr wing.atr -o lead.atr", nullptr, &errors), 2);
    EXPECT_NE(errors.find("one of the inputs"), std::string::npos);
    EXPECT_TRUE(OpenRecording("lead.atr") != nullptr);
}

using Trim = ToolTest;

TEST_F(Trim, KeepsTheSamplesBetweenTheTimesInEveryTrack) {
    ASSERT_TRUE(WriteFixtureRecording(
        "flight.atr", {{"User", 0x7F, 0.0, 120.0, 250, 0.0}, {"Early AI", 0x7F, 0.0, 20.0, 500, 50.0}}));
    ASSERT_EQ(RunTool("trim flight.atr --from 30 --to 90.1 -o part.atr"), 0);
    ExpectPlays("part.atr");
    std::unique_ptr<RecordingFile> part = OpenRecording("part.atr");
    ASSERT_EQ(part->tracks.size(), 1u) << "a track with no sample in the range is dropped";
    EXPECT_EQ(part->tracks[0].count, 241u);
    EXPECT_EQ(part->tracks[0].firstTime, 300000u);
    EXPECT_EQ(part->tracks[0].lastTime, 900000u);
    EXPECT_EQ(part->startTime, 300000u);
    EXPECT_EQ(part->endTime, 900000u);
    std::string errors;
    EXPECT_EQ(RunTool("trim flight.atr --from 500 --to 600 -o none.atr", nullptr, &errors), 1);
    EXPECT_NE(errors.find("no track"), std::string::npos);
    EXPECT_EQ(RunTool("trim flight.atr --from 50 --to 40 -o none.atr", nullptr, &errors), 2);
    EXPECT_FALSE(FileExists("none.atr"));
}

using Convert = ToolTest;

// An old single-track file: version, 24-byte header, headerless records.
void WriteLegacy(const std::string& path, uint32_t version, uint32_t headerFlags, uint32_t recordFlags,
                 uint32_t count) {
    std::vector<uint8_t> bytes(28);
    PutU32(bytes.data(), version);
    PutU32(bytes.data() + 4, count);
    PutU32(bytes.data() + 8, 0xDEADBEEF);  // the stored last time is not used
    PutU32(bytes.data() + 12, headerFlags);
    float elevation = 12.5f;
    std::memcpy(bytes.data() + 16, &elevation, 4);
    PutU32(bytes.data() + 20, version == 0x01000005 ? 0x12345678u : 0xFFFFFFFFu);
    const SampleLayout layout = ComputeLayout(recordFlags);
    std::vector<uint8_t> record(layout.recordSize);
    for (uint32_t i = 0; i < count; ++i) {
        PackSample(layout, ScriptedSample(i * 0.5), record.data());
        bytes.insert(bytes.end(), record.begin(), record.end());
    }
    WriteWholeFile(path, bytes);
}

TEST_F(Convert, OldVersionsBecomeTheCurrentOneWithTheirSamplesUntouched) {
    // Version 4 records always hold groups 0x7F, whatever its header says.
    WriteLegacy("v4.atr", 0x01000004, 0x0FFF, 0x7F, 300);
    WriteLegacy("v5.atr", 0x01000005, 0x0213, 0x0213, 200);
    for (const char* name : {"v4", "v5"}) {
        const std::string in = std::string(name) + ".atr";
        const std::string out = std::string(name) + "-new.atr";
        std::string errors;
        ASSERT_EQ(RunTool("convert " + in + " -o " + out + " --title \"Cessna Skyhawk 172SP\"", nullptr, &errors), 0)
            << errors;
        ExpectPlays(out);
        std::unique_ptr<RecordingFile> old = OpenRecording(in);
        std::unique_ptr<RecordingFile> converted = OpenRecording(out);
        ASSERT_EQ(converted->version, 0x01000006u);
        ASSERT_EQ(converted->tracks.size(), 1u);
        Track& track = converted->tracks[0];
        EXPECT_STREQ(track.title, "Cessna Skyhawk 172SP");
        EXPECT_EQ(track.flags, old->tracks[0].flags);
        EXPECT_EQ(track.count, old->tracks[0].count);
        EXPECT_EQ(track.interval, 500u) << "estimated from the samples";
        EXPECT_EQ(track.referenceElevation, 12.5f);
        EXPECT_EQ(track.firstTime, 0u);
        EXPECT_EQ(converted->dateStamp, old->dateStamp);
        for (uint32_t i : {0u, 150u, track.count - 1}) {
            FullSample a = SampleAt(old->tracks[0], i), b = SampleAt(track, i);
            EXPECT_EQ(std::memcmp(&a, &b, sizeof a), 0) << name << " sample " << i;
        }
    }
    EXPECT_EQ(OpenRecording("v4-new.atr")->tracks[0].flags, 127u);
    EXPECT_EQ(OpenRecording("v5-new.atr")->dateStamp, 0x12345678u);
    EXPECT_EQ(OpenRecording("v4-new.atr")->dateStamp, 0u);
    std::string errors;
    EXPECT_EQ(RunTool("convert v5-new.atr -o again.atr", nullptr, &errors), 1);
    EXPECT_NE(errors.find("already"), std::string::npos);
}

using RecoverCommand = ToolTest;

TEST_F(RecoverCommand, RebuildsEveryWholeSampleAndLeavesThePiecesAlone) {
    // The pieces copied out of the simulator's Modules folder.
    ASSERT_EQ(std::system("mkdir -p crashed"), 0);
    const uint32_t flags = FlagThrottles | FlagDateTime;
    ASSERT_TRUE(WriteCrashedTempFile("crashed/Aerotrace1.tmp", "Cessna", flags, 960, 33));
    ASSERT_TRUE(WriteCrashedTempFile("crashed/Aerotrace3.tmp", "Baron", flags & 0x7F, 240, 0));
    ASSERT_TRUE(WriteCrashedTempFile("crashed/Aerotrace4.tmp", "Learjet", flags & 0x7F, 1, 10));
    std::string output, errors;
    ASSERT_EQ(RunTool("recover crashed -o flight.atr", &output, &errors), 0) << errors;
    EXPECT_NE(errors.find("Aerotrace4.tmp: \"Learjet\", 1 whole samples"), std::string::npos) << errors;
    EXPECT_NE(errors.find("960 whole samples (33 bytes of an unfinished sample left out)"), std::string::npos)
        << errors;
    ExpectPlays("flight.atr");
    std::unique_ptr<RecordingFile> recording = OpenRecording("flight.atr");
    ASSERT_EQ(recording->tracks.size(), 2u);
    EXPECT_STREQ(recording->tracks[0].title, "Cessna");
    EXPECT_EQ(recording->tracks[0].count, 960u);
    EXPECT_EQ(recording->tracks[0].lastTime, 959u * 2500u);
    EXPECT_EQ(recording->tracks[1].count, 240u);
    EXPECT_NE(recording->dateStamp, 0u);
    EXPECT_TRUE(FileExists("crashed/Aerotrace1.tmp"));
    // Named files, in the order given.
    ASSERT_EQ(RunTool("recover crashed/Aerotrace3.tmp crashed/Aerotrace1.tmp -o two.atr"), 0);
    EXPECT_STREQ(OpenRecording("two.atr")->tracks[0].title, "Baron");
    EXPECT_EQ(RunTool("recover crashed/Aerotrace4.tmp -o none.atr", nullptr, &errors), 1);
    EXPECT_NE(errors.find("no flight to recover"), std::string::npos);
}

using Validate = ToolTest;

TEST_F(Validate, NamesTheByteAndWhatWasExpectedForEachKindOfDamage) {
    ASSERT_TRUE(
        WriteFixtureRecording("good.atr", {{"User", 0x7F, 0.0, 10.0, 500, 0.0}, {"AI", 0x01, 0.0, 5.0, 500, 20.0}}));
    const std::vector<uint8_t> good = ReadWholeFile("good.atr");
    const uint32_t userBytes = 21 * RecordSize(0x7F);
    const uint32_t second = 18 + 124 + userBytes;  // the second track's header
    struct Damage {
        const char* name;
        std::vector<uint8_t> bytes;
        uint64_t offset;
        const char* expected;
    };
    auto patched = [&](size_t at, uint32_t value) {
        std::vector<uint8_t> bytes = good;
        PutU32(bytes.data() + at, value);
        return bytes;
    };
    auto cut = [&](size_t length) { return std::vector<uint8_t>(good.begin(), good.begin() + length); };
    const Damage cases[] = {
        {"empty", {}, 0, "a 4-byte version word"},
        {"unknown-version", patched(0, 0x01000007), 0, "version 0x01000004, 0x01000005 or 0x01000006"},
        {"truncated-header", cut(12), 4, "a 14-byte recording header"},
        {"truncated-track-header", cut(second + 50), second, "the 124-byte header of track 2 of 2"},
        {"truncated-samples", cut(good.size() - 3), second + 124, "the samples of track 2: 11 of 74 bytes"},
        {"count-too-large", patched(18, 1000), 18 + 124, "the samples of track 1: 1000 of 91 bytes"},
    };
    for (const Damage& damage : cases) {
        const std::string path = std::string("invalid-") + damage.name + ".atr";
        WriteWholeFile(path, damage.bytes);
        RecordingFault fault{};
        EXPECT_FALSE(CheckRecording(path, &fault)) << damage.name;
        EXPECT_EQ(fault.offset, damage.offset) << damage.name << ": " << fault.expected;
        EXPECT_EQ(fault.expected.rfind(damage.expected, 0), 0u) << damage.name << ": " << fault.expected;
        std::string output;
        EXPECT_EQ(RunTool("validate " + path, &output), 1) << damage.name;
        EXPECT_NE(output.find("damaged at byte " + std::to_string(damage.offset) + ": expected"), std::string::npos)
            << output;
    }
    std::string output;
    EXPECT_EQ(RunTool("validate good.atr", &output), 0);
    EXPECT_EQ(output, "good.atr: valid\n");
    // Flag bits above the twelve groups mean nothing: the file is sound, and
    // info says what they are.
    WriteWholeFile("stray-bits.atr", patched(18 + 4, 0xF07F));
    EXPECT_EQ(RunTool("validate stray-bits.atr", &output), 0);
    EXPECT_EQ(output, "stray-bits.atr: valid\n");
    ASSERT_EQ(RunTool("info stray-bits.atr", &output), 0);
    EXPECT_NE(output.find("engines (flags 0xF07F, bits above 0x800 ignored)"), std::string::npos) << output;
    EXPECT_EQ(RunTool("validate good.atr invalid-empty.atr", &output), 1);
    // Info tells what a sound file holds.
    ASSERT_EQ(RunTool("info good.atr", &output), 0);
    for (const char* text :
         {"0x01000006", "2004-06-08 14:05:09", "track 2: \"AI\"", "samples              21",
          "interval             500 ms", "throttles, flight controls, spoilers, flaps, gear, lights, engines",
          "reference elevation  1.5 ft", "start                47.4500000, -122.3100000, 130.0 m"})
        EXPECT_NE(output.find(text), std::string::npos) << text << "\n" << output;
}

}  // namespace
