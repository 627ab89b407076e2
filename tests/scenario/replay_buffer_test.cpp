// The replay buffer as the user meets it: what a flight leaves in it (seen
// through the saved replay), the replay of its last seconds and the return to
// background recording, the simulator put back after a replay, a saved replay
// played back, a full ring in time order, and flight loads with and without
// clearing.
#include <cstring>

#include "dialog_scenario.h"

namespace {

class ReplayBufferScenario : public RecordingScenario {
protected:
    // Loads the module with these SETTINGS lines; the buffer starts with the
    // first flight load.
    void StartWith(const std::string& settingsLines, double step = 0.05) {
        WriteSettings("[SETTINGS]\n" + settingsLines);
        SimConfig config;
        config.stepSeconds = step;
        stepSeconds = step;
        ticksPerFrame = static_cast<uint32_t>(step * 10000.0 + 0.5);
        Start(config);
        startDate = HostDateNow();
        SimFireEvent(38, 0, 1);
        firstFrame = worldAt.size();
    }
    // "Replay..." in the module menu, answered with these steps.
    static void ReplayDialog(const std::vector<SimDialogStep>& steps) {
        SimQueueDialogAnswer("Replay", steps);
        Choose(CmdReplay);
    }
    // The replay dialog's "Save replay", then Cancel.
    ParsedRecording Save(const std::string& path) {
        SimQueueFileDialogAnswer({path});
        ReplayDialog({SimClick(REPLAY_SAVE), SimClick(DIALOG_CANCEL)});
        ParsedRecording saved = ParseRecording(ReadWholeFile(path));
        EXPECT_TRUE(saved.valid) << saved.problem;
        return saved;
    }
    // Replays the last seconds through the replay dialog.
    static void ReplayLast(int seconds) {
        ReplayDialog({SimType(REPLAY_SECONDS, std::to_string(seconds)), SimClick(DIALOG_OK)});
    }
    // The replay dialog shown since the log was cleared.
    static void* ReplayDialogWindow() {
        std::vector<SimDialogShown> shown = SimDialogsShown();
        return shown.empty() ? nullptr : shown.back().window;
    }
};

uint32_t Span(const ParsedRecording& recording) {
    return recording.tracks.empty() ? 0 : recording.tracks[0].lastTime - recording.tracks[0].firstTime;
}

TEST_F(ReplayBufferScenario, TenMinutesFillAThirdOfTheDefaultBufferAndFortyKeepTheLastThirty) {
    StartWith("", 0.25);
    Fly(600.0);
    ParsedRecording ten = Save("ten.atr");
    ASSERT_EQ(ten.tracks.size(), 1u);
    EXPECT_NEAR(static_cast<double>(ten.tracks[0].samples.size()), 1200.0, 2.0);
    EXPECT_NEAR(Span(ten) / 10000.0, 600.0, 1.0);
    EXPECT_EQ(ten.tracks[0].interval, 500u);
    EXPECT_EQ(ten.tracks[0].title, "Cessna Skyhawk 172SP");
    EXPECT_EQ(ten.dateStamp, ExpectedDateStamp(startDate));

    Fly(1800.0);
    ParsedRecording forty = Save("forty.atr");
    ASSERT_EQ(forty.tracks.size(), 1u);
    ASSERT_EQ(forty.tracks[0].samples.size(), 3600u);
    EXPECT_NEAR(Span(forty) / 10000.0, 1800.0, 1.0);
    // The newest sample is what the aircraft did at the end of the flight.
    const ParsedSample& newest = forty.tracks[0].samples.back();
    SimAircraftState now;
    SimGetAircraftState(1, &now);
    EXPECT_EQ(std::memcmp(newest.placement, now.placement, 36), 0);
    for (size_t i = 1; i < forty.tracks[0].samples.size(); ++i)
        ASSERT_EQ(forty.tracks[0].samples[i].time - forty.tracks[0].samples[i - 1].time, 5000u) << i;
}

TEST_F(ReplayBufferScenario, AReplayOfTwentySecondsEndsAtTheEndAndTheBufferRecordsOnWithoutAGap) {
    StartWith("Pause=1\nSetSimRate=1\n");
    Fly(120.0);
    SimSetSimulationRate(512);
    SimClearLog();
    ReplayLast(20);
    EXPECT_EQ(SimSimulationRate(), 256);  // normal speed, and the rate follows it
    Fly(0.05);
    std::vector<std::string> lines = StatusTexts();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front(), "REPLAY [20 seconds]");
    EXPECT_EQ(SimLogOf(LogTrafficSet).size(), 1u);  // the simulator's traffic is taken away
    EXPECT_EQ(SimTrafficLevel(), 0u);
    Fly(10.0);
    EXPECT_EQ(StatusTexts().back(), "REPLAY [10 seconds]");
    Fly(11.0);
    const size_t replayLines = StatusTexts().size();
    // Back to the buffer: the simulator as it was, paused as the settings ask.
    EXPECT_EQ(SimPauseRequest(), 1u);
    EXPECT_EQ(SimTrafficLevel(), 50u);
    EXPECT_EQ(SimSimulationRate(), 256);
    SimSetPaused(false);
    Fly(30.0);
    EXPECT_EQ(StatusTexts().size(), replayLines);  // the buffer shows no status line

    const ParsedRecording saved = Save("after.atr");
    ASSERT_EQ(saved.tracks.size(), 1u);
    const std::vector<ParsedSample>& samples = saved.tracks[0].samples;
    // 120 s before the replay and 30 s after it, one time line, no gap.
    EXPECT_NEAR(Span(saved) / 10000.0, 150.0, 1.5);
    for (size_t i = 1; i < samples.size(); ++i) {
        ASSERT_GT(samples[i].time, samples[i - 1].time) << i;
        ASSERT_LE(samples[i].time - samples[i - 1].time, 5500u) << i;
    }
}

