// The playback transport and the playback clock: jumps past either end,
// searching and its release, the speed table's ends, the simulation rate
// following the speed with and without its limit, the loop commands and the
// loop wrap, the stall rule, and the height-correction steps.
#include <gtest/gtest.h>

#include "config/settings.h"
#include "core/host/clock.h"
#include "core/host/module_state.h"
#include "engine/play/playback_frames.h"
#include "engine/session/transport.h"
#include "engine/tracks/track_table.h"
#include "sim.h"

namespace {

class TransportTest : public ::testing::Test {
protected:
    void SetUp() override {
        SimReset(SimConfig());
        ASSERT_TRUE(SimLoadModule());
        // A playback of 0 .. 600 s with no tracks: the clock alone.
        module.mode = Playback;
        moduleClock.startTime = 0;
        moduleClock.endTime = 6000000;
        moduleClock.trackTime = 1000000;
        transport = Transport{100, NormalSpeedIndex, false, 0, 6000000 - 2000, false};
        settings.JumpSize1 = 15;
        settings.JumpSize2 = 60;
        settings.JumpSize3 = 300;
        settings.SearchSpeed1 = 5;
        settings.SearchSpeed2 = 15;
        settings.SearchSpeed3 = 50;
    }
    void TearDown() override { SimUnloadModule(); }

