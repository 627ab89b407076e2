// Playing recordings back on the stand-in simulator: the user aircraft
// driven frame by frame with the interpolated samples, the recorded AI
// aircraft coming and going with their tracks, the simulator put back as it
// was, the user's input kept off the played controls, and the stop commands.
// The recordings are written byte by byte by the tests themselves.
#include <algorithm>
#include <cstring>

#include "playback_scenario.h"

namespace {

class PlaybackScenario : public PlaybackWorld {
protected:

    static std::vector<SimLogEntry> ThisFrame(SimLogKind kind) {
        std::vector<SimLogEntry> entries;
        for (const SimLogEntry& entry : SimLogOf(kind))
            if (entry.frame == SimFrameNumber()) entries.push_back(entry);
        return entries;
    }

    static std::vector<SimLogEntry> ValuesSet(uint32_t aircraftId, uint32_t variable) {
        std::vector<SimLogEntry> entries;
        for (const SimLogEntry& entry : ThisFrame(LogValueSet))
            if (entry.a == aircraftId && entry.b == variable) entries.push_back(entry);
        return entries;
    }

    static std::vector<uint32_t> EventsSent(uint32_t aircraftId) {
        std::vector<uint32_t> events;
        for (const SimLogEntry& entry : ThisFrame(LogAircraftEvent))
            if (entry.a == aircraftId) events.push_back(static_cast<uint32_t>(entry.b));
        return events;
    }

    static uint16_t StateU16(size_t offset) {
        uint16_t value;
        std::memcpy(&value, SimHostStateBlock() + offset, 2);
        return value;
    }
    static void SetStateU16(size_t offset, uint16_t value) { std::memcpy(SimHostStateBlock() + offset, &value, 2); }