TEST_F(ReplayBufferScenario, ASavedReplayPlaysBackOnTheUserAircraftSampleForSample) {
    StartWith("RplyItvl=250\n");
    Fly(60.0);
    SimClearLog();
    const ParsedRecording saved = Save("replay.atr");
    ASSERT_EQ(saved.tracks.size(), 1u);
    EXPECT_EQ(saved.trackCount, 1u);
    // Its own dialog, owned by the replay dialog, which is modal already.
    std::vector<SimLogEntry> dialogs = SimLogOf(LogFileDialog);
    ASSERT_EQ(dialogs.size(), 1u);
    ASSERT_NE(ReplayDialogWindow(), nullptr);
    EXPECT_EQ(dialogs[0].owner, ReplayDialogWindow());
    EXPECT_EQ(SimLogOf(LogModalBegin).size(), 1u);  // the replay dialog's own
    const std::vector<ParsedSample>& samples = saved.tracks[0].samples;
    ASSERT_GT(samples.size(), 200u);

    SimQueueFileDialogAnswer({"replay.atr"});
    EXPECT_FALSE(SimChooseMenuCommand(SimCmdPlay));
    // Every frame lands on a sample time (frames of 500, samples of 2500):
    // each sample but the last, which ends the playback, is put in place.
    size_t next = 0;
    for (int frame = 0; frame < 1300 && next + 1 < samples.size(); ++frame) {
        SimRunFrames(1);
        SimAircraftState state;
        ASSERT_TRUE(SimGetAircraftState(1, &state));
        if (std::memcmp(state.placement, samples[next].placement, 36) == 0) ++next;
    }
    EXPECT_EQ(next + 1, samples.size());
}

TEST_F(ReplayBufferScenario, AFullRingIsSavedAndReplayedInTimeOrder) {
    StartWith("RplyItvl=125\nBufferSize=120\n");
    Fly(40.0);  // 320 samples through 120 slots
    const ParsedRecording saved = Save("ring.atr");
    ASSERT_EQ(saved.tracks.size(), 1u);
    const std::vector<ParsedSample>& samples = saved.tracks[0].samples;
    ASSERT_EQ(samples.size(), 120u);
    EXPECT_EQ(samples.front().time, 0u);
    EXPECT_EQ(saved.startTime, 0u);
    EXPECT_EQ(saved.endTime, samples.back().time);
    // Each sample is what the script flew at its time: the newest at one of
    // the last frames (samples come every third frame), the others as many
    // frames before it as their time stamps say.
    const uint32_t flags = saved.tracks[0].flags;
    size_t lastFrame = worldAt.size() - 1;
    while (lastFrame + 3 > worldAt.size() &&
           SampleDifference(samples.back(), ScriptedSample(worldAt[lastFrame], nullptr, dates[lastFrame]), flags) != "")
        --lastFrame;
    for (size_t i = 0; i < samples.size(); ++i) {
        const size_t framesBack = (samples.back().time - samples[i].time) / ticksPerFrame;
        ASSERT_LE(framesBack, lastFrame);
        const size_t frame = lastFrame - framesBack;
        const std::string difference =
            SampleDifference(samples[i], ScriptedSample(worldAt[frame], nullptr, dates[frame]), flags);
        ASSERT_EQ(difference, "") << "sample " << i;
    }

    SimClearLog();
    ReplayLast(10);
    Fly(5.0);
    const std::vector<std::string> lines = StatusTexts();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front(), "REPLAY [10 seconds]");
    EXPECT_EQ(lines.back(), "REPLAY [5 seconds]");
}

TEST_F(ReplayBufferScenario, AFlightLoadKeepsTheBufferOnlyWhenClearingIsOff) {
    StartWith("RplyClear=0\n");
    Fly(60.0);
    SimFireEvent(38, 0, 1);
    Fly(10.0);
    EXPECT_NEAR(Span(Save("kept.atr")) / 10000.0, 70.0, 1.0);

    SimUnloadModule();
    WriteSettings("[SETTINGS]\nRplyClear=1\n");
    SimReset(SimConfig());
    ASSERT_TRUE(SimLoadModule());
    SimFireEvent(38, 0, 1);
    Fly(60.0);
    SimFireEvent(38, 0, 1);
    Fly(10.0);
    EXPECT_NEAR(Span(Save("cleared.atr")) / 10000.0, 10.0, 1.0);
}

TEST_F(ReplayBufferScenario, AReplayThatCannotBeSavedIsReportedToTheReplayDialog) {
    StartWith("");
    Fly(10.0);
    SimClearLog();
    SimQueueFileDialogAnswer({"NoSuchFolder\\replay.atr"});
    ReplayDialog({SimClick(REPLAY_SAVE), SimClick(DIALOG_CANCEL)});
    std::vector<SimLogEntry> boxes = SimLogOf(LogMessageBox);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "The selected file could not be opened!");
    EXPECT_EQ(boxes[0].caption, "Aerotrace");
    EXPECT_EQ(boxes[0].a & 0xF0, 0x10u);
    EXPECT_EQ(boxes[0].owner, ReplayDialogWindow());
    EXPECT_EQ(SimLogOf(LogModalBegin).size(), 2u);  // the replay dialog's, and one around the message
    // The buffer records on and saves once the path is good.
    Fly(10.0);
    EXPECT_NEAR(Span(Save("replay.atr")) / 10000.0, 20.0, 1.0);
}

}  // namespace
