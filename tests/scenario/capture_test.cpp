// Capture's rules on the stand-in, read back from the saved recording: how
// recording time follows the simulation rate and survives stalls, when
// samples are taken, which AI aircraft are recorded and how often, the
// autostop kinds and the Level D light switches.
#include <algorithm>
#include <filesystem>
#include <set>

#include "recording_scenario.h"

using Capture = RecordingScenario;

namespace {

std::vector<uint32_t> Gaps(const ParsedTrack& track) {
    std::vector<uint32_t> gaps;
    for (size_t i = 1; i < track.samples.size(); ++i) gaps.push_back(track.samples[i].time - track.samples[i - 1].time);
    return gaps;
}

const ParsedTrack* TrackTitled(const ParsedRecording& recording, const std::string& title) {
    for (const ParsedTrack& track : recording.tracks)
        if (track.title == title) return &track;
    return nullptr;
}

}  // namespace

TEST_F(Capture, AtFourTimesTheRateATenthOfASecondIsFourThousand) {
    WriteSettings("[SETTINGS]\nNoRecDlg=1\n[RECORD]\nDfltItvlIdx=1\n");
    Start();
    SimSetStepSeconds(0.1);
    SimSetSimulationRate(1024);
    stepSeconds = 0.1;
    ticksPerFrame = 4000;
    Fly(20.0);
    StartRecording();
    Fly(40.0);
    StopRecording();
    ParsedRecording recording = OnlyRecording();
    ASSERT_EQ(recording.tracks.size(), 1u);
    const ParsedTrack& user = recording.tracks[0];
    ASSERT_EQ(user.samples.size(), 100u);  // 40 world seconds, 0.4 s a frame, every frame past 1/4 s
    for (uint32_t gap : Gaps(user)) ASSERT_EQ(gap, 4000u);
    // Recording time runs with the simulated world, not with the frames.
    for (const ParsedSample& sample : user.samples)
        ASSERT_EQ(SampleDifference(sample, ScriptedSample(WorldAt(sample.time), nullptr, DateAt(sample.time)),
                                   user.flags),
                  "")
            << "at " << sample.time;
}

TEST_F(Capture, AStallCountsAsTheLastNormalStep) {
    WriteSettings("[SETTINGS]\nNoRecDlg=1\n[RECORD]\nDfltItvlIdx=0\n");
    Start();
    SimSetStepSeconds(0.2);
    stepSeconds = 0.2;
    Fly(2.0);
    StartRecording();
    Fly(10.0);
    for (double stall : {0.5, 3.0}) {
        SimSetStepSeconds(stall);
        FlyFrames(1);
        SimSetStepSeconds(0.2);
        Fly(10.0);
    }
    StopRecording();
    ParsedRecording recording = OnlyRecording();
    ASSERT_EQ(recording.tracks.size(), 1u);
    const ParsedTrack& user = recording.tracks[0];
    ASSERT_EQ(user.samples.size(), 152u);  // every frame at 1/8 s
    for (uint32_t gap : Gaps(user)) ASSERT_EQ(gap, 2000u);
}

TEST_F(Capture, PausedFramesAddNothingAndTheTimeLineGoesOnWithoutAHole) {
    WriteSettings("[SETTINGS]\nNoRecDlg=1\n[RECORD]\nDfltItvlIdx=0\n");
    Start();
    SimSetStepSeconds(0.2);
    stepSeconds = 0.2;
    StartRecording();
    Fly(4.0);
    SimClearLog();
    SimSetPaused(true);
    FlyFrames(30);
    EXPECT_TRUE(SimLogOf(LogStatusLine).empty());  // no redraw is requested while paused
    SimSetPaused(false);
    Fly(4.0);
    StopRecording();
    ParsedRecording recording = OnlyRecording();
    ASSERT_FALSE(recording.tracks.empty());
    const ParsedTrack& user = recording.tracks[0];
    EXPECT_EQ(user.samples.size(), 40u);
    for (uint32_t gap : Gaps(user)) ASSERT_EQ(gap, 2000u);
}