    static void ExpectPlacedAt(uint32_t id, const TestTrack& track, uint32_t t, int64_t correction) {
        uint8_t expected[36];
        ASSERT_TRUE(ExpectedPlacement(track, t, correction, expected)) << "t " << t;
        SimAircraftState state;
        ASSERT_TRUE(SimGetAircraftState(id, &state)) << "aircraft " << id;
        EXPECT_EQ(std::memcmp(state.placement, expected, 36), 0) << "aircraft " << id << " at t " << t;
    }
};

// ---------------------------------------------------------------- the user aircraft

TEST_F(PlaybackScenario, DrivesTheUserAircraftWithTheInterpolatedSampleEveryFrame) {
    const TestTrack user = SmoothTrack(0xFFF, 0, 10000, 31, 0);  // 30 s, every group
    WriteBytes("flight.atr", MultiTrackFile({user}));
    SimConfig config;
    config.userReferenceElevation = 0.0f;
    StartWorld(config);
    Play({folder + "/flight.atr"});
    ASSERT_EQ(SimLogOf(LogFileDialog).size(), 1u);
    EXPECT_EQ(SimLogOf(LogFileDialog)[0].caption, "Load Recording");

    const uint32_t frames = 30 * 10000 / FrameUnits;
    for (uint32_t k = 0; k < frames; ++k) {
        SimRunFrames(1);
        const uint32_t t = k * FrameUnits;
        ExpectPlacedAt(1, user, t, 0);
        std::vector<SimLogEntry> placed = ThisFrame(LogPositionSet);
        ASSERT_EQ(placed.size(), 1u) << "frame " << k;
        // The first frame is a jump onto the recording; then the host blends.
        EXPECT_EQ(placed[0].c, k == 0 ? 0u : 1u) << "frame " << k;
        // Gear legs are set only on the jump at normal speed.
        EXPECT_EQ(ValuesSet(1, 111).size(), k == 0 ? 1u : 0u) << "frame " << k;
        if (HasFailure()) return;
    }
    // At the end the aircraft is left alone and the simulator paused.
    SimRunFrames(1);
    EXPECT_TRUE(ThisFrame(LogPositionSet).empty());
    EXPECT_EQ(SimPauseRequest(), 1u);
    SimSetPaused(false);
    SimRunFrames(5);
    EXPECT_TRUE(ThisFrame(LogPositionSet).empty());
}

TEST_F(PlaybackScenario, WritesEveryPlayedGroupIntoTheUserAircraft) {
    TestTrack user = SmoothTrack(0xFFF, 0, 10000, 11, 0);
    for (TestSample& s : user.samples) {
        s.year = 105;
        s.day = 200;
        s.hour = 8;
        s.minute = 30;
    }
    WriteBytes("flight.atr", MultiTrackFile({user}));
    Settings("PlayFlags=4095\r\n");
    StartWorld();
    Play({folder + "/flight.atr"});
    SimRunFrames(4);  // t = 1500: 15 % of the way from sample 0 to sample 1
    const TestSample& a = user.samples[0];
    const TestSample& b = user.samples[1];
    const double f = 0.15;
    std::vector<SimLogEntry> throttles = ValuesSet(1, 271);
    ASSERT_EQ(throttles.size(), 4u);
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(throttles[k].d, uint64_t(k + 1));
        EXPECT_EQ(throttles[k].value, double(int16_t(int32_t(f * b.throttles[k] + (1 - f) * a.throttles[k]))));
    }
    ASSERT_EQ(ValuesSet(1, 80).size(), 1u);
    EXPECT_EQ(ValuesSet(1, 80)[0].value, double(int16_t(int32_t(f * b.elevator + (1 - f) * a.elevator))));
    ASSERT_EQ(ValuesSet(1, 110).size(), 1u);
    EXPECT_EQ(ValuesSet(1, 110)[0].value, a.gear);  // held, not blended
    EXPECT_TRUE(ValuesSet(1, 95).empty());  // the user's flaps go through the key event
    std::vector<SimLogEntry> keys = ThisFrame(LogKeyEvent);
    ASSERT_EQ(keys.size(), 1u);
    EXPECT_EQ(keys[0].a, 66534u);
    EXPECT_EQ(static_cast<int32_t>(keys[0].b), int32_t(a.flaps / 4.0 * 32768.0 - 16384.0));
    EXPECT_EQ(ValuesSet(1, 6).size(), 1u);
    EXPECT_EQ(ValuesSet(1, 6)[0].value, a.lights);
    EXPECT_EQ(ValuesSet(1, 264).size(), 4u);
    EXPECT_EQ(ValuesSet(1, 272).size(), 4u);
    EXPECT_EQ(ValuesSet(1, 273).size(), 4u);
    std::vector<uint32_t> events = EventsSent(1);
    const std::vector<uint32_t> radiosAndSmoke = {65708, 65716, 65709, 65717, 66479, 65707, 66442, 65715,
                                                  a.smoke ? 66049u : 66050u};
    ASSERT_GE(events.size(), radiosAndSmoke.size());
    EXPECT_EQ(std::vector<uint32_t>(events.begin(), events.begin() + radiosAndSmoke.size()), radiosAndSmoke);
    // Date and time come from the sample; the seconds only when they are off.
    EXPECT_EQ(StateU16(0x246), 2005);
    EXPECT_EQ(StateU16(0x244), 200);
    EXPECT_EQ(SimHostStateBlock()[0x23C], 8);
    EXPECT_EQ(SimHostStateBlock()[0x240], 30);
    EXPECT_EQ(SimHostStateBlock()[0x23A], a.second);
}

TEST_F(PlaybackScenario, PlaysOnlyTheGroupsBothRecordedAndChosen) {
    TestTrack user = SmoothTrack(0x3 | 0x20, 0, 10000, 11, 0);
    WriteBytes("flight.atr", MultiTrackFile({user}));
    Settings("PlayFlags=3\r\n");  // lights recorded but not chosen
    StartWorld();
    Play({folder + "/flight.atr"});
    SimRunFrames(3);
    EXPECT_EQ(ValuesSet(1, 271).size(), 4u);
    EXPECT_EQ(ValuesSet(1, 80).size(), 1u);
    EXPECT_TRUE(ValuesSet(1, 6).empty());
    EXPECT_TRUE(ValuesSet(1, 90).empty());
    EXPECT_TRUE(ThisFrame(LogKeyEvent).empty());
}

