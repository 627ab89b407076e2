// What capture costs per frame with the user aircraft and 50 AI aircraft
// recorded, on the stand-in simulator: a frame between samples and a frame
// that samples every aircraft (its share of the window writes included).
// The stand-in's own part, the host calls those frames make, is measured
// apart by making the same calls without the module; module time is the
// difference.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/host/clock.h"
#include "core/host/host.h"
#include "core/host/module_state.h"
#include "engine/capture/capture.h"
#include "engine/capture/recorded_tracks.h"
#include "engine/record/recording_start_stop.h"
#include "engine/session/session.h"
#include "engine/tracks/track_table.h"
#include "scratch_folder.h"
#include "sim.h"

namespace {

const int AiCount = 50;
const uint32_t FrameStep = 500;  // 1/20 s

// A recording of the user and every AI aircraft, all found already.
void StartFullRecording() {
    if (FILE* ini = std::fopen("Modules/Aerotrace.ini", "w")) {
        std::fputs("[SETTINGS]\nNoRecDlg=1\nRecFlags=127\n[RECORD]\nDfltItvlIdx=1\nRecAI=1\nAIItvlFactor=1\n", ini);
        std::fclose(ini);
    }
    SimReset(SimStandardConfig(AiCount));
    SimLoadModule();
    SimRunSeconds(1.0);
    StartRecordingWithDefaults();
    SimRunFrames(1);  // the first tick finds every AI aircraft
}

// Throws the recording away with its temporary files.
void StopFullRecording() {
    ReleaseRecordedTracks(0);
    module.mode = Idle;
    SimUnloadModule();
}

void BM_CaptureTickBetweenSamples(benchmark::State& state) {
    StartFullRecording();
    if (trackTable.count != AiCount + 1) state.SkipWithError("not every aircraft is recorded");
    for (auto _ : state) {
        moduleClock.frameTime += FrameStep;
        capture.lastSampleTime = moduleClock.trackTime;  // the interval never runs out
        CaptureTick();
    }
    StopFullRecording();
}
BENCHMARK(BM_CaptureTickBetweenSamples);

// The host calls of a frame between samples, without the module.
void BM_HostCallsBetweenSamples(benchmark::State& state) {
    StartFullRecording();
    for (auto _ : state) {
        AircraftObject* user = HostUserAircraft();
        benchmark::DoNotOptimize(AircraftGetValue(user, 70, 136, 0));
        benchmark::DoNotOptimize(AircraftGetValue(user, 264, 136, 1));
        benchmark::DoNotOptimize(HostSimulationRate());
    }
    StopFullRecording();
}
BENCHMARK(BM_HostCallsBetweenSamples);

// Every aircraft sampled: 51 samples a frame, each track writing its window
// to its file every 240 frames. A fixed count keeps the files small.
void BM_CaptureTickSamplingEveryAircraft(benchmark::State& state) {
    StartFullRecording();
    if (trackTable.count != AiCount + 1) state.SkipWithError("not every aircraft is recorded");
    for (auto _ : state) {
        moduleClock.frameTime += 2500;  // a quarter of a second: due
        CaptureTick();
    }
    state.counters["aircraft"] = AiCount + 1;
    StopFullRecording();
}
BENCHMARK(BM_CaptureTickSamplingEveryAircraft)->Iterations(4800);

// The host calls of that frame without the module: the user's two values,
// the walk over the aircraft list, and for each aircraft the lookups, both
// blocks and the values of the default groups (127).
void BM_HostCallsSamplingEveryAircraft(benchmark::State& state) {
    StartFullRecording();
    std::vector<uint32_t> ids = SimAircraftIds();
    const uint32_t values[][3] = {{70, 136, 0},  {271, 53, 1}, {271, 53, 2}, {271, 53, 3},  {271, 53, 4},
                                  {80, 58, 0},   {76, 58, 0},  {79, 58, 0},  {90, 58, 0},   {95, 50, 0},
                                  {110, 58, 0},  {6, 138, 0},  {87, 136, 0}, {264, 136, 1}, {264, 136, 2},
                                  {264, 136, 3}, {264, 136, 4}};
    uint8_t placement[36];
    double motion[3];
    for (auto _ : state) {
        AircraftObject* user = HostUserAircraft();
        benchmark::DoNotOptimize(AircraftGetValue(user, 70, 136, 0));
        benchmark::DoNotOptimize(AircraftGetValue(user, 264, 136, 1));
        benchmark::DoNotOptimize(HostSimulationRate());
        for (uint32_t id = HostNextAircraft(1); id != 1; id = HostNextAircraft(id)) benchmark::DoNotOptimize(id);
        for (uint32_t id : ids) {
            benchmark::DoNotOptimize(HostAircraftById(id));
            AircraftObject* aircraft = HostAircraftById(id);
            AircraftGetBlock(aircraft, BlockPlacement, placement);
            AircraftGetBlock(aircraft, BlockMotion, motion);
            for (const auto& v : values) benchmark::DoNotOptimize(AircraftGetValue(aircraft, v[0], v[1], v[2]));
        }
        benchmark::ClobberMemory();
    }
    state.counters["aircraft"] = static_cast<double>(ids.size());
    StopFullRecording();
}
BENCHMARK(BM_HostCallsSamplingEveryAircraft)->Iterations(4800);

}  // namespace

int main(int argc, char** argv) { return RunBenchmarksInScratchFolder(argc, argv, "capture"); }
