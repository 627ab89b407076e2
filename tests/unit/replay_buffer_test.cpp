// The replay buffer from inside: its ring track and what starts and frees it,
// the seconds it offers, a replay's start and the return to background
// recording on the same time line, the rotation of a full ring, and saving
// with every file operation failing in turn.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "config/settings.h"
#include "core/host/clock.h"
#include "core/host/module_state.h"
#include "engine/capture/capture.h"
#include "engine/play/playback_start_end.h"
#include "engine/record/recording_start_stop.h"
#include "engine/replay/replay_buffer.h"
#include "engine/session/session.h"
#include "engine/session/transport.h"
#include "engine/tracks/track_table.h"
#include "platform/platform.h"
#include "recording_file.h"
#include "sim.h"

namespace {

class ReplayBufferTest : public ::testing::Test {
protected:
    void SetUp() override {
        home = SimCurrentDirectory();
        folder = testing::TempDir() + "aerotrace-replay-buffer-" +
                 testing::UnitTest::GetInstance()->current_test_info()->name();
        std::filesystem::remove_all(folder);
        SimEnterDirectory(folder);
    }
    void TearDown() override {
        FaultInjectionArm(0);
        if (SimModuleLoaded()) SimUnloadModule();
        SimChangeDirectory(home);
        std::filesystem::remove_all(folder);
    }
    // Loads the module with these SETTINGS lines and a quarter-second frame.
    void Start(const std::string& settingsLines = "") {
        std::ofstream("Modules/Aerotrace.ini") << "[SETTINGS]\n" << settingsLines;
        SimConfig config;
        config.stepSeconds = 0.25;
        SimReset(config);
        ASSERT_TRUE(SimLoadModule());
    }
    static Track& Ring() { return trackTable.tracks[0]; }
    // The ring's time stamps from the oldest sample on.
    static std::vector<uint32_t> TimesInOrder() {
        std::vector<uint32_t> times;
        const Track& ring = Ring();
        const uint32_t first = ring.count < ring.capacity ? 0 : ring.windowIndex % ring.capacity;
        for (uint32_t i = 0; i < ring.count; ++i) {
            const uint8_t* record = ring.window + ((first + i) % ring.capacity) * ring.layout.recordSize;
            times.push_back(RecordTime(ring.layout, record));
        }
        return times;
    }

