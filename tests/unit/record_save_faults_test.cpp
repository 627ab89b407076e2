// Every file operation between starting a recording and saving it, made to
// fail in turn: the start may be refused (and the user told), a window may
// wait in memory, a save may fail (and the user told, the partial file
// removed, the recording still running); but a recording that ends up
// saved always holds the whole flight, and a failure never looks like
// success.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/host/module_state.h"
#include "engine/play/playback_start_end.h"
#include "engine/record/recording_start_stop.h"
#include "engine/tracks/track_table.h"
#include "platform/platform.h"
#include "recording_file.h"
#include "recording_fixture.h"
#include "sim.h"

namespace {

struct Outcome {
    bool started = false;              // the recording got going
    bool firstStopSaved = false;       // the user's first stop saved it
    bool partialFileLeft = false;      // something was left at the path after a failed save
    uint64_t operations = 0;           // file operations from the start to the first stop
    std::vector<SimLogEntry> boxes;    // everything the user was told
    ParsedRecording saved;             // the recording in the end
    size_t tempFilesLeft = 0;
};

class RecordSaveFaults : public testing::Test {
protected:
    void SetUp() override { home = SimCurrentDirectory(); }
    void TearDown() override {
        FaultInjectionArm(0);
        if (SimModuleLoaded()) SimUnloadModule();
        SimChangeDirectory(home);
    }

    // A recording of the user and two AI aircraft, one of which leaves on
    // the way, saved without dialog; failAt: the file operation to fail,
    // counted from the start command (0: none).
    Outcome Record(uint64_t failAt) {
        std::string folder = testing::TempDir() + "aerotrace-faults-" + std::to_string(failAt);
        std::filesystem::remove_all(folder);
        SimChangeDirectory(home);
        SimEnterDirectory(folder);
        std::ofstream("Modules/Aerotrace.ini")
            << "[SETTINGS]\nNoRecDlg=1\n[RECORD]\nDfltItvlIdx=0\nRecAI=1\nAIItvlFactor=1\n";
        SimConfig config = SimStandardConfig(2);
        config.ai[1].leaveSeconds = 40.0;
        SimReset(config);
        EXPECT_TRUE(SimLoadModule());
        SimRunSeconds(5.0);

        Outcome run;
        FileOperationCountReset();
        FaultInjectionArm(failAt);
        StartRecordingWithDefaults();
        run.started = module.mode == Recording;
        SimRunSeconds(80.0);  // over two windows of the user aircraft
        StopRecording(0);
        run.operations = FileOperationCount();
        FaultInjectionArm(0);
        // Saved, the recording ends and the replay buffer takes over.
        run.firstStopSaved = run.started && module.mode == ReplayBuffer;
        if (run.started && !run.firstStopSaved) {
            run.partialFileLeft = std::filesystem::exists("Recordings") && !std::filesystem::is_empty("Recordings");
            StopRecording(0);  // the user tries again
            EXPECT_EQ(module.mode, ReplayBuffer) << "the retry must save";
        }
        run.boxes = SimLogOf(LogMessageBox);
        if (std::filesystem::exists("Recordings"))
            for (const auto& entry : std::filesystem::directory_iterator("Recordings")) {
                std::ifstream in(entry.path(), std::ios::binary);
                std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
                run.saved = ParseRecording(bytes);
            }
        for (const auto& entry : std::filesystem::directory_iterator("Modules"))
            if (entry.path().extension() == ".tmp") ++run.tempFilesLeft;
        SimUnloadModule();
        return run;
    }

    std::string home;
};

bool Told(const Outcome& run, const char* caption, uint32_t icon) {
    for (const SimLogEntry& box : run.boxes)
        if (box.caption == caption && (box.a & 0xF0) == icon) return true;
    return false;
}

bool SameSamples(const ParsedTrack& a, const ParsedTrack& b) {
    if (a.samples.size() != b.samples.size() || a.flags != b.flags) return false;
    for (size_t i = 0; i < a.samples.size(); ++i)
        if (std::memcmp(&a.samples[i], &b.samples[i], sizeof(ParsedSample)) != 0) return false;
    return true;
}

}  // namespace