TEST_F(PlaybackScenario, LevelD767LightsGoToItsSwitchVariables) {
    TestTrack user = SmoothTrack(0x20, 0, 10000, 11, 0);
    for (TestSample& s : user.samples) s.lights = 0x8000 | 0x0001 | 0x0010 | 0x4000;  // nav, strobe, right landing
    WriteBytes("flight.atr", MultiTrackFile({user}));
    SimConfig config;
    config.userTitle = "Level-D Simulations B767-300ER";
    StartWorld(config);
    Play({folder + "/flight.atr"});
    SimRunFrames(2);
    EXPECT_TRUE(ValuesSet(1, 6).empty());
    std::vector<SimLogEntry> set;
    for (const SimLogEntry& entry : ThisFrame(LogVariableSet)) set.push_back(entry);
    ASSERT_EQ(set.size(), 13u);
    EXPECT_EQ(set[0].text, "LVLDLightNavSwitch");
    EXPECT_EQ(set[0].value, 1.0);
    EXPECT_EQ(set[1].text, "LVLDLightBeaconSwitch");
    EXPECT_EQ(set[1].value, 0.0);
    EXPECT_EQ(set[4].text, "LVLDLightStrobeSwitch");
    EXPECT_EQ(set[4].value, 1.0);
    EXPECT_EQ(set[12].text, "LVLDLightLLRightSwitch");
    EXPECT_EQ(set[12].value, 1.0);
}

TEST_F(PlaybackScenario, AppliesTheUserHeightCorrectionOfTheRecordingsReferenceElevation) {
    TestTrack user = SmoothTrack(0, 0, 10000, 11, 0);
    user.referenceElevation = 100.0f;
    WriteBytes("flight.atr", MultiTrackFile({user}));
    SimConfig config;
    config.userReferenceElevation = 110.0f;
    StartWorld(config);
    Play({folder + "/flight.atr"});
    SimRunFrames(7);
    ExpectPlacedAt(1, user, 6 * FrameUnits, 13091060318LL);  // 10 ft in metres x 2^32, truncated
}

// ---------------------------------------------------------------- the end of a playback

TEST_F(PlaybackScenario, PutsTheSimulatorBackAsItFoundIt) {
    WriteBytes("flight.atr", MultiTrackFile({SmoothTrack(0, 0, 10000, 3, 0)}));
    StartWorld();
    SetStateU16(0x82C, 0xBEEF);
    SimSetSimulationRate(512);
    Play({folder + "/flight.atr"});
    EXPECT_EQ(SimSimulationRate(), 256);  // the speed is reset, the rate follows it
    SimSetSimulationRate(512);
    SimRunFrames(1);
    EXPECT_EQ(StateU16(0x82C), 0);
    EXPECT_EQ(SimTrafficLevel(), 0u);
    SimRunSeconds(3.0);
    EXPECT_EQ(StateU16(0x82C), 0xBEEF);
    EXPECT_EQ(SimTrafficLevel(), 50u);
    EXPECT_EQ(SimSimulationRate(), 256);
    EXPECT_EQ(SimPauseRequest(), 1u);
}

TEST_F(PlaybackScenario, LeavesPauseRateAndTrafficAloneWhenSoSet) {
    WriteBytes("flight.atr", MultiTrackFile({SmoothTrack(0, 0, 10000, 3, 0)}));
    Settings("Pause=0\r\nSetSimRate=0\r\nPlayAIMode=1\r\n");
    StartWorld();
    SimSetSimulationRate(512);
    Play({folder + "/flight.atr"});
    SimRunSeconds(3.0);
    EXPECT_TRUE(SimLogOf(LogTrafficSet).empty());
    EXPECT_EQ(SimSimulationRate(), 512);
    EXPECT_EQ(SimPauseRequest(), 0u);
    EXPECT_EQ(SimLogOf(LogPositionSet).size(), 2 * 10000 / FrameUnits);
}

