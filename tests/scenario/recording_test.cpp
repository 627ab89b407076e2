// A whole recording on the stand-in: ten minutes of the scripted flight
// with AI aircraft around it, saved without dialog, read back byte by byte
// and compared with what the stand-in flew at every sample's moment.
#include <algorithm>
#include <functional>
#include <map>

#include "recording_scenario.h"

using RecordingFile = RecordingScenario;

namespace {

const uint32_t AllGroups = 0xFFF;

// The samples of a track must be what the script flew at their frames.
void ExpectTrackFlown(const RecordingScenario& scenario, const ParsedTrack& track, const SimAiScript* ai,
                      const std::function<double(uint32_t)>& worldAt,
                      const std::function<FrameDate(uint32_t)>& dateAt) {
    int mismatches = 0;
    for (size_t i = 0; i < track.samples.size() && mismatches < 5; ++i) {
        const ParsedSample& got = track.samples[i];
        ParsedSample want = ScriptedSample(worldAt(got.time), ai, dateAt(got.time));
        std::string difference = SampleDifference(got, want, track.flags);
        if (!difference.empty()) {
            ++mismatches;
            ADD_FAILURE() << track.title << " sample " << i << " at " << got.time << ": " << difference;
        }
    }
    (void)scenario;
}

}  // namespace

TEST_F(RecordingFile, TenMinutesWithThreeAiAircraftAreSavedAsFlown) {
    SimConfig config = SimStandardConfig(3);  // the third leaves at 300 s
    config.userReferenceElevation = 433.5f;
    WriteSettings("[SETTINGS]\nNoRecDlg=1\nRecFlags=4095\n[RECORD]\nDfltItvlIdx=1\nRecAI=1\n");
    Start(config);
    SimFireEvent(38, 0, 1);
    Fly(20.0);
    StartRecording();
    Fly(600.0);
    StopRecording();

    EXPECT_TRUE(SimLogOf(LogMessageBox).empty());
    EXPECT_TRUE(TempFiles().empty());
    ParsedRecording recording = OnlyRecording();
    ASSERT_TRUE(recording.valid);
    EXPECT_EQ(recording.version, 0x01000006u);
    EXPECT_EQ(recording.dateStamp, ExpectedDateStamp(startDate));
    ASSERT_EQ(recording.trackCount, 4u);
    EXPECT_EQ(recording.startTime, 0u);
    uint32_t lastTime = 0;
    for (const ParsedTrack& track : recording.tracks) lastTime = std::max(lastTime, track.lastTime);
    EXPECT_EQ(recording.endTime, lastTime);

    auto worldAt = [this](uint32_t t) { return WorldAt(t); };
    auto dateAt = [this](uint32_t t) { return DateAt(t); };

    // The user aircraft comes first, every group, a sample every 1/4 s and
    // at once on lift-off and touchdown.
    const ParsedTrack& user = recording.tracks[0];
    EXPECT_EQ(user.title, config.userTitle);
    EXPECT_EQ(user.flags, AllGroups);
    EXPECT_EQ(user.interval, 250u);
    EXPECT_EQ(user.referenceElevation, 433.5f);
    ASSERT_GT(user.samples.size(), 2000u);
    EXPECT_EQ(user.count, user.samples.size());
    EXPECT_EQ(user.firstTime, 0u);
    EXPECT_EQ(user.samples.front().time, 0u);
    EXPECT_EQ(user.lastTime, user.samples.back().time);
    EXPECT_GE(user.lastTime, 599u * 10000u);
    int changes = 0;
    for (size_t i = 1; i < user.samples.size(); ++i) {
        const ParsedSample& a = user.samples[i - 1];
        const ParsedSample& b = user.samples[i];
        uint32_t gap = b.time - a.time;
        EXPECT_TRUE(gap == 2500 || (gap < 2500 && a.onGround != b.onGround)) << "gap " << gap << " at " << b.time;
        if (a.onGround != b.onGround) {
            // Taken on the very frame the aircraft lifted off or touched down.
            ++changes;
            EXPECT_EQ(SimScriptedValue(WorldAt(b.time - ticksPerFrame), 70, 136, 0), a.onGround) << "at " << b.time;
        }
    }
    EXPECT_EQ(changes, 2);  // lift-off and touchdown
    ExpectTrackFlown(*this, user, nullptr, worldAt, dateAt);

    // Each AI aircraft: groups 0x001..0x040 only, every fourth sampling tick
    // from the first; the one that left ends there.
    std::map<std::string, const SimAiScript*> scripts;
    for (const SimAiScript& ai : config.ai) scripts[ai.title] = &ai;
    for (size_t i = 1; i < recording.tracks.size(); ++i) {
        const ParsedTrack& track = recording.tracks[i];
        ASSERT_EQ(scripts.count(track.title), 1u) << track.title;
        const SimAiScript* ai = scripts[track.title];
        scripts.erase(track.title);
        EXPECT_EQ(track.flags, 0x7Fu);
        EXPECT_EQ(track.interval, 250u);
        EXPECT_EQ(track.referenceElevation, 10.0f * static_cast<float>(ai->id % 7));
        size_t expectedCount = 0;
        for (size_t j = 0; j < user.samples.size(); j += 4)
            if (ai->leaveSeconds < 0 || WorldAt(user.samples[j].time) < ai->leaveSeconds) ++expectedCount;
        ASSERT_EQ(track.samples.size(), expectedCount) << track.title;
        for (size_t j = 0; j < track.samples.size(); ++j)
            ASSERT_EQ(track.samples[j].time, user.samples[4 * j].time) << track.title << " sample " << j;
        EXPECT_EQ(track.firstTime, 0u);
        EXPECT_EQ(track.lastTime, track.samples.back().time);
        ExpectTrackFlown(*this, track, ai, worldAt, dateAt);
    }
    EXPECT_TRUE(scripts.empty());
}

TEST_F(RecordingFile, TracksOfAtMostOneSampleAreLeftOutAndTheirFilesDeleted) {
    WriteSettings("[SETTINGS]\nNoRecDlg=1\n[RECORD]\nRecAI=1\n");
    Start(SimStandardConfig(1));
    Fly(5.0);
    StartRecording();
    FlyFrames(1);  // one sample of each aircraft
    StopRecording();
    ParsedRecording recording = OnlyRecording();
    ASSERT_TRUE(recording.valid);
    EXPECT_EQ(recording.trackCount, 0u);
    EXPECT_EQ(recording.startTime, 0xFFFFFFFFu);
    EXPECT_EQ(recording.endTime, 0u);
    EXPECT_EQ(recording.dateStamp, ExpectedDateStamp(startDate));
    EXPECT_EQ(ReadWholeFile("Recordings/" + SavedRecordings()[0]).size(), 18u);
    EXPECT_TRUE(TempFiles().empty());
}

TEST_F(RecordingFile, AutomaticNameComesFromTheSimulatorsDate) {
    SimConfig config;
    config.year = 2004;
    config.dayOfYear = 60;
    config.hour = 14;
    config.minute = 5;
    config.second = 9;
    WriteSettings("[SETTINGS]\nNoRecDlg=1\n");
    Start(config);
    StartRecording();
    FlyFrames(10);  // half a second: the clock still shows 14:05:09
    StopRecording();
    EXPECT_EQ(SavedRecordings(), std::vector<std::string>{"Rec_2004-02-29_14-05-09.atr"});
}
