// What the replay buffer costs: a capture frame that samples the user
// aircraft into a full ring of 72,000 samples, and saving that ring (its
// rotation into time order included) next to writing the same bytes with one
// fwrite in the same run, both into the page cache.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <vector>

#include "config/settings.h"
#include "core/host/clock.h"
#include "core/host/module_state.h"
#include "engine/capture/capture.h"
#include "engine/replay/replay_buffer.h"
#include "engine/tracks/track_table.h"
#include "sim.h"

namespace {

const uint32_t AllGroups = 0xFFF;  // every group: 132-byte samples
const uint32_t RingSamples = 72000;

// A buffer of the largest size with every group, already full.
bool StartFullBuffer() {
    SimEnterDirectory(".");  // makes the Modules folder the settings live in
    if (FILE* ini = std::fopen("Modules/Aerotrace.ini", "w")) {
        std::fprintf(ini, "[SETTINGS]\nRplyItvl=125\nBufferSize=%u\nRecFlags=%u\n", RingSamples, AllGroups);
        std::fclose(ini);
    }
    SimReset(SimConfig());
    SimLoadModule();
    SimFireEvent(38, 0, 1);
    if (module.mode != ReplayBuffer || trackTable.tracks[0].layout.recordSize != 132) return false;
    for (uint32_t i = 0; i <= RingSamples; ++i) {
        moduleClock.frameTime += 1250;
        CaptureTick();
    }
    return trackTable.tracks[0].count == RingSamples;
}

void BM_CaptureTickIntoFullRing(benchmark::State& state) {
    if (!StartFullBuffer()) state.SkipWithError("no full ring");
    for (auto _ : state) {
        moduleClock.frameTime += 1250;  // every frame samples
        CaptureTick();
    }
    SimUnloadModule();
}
BENCHMARK(BM_CaptureTickIntoFullRing);

double Seconds(std::chrono::steady_clock::time_point from, std::chrono::steady_clock::time_point to) {
    return std::chrono::duration<double>(to - from).count();
}

// Each round moves the ring's newest sample to the middle of the window,
// so that every save has half the ring to rotate.
void BM_SaveFullRing(benchmark::State& state) {
    if (!StartFullBuffer()) state.SkipWithError("no full ring");
    Track& ring = trackTable.tracks[0];
    const size_t bytes = static_cast<size_t>(RingSamples) * ring.layout.recordSize;
    std::vector<uint8_t> plain(bytes, 0x5A);
    double saving = 0, writing = 0;
    for (auto _ : state) {
        state.PauseTiming();
        for (uint32_t i = 0; i < RingSamples / 2; ++i) {
            moduleClock.frameTime += 1250;
            CaptureTick();
        }
        state.ResumeTiming();
        auto start = std::chrono::steady_clock::now();
        if (WriteReplayFile("ring.atr") != ReplaySaved) state.SkipWithError("the ring was not saved");
        auto saved = std::chrono::steady_clock::now();
        FILE* out = std::fopen("plain.bin", "wb");
        if (!out || std::fwrite(plain.data(), 1, bytes, out) != bytes || std::fclose(out) != 0)
            state.SkipWithError("fwrite failed");
        auto written = std::chrono::steady_clock::now();
        saving += Seconds(start, saved);
        writing += Seconds(saved, written);
    }
    state.counters["MB"] = bytes / 1e6;
    state.counters["save/fwrite"] = writing > 0 ? saving / writing : 0;
    std::remove("ring.atr");
    std::remove("plain.bin");
    SimUnloadModule();
}
BENCHMARK(BM_SaveFullRing)->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace

BENCHMARK_MAIN();