TEST_F(PlaybackScenario, StoppedBeforeItsFirstFrameAPlaybackRestoresNothingItNeverSaved) {
    WriteBytes("flight.atr", MultiTrackFile({SmoothTrack(0, 0, 10000, 3, 0)}));
    StartWorld();
    SetStateU16(0x82C, 0x1234);
    Play({folder + "/flight.atr"});
    StopHere();
    EXPECT_TRUE(SimLogOf(LogTrafficSet).empty());
    EXPECT_EQ(StateU16(0x82C), 0x1234);
    EXPECT_EQ(SimTrafficLevel(), 50u);
    EXPECT_EQ(SimPauseRequest(), 1u);
}

TEST_F(PlaybackScenario, StopCommandsEndThePlayback) {
    const TestTrack user = SmoothTrack(0, 0, 10000, 61, 0);  // 60 s
    WriteBytes("flight.atr", MultiTrackFile({user}));
    Settings("Pause=0\r\n");
    StartWorld();
    // Stop: one second before the end, then out by itself.
    Play({folder + "/flight.atr"});
    EXPECT_FALSE(SimTapKey(SimKeyDelete));  // looping on
    SimRunFrames(10);
    EXPECT_FALSE(SimChooseMenuCommand(SimCmdPlay));  // "Stop playback..."
    SimRunFrames(1);  // the frame moves on from one second before the end
    ExpectPlacedAt(1, user, 600000 - 10000 + FrameUnits, 0);
    SimRunFrames(18);
    ExpectPlacedAt(1, user, 600000 - FrameUnits, 0);
    SimRunFrames(1);
    EXPECT_TRUE(ThisFrame(LogPositionSet).empty());
    // Stop here: at once, where it is.
    Play({folder + "/flight.atr"});
    SimRunFrames(10);  // the clock runs on from the last playback: one frame in at the first
    StopHere();
    SimRunFrames(1);
    EXPECT_TRUE(ThisFrame(LogPositionSet).empty());
    ExpectPlacedAt(1, user, 10 * FrameUnits, 0);
}

TEST_F(PlaybackScenario, AMissingUserAircraftEndsThePlaybackWithAMessage) {
    WriteBytes("flight.atr", MultiTrackFile({SmoothTrack(0, 0, 10000, 61, 0)}));
    StartWorld();
    Play({folder + "/flight.atr"});
    SimRunFrames(5);
    SimClearLog();
    SimSetUserAircraftMissing(true);
    SimRunFrames(1);
    std::vector<SimLogEntry> boxes = SimLogOf(LogMessageBox);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Aerotrace Module");
    EXPECT_EQ(boxes[0].text.rfind("An unexpected error occured! Please report this to ", 0), 0u);
    EXPECT_EQ(boxes[0].a & 0xF0, 0x10u);
    EXPECT_EQ(boxes[0].owner, SimMainWindow());
    EXPECT_EQ(SimLogOf(LogModalBegin).size(), 1u);
    EXPECT_EQ(SimLogOf(LogModalEnd).size(), 1u);
    EXPECT_EQ(SimTrafficLevel(), 50u);
    SimSetUserAircraftMissing(false);
    SimRunFrames(5);
    EXPECT_EQ(SimLogOf(LogMessageBox).size(), 1u);
}

// ---------------------------------------------------------------- input