    // One playback frame after a frame step of the given length.
    static void Tick(uint32_t step) {
        moduleClock.frameTime += step;
        PlaybackTick();
    }
    // Sets the previous frame's step, as a first steady frame would.
    static void SteadyFrames(uint32_t step) {
        playback.lastPlayFrameTime = moduleClock.frameTime;
        const uint32_t at = moduleClock.trackTime;
        const int16_t speed = transport.playbackSpeed;
        transport.playbackSpeed = 0;
        Tick(step);
        transport.playbackSpeed = speed;
        moduleClock.trackTime = at;
    }
};

TEST_F(TransportTest, ClockAdvancesByTheSpeedAndStopsAtTheStart) {
    SteadyFrames(1000);
    SpeedCommand(0);  // 200 %
    Tick(1000);
    EXPECT_EQ(moduleClock.trackTime, 1000000u + 2000u);
    transport.playbackSpeed = -100;
    Tick(1000);
    EXPECT_EQ(moduleClock.trackTime, 1000000u + 1000u);
    // Backwards past the beginning: held at 0, raised to StartTime.
    moduleClock.startTime = 300;
    moduleClock.trackTime = 500;
    Tick(1000);
    EXPECT_EQ(moduleClock.trackTime, 300u);
}

TEST_F(TransportTest, AStallAdvancesByThePreviousStep) {
    SteadyFrames(800);
    Tick(20000);  // two seconds without a frame
    EXPECT_EQ(moduleClock.trackTime, 1000000u + 800u);
    EXPECT_EQ(playback.lastPlayStep, 800u);
    Tick(4999);  // just short of a stall: taken as it is
    EXPECT_EQ(moduleClock.trackTime, 1000000u + 800u + 4999u);
    Tick(5000);  // exactly half a second is a stall: the previous step again
    EXPECT_EQ(moduleClock.trackTime, 1000000u + 800u + 4999u + 4999u);
    EXPECT_EQ(playback.lastPlayStep, 4999u);
}

TEST_F(TransportTest, JumpsBackStopAtZeroAndTheFrameRaisesThemToTheStart) {
    moduleClock.startTime = 2000;
    moduleClock.trackTime = 100000;
    TransportCommand(2);  // 15 s back from 10 s
    EXPECT_EQ(moduleClock.trackTime, 0u);
    EXPECT_TRUE(transport.positionJumped);
    SteadyFrames(0);
    Tick(0);
    EXPECT_EQ(moduleClock.trackTime, 2000u);
    EXPECT_FALSE(transport.positionJumped);  // cleared at the end of the frame
    moduleClock.trackTime = 4000000;
    TransportCommand(3);
    EXPECT_EQ(moduleClock.trackTime, 3400000u);
    TransportCommand(4);
    EXPECT_EQ(moduleClock.trackTime, 400000u);
    TransportCommand(0);
    EXPECT_EQ(moduleClock.trackTime, 0u);
}

TEST_F(TransportTest, AJumpPastTheEndEndsThePlaybackOrWrapsIntoTheLoop) {
    moduleClock.trackTime = 6000000 - 100000;  // 10 s before the end
    TransportCommand(7);                       // 300 s forward
    EXPECT_EQ(moduleClock.trackTime, 6000000u - 100000u + 3000000u);
    EXPECT_TRUE(transport.positionJumped);
    SteadyFrames(0);
    EXPECT_EQ(module.mode, ReplayBuffer);  // ended; the replay buffer took over

    module.mode = Playback;
    transport.loopEnabled = true;
    transport.loopStartTime = 1000000;
    transport.loopEndTime = 5000000;
    moduleClock.trackTime = 6000000 - 100000;
    TransportCommand(7);
    Tick(500);
    EXPECT_EQ(module.mode, Playback);
    EXPECT_EQ(moduleClock.trackTime, 1000000u);
}

TEST_F(TransportTest, JumpToTheEndIsOneSecondBeforeItAndStopsThereWhenLooping) {
    TransportCommand(1);
    EXPECT_EQ(moduleClock.trackTime, 6000000u - 10000u);
    EXPECT_TRUE(transport.positionJumped);
    // A recording shorter than a second has no such moment: it plays out
    // from where it is, and from its start only before its first frame.
    moduleClock.startTime = 1000;
    moduleClock.endTime = 6000;
    moduleClock.trackTime = 2500;
    TransportCommand(1);
    EXPECT_EQ(moduleClock.trackTime, 2500u);
    moduleClock.trackTime = 0;
    TransportCommand(1);
    EXPECT_EQ(moduleClock.trackTime, 1000u);
    // Exactly a second long: one second before the end is its start.
    moduleClock.endTime = 11000;
    moduleClock.trackTime = 8000;
    TransportCommand(1);
    EXPECT_EQ(moduleClock.trackTime, 1000u);
    moduleClock.startTime = 0;
    // Forward jumps never wrap round the clock's range.
    moduleClock.trackTime = UINT32_MAX - 5;
    TransportCommand(5);
    EXPECT_EQ(moduleClock.trackTime, UINT32_MAX);
}

TEST_F(TransportTest, CommandsAreRefusedOutsideThePlaybackModes) {
    for (Mode mode : {Idle, Recording, ReplayBuffer, RecordingWithTraffic}) {
        module.mode = mode;
        moduleClock.trackTime = 1000000;
        TransportCommand(0);
        TransportCommand(5);
        EXPECT_EQ(moduleClock.trackTime, 1000000u) << mode;
    }
}

TEST_F(TransportTest, SearchingRunsAtTheLevelsSpeedUntilTheKeyIsReleased) {
    settings.Search2 = 1;
    settings.SetSimRateSrch = 1;
    SpeedCommand(0);  // 200 % before the search
    TransportCommand(3);
    EXPECT_EQ(transport.playbackSpeed, -1500);
    EXPECT_EQ(SimSimulationRate(), 15 * 256);
    moduleClock.trackTime = 10000;
    SteadyFrames(1000);
    Tick(1000);  // 1.5 s back from 1 s: held at the start
    EXPECT_EQ(moduleClock.trackTime, 0u);
    TransportCommand(9);
    EXPECT_EQ(transport.playbackSpeed, 200);
    EXPECT_EQ(SimSimulationRate(), 512);
    // Forward, limited to four times normal.
    settings.LimSimRate = 1;
    TransportCommand(6);
    EXPECT_EQ(transport.playbackSpeed, 1500);
    EXPECT_EQ(SimSimulationRate(), 1024);
    // A level that jumps leaves the speed alone on release, the rate still follows.
    settings.Search1 = 0;
    SimSetSimulationRate(300);
    TransportCommand(8);
    EXPECT_EQ(transport.playbackSpeed, 1500);
    EXPECT_EQ(SimSimulationRate(), 1024);
}

TEST_F(TransportTest, SpeedTableEndsHoldAndTheRateFollows) {
    settings.SetSimRate = 1;
    SpeedCommand(2);
    SpeedCommand(0);
    EXPECT_EQ(transport.playbackSpeed, 200);
    for (int i = 0; i < 10; ++i) SpeedCommand(0);
    EXPECT_EQ(transport.playbackSpeed, 1000);
    EXPECT_EQ(transport.speedIndex, 8);
    EXPECT_EQ(SimSimulationRate(), 2560);
    for (int i = 0; i < 10; ++i) SpeedCommand(1);
    EXPECT_EQ(transport.playbackSpeed, 10);
    EXPECT_EQ(transport.speedIndex, 0);
    EXPECT_EQ(SimSimulationRate(), 25);
    SpeedCommand(3);  // no change, the rate is set again
    SimSetSimulationRate(999);
    SpeedCommand(7);
    EXPECT_EQ(transport.playbackSpeed, 10);
    EXPECT_EQ(SimSimulationRate(), 25);

    const int16_t expected[SpeedTableSize][2] = {{25, 25},   {51, 51},   {84, 84},     {128, 128},  {256, 256},
                                                 {512, 512}, {768, 768}, {1280, 1024}, {2560, 1024}};
    for (int i = 0; i < SpeedTableSize; ++i) {
        settings.LimSimRate = 0;
        EXPECT_EQ(SimulationRateForSpeed(SpeedTable[i]), expected[i][0]) << SpeedTable[i];
        settings.LimSimRate = 1;
        EXPECT_EQ(SimulationRateForSpeed(SpeedTable[i]), expected[i][1]) << SpeedTable[i];
    }
    settings.SetSimRate = 0;
    SimSetSimulationRate(300);
    SpeedCommand(0);
    EXPECT_EQ(SimSimulationRate(), 300);
}

TEST_F(TransportTest, LoopCommandsSetTheRangeAndTheWrapIsAJump) {
    // Loop end before any start: the start falls back to 0 and looping is on.
    transport.loopStartTime = 2000000;
    moduleClock.trackTime = 1500000;
    LoopCommand(1);
    EXPECT_EQ(transport.loopStartTime, 0u);
    EXPECT_EQ(transport.loopEndTime, 1500000u);
    EXPECT_TRUE(transport.loopEnabled);
    // A start exactly at the end would leave an empty loop: the end moves.
    moduleClock.trackTime = 1500000;
    LoopCommand(0);
    EXPECT_EQ(transport.loopEndTime, 6000000u);
    transport.loopEndTime = 1500000;
    // Loop start past the end: the end moves to the end of the recording.
    moduleClock.trackTime = 1600000;
    LoopCommand(0);
    EXPECT_EQ(transport.loopStartTime, 1600000u);
    EXPECT_EQ(transport.loopEndTime, 6000000u);
    // Off, then on from before the start: the position jumps to the start.
    LoopCommand(3);
    EXPECT_FALSE(transport.loopEnabled);
    moduleClock.trackTime = 100000;
    transport.positionJumped = false;
    LoopCommand(2);
    EXPECT_TRUE(transport.loopEnabled);
    EXPECT_EQ(moduleClock.trackTime, 1600000u);
    EXPECT_TRUE(transport.positionJumped);
    // Toggle: off, and on again without moving.
    LoopCommand(4);
    EXPECT_FALSE(transport.loopEnabled);
    moduleClock.trackTime = 100000;
    LoopCommand(4);
    EXPECT_TRUE(transport.loopEnabled);
    EXPECT_EQ(moduleClock.trackTime, 100000u);

    // Reaching the loop end wraps to the start as a jump.
    transport.loopStartTime = 1000000;
    transport.loopEndTime = 1001000;
    moduleClock.trackTime = 1000600;
    SteadyFrames(500);
    transport.positionJumped = false;
    Tick(500);
    EXPECT_EQ(moduleClock.trackTime, 1000000u);
}

// Reaching LoopEndTime exactly is reaching the loop's end: that very tick
// wraps to LoopStartTime, and the aircraft is put there as after a jump (the
// gear legs set, no smooth move).
TEST_F(TransportTest, TheTickThatReachesTheLoopEndExactlyWrapsAsAJump) {
    ASSERT_EQ(AddTrack(), 0);
    Track& track = trackTable.tracks[0];
    ASSERT_TRUE(TrackInit(&track, 4, nullptr, 0, FlagGear, "Loop", 1, 1000, 1));
    FullSample sample{};
    sample.gear = 16383;
    ASSERT_TRUE(AppendSample(&track, sample));
    sample.time = 6000000;
    ASSERT_TRUE(AppendSample(&track, sample));
    track.readMode = 1;  // played from here on, as a replay does
    track.cursor = 0;
    track.windowIndex = 0;
    transport.loopEnabled = true;
    transport.loopStartTime = 1000000;
    transport.loopEndTime = 1001000;
    moduleClock.trackTime = 1000000;
    SteadyFrames(500);
    transport.positionJumped = false;
    auto legsSet = [] {
        size_t legs = 0;
        for (const SimLogEntry& entry : SimLogOf(LogValueSet)) legs += entry.b >= 111 && entry.b <= 113 ? 1 : 0;
        return legs;
    };

    SimClearLog();
    Tick(500);  // within the loop: a smooth move
    EXPECT_EQ(moduleClock.trackTime, 1000500u);
    ASSERT_EQ(SimLogOf(LogPositionSet).size(), 1u);
    EXPECT_EQ(SimLogOf(LogPositionSet)[0].c, 1u);
    EXPECT_EQ(legsSet(), 0u);

    SimClearLog();
    Tick(500);  // exactly at the loop's end
    EXPECT_EQ(moduleClock.trackTime, 1000000u);
    ASSERT_EQ(SimLogOf(LogPositionSet).size(), 1u);
    EXPECT_EQ(SimLogOf(LogPositionSet)[0].c, 0u);
    EXPECT_EQ(legsSet(), 3u);
    EXPECT_FALSE(transport.positionJumped);  // cleared at the end of the frame
    EmptyTrackTable();
}

TEST_F(TransportTest, HeightCorrectionStepsMoveTheFirstTrackByOneStep) {
    HeightCorrectionStep(1);  // no track: nothing to correct
    ASSERT_EQ(AddTrack(), 0);
    ASSERT_EQ(AddTrack(), 1);
    trackTable.tracks[0].heightCorrection = 5;
    HeightCorrectionStep(1);
    HeightCorrectionStep(1);
    HeightCorrectionStep(-1);
    EXPECT_EQ(trackTable.tracks[0].heightCorrection, 5 + 100000000);
    EXPECT_EQ(trackTable.tracks[1].heightCorrection, 0);
    trackTable.tracks[0].heightCorrection = INT64_MAX;
    HeightCorrectionStep(1);  // wraps rather than overflowing
    EXPECT_EQ(trackTable.tracks[0].heightCorrection, INT64_MIN + 100000000 - 1);
    EmptyTrackTable();
}

}  // namespace
