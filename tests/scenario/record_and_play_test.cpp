// Recording the stand-in's scripted flight and playing it back: every frame
// of the playback places the aircraft where the recorded samples say, and a
// recording made beside traffic being played shares its time line and ends,
// or outlives it, in either order without disturbing the other.
#include <algorithm>
#include <cstring>
#include <filesystem>
#include <map>

#include "recording_bytes.h"
#include "scenario_support.h"

namespace {

const uint32_t FrameUnits = 500;

class RecordAndPlay : public Scenario {
protected:
    // Recordings are saved without dialogs, under Recordings\.
    void Settings(const std::string& extra = "", const std::string& record = "RecAI=1\r\n") {
        std::error_code error;
        std::filesystem::remove_all("Recordings", error);  // left by an earlier run in this folder
        WriteBytes("Modules/Aerotrace.ini", "[SETTINGS]\r\nNoRecDlg=1\r\nPause=0\r\n" + extra +
                                                "[RECORD]\r\nDfltItvlIdx=1\r\n" + record);
    }

    static std::vector<std::string> Recordings() {
        std::vector<std::string> paths;
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator("Recordings", error))
            paths.push_back("Recordings/" + entry.path().filename().string());
        std::sort(paths.begin(), paths.end());
        return paths;
    }

    // Records seconds of the scripted flight and returns the file's tracks.
    std::string Record(double seconds) {
        const std::vector<std::string> before = Recordings();
        EXPECT_FALSE(SimChooseMenuCommand(SimCmdRecord));  // "Record..."
        SimRunSeconds(seconds);
        EXPECT_FALSE(SimChooseMenuCommand(SimCmdRecord));  // "Stop recording..."
        for (const std::string& path : Recordings())
            if (std::find(before.begin(), before.end(), path) == before.end()) return path;
        ADD_FAILURE() << "no recording saved";
        return std::string();
    }

    static std::vector<TestTrack> TracksOf(const std::string& path) {
        std::vector<TestTrack> tracks;
        EXPECT_TRUE(ParseMultiTrackFile(ReadBytes(path), &tracks)) << path;
        return tracks;
    }

    void Play(const std::string& path, bool asTraffic = false) {
        SimQueueFileDialogAnswer({path});
        EXPECT_FALSE(SimChooseMenuCommand(asTraffic ? SimCmdPlayTraffic : SimCmdPlay));
    }

    static bool PlacedAt(uint32_t id, const TestTrack& track, uint32_t t, int64_t correction) {
        uint8_t expected[36];
        SimAircraftState state;
        return ExpectedPlacement(track, t, correction, expected) && SimGetAircraftState(id, &state) &&
               std::memcmp(state.placement, expected, 36) == 0;
    }

    static std::string LastStatus() {
        std::vector<SimLogEntry> lines = SimLogOf(LogStatusLine);
        if (lines.empty() || lines.back().frame != SimFrameNumber()) return std::string();
        return lines.back().text;
    }

    // Traffic aircraft: those the module created.
    static size_t TrafficAircraft() {
        size_t count = 0;
        for (uint32_t id : SimAircraftIds()) count += id >= 1000 ? 1 : 0;  // the stand-in numbers them from 1000
        return count;
    }
};

TEST_F(RecordAndPlay, PlaybackFollowsTheRecordedSamplesAtEveryFrame) {
    Settings();
    Start(SimStandardConfig(2));
    const std::string path = Record(120.0);
    const std::vector<TestTrack> tracks = TracksOf(path);
    ASSERT_EQ(tracks.size(), 3u);
    EXPECT_EQ(tracks[0].title, "Cessna Skyhawk 172SP");
    ASSERT_GT(tracks[0].samples.size(), 400u);  // four a second for two minutes
    ASSERT_EQ(tracks[0].samples.front().time, 0u);

    Play(path);
    std::map<std::string, uint32_t> aiIds;
    std::map<std::string, const TestTrack*> aiTracks;
    for (size_t i = 1; i < tracks.size(); ++i) aiTracks[tracks[i].title] = &tracks[i];
    for (uint32_t t = 0; t < tracks[0].samples.back().time; t += FrameUnits) {
        SimRunFrames(1);
        for (const SimLogEntry& made : SimLogOf(LogAiCreated))
            if (made.frame == SimFrameNumber()) aiIds[made.text] = static_cast<uint32_t>(made.a);
        ASSERT_TRUE(PlacedAt(1, tracks[0], t, 0)) << "user aircraft at t " << t;
        for (const auto& ai : aiIds) {
            const TestTrack& track = *aiTracks[ai.first];
            if (t < track.samples.front().time || t > track.samples.back().time) continue;
            // Recorded where the stand-in's AI aircraft stand 20 ft above the
            // reference, created where it is 0 ft.
            const int64_t correction = static_cast<int64_t>((0.0 - double(track.referenceElevation)) * 4294967296.0 * 0.3048);
            ASSERT_TRUE(PlacedAt(ai.second, track, t, correction)) << ai.first << " at t " << t;
        }
    }
    EXPECT_EQ(aiIds.size(), 2u);
    SimRunFrames(1);
    EXPECT_EQ(TrafficAircraft(), 0u);
    EXPECT_EQ(LastStatus(), "");
}