TEST_F(Capture, TouchdownAndLiftOffAreSampledAtOnceBetweenSlowSamples) {
    WriteSettings("[SETTINGS]\nNoRecDlg=1\n[RECORD]\nDfltItvlIdx=4\n");  // every 2 s
    Start();
    Fly(80.0);
    StartRecording();
    Fly(30.0);  // lift-off at 95 s
    StopRecording();
    ParsedRecording recording = OnlyRecording();
    ASSERT_FALSE(recording.tracks.empty());
    const ParsedTrack& user = recording.tracks[0];
    int liftOffs = 0;
    for (size_t i = 1; i < user.samples.size(); ++i) {
        const ParsedSample& a = user.samples[i - 1];
        const ParsedSample& b = user.samples[i];
        if (a.onGround == b.onGround) {
            EXPECT_EQ(b.time - a.time, 20000u);
            continue;
        }
        ++liftOffs;
        EXPECT_LT(b.time - a.time, 20000u);
        // The frame before still stood on the ground.
        EXPECT_EQ(SimScriptedValue(WorldAt(b.time - ticksPerFrame), 70, 136, 0), 1.0);
        EXPECT_EQ(SimScriptedValue(WorldAt(b.time), 70, 136, 0), 0.0);
        // Regular samples count from the forced one.
        if (i + 1 < user.samples.size()) {
            EXPECT_EQ(user.samples[i + 1].time - b.time, 20000u);
        }
    }
    EXPECT_EQ(liftOffs, 1);
}

TEST_F(Capture, WithAiFactorThreeEachAiAircraftTakesEveryThirdSample) {
    WriteSettings("[SETTINGS]\nNoRecDlg=1\n[RECORD]\nDfltItvlIdx=1\nRecAI=1\nAIItvlFactor=3\n");
    Start(SimStandardConfig(2));
    Fly(10.0);
    StartRecording();
    Fly(30.0);
    StopRecording();
    ParsedRecording recording = OnlyRecording();
    ASSERT_EQ(recording.tracks.size(), 3u);
    const ParsedTrack& user = recording.tracks[0];
    ASSERT_EQ(user.samples.size(), 120u);
    for (size_t i = 1; i < 3; ++i) {
        const ParsedTrack& ai = recording.tracks[i];
        ASSERT_EQ(ai.samples.size(), 40u) << ai.title;
        for (size_t j = 0; j < ai.samples.size(); ++j) EXPECT_EQ(ai.samples[j].time, user.samples[3 * j].time);
    }
}

TEST_F(Capture, MaxAiAircraftTakesTheFirstFoundAndAnotherOnlyWhenOneLeaves) {
    WriteSettings("[SETTINGS]\nNoRecDlg=1\nMaxAIAcft=2\n[RECORD]\nRecAI=1\nAIItvlFactor=1\n");
    SimConfig config = SimStandardConfig(5);
    for (SimAiScript& ai : config.ai) ai.leaveSeconds = ai.id == 107 ? 40.0 : -1.0;
    Start(config);
    Fly(10.0);
    StartRecording();
    Fly(60.0);
    StopRecording();
    ParsedRecording recording = OnlyRecording();
    std::set<std::string> titles;
    for (const ParsedTrack& track : recording.tracks) titles.insert(track.title);
    // 100 and 107 are found first; 114 gets 107's place when it leaves; 121 and 128 never.
    EXPECT_EQ(titles, (std::set<std::string>{config.userTitle, "Boeing 737-400", "Learjet 45", "Beech Baron 58"}));
    const ParsedTrack* learjet = TrackTitled(recording, "Learjet 45");
    const ParsedTrack* baron = TrackTitled(recording, "Beech Baron 58");
    ASSERT_TRUE(learjet && baron);
    EXPECT_LT(WorldAt(learjet->lastTime), 40.0);
    EXPECT_GE(WorldAt(baron->firstTime), 40.0);
    // The tick that finds the Learjet gone frees its window after looking for
    // new aircraft, so the Baron is taken on the sampling tick after that.
    EXPECT_EQ(baron->firstTime - learjet->lastTime, 5000u);
}

TEST_F(Capture, AnAiAircraftWhoseFileCannotBeMadeIsLeftOutSilently) {
    WriteSettings("[SETTINGS]\nNoRecDlg=1\n[RECORD]\nRecAI=1\n");
    std::filesystem::create_directory("Modules/Aerotrace100.tmp");  // in the way of its file
    Start(SimStandardConfig(2));
    StartRecording();
    Fly(10.0);
    StopRecording();
    ParsedRecording recording = OnlyRecording();
    ASSERT_EQ(recording.tracks.size(), 2u);
    EXPECT_EQ(recording.tracks[1].title, "Learjet 45");
    EXPECT_TRUE(SimLogOf(LogMessageBox).empty());
}

struct AutostopCase {
    const char* name;
    int choice;           // DfltAutostop
    double startSeconds;  // world time the recording starts
    // The sample that starts the delay (index into the user track), or -1
    // for the start of the recording.
    int (*trigger)(const ParsedTrack& user);
};