    std::string home, folder;
};

TEST_F(ReplayBufferTest, TheFirstFlightLoadStartsARingOfTheSettingsAndEveryStartOrEndMovesIt) {
    Start("RplyItvl=250\nBufferSize=1000\nRecFlags=3\n");
    SimSetUserTitle("Beech Baron 58");
    EXPECT_EQ(module.mode, Idle);
    SimFireEvent(38, 0, 1);
    ASSERT_EQ(module.mode, ReplayBuffer);
    ASSERT_EQ(trackTable.count, 1);
    EXPECT_EQ(Ring().ring, 1u);
    EXPECT_EQ(Ring().file, nullptr);
    EXPECT_EQ(Ring().capacity, 1000u);
    EXPECT_EQ(Ring().flags, 3u);
    EXPECT_EQ(Ring().interval, 250u);
    EXPECT_EQ(Ring().aircraftId, 1u);
    EXPECT_STREQ(Ring().title, "Beech Baron 58");
    EXPECT_EQ(session.recordInterval, 250u);
    SimRunSeconds(10.0);
    EXPECT_NEAR(Ring().count, 41u, 1u);  // one sample every 250 ms, the first at once

    // A recording takes over, and when it ends a new, empty buffer starts.
    settings.NoRecDlg = 1;
    StartRecordingWithDefaults();
    EXPECT_EQ(module.mode, Recording);
    ASSERT_EQ(trackTable.count, 1);
    EXPECT_EQ(Ring().ring, 0u);
    SimRunSeconds(5.0);
    StopRecording(0);
    ASSERT_EQ(module.mode, ReplayBuffer);
    ASSERT_EQ(trackTable.count, 1);
    EXPECT_EQ(Ring().count, 0u);
    EXPECT_EQ(moduleClock.trackTime, 0u);

    // Shut-down frees it.
    SimUnloadModule();
    EXPECT_EQ(module.mode, Idle);
    EXPECT_EQ(trackTable.count, 0);
}

TEST_F(ReplayBufferTest, DisabledItDoesNotStartAndOtherModesAreLeftAlone) {
    Start("RplyEnabled=0\n");
    SimFireEvent(38, 0, 1);
    EXPECT_EQ(module.mode, Idle);
    EXPECT_EQ(trackTable.count, 0);

    settings.RplyEnabled = 1;
    module.mode = Playback;
    StartReplayBuffer();
    EXPECT_EQ(module.mode, Playback);
    EXPECT_EQ(trackTable.count, 0);
    module.mode = Idle;
    StopReplayBuffer();  // nothing runs: nothing to stop
    EXPECT_EQ(module.mode, Idle);
}

TEST_F(ReplayBufferTest, ARingThatCannotBeMadeIsReportedAndLeavesNothing) {
    Start();
    // Memory that cannot be had: the ring is never left without storage.
    settings.BufferSize = 0xFFFFFFFFu;
    StartReplayBuffer();
    EXPECT_EQ(module.mode, Idle);
    EXPECT_EQ(trackTable.count, 0);
    std::vector<SimLogEntry> boxes = SimLogOf(LogMessageBox);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Aerotrace Module");
    EXPECT_EQ(boxes[0].text.rfind("An unexpected error occured! Please report this to ", 0), 0u);
    EXPECT_EQ(boxes[0].a & 0xF0, static_cast<uint64_t>(BoxIconError));
    EXPECT_EQ(SimLogOf(LogModalBegin).size(), 1u);

    // A table that some earlier failure left holding a track: the same.
    settings.BufferSize = 3600;
    ASSERT_EQ(AddTrack(), 0);
    StartReplayBuffer();
    EXPECT_EQ(module.mode, Idle);
    EXPECT_EQ(trackTable.count, 1);  // the stray track, not a half-made ring beside it
    EXPECT_EQ(SimLogOf(LogMessageBox).size(), 2u);
}

TEST_F(ReplayBufferTest, AvailableSecondsNeedThreeSamples) {
    Start("RplyItvl=1000\n");
    SimFireEvent(38, 0, 1);
    EXPECT_EQ(AvailableReplaySeconds(), 0u);
    while (Ring().count < 2) SimRunFrames(1);  // samples at 0 and 1 s
    EXPECT_EQ(AvailableReplaySeconds(), 0u);
    while (Ring().count < 3) SimRunFrames(1);
    EXPECT_EQ(AvailableReplaySeconds(), 2u);
    StartReplay(5);  // at most what there is: the two seconds
    EXPECT_EQ(module.mode, Replay);
    EXPECT_EQ(moduleClock.trackTime, moduleClock.endTime - 20000u);
}

TEST_F(ReplayBufferTest, AReplayStartsBeforeTheEndAndRecordingGoesOnAfterTheNewestSample) {
    Start("RplyItvl=500\n");
    SimFireEvent(38, 0, 1);
    SimRunSeconds(60.0);
    const uint32_t count = Ring().count;
    const uint32_t last = Ring().lastTime;
    // As the height-correction keys leave it after an earlier replay.
    HeightCorrectionStep(1);
    ASSERT_NE(Ring().heightCorrection, 0);
    SimSetPaused(true);
    StartReplay(20);
    EXPECT_EQ(Ring().heightCorrection, 0);
    EXPECT_EQ(module.mode, Replay);
    EXPECT_EQ(moduleClock.startTime, 0u);
    EXPECT_EQ(moduleClock.endTime, last);
    EXPECT_EQ(moduleClock.trackTime, last - 200000u);
    EXPECT_EQ(transport.loopStartTime, last - 200000u);
    EXPECT_EQ(transport.loopEndTime, last - 2000u);
    EXPECT_FALSE(transport.loopEnabled);
    EXPECT_EQ(transport.playbackSpeed, 100);
    EXPECT_TRUE(transport.positionJumped);
    EXPECT_EQ(session.startMarker, StartPending);
    EXPECT_EQ(Ring().readMode, 1u);
    EXPECT_EQ(Ring().cursor, 0u);
    EXPECT_EQ(SimPauseRequest(), 0u);  // a replay unpauses the simulator
    SimSetPaused(false);

    SimRunSeconds(10.0);
    EXPECT_EQ(Ring().count, count);  // nothing recorded during a replay
    SimRunSeconds(11.0);
    ASSERT_EQ(module.mode, ReplayBuffer);
    EXPECT_EQ(Ring().readMode, 0u);
    SimSetPaused(false);
    SimRunSeconds(5.0);
    // The time line runs on from the newest sample, without the replay's gap.
    const std::vector<uint32_t> times = TimesInOrder();
    ASSERT_GT(times.size(), count + 5);
    EXPECT_GT(times[count], last);
    EXPECT_LE(times[count] - last, 5000u + 2500u);
    for (size_t i = 1; i < times.size(); ++i) ASSERT_LT(times[i - 1], times[i]) << i;
    EXPECT_LE(times.back() - last, 5u * 10000u + 2500u);
}

TEST_F(ReplayBufferTest, AFullRingIsRotatedIntoTimeOrderAndKeepsTakingSamplesAfterTheReplay) {
    Start("RplyItvl=500\nBufferSize=120\n");
    SimFireEvent(38, 0, 1);
    SimRunSeconds(90.0);  // 180 samples into 120 slots
    ASSERT_EQ(Ring().count, 120u);
    const std::vector<uint32_t> before = TimesInOrder();
    const uint32_t oldest = before.front();
    ASSERT_GT(oldest, 0u);
    StartReplay(30);
    EXPECT_EQ(Ring().firstTime, 0u);
    EXPECT_EQ(Ring().lastTime, before.back() - oldest);
    EXPECT_EQ(moduleClock.endTime, before.back() - oldest);
    for (uint32_t i = 0; i < 120; ++i)
        ASSERT_EQ(RecordTime(Ring().layout, Ring().window + i * Ring().layout.recordSize), before[i] - oldest) << i;
    SimRunSeconds(32.0);
    ASSERT_EQ(module.mode, ReplayBuffer);
    SimSetPaused(false);
    SimRunSeconds(10.0);
    const std::vector<uint32_t> after = TimesInOrder();
    ASSERT_EQ(after.size(), 120u);
    for (size_t i = 1; i < after.size(); ++i) ASSERT_LT(after[i - 1], after[i]) << i;
    EXPECT_EQ(Ring().firstTime, after.front());
    EXPECT_EQ(Ring().lastTime, after.back());
    // About twenty new samples replaced the oldest twenty.
    EXPECT_NEAR(static_cast<double>(after.front()), static_cast<double>(before[20] - oldest), 10000.0);
}

TEST_F(ReplayBufferTest, SavingOpensItsDialogForTheOwnerWithoutModalCallsAndWritesTheRingInTimeOrder) {
    Start("RplyItvl=500\nBufferSize=120\n");
    SimFireEvent(38, 0, 1);
    SimRunSeconds(80.0);
    int owner = 0;
    SimClearLog();
    SimQueueFileDialogAnswer({""});
    EXPECT_EQ(SaveReplay(&owner), ReplayNotChosen);
    ASSERT_EQ(SimLogOf(LogFileDialog).size(), 1u);
    EXPECT_EQ(SimLogOf(LogFileDialog)[0].owner, &owner);
    EXPECT_EQ(SimLogOf(LogFileDialog)[0].caption, "Save Recording");
    EXPECT_TRUE(SimLogOf(LogModalBegin).empty());
    EXPECT_NE(Ring().windowIndex, 0u);  // cancelled: the ring was not touched

    const std::vector<uint32_t> times = TimesInOrder();
    SimQueueFileDialogAnswer({"saved.atr"});
    EXPECT_EQ(SaveReplay(&owner), ReplaySaved);
    EXPECT_TRUE(SimLogOf(LogMessageBox).empty());
    EXPECT_EQ(module.mode, ReplayBuffer);
    ParsedRecording saved = ParseRecording(ReadWholeFile("saved.atr"));
    ASSERT_TRUE(saved.valid) << saved.problem;
    ASSERT_EQ(saved.tracks.size(), 1u);
    ASSERT_EQ(saved.tracks[0].samples.size(), 120u);
    EXPECT_EQ(saved.startTime, 0u);
    EXPECT_EQ(saved.endTime, times.back() - times.front());
    EXPECT_EQ(saved.dateStamp, session.dateStamp);
    EXPECT_EQ(saved.tracks[0].interval, 500u);
    for (size_t i = 0; i < times.size(); ++i) ASSERT_EQ(saved.tracks[0].samples[i].time, times[i] - times.front());
    // The buffer goes on, on the same time line as the file.
    const uint32_t last = Ring().lastTime;
    SimRunSeconds(2.0);
    EXPECT_GT(Ring().lastTime, last);
    EXPECT_LE(Ring().lastTime - last, 25000u);
}

// Flag bits above the twelve groups (a slip in RecFlags) mean nothing: the
// ring is laid out by the groups, and the saved replay plays.
TEST_F(ReplayBufferTest, AReplaySavedWithStrayFlagBitsPlaysBack) {
    Start("RplyItvl=500\nRecFlags=4223\n");
    SimFireEvent(38, 0, 1);
    SimRunSeconds(20.0);
    ASSERT_EQ(module.mode, ReplayBuffer);
    EXPECT_EQ(Ring().layout.flags, 0x7Fu);
    int owner = 0;
    SimQueueFileDialogAnswer({"stray.atr"});
    ASSERT_EQ(SaveReplay(&owner), ReplaySaved);
    ParsedRecording saved = ParseRecording(ReadWholeFile("stray.atr"));
    ASSERT_TRUE(saved.valid) << saved.problem;
    EXPECT_EQ(saved.tracks.at(0).flags, 4223u);

    SimClearLog();
    SimQueueFileDialogAnswer({"stray.atr"});
    StartPlayback(0);
    EXPECT_TRUE(SimLogOf(LogMessageBox).empty());
    EXPECT_EQ(module.mode, Playback);
    ASSERT_EQ(trackTable.count, 1);
    EXPECT_EQ(trackTable.tracks[0].count, saved.tracks[0].samples.size());
    EXPECT_EQ(moduleClock.endTime, saved.endTime);
}

TEST_F(ReplayBufferTest, NoFailingFileOperationPassesForASavedReplayOrHarmsTheBuffer) {
    Start("RplyItvl=125\nBufferSize=120\n");  // wraps: one sample a frame
    SimFireEvent(38, 0, 1);
    SimRunSeconds(40.0);
    int owner = 0;
    FileOperationCountReset();
    ASSERT_EQ(WriteReplayFile("clean.atr"), ReplaySaved);
    const uint64_t operations = FileOperationCount();
    ASSERT_GE(operations, 4u);  // open, two writes, flush, close at least
    const ParsedRecording clean = ParseRecording(ReadWholeFile("clean.atr"));
    ASSERT_TRUE(clean.valid);

    for (uint64_t n = 1; n <= operations; ++n) {
        SimClearLog();
        const std::vector<uint32_t> before = TimesInOrder();
        const uint32_t trackTime = moduleClock.trackTime;
        SimQueueFileDialogAnswer({"replay.atr"});
        FileOperationCountReset();
        FaultInjectionArm(n);
        const ReplaySaveResult result = SaveReplay(&owner);
        FaultInjectionArm(0);
        ASSERT_NE(result, ReplaySaved) << n;
        EXPECT_FALSE(FileExists("replay.atr")) << n;
        std::vector<SimLogEntry> boxes = SimLogOf(LogMessageBox);
        ASSERT_EQ(boxes.size(), 1u) << n;
        EXPECT_EQ(boxes[0].caption, "Aerotrace") << n;
        EXPECT_EQ(boxes[0].owner, &owner) << n;
        if (n == 1) {
            EXPECT_EQ(boxes[0].text, "The selected file could not be opened!");
        }
        // Every sample is still there, in order, on one time line with TrackTime.
        const std::vector<uint32_t> after = TimesInOrder();
        ASSERT_EQ(after.size(), before.size()) << n;
        for (size_t i = 0; i < after.size(); ++i) ASSERT_EQ(after[i], before[i] - before[0] + after[0]) << n;
        EXPECT_EQ(trackTime - before.back(), moduleClock.trackTime - after.back()) << n;
        EXPECT_EQ(module.mode, ReplayBuffer);
        SimRunFrames(1);
    }
    SimQueueFileDialogAnswer({"replay.atr"});
    EXPECT_EQ(SaveReplay(&owner), ReplaySaved);
    const ParsedRecording retried = ParseRecording(ReadWholeFile("replay.atr"));
    ASSERT_TRUE(retried.valid) << retried.problem;
    EXPECT_EQ(retried.tracks[0].samples.size(), 120u);
}

}  // namespace