TEST_F(RecordAndPlay, ARecordingBesideTrafficSharesItsTimeLineAndEndsFirst) {
    Settings("", "RecAI=1\r\n");
    Start(SimStandardConfig(1));
    const std::string traffic = Record(60.0);
    ASSERT_EQ(TracksOf(traffic).size(), 2u);

    Play(traffic, true);
    SimRunSeconds(10.0);
    EXPECT_EQ(LastStatus(), "TRAFFIC PLAYBACK [9 / 59 seconds]");
    EXPECT_EQ(TrafficAircraft(), 2u);
    const std::string beside = Record(20.0);
    EXPECT_EQ(LastStatus(), "RECORDING + TRAFFIC PLAYBACK [29 / 59 seconds]");  // the frame before the stop
    SimRunFrames(1);
    EXPECT_EQ(LastStatus(), "TRAFFIC PLAYBACK [30 / 59 seconds]");
    EXPECT_EQ(TrafficAircraft(), 2u);

    // The user aircraft and the stand-in's own AI aircraft were recorded; the
    // traffic played meanwhile was not.
    const std::vector<TestTrack> tracks = TracksOf(beside);
    ASSERT_EQ(tracks.size(), 2u);
    EXPECT_EQ(tracks[0].title, "Cessna Skyhawk 172SP");
    // Its time line is the traffic's: it starts at ten seconds (the first
    // sample is taken before the frame's playback moves the time on).
    EXPECT_GE(tracks[0].samples.front().time, 100000u - FrameUnits);
    EXPECT_LE(tracks[0].samples.front().time, 100000u);
    EXPECT_GE(tracks[0].samples.back().time, 290000u);

    SimRunSeconds(30.0);  // past the traffic's end
    EXPECT_EQ(TrafficAircraft(), 0u);
    EXPECT_EQ(LastStatus(), "");
    EXPECT_TRUE(SimLogOf(LogMessageBox).empty());
}

TEST_F(RecordAndPlay, TrafficThatEndsFirstLeavesTheRecordingRunning) {
    Settings("", "RecAI=0\r\n");
    Start(SimStandardConfig(1));
    const std::string traffic = Record(30.0);
    Play(traffic, true);
    SimRunSeconds(5.0);
    EXPECT_FALSE(SimChooseMenuCommand(SimCmdRecord));  // "Record..."
    SimRunSeconds(10.0);
    EXPECT_EQ(LastStatus().rfind("RECORDING + TRAFFIC PLAYBACK [", 0), 0u) << LastStatus();
    SimRunSeconds(20.0);  // the traffic ended at 29.9 s
    EXPECT_EQ(TrafficAircraft(), 0u);
    EXPECT_EQ(LastStatus().rfind("RECORDING [", 0), 0u) << LastStatus();
    EXPECT_EQ(SimTrafficLevel(), 50u);  // given back when the traffic ended
    const std::vector<std::string> before = Recordings();
    EXPECT_FALSE(SimChooseMenuCommand(SimCmdRecord));  // "Stop recording..."
    std::string beside;
    for (const std::string& path : Recordings())
        if (std::find(before.begin(), before.end(), path) == before.end()) beside = path;
    const std::vector<TestTrack> tracks = TracksOf(beside);
    ASSERT_EQ(tracks.size(), 1u);
    // From 5 s on the traffic's time line, on past its end without a gap.
    EXPECT_LE(tracks[0].samples.front().time, 50000u + FrameUnits);
    EXPECT_GE(tracks[0].samples.back().time, 340000u);
    for (size_t i = 1; i < tracks[0].samples.size(); ++i)
        ASSERT_LE(tracks[0].samples[i].time - tracks[0].samples[i - 1].time, 2500u + FrameUnits) << i;
}