TEST_F(PlaybackScenario, SwallowsTheUsersInputOfThePlayedGroupsOnly) {
    WriteBytes("flight.atr", MultiTrackFile({SmoothTrack(0x3, 0, 10000, 61, 0)}));
    StartWorld();
    const uint32_t throttle = 65765, elevator = 65694, spoilers = 65786, propeller = 65767, other = 65600;
    Play({folder + "/flight.atr"});
    SimRunFrames(2);
    EXPECT_TRUE(SimDispatchInput(8, throttle, nullptr));
    EXPECT_TRUE(SimDispatchInput(8, elevator, nullptr));
    EXPECT_FALSE(SimDispatchInput(8, spoilers, nullptr));
    EXPECT_FALSE(SimDispatchInput(8, propeller, nullptr));
    EXPECT_FALSE(SimDispatchInput(8, other, nullptr));
    EXPECT_FALSE(SimDispatchInput(9, throttle, nullptr));
    std::vector<uint32_t> reached;
    for (const SimLogEntry& entry : SimLogOf(LogHostInput)) reached.push_back(static_cast<uint32_t>(entry.b));
    EXPECT_EQ(reached, (std::vector<uint32_t>{spoilers, propeller, other, throttle}));
    StopHere();
    EXPECT_FALSE(SimDispatchInput(8, throttle, nullptr));
}

TEST_F(PlaybackScenario, TrafficPlaybackLeavesTheUsersControlsToTheUser) {
    WriteBytes("flight.atr", MultiTrackFile({SmoothTrack(0x3, 0, 10000, 61, 0)}));
    StartWorld();
    Play({folder + "/flight.atr"}, true);
    SimRunFrames(2);
    EXPECT_FALSE(SimDispatchInput(8, 65765, nullptr));
}

// ---------------------------------------------------------------- AI aircraft

TEST_F(PlaybackScenario, AiAircraftLiveWhileThePlayTimeIsInTheirTrack) {
    TestTrack user = SmoothTrack(0, 0, 10000, 121, 0);      // 0 .. 120 s
    TestTrack ai = SmoothTrack(0x10, 600000, 10000, 41, 77);  // 60 .. 100 s
    ai.title = "Learjet 45";
    ai.referenceElevation = 100.0f;
    WriteBytes("flight.atr", MultiTrackFile({user, ai}));
    SimConfig config;
    config.createdAiReferenceElevation = 110.0f;
    StartWorld(config);
    Play({folder + "/flight.atr"});
    const int64_t correction = 13091060318LL;
    uint32_t created = 0;
    for (uint32_t k = 0; k <= 2001; ++k) {
        SimRunFrames(1);
        const uint32_t t = k * FrameUnits;
        std::vector<SimLogEntry> made = ThisFrame(LogAiCreated);
        std::vector<SimLogEntry> removed = ThisFrame(LogAiRemoved);
        if (t == 600000) {
            ASSERT_EQ(made.size(), 1u) << "t " << t;
            EXPECT_EQ(made[0].text, "Learjet 45");
            created = static_cast<uint32_t>(made[0].a);
        } else {
            ASSERT_TRUE(made.empty()) << "t " << t;
        }
        if (t > 600000 && t <= 1000000) ExpectPlacedAt(created, ai, t, correction);
        ASSERT_EQ(removed.size(), t == 1000000 + FrameUnits ? 1u : 0u) << "t " << t;
        if (HasFailure()) return;
    }
    EXPECT_FALSE(SimAircraftExists(created));
    // A jump back into the range brings it back, placed as a jump.
    EXPECT_FALSE(SimTapKey(SimKeyLeft));  // 15 s back
    SimRunFrames(1);
    std::vector<SimLogEntry> made = ThisFrame(LogAiCreated);
    ASSERT_EQ(made.size(), 1u);
    const uint32_t again = static_cast<uint32_t>(made[0].a);
    for (const SimLogEntry& placed : ThisFrame(LogPositionSet)) EXPECT_EQ(placed.c, 0u);
    EXPECT_EQ(ValuesSet(again, 111).size(), 1u);
    // The end takes it away with the playback.
    StopHere();
    EXPECT_FALSE(SimAircraftExists(again));
}

