// What saving a recording costs: one hour of the user aircraft at 1/4 s
// and 20 AI aircraft at every fourth sample, written from their temporary
// files into one recording file, next to copying the resulting file's bytes
// with cp in the same run (both from and to the page cache).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/host/module_state.h"
#include "engine/capture/recorded_tracks.h"
#include "engine/record/recording_writer.h"
#include "engine/session/session.h"
#include "engine/tracks/track_table.h"
#include "scratch_folder.h"
#include "sim.h"

namespace {

const int AiCount = 20;
const uint32_t UserSamples = 3600 * 4;  // one hour at 1/4 s
const uint32_t Flags = 127;             // the default groups

FullSample Sample(uint32_t i, uint32_t time) {
    FullSample s{};
    s.position = {1000000LL * i, -2000000LL * i, 4000LL * i};
    s.heading = 0x10000u * i;
    s.motion[0] = 1.0 * i;
    for (int k = 0; k < 4; ++k) s.throttles[k] = static_cast<int16_t>(i & 0x3FFF);
    s.time = time;
    return s;
}

// The tracks of a recording that just ended, in their temporary files.
bool RecordAnHour(const std::vector<uint32_t>& ids) {
    module.mode = Recording;
    for (uint32_t id : ids)
        if (CreateRecordedTrack(id, Flags, 250) < 0) return false;
    for (uint32_t i = 0; i < UserSamples; ++i)
        for (uint16_t t = 0; t < trackTable.count; ++t) {
            Track* track = &trackTable.tracks[t];
            if ((track->aircraftId == 1 || i % 4 == 0) && !AppendSample(track, Sample(i, 2500 * i))) return false;
        }
    return true;
}

double Seconds(std::chrono::steady_clock::time_point from, std::chrono::steady_clock::time_point to) {
    return std::chrono::duration<double>(to - from).count();
}

void BM_WriteOneHourRecording(benchmark::State& state) {
    SimReset(SimStandardConfig(AiCount));
    SimLoadModule();
    std::vector<uint32_t> ids = SimAircraftIds();
    double written = 0, copied = 0;
    long bytes = 0;
    for (auto _ : state) {
        if (!RecordAnHour(ids)) {
            state.SkipWithError("could not record");
            break;
        }
        RecordingWriteFailure failure;
        auto start = std::chrono::steady_clock::now();
        int ok = WriteRecording("hour.atr", 0, &failure);
        auto end = std::chrono::steady_clock::now();
        state.SetIterationTime(Seconds(start, end));
        written += Seconds(start, end);
        module.mode = Idle;
        if (!ok) {
            state.SkipWithError("could not write");
            break;
        }
        start = std::chrono::steady_clock::now();
        int copiedOk = std::system("cp hour.atr hour-copy.atr") == 0;
        end = std::chrono::steady_clock::now();
        copied += Seconds(start, end);
        if (!copiedOk) state.SkipWithError("cp failed");
        FILE* file = std::fopen("hour.atr", "rb");
        if (file) {
            std::fseek(file, 0, SEEK_END);
            bytes = std::ftell(file);
            std::fclose(file);
        }
    }
    state.counters["MB"] = static_cast<double>(bytes) / 1e6;
    state.counters["cp_ms"] = copied * 1000.0 / static_cast<double>(state.iterations());
    state.counters["write_over_cp"] = written / copied;
    SimUnloadModule();
}
BENCHMARK(BM_WriteOneHourRecording)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace

int main(int argc, char** argv) { return RunBenchmarksInScratchFolder(argc, argv, "writer"); }