TEST_F(RecordSaveFaults, NoSingleFailingFileOperationLosesTheFlightOrPassesForSuccess) {
    Outcome clean = Record(0);
    ASSERT_TRUE(clean.firstStopSaved);
    ASSERT_TRUE(clean.boxes.empty());
    ASSERT_TRUE(clean.saved.valid) << clean.saved.problem;
    ASSERT_EQ(clean.saved.tracks.size(), 3u);
    ASSERT_GT(clean.saved.tracks[0].samples.size(), 480u);
    ASSERT_GT(clean.operations, 20u);
    EXPECT_EQ(clean.tempFilesLeft, 0u);

    int refusedStarts = 0, failedSaves = 0, spills = 0;
    for (uint64_t n = 1; n <= clean.operations; ++n) {
        SCOPED_TRACE("file operation " + std::to_string(n) + " fails");
        Outcome run = Record(n);
        if (!run.started) {
            // Refused at the start, and said so; nothing half-made is left.
            ++refusedStarts;
            EXPECT_TRUE(Told(run, "Aerotrace Module", BoxIconError));
            EXPECT_FALSE(run.saved.valid);
            EXPECT_EQ(run.tempFilesLeft, 0u);
            continue;
        }
        if (!run.firstStopSaved) {
            ++failedSaves;
            EXPECT_TRUE(Told(run, "Aerotrace", BoxIconError)) << "a failed save must be reported";
            EXPECT_FALSE(run.partialFileLeft) << "the incomplete file must be removed";
        }
        if (Told(run, "Aerotrace", BoxIconWarning)) ++spills;
        ASSERT_TRUE(run.saved.valid) << run.saved.problem;
        // The user aircraft's flight is all there, sample for sample.
        ASSERT_FALSE(run.saved.tracks.empty());
        EXPECT_TRUE(SameSamples(run.saved.tracks[0], clean.saved.tracks[0]));
        EXPECT_EQ(run.saved.startTime, clean.saved.startTime);
        EXPECT_EQ(run.saved.endTime, clean.saved.endTime);
        // An AI aircraft whose file could not be made at first joins later;
        // otherwise it is whole too.
        ASSERT_EQ(run.saved.tracks.size(), 3u);
        for (size_t i = 1; i < 3; ++i) {
            const ParsedTrack& got = run.saved.tracks[i];
            const ParsedTrack* want = nullptr;
            for (const ParsedTrack& track : clean.saved.tracks)
                if (track.title == got.title) want = &track;
            ASSERT_TRUE(want && want != &clean.saved.tracks[0]) << got.title;
            EXPECT_LE(got.samples.size(), want->samples.size());
            EXPECT_EQ(got.lastTime, want->lastTime);
        }
        EXPECT_LE(run.tempFilesLeft, 1u);  // only a failed delete leaves one behind
    }
    // Each kind of outcome was met on the way.
    EXPECT_GT(refusedStarts, 0);
    EXPECT_GT(failedSaves, 0);
    EXPECT_GT(spills, 0);
}

// A start that fails at any one file operation of making its temporary file:
// the user is told once, the module is back to what runs when nothing is
// recorded (the replay buffer when it is on, else nothing), traffic that was
// playing has ended as any playback ends, and nothing of the attempt is left
// (no track, no temporary file, no AI aircraft); the next start works.
TEST_F(RecordSaveFaults, AStartThatCannotMakeItsTempFileLeavesNothingBehind) {
    for (int replay = 0; replay < 2; ++replay) {
        for (int traffic = 0; traffic < 2; ++traffic) {
            SCOPED_TRACE(std::string(replay ? "replay buffer on" : "replay buffer off") +
                         (traffic ? ", beside traffic" : ""));
            uint64_t operations = 0;
            int refused = 0;
            for (uint64_t n = 0; n == 0 || n <= operations; ++n) {
                SCOPED_TRACE("file operation " + std::to_string(n) + " fails");
                const std::string folder = testing::TempDir() + "aerotrace-start-faults";
                std::filesystem::remove_all(folder);
                SimChangeDirectory(home);
                SimEnterDirectory(folder);
                std::ofstream("Modules/Aerotrace.ini")
                    << "[SETTINGS]\nNoRecDlg=1\nRplyEnabled=" << replay << "\n[RECORD]\nRecAI=0\n";
                ASSERT_TRUE(WriteFixtureRecording("traffic.atr", {{"Learjet 45", 0x7F, 0.0, 60.0, 500, 300.0},
                                                                  {"Beech Baron 58", 0x7F, 0.0, 60.0, 500, 600.0}}));
                SimReset(SimConfig());
                ASSERT_TRUE(SimLoadModule());
                SimFireEvent(38, 0, 1);
                SimRunSeconds(2.0);
                if (traffic) {
                    SimQueueFileDialogAnswer({"traffic.atr"});
                    StartPlayback(1);
                    SimRunSeconds(2.0);
                    ASSERT_EQ(SimAircraftIds().size(), 3u);
                }
                SimClearLog();
                FileOperationCountReset();
                FaultInjectionArm(n);
                StartRecordingWithDefaults();
                FaultInjectionArm(0);
                const bool started = module.mode == Recording || module.mode == RecordingWithTraffic;
                if (n == 0) {
                    ASSERT_TRUE(started);
                    operations = FileOperationCount();
                } else if (!started) {
                    ++refused;
                    std::vector<SimLogEntry> boxes = SimLogOf(LogMessageBox);
                    ASSERT_EQ(boxes.size(), 1u);
                    EXPECT_EQ(boxes[0].text.rfind("Temp file could not be opened!", 0), 0u);
                    EXPECT_EQ(module.mode, replay ? ReplayBuffer : Idle);
                    ASSERT_EQ(trackTable.count, replay ? 1 : 0);
                    if (replay) {
                        EXPECT_EQ(trackTable.tracks[0].ring, 1u);
                    }
                    EXPECT_EQ(trackTable.loadedTrackCount, 0);
                    EXPECT_FALSE(std::filesystem::exists("Modules/Aerotrace1.tmp"));
                    EXPECT_EQ(SimAircraftIds(), std::vector<uint32_t>{1});
                    EXPECT_EQ(SimTrafficLevel(), 50u);  // put back by the end of the traffic
                    SimRunSeconds(1.0);
                    StartRecordingWithDefaults();
                    EXPECT_EQ(module.mode, Recording);
                }
                SimUnloadModule();
                if (HasFailure()) return;
            }
            EXPECT_GT(refused, 0);
        }
    }
}