int Touchdown(const ParsedTrack& user) {
    for (size_t i = 1; i < user.samples.size(); ++i)
        if (user.samples[i].onGround && !user.samples[i - 1].onGround) return static_cast<int>(i);
    return -2;
}

int Shutdown(const ParsedTrack& user) {
    for (size_t i = 1; i < user.samples.size(); ++i)
        if (!user.samples[i].engines[0] && user.samples[i - 1].engines[0]) return static_cast<int>(i);
    return -2;
}

int RecordingStart(const ParsedTrack&) { return -1; }

class Autostop : public RecordingScenario, public ::testing::WithParamInterface<AutostopCase> {};

TEST_P(Autostop, StopsOnTheFirstSampleMoreThanThirtySecondsLater) {
    const AutostopCase& c = GetParam();
    WriteSettings("[SETTINGS]\nNoRecDlg=1\n[RECORD]\nDfltItvlIdx=1\nDfltAutostopTime=30\nDfltAutostop=" +
                  std::to_string(c.choice) + "\n");
    Start();
    Fly(c.startSeconds);
    StartRecording();
    Fly(100.0);
    // It stopped by itself: saved without a word, and nothing records any more.
    EXPECT_TRUE(SimLogOf(LogMessageBox).empty());
    EXPECT_TRUE(TempFiles().empty());
    SimClearLog();
    FlyFrames(20);
    EXPECT_TRUE(SimLogOf(LogStatusLine).empty());
    ParsedRecording recording = OnlyRecording();
    ASSERT_EQ(recording.tracks.size(), 1u);
    const ParsedTrack& user = recording.tracks[0];
    int trigger = c.trigger(user);
    ASSERT_GE(trigger, -1);
    uint32_t from = trigger < 0 ? 0 : user.samples[trigger].time;
    EXPECT_GT(user.lastTime - from, 300000u);
    EXPECT_LE(user.samples[user.samples.size() - 2].time - from, 300000u);
}

INSTANTIATE_TEST_SUITE_P(Kinds, Autostop,
                         ::testing::Values(AutostopCase{"AfterTouchdown", 0, 520.0, Touchdown},
                                           AutostopCase{"AfterEngineShutdown", 1, 600.0, Shutdown},
                                           AutostopCase{"AfterStart", 2, 10.0, RecordingStart}),
                         [](const ::testing::TestParamInfo<AutostopCase>& info) { return info.param.name; });

TEST_F(Capture, LevelD767LightsComeFromItsSwitchesOnlyForTheUserAircraft) {
    struct TitleCase {
        const char* title;
        bool levelD;
    };
    const TitleCase cases[] = {{"Level-D Simulations 767-300ER", true},
                               {"Level D 767-300ER", true},
                               {"LevelD 767", true},
                               {"LevelD 747-400", false},
                               {"Boeing 767-300ER", false},
                               {"level d 767", false}};
    for (const TitleCase& c : cases) {
        SCOPED_TRACE(c.title);
        std::filesystem::remove_all("Recordings");
        WriteSettings("[SETTINGS]\nNoRecDlg=1\n[RECORD]\nRecAI=1\nAIItvlFactor=1\n");
        Start(SimStandardConfig(1));
        SimSetUserTitle(c.title);
        SimFireEvent(38, 0, 1);  // the aircraft changed: its title is looked at again
        SimSetNamedVariable("LVLDLightNavSwitch", 1);
        SimSetNamedVariable("LVLDLightBeaconSwitch", 1);
        SimSetNamedVariable("LVLDLightRecogSwitch", 3);
        SimSetNamedVariable("LVLDLightLLRightSwitch", 1);
        worldAt.clear();
        dates.clear();
        Fly(60.0);
        StartRecording();
        Fly(5.0);
        StopRecording();
        ParsedRecording recording = OnlyRecording();
        ASSERT_EQ(recording.tracks.size(), 2u);
        for (const ParsedTrack& track : recording.tracks) {
            bool user = &track == &recording.tracks[0];
            for (const ParsedSample& sample : track.samples) {
                double world = WorldAt(sample.time) + (user ? 0.0 : SimStandardConfig(1).ai[0].timeOffset);
                uint16_t scripted = static_cast<uint16_t>(SimScriptedValue(world, 6, 138, 0));
                ASSERT_EQ(sample.lights, user && c.levelD ? 0xC303 : scripted) << track.title << " at " << sample.time;
            }
        }
        SimUnloadModule();
    }
}
