// The start of a playback: its range, loop, speed and pause as it begins,
// a cancelled choice that leaves the replay buffer running, and a recording
// started beside traffic. And the count of loaded windows that bounds the AI
// aircraft played at once: it follows the windows exactly, whatever fails or
// wherever the tracks come from, and never wraps below zero.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "config/settings.h"
#include "core/host/clock.h"
#include "core/host/module_state.h"
#include "engine/play/playback_frames.h"
#include "engine/play/playback_start_end.h"
#include "engine/record/recording_start_stop.h"
#include "engine/session/session.h"
#include "engine/session/transport.h"
#include "engine/tracks/recording_format.h"
#include "engine/tracks/track_table.h"
#include "sim.h"

namespace fs = std::filesystem;

namespace {

std::string Samples(uint32_t flags, uint32_t first, uint32_t count) {
    const SampleLayout layout = ComputeLayout(flags);
    std::string out;
    for (uint32_t i = 0; i < count; ++i) {
        FullSample sample{};
        sample.position.altitude = 1000LL * i;
        sample.time = first + i * 10000;
        std::string record(layout.recordSize, '\0');
        PackSample(layout, sample, reinterpret_cast<uint8_t*>(&record[0]));
        out += record;
    }
    return out;
}

std::string Section(uint32_t first, uint32_t count) {
    TrackHeader header{};
    header.count = count;
    header.firstTime = first;
    header.lastTime = first + (count - 1) * 10000;
    CopyTrackTitle(header.title, "Traffic");
    uint8_t bytes[TrackHeaderSize];
    EncodeTrackHeader(header, bytes);
    return std::string(reinterpret_cast<char*>(bytes), sizeof bytes) + Samples(0, first, count);
}

std::string Recording(const std::vector<std::string>& sections, uint32_t end) {
    uint8_t bytes[FirstTrackOffset];
    PutU32(bytes, FileVersionCurrent);
    EncodeRecordingHeader({0, end, 0, static_cast<uint16_t>(sections.size())}, bytes + FileVersionSize);
    std::string out(reinterpret_cast<char*>(bytes), sizeof bytes);
    for (const std::string& section : sections) out += section;
    return out;
}

class LoadedWindows : public ::testing::Test {
protected:
    void SetUp() override {
        original = fs::current_path();
        char pattern[] = "/tmp/aerotrace-playback-test-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        scratch = pattern;
        SimEnterDirectory(scratch.string());
        SimReset(SimConfig());
        ASSERT_TRUE(SimLoadModule());
        SimRunFrames(20);
    }
    void TearDown() override {
        SimUnloadModule();
        fs::current_path(original);
        fs::remove_all(scratch);
    }
    static void Write(const std::string& name, const std::string& bytes) {
        std::ofstream(name, std::ios::binary) << bytes;
    }
    void PlayAsTraffic(const std::vector<std::string>& answer) {
        SimQueueFileDialogAnswer(answer);
        StartPlayback(1);
        ASSERT_EQ(module.mode, TrafficPlayback);
    }
    fs::path original, scratch;
};

TEST_F(LoadedWindows, AWindowThatCannotBeReadIsNotCounted) {
    Write("traffic.atr", Recording({Section(0, 30), Section(0, 30)}, 290000));
    settings.MaxAIAcft = 1;
    PlayAsTraffic({"traffic.atr"});
    // The first file operation of the frame is the seek of the first AI
    // window: that track waits, the second takes the one window allowed.
    FaultInjectionArm(1);
    SimRunFrames(1);
    FaultInjectionArm(0);
    EXPECT_EQ(trackTable.loadedTrackCount, 1);
    EXPECT_NE(trackTable.tracks[0].window == nullptr, trackTable.tracks[1].window == nullptr);
    EXPECT_EQ(SimAircraftIds().size(), 2u);
    SimRunFrames(5);
    EXPECT_EQ(trackTable.loadedTrackCount, 1);
    EXPECT_EQ(SimAircraftIds().size(), 2u);
}

TEST_F(LoadedWindows, TracksOfOldFilesCountTheirWindowsLikeAnyOther) {
    // A single-track file played as traffic, ending long before the other file.
    const std::string samples = Samples(127, 0, 5);
    uint8_t head[LegacySamplesOffset];
    PutU32(head, FileVersionLegacy);
    EncodeLegacyHeader({5, 0, 127, 0.0f, 0, 0}, head + FileVersionSize);
    Write("old.atr", std::string(reinterpret_cast<char*>(head), sizeof head) + samples);
    Write("long.atr", Recording({Section(0, 30)}, 290000));
    settings.MaxAIAcft = 2;
    PlayAsTraffic({scratch.string(), "old.atr", "long.atr"});
    EXPECT_EQ(trackTable.loadedTrackCount, 0);  // no AI track holds a window before its aircraft
    SimRunFrames(2);
    EXPECT_EQ(trackTable.loadedTrackCount, 2);
    SimRunSeconds(6.0);  // the old file's track has ended
    EXPECT_EQ(trackTable.loadedTrackCount, 1);
    EXPECT_EQ(SimAircraftIds().size(), 2u);
    SimRunSeconds(30.0);  // and the traffic playback with it
    EXPECT_EQ(module.mode, ReplayBuffer);
    EXPECT_EQ(trackTable.loadedTrackCount, 0);
    ASSERT_EQ(trackTable.count, 1);  // the replay buffer's ring, nothing of the traffic
    EXPECT_EQ(trackTable.tracks[0].ring, 1u);
}

using PlaybackStart = LoadedWindows;

// Played onto the user aircraft, the recording runs as long as its first
// track, however far the file's other tracks reach; whatever the transport
// held before, the playback starts at normal speed without its loop, and a
// paused simulator runs again.
TEST_F(PlaybackStart, TheFirstTrackGivesTheRangeAndEverythingStartsFresh) {
    // The user's track from 10 to 50 s; an AI track from 0 to 90 s.
    Write("flight.atr", Recording({Section(100000, 5), Section(0, 10)}, 900000));
    SimFireEvent(38, 0, 1);  // the replay buffer runs
    SimRunSeconds(2.0);
    ASSERT_EQ(module.mode, ReplayBuffer);
    const uint32_t buffered = trackTable.tracks[0].count;

    // Cancelled: nothing changes, the buffer records on.
    SimQueueFileDialogAnswer({""});
    StartPlayback(0);
    EXPECT_EQ(module.mode, ReplayBuffer);
    ASSERT_EQ(trackTable.count, 1);
    EXPECT_EQ(trackTable.tracks[0].ring, 1u);
    EXPECT_EQ(trackTable.tracks[0].count, buffered);
    SimRunSeconds(2.0);
    EXPECT_GT(trackTable.tracks[0].count, buffered);

    settings.SetSimRate = 1;
    SpeedCommand(0);
    SpeedCommand(0);
    transport.loopEnabled = true;
    transport.loopStartTime = 12345;
    SimSetSimulationRate(768);
    SimSetPaused(true);
    SimRunFrames(1);
    SimQueueFileDialogAnswer({"flight.atr"});
    StartPlayback(0);
    EXPECT_EQ(module.mode, Playback);
    EXPECT_EQ(moduleClock.startTime, 100000u);
    EXPECT_EQ(moduleClock.endTime, 140000u);
    EXPECT_EQ(transport.loopStartTime, 0u);
    EXPECT_EQ(transport.loopEndTime, 138000u);
    EXPECT_FALSE(transport.loopEnabled);
    EXPECT_EQ(transport.speedIndex, NormalSpeedIndex);
    EXPECT_EQ(transport.playbackSpeed, 100);
    EXPECT_EQ(SimSimulationRate(), 256);
    EXPECT_EQ(SimPauseRequest(), 0u);
    EXPECT_EQ(moduleClock.trackTime, 0u);
    EXPECT_TRUE(transport.positionJumped);
    EXPECT_EQ(session.startMarker, StartPending);
    SimRunFrames(1);
    EXPECT_EQ(moduleClock.trackTime, 100000u);  // raised to the start by the first frame
}

// A recording started while traffic plays takes the traffic's time line,
// which runs on at normal speed and without its loop.
TEST_F(PlaybackStart, ARecordingBesideTrafficResetsTheSpeedAndTurnsLoopingOff) {
    Write("traffic.atr", Recording({Section(0, 30)}, 290000));
    PlayAsTraffic({"traffic.atr"});
    SimRunSeconds(2.0);
    settings.SetSimRate = 1;
    SpeedCommand(0);  // 200 %
    LoopCommand(1);   // loop end here: looping on
    ASSERT_TRUE(transport.loopEnabled);
    SimRunSeconds(1.0);
    const uint32_t trackTime = moduleClock.trackTime;
    StartRecording();
    EXPECT_EQ(module.mode, RecordingWithTraffic);
    EXPECT_EQ(transport.playbackSpeed, 100);
    EXPECT_EQ(transport.speedIndex, NormalSpeedIndex);
    EXPECT_EQ(SimSimulationRate(), 256);
    EXPECT_FALSE(transport.loopEnabled);
    EXPECT_EQ(moduleClock.trackTime, trackTime);
    EXPECT_EQ(session.startMarker, StartDuringTraffic);
}

}  // namespace
