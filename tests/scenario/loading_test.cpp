// Loading recordings for playback on the stand-in simulator: the three
// readable versions, several files chosen at once, the traffic modes, and
// files that are missing, of another version, truncated or damaged, which
// are refused with their message and leave nothing behind.
#include <algorithm>
#include <cstring>

#include "playback_scenario.h"

namespace {

class Loading : public PlaybackWorld {
protected:

    static std::vector<std::string> CreatedTitles() {
        std::vector<std::string> titles;
        for (const SimLogEntry& entry : SimLogOf(LogAiCreated)) titles.push_back(entry.text);
        return titles;
    }

    static bool UserPlaced() {
        for (const SimLogEntry& entry : SimLogOf(LogPositionSet))
            if (entry.a == 1) return true;
        return false;
    }

    static void ExpectPlacedAt(const TestTrack& track, uint32_t t, int64_t correction) {
        uint8_t expected[36];
        ASSERT_TRUE(ExpectedPlacement(track, t, correction, expected)) << "t " << t;
        SimAircraftState state;
        ASSERT_TRUE(SimGetAircraftState(1, &state));
        EXPECT_EQ(std::memcmp(state.placement, expected, 36), 0) << "t " << t;
    }

    static void ExpectRefusedAsInvalid(const std::string& what) {
        std::vector<SimLogEntry> boxes = SimLogOf(LogMessageBox);
        ASSERT_EQ(boxes.size(), 1u) << what;
        EXPECT_EQ(boxes[0].caption, "Invalid file") << what;
        EXPECT_EQ(boxes[0].text, "The selected file is damaged or incompatible with this version of Aerotrace!") << what;
        EXPECT_EQ(boxes[0].a & 0xF0, 0x10u) << what;
        EXPECT_EQ(boxes[0].owner, SimMainWindow()) << what;
    }
};

TestTrack Named(TestTrack track, const std::string& title) {
    track.title = title;
    return track;
}

// ---------------------------------------------------------------- versions

TEST_F(Loading, OldestVersionPlaysWithTheFirstSevenGroupsNoCorrectionAndTimeFromZero) {
    TestTrack track = SmoothTrack(127, 20000, 10000, 11, 0);  // samples from 2 s to 12 s
    track.referenceElevation = 100.0f;
    // The header's flags field means nothing in these files.
    WriteBytes("old.atr", SingleTrackFile(0x01000004, track, 0xFFFFFFFF, 0x11111111));
    SimConfig config;
    config.userReferenceElevation = 150.0f;
    Settings("Pause=0\r\n");
    StartWorld(config);
    Play({folder + "/old.atr"});
    SimRunFrames(40);  // 0 .. 1.95 s: before the first sample, nothing to play
    EXPECT_FALSE(UserPlaced());
    SimRunFrames(2);
    ExpectPlacedAt(track, 20500, 0);
    bool throttles = false;
    for (const SimLogEntry& entry : SimLogOf(LogValueSet)) throttles = throttles || entry.b == 271;
    EXPECT_TRUE(throttles);
    SimRunSeconds(10.0);  // the last sample's time ends it, whatever the header said
    EXPECT_TRUE(SimLogOf(LogMessageBox).empty());
    const size_t placed = SimLogOf(LogPositionSet).size();
    SimRunFrames(3);
    EXPECT_EQ(SimLogOf(LogPositionSet).size(), placed);
}

TEST_F(Loading, SingleTrackVersionWithFlagsPlaysItsFlagsAndItsHeightCorrection) {
    TestTrack track = SmoothTrack(0x3, 0, 10000, 11, 0);
    track.referenceElevation = 100.0f;
    WriteBytes("v5.atr", SingleTrackFile(0x01000005, track, 0x3, 0x22222222));
    SimConfig config;
    config.userReferenceElevation = 110.0f;
    StartWorld(config);
    Play({folder + "/v5.atr"});
    SimRunFrames(5);
    ExpectPlacedAt(track, 4 * FrameUnits, 13091060318LL);
    bool lights = false;
    for (const SimLogEntry& entry : SimLogOf(LogValueSet)) lights = lights || entry.b == 6;
    EXPECT_FALSE(lights);  // not among this file's groups
}

TEST_F(Loading, RefusesVersionsItDoesNotKnow) {
    Settings("Pause=0\r\n");
    StartWorld();
    for (uint32_t version : {0x01000003u, 0x01000007u, 0x06000001u, 0u}) {
        WriteBytes("other.atr", MultiTrackFile({SmoothTrack(0, 0, 10000, 11, 0)}, 0, version));
        SimClearLog();
        Play({folder + "/other.atr"});
        ExpectRefusedAsInvalid("version " + std::to_string(version));
        EXPECT_EQ(SimLogOf(LogModalBegin).size(), 2u);  // the dialog and the message
        EXPECT_EQ(SimLogOf(LogModalEnd).size(), 2u);
        // The playback starts empty and ends at its first frame.
        SimRunFrames(3);
        EXPECT_FALSE(UserPlaced());
    }
}

TEST_F(Loading, TellsWhenTheFileCannotBeOpenedAndLoadsTheOthers) {
    const TestTrack user = SmoothTrack(0, 0, 10000, 11, 0);
    WriteBytes("good.atr", MultiTrackFile({user}));
    WriteBytes("locked.atr", MultiTrackFile({user}));
    StartWorld();
    SimHoldFileLocked("locked.atr");
    Play({folder, "locked.atr", "good.atr"});
    std::vector<SimLogEntry> boxes = SimLogOf(LogMessageBox);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Aerotrace");
    EXPECT_EQ(boxes[0].text, "The selected file could not be opened!");
    EXPECT_EQ(boxes[0].a & 0xF0, 0x10u);
    SimRunFrames(3);
    ExpectPlacedAt(user, 2 * FrameUnits, 0);  // the good file took slot 0: it drives the user
}

TEST_F(Loading, ARecordingWithoutTracksLoadsNothing) {
    WriteBytes("empty.atr", MultiTrackFile({}));
    ASSERT_EQ(MultiTrackFile({}).size(), 18u);
    Settings("Pause=0\r\n");
    StartWorld();
    Play({folder + "/empty.atr"});
    SimRunFrames(3);
    EXPECT_TRUE(SimLogOf(LogMessageBox).empty());
    EXPECT_FALSE(UserPlaced());
}

// ---------------------------------------------------------------- several tracks and files

TEST_F(Loading, TwoFilesAtOnceOnlyTheFirstTrackOfTheFirstDrivesTheUser) {
    const TestTrack user = SmoothTrack(0, 0, 10000, 31, 0);
    WriteBytes("a.atr", MultiTrackFile({Named(user, "User A"), Named(SmoothTrack(0, 0, 10000, 31, 1), "AI A")}));
    WriteBytes("b.atr", MultiTrackFile({Named(SmoothTrack(0, 0, 10000, 31, 2), "First B"),
                                        Named(SmoothTrack(0, 0, 10000, 31, 3), "AI B")}));
    StartWorld();
    Play({folder, "a.atr", "b.atr"});
    SimRunFrames(2);
    EXPECT_EQ(CreatedTitles(), (std::vector<std::string>{"AI A", "First B", "AI B"}));
    ExpectPlacedAt(user, FrameUnits, 0);
}

TEST_F(Loading, ThreeTracksAsTrafficAreThreeAiAircraft) {
    WriteBytes("three.atr", MultiTrackFile({Named(SmoothTrack(0, 0, 10000, 31, 0), "One"),
                                            Named(SmoothTrack(0, 0, 10000, 31, 1), "Two"),
                                            Named(SmoothTrack(0, 0, 10000, 31, 2), "Three")}));
    StartWorld();
    Play({folder + "/three.atr"}, true);
    SimRunFrames(2);
    EXPECT_EQ(CreatedTitles(), (std::vector<std::string>{"One", "Two", "Three"}));
    EXPECT_FALSE(UserPlaced());
}

TEST_F(Loading, PlayAIModeOneAndTwoLoadOnlyTheFirstTrackOfEachFile) {
    for (int mode : {1, 2}) {
        SCOPED_TRACE(mode);
        WriteBytes("a.atr", MultiTrackFile({Named(SmoothTrack(0, 0, 10000, 31, 0), "User A"),
                                            Named(SmoothTrack(0, 0, 10000, 31, 1), "AI A")}));
        WriteBytes("b.atr", MultiTrackFile({Named(SmoothTrack(0, 0, 10000, 31, 2), "First B"),
                                            Named(SmoothTrack(0, 0, 10000, 31, 3), "AI B")}));
        Settings("PlayAIMode=" + std::to_string(mode) + "\r\nPause=0\r\n");
        StartWorld();
        Play({folder, "a.atr", "b.atr"});
        SimRunFrames(2);
        EXPECT_EQ(CreatedTitles(), std::vector<std::string>{"First B"});
        // Normal traffic stays in mode 1; mode 2 clears it for the playback.
        EXPECT_EQ(SimTrafficLevel(), mode == 1 ? 50u : 0u);
        StopHere();
        EXPECT_EQ(SimTrafficLevel(), 50u);
        if (mode == 1) {
            EXPECT_TRUE(SimLogOf(LogTrafficSet).empty());
        }
        SimUnloadModule();
    }
}

// ---------------------------------------------------------------- damaged files

// Every length of a three-track file short of the whole is refused with the
// message and plays nothing; the whole file plays. Under Windows each load
// goes through the real file dialog, which takes its time: there every
// 37th length is tried, a cut in each part of the file, and the loader's
// rules are the same code that the native run tries at every length.
TEST_F(Loading, EveryTruncationOfAThreeTrackFileIsRefusedCleanly) {
    const std::string whole = MultiTrackFile({SmoothTrack(0x7, 0, 10000, 4, 0), SmoothTrack(0, 0, 10000, 3, 1),
                                              SmoothTrack(0x800, 0, 10000, 3, 2)});
#ifdef _WIN32
    const size_t stride = 37;
#else
    const size_t stride = 1;
#endif
    Settings("Pause=0\r\n");
    StartWorld();
    for (size_t length = 0; length <= whole.size(); length = length == whole.size() ? length + 1
                                                            : std::min(length + stride, whole.size())) {
        WriteBytes("cut.atr", whole.substr(0, length));
        SimClearLog();
        Play({folder + "/cut.atr"});
        SimRunFrames(2);
        if (length < whole.size()) {
            ExpectRefusedAsInvalid("length " + std::to_string(length));
            EXPECT_FALSE(UserPlaced()) << length;
            EXPECT_TRUE(SimLogOf(LogAiCreated).empty()) << length;
        } else {
            EXPECT_TRUE(SimLogOf(LogMessageBox).empty());
            EXPECT_TRUE(UserPlaced());
            EXPECT_EQ(SimLogOf(LogAiCreated).size(), 2u);
            StopHere();
        }
        if (HasFailure()) return;
    }
}

TEST_F(Loading, RefusesTracksThatDoNotAgreeWithTheFile) {
    Settings("Pause=0\r\n");
    StartWorld();
    TestTrack bigCount = SmoothTrack(0, 0, 10000, 5, 0);
    bigCount.countOverride = 6;
    TestTrack hugeCount = SmoothTrack(0, 0, 10000, 5, 0);
    hugeCount.countOverride = 0xFFFFFFFE;
    TestTrack noSamples = SmoothTrack(0x3, 0, 10000, 0, 0);
    std::vector<std::pair<std::string, std::string>> files = {
        {"count beyond the file", MultiTrackFile({SmoothTrack(0, 0, 10000, 5, 0), bigCount})},
        {"count of four billion", MultiTrackFile({hugeCount})},
        {"single track of no samples", SingleTrackFile(0x01000005, noSamples, 0x3, 0)},
        {"single track count beyond the file", [] {
             TestTrack t = SmoothTrack(0x3, 0, 10000, 5, 0);
             t.countOverride = 9;
             return SingleTrackFile(0x01000005, t, 0x3, 0);
         }()},
    };
    for (const auto& file : files) {
        WriteBytes("bad.atr", file.second);
        SimClearLog();
        Play({folder + "/bad.atr"});
        SimRunFrames(2);
        ExpectRefusedAsInvalid(file.first);
        EXPECT_FALSE(UserPlaced()) << file.first;
        EXPECT_TRUE(SimLogOf(LogAiCreated).empty()) << file.first;
        SimTapKeyWith(SimKeyShift, SimKeyEscape);  // ends a playback that should not have started
    }
}

TEST_F(Loading, ManyFilesWithLongNamesFitTheSelection) {
    const std::string longName(120, 'r');
    std::vector<std::string> answer = {folder};
    for (int i = 0; i < 40; ++i) {
        std::string name = longName + std::to_string(i) + ".atr";
        WriteBytes(name, MultiTrackFile({Named(SmoothTrack(0, 0, 10000, 31, i), "Track " + std::to_string(i))}));
        answer.push_back(name);
    }
    StartWorld();
    Play(answer, true);
    SimRunFrames(2);
    EXPECT_EQ(SimLogOf(LogAiCreated).size(), 40u);
    EXPECT_EQ(SimLogOf(LogAiCreated)[39].text, "Track 39");
}

}  // namespace