// Windows of the traffic stay counted while a recording runs beside it, so
// that MaxAIAcft still bounds the traffic.
TEST_F(RecordAndPlay, MaxAIAcftStillHoldsForTrafficWhileRecording) {
    TestTrack first = SmoothTrack(0, 0, 10000, 61, 0);
    TestTrack shortAi = SmoothTrack(0, 0, 10000, 21, 1);   // 0 .. 20 s
    TestTrack waiting = SmoothTrack(0, 0, 10000, 61, 2);  // 0 .. 60 s, waits for a window
    shortAi.title = "Short";
    waiting.title = "Waiting";
    WriteBytes("traffic.atr", MultiTrackFile({first, shortAi, waiting}));
    Settings("MaxAIAcft=2\r\n", "RecAI=0\r\n");
    Start();
    Play(folder + "/traffic.atr", true);
    SimRunSeconds(5.0);
    EXPECT_FALSE(SimChooseMenuCommand(SimCmdRecord));  // "Record..."
    size_t most = 0;
    uint64_t waitingCreated = 0;
    for (int frame = 0; frame < 20 * 20; ++frame) {
        SimRunFrames(1);
        most = std::max(most, TrafficAircraft());
        for (const SimLogEntry& made : SimLogOf(LogAiCreated))
            if (made.text == "Waiting" && !waitingCreated) waitingCreated = made.frame;
    }
    EXPECT_EQ(most, 2u);
    ASSERT_NE(waitingCreated, 0u);
    // It took the short track's window when that one's time was over.
    ASSERT_EQ(SimLogOf(LogAiRemoved).size(), 1u);
    EXPECT_EQ(SimLogOf(LogAiRemoved)[0].frame, waitingCreated);
    EXPECT_FALSE(SimChooseMenuCommand(SimCmdRecord));  // "Stop recording..."
    SimRunSeconds(1.0);
    EXPECT_EQ(TrafficAircraft(), 2u);
}

TEST_F(RecordAndPlay, WithoutATempFileTheTrafficEndsToo) {
    WriteBytes("traffic.atr", MultiTrackFile({SmoothTrack(0, 0, 10000, 61, 0), SmoothTrack(0, 0, 10000, 61, 1)}));
    Settings();
    Start();
    std::filesystem::create_directory("Modules/Aerotrace1.tmp");  // cannot be created as a file
    Play(folder + "/traffic.atr", true);
    SimRunSeconds(2.0);
    ASSERT_EQ(TrafficAircraft(), 2u);
    EXPECT_EQ(SimTrafficLevel(), 0u);
    EXPECT_FALSE(SimChooseMenuCommand(SimCmdRecord));  // "Record..."
    std::vector<SimLogEntry> boxes = SimLogOf(LogMessageBox);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text.rfind("Temp file could not be opened!", 0), 0u);
    EXPECT_EQ(TrafficAircraft(), 0u);
    EXPECT_EQ(SimTrafficLevel(), 50u);
    SimRunSeconds(1.0);
    EXPECT_EQ(LastStatus(), "");
    // Nothing is left that would keep a new playback from starting cleanly.
    Play(folder + "/traffic.atr", true);
    SimRunSeconds(1.0);
    EXPECT_EQ(TrafficAircraft(), 2u);
}

TEST_F(RecordAndPlay, ShutDownDuringTrafficSavesTheRecordingBesideIt) {
    WriteBytes("traffic.atr", MultiTrackFile({SmoothTrack(0, 0, 10000, 61, 0)}));
    Settings("", "RecAI=0\r\n");
    Start();
    Play(folder + "/traffic.atr", true);
    SimRunSeconds(2.0);
    EXPECT_FALSE(SimChooseMenuCommand(SimCmdRecord));  // "Record..."
    SimRunSeconds(10.0);
    ASSERT_TRUE(Recordings().empty());
    SimUnloadModule();
    ASSERT_EQ(Recordings().size(), 1u);
    const std::vector<TestTrack> tracks = TracksOf(Recordings()[0]);
    ASSERT_EQ(tracks.size(), 1u);
    EXPECT_GE(tracks[0].samples.back().time, 110000u);
    EXPECT_TRUE(SimLogOf(LogAiRemoved).empty());  // the simulator is closing: its aircraft go with it
}

}  // namespace