TEST_F(PlaybackScenario, MaxAIAcftBoundsTheAircraftPlayedAtOnce) {
    TestTrack user = SmoothTrack(0, 0, 10000, 61, 0);
    std::vector<TestTrack> tracks = {user};
    for (int i = 0; i < 4; ++i) tracks.push_back(SmoothTrack(0, 0, 10000, i < 2 ? 21 : 61, 10 * i));
    WriteBytes("flight.atr", MultiTrackFile(tracks));
    Settings("MaxAIAcft=2\r\n");
    StartWorld();
    Play({folder + "/flight.atr"});
    size_t most = 0;
    uint64_t secondPairFrame = 0;
    for (int k = 0; k < 1000; ++k) {
        SimRunFrames(1);
        most = std::max(most, SimAircraftIds().size() - 1);
        if (!secondPairFrame && SimLogOf(LogAiCreated).size() == 4) secondPairFrame = SimFrameNumber();
    }
    EXPECT_EQ(most, 2u);
    ASSERT_EQ(SimLogOf(LogAiCreated).size(), 4u);
    // The waiting tracks take over on the tick the first two leave.
    ASSERT_EQ(SimLogOf(LogAiRemoved).size(), 2u);
    EXPECT_EQ(SimLogOf(LogAiRemoved)[1].frame, secondPairFrame);
}

TEST_F(PlaybackScenario, AnAiAircraftThatCannotBeCreatedIsDroppedAndTheRestPlays) {
    std::vector<TestTrack> tracks = {SmoothTrack(0, 0, 10000, 61, 0), SmoothTrack(0, 0, 10000, 61, 5),
                                     SmoothTrack(0, 0, 10000, 61, 9)};
    WriteBytes("flight.atr", MultiTrackFile(tracks));
    StartWorld();
    SimSetAiCreationFails(true);
    Play({folder + "/flight.atr"});
    SimRunFrames(3);
    EXPECT_TRUE(SimLogOf(LogAiCreated).empty());
    SimSetAiCreationFails(false);
    SimRunFrames(3);
    EXPECT_TRUE(SimLogOf(LogAiCreated).empty());  // dropped for the rest of the playback
    ExpectPlacedAt(1, tracks[0], 5 * FrameUnits, 0);
}

TEST_F(PlaybackScenario, AsTrafficEveryTrackIsAnAiAircraft) {
    TestTrack first = SmoothTrack(0, 0, 10000, 31, 0);
    TestTrack second = SmoothTrack(0, 100000, 10000, 31, 3);  // 10 .. 40 s
    first.title = "Beech Baron 58";
    second.title = "Mooney Bravo";
    WriteBytes("flight.atr", MultiTrackFile({first, second}));
    StartWorld();
    SetStateU16(0x82C, 0x4242);
    Play({folder + "/flight.atr"}, true);
    SimRunFrames(1);
    ASSERT_EQ(SimLogOf(LogAiCreated).size(), 1u);
    EXPECT_EQ(SimLogOf(LogAiCreated)[0].text, "Beech Baron 58");
    EXPECT_EQ(StateU16(0x82C), 0x4242);  // the user flies: the host word is the user's
    EXPECT_EQ(SimTrafficLevel(), 0u);
    for (const SimLogEntry& placed : SimLogOf(LogPositionSet)) EXPECT_NE(placed.a, 1u);
    SimRunSeconds(10.0);
    ASSERT_EQ(SimLogOf(LogAiCreated).size(), 2u);
    SimRunSeconds(31.0);  // past both: the traffic playback ended
    EXPECT_EQ(SimAircraftIds(), std::vector<uint32_t>{1});
    EXPECT_EQ(SimTrafficLevel(), 50u);
    EXPECT_EQ(SimPauseRequest(), 0u);  // the user was flying: no pause
}

TEST_F(PlaybackScenario, ShutDownEndsThePlaybackButLeavesTheAircraftToTheSimulator) {
    WriteBytes("flight.atr", MultiTrackFile({SmoothTrack(0, 0, 10000, 61, 0), SmoothTrack(0, 0, 10000, 61, 4)}));
    StartWorld();
    Play({folder + "/flight.atr"});
    SimRunFrames(5);
    ASSERT_EQ(SimAircraftIds().size(), 2u);
    SimUnloadModule();
    EXPECT_TRUE(SimLogOf(LogAiRemoved).empty());
    EXPECT_EQ(SimTrafficLevel(), 50u);
}

}  // namespace
