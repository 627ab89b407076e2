// What the track buffer costs per frame: appending a sample (to the replay
// ring and to a recording's file track), interpolating at a steadily moving
// play time, and a jump to a random time in a long file-backed track.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "engine/tracks/track.h"
#include "scratch_folder.h"

namespace {

const uint32_t SampleStep = 5000;  // half a second between samples
const uint32_t FrameStep = 166;    // a sixtieth of a second
const uint32_t LongTrackSamples = 100000;

std::string workDirectory;

std::string WorkPath(const char* name) { return workDirectory + "/" + name; }

FullSample BenchSample(uint32_t i) {
    FullSample s{};
    s.position = {1000000LL * i, -2000000LL * i, 4000LL * i};
    s.pitch = 1000u * i;
    s.bank = 0u - 700u * i;
    s.heading = 0x10000u * i;
    s.motion[0] = 1.0 * i;
    s.motion[1] = -0.5 * i;
    s.motion[2] = 0.25 * i;
    s.onGround = i < 100;
    for (int k = 0; k < 4; ++k) {
        s.throttles[k] = static_cast<int16_t>(i & 0x3FFF);
        s.propLevers[k] = static_cast<int16_t>(-(i & 0x3FFF));
        s.mixtureLevers[k] = 16383;
        s.engines[k] = 1;
    }
    s.spoilers = static_cast<uint16_t>(i);
    s.time = SampleStep * i;
    return s;
}

// The long recording the reading benchmarks share, written once.
bool LongTrackFile() {
    static int made = -1;
    if (made >= 0) return made;
    made = 0;
    PlatformFile* file = FileOpen(WorkPath("long.tmp").c_str(), "w+b");
    if (!file) return false;
    Track track{};
    bool ok = TrackInit(&track, TrackWindowSamples, file, 0, FlagAllGroups, "Bench", 1, 500, 1);
    for (uint32_t i = 0; ok && i < LongTrackSamples; ++i) ok = AppendSample(&track, BenchSample(i));
    ok = ok && FlushTrack(&track);
    ReleaseWindow(&track);
    ok = FileClose(file) && ok;
    made = ok ? 1 : 0;
    return ok;
}

PlatformFile* OpenLongTrack(Track* track) {
    if (!LongTrackFile()) return nullptr;
    PlatformFile* file = FileOpen(WorkPath("long.tmp").c_str(), "rb");
    if (file && !TrackInit(track, TrackWindowSamples, file, 1, 0, nullptr, 1, 0, 1)) {
        FileClose(file);
        return nullptr;
    }
    return file;
}

void BM_AppendToReplayRing(benchmark::State& state) {
    Track track{};
    if (!TrackInit(&track, 3600, nullptr, 0, FlagAllGroups, "Bench", 1, 500, 1)) {
        state.SkipWithError("no ring");
        return;
    }
    uint32_t i = 0;
    FullSample sample = BenchSample(0);
    for (auto _ : state) {
        sample.time = SampleStep * i++;
        sample.position.latitude += 1000;
        benchmark::DoNotOptimize(AppendSample(&track, sample));
    }
    ReleaseWindow(&track);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_AppendToReplayRing);

// Amortised over the window writes: one 31,680-byte write every 240 samples.
void BM_AppendToRecordingFile(benchmark::State& state) {
    const std::string path = WorkPath("recording.tmp");
    PlatformFile* file = nullptr;
    Track track{};
    auto start = [&]() {
        if (file) {
            ReleaseWindow(&track);
            FileClose(file);
        }
        file = FileOpen(path.c_str(), "w+b");
        return file && TrackInit(&track, TrackWindowSamples, file, 0, FlagAllGroups, "Bench", 1, 500, 1);
    };
    if (!start()) {
        state.SkipWithError("no file track");
        return;
    }
    uint32_t i = 0;
    FullSample sample = BenchSample(0);
    for (auto _ : state) {
        if (track.count == TrackWindowSamples * 400) {  // keep the file small
            state.PauseTiming();
            bool restarted = start();
            state.ResumeTiming();
            if (!restarted) {
                state.SkipWithError("restart failed");
                break;
            }
        }
        sample.time = SampleStep * i++;
        sample.position.latitude += 1000;
        if (!AppendSample(&track, sample)) {
            state.SkipWithError("append failed");
            break;
        }
    }
    ReleaseWindow(&track);
    if (file) FileClose(file);
    FileDelete(path.c_str());
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_AppendToRecordingFile);

// Playback at normal speed: the play time moves a frame at a time, so most
// calls stay on their pair and a window is read every 240 samples.
void BM_InterpolateSteadilyFromFile(benchmark::State& state) {
    Track track{};
    PlatformFile* file = OpenLongTrack(&track);
    if (!file) {
        state.SkipWithError("no long track");
        return;
    }
    uint32_t t = track.firstTime;
    FullSample out{};
    for (auto _ : state) {
        if (!InterpolateAt(&track, t, &out)) {
            state.SkipWithError("interpolation failed");
            break;
        }
        benchmark::DoNotOptimize(out);
        t += FrameStep;
        if (t > track.lastTime) t = track.firstTime;
    }
    ReleaseWindow(&track);
    FileClose(file);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_InterpolateSteadilyFromFile);

// The replay buffer plays straight from memory.
void BM_InterpolateSteadilyFromRing(benchmark::State& state) {
    Track track{};
    if (!TrackInit(&track, 3600, nullptr, 0, FlagAllGroups, "Bench", 1, 500, 1)) {
        state.SkipWithError("no ring");
        return;
    }
    for (uint32_t i = 0; i < 5000; ++i) AppendSample(&track, BenchSample(i));
    uint32_t shift = 0;
    RotateRing(&track, &shift);
    track.readMode = 1;
    track.cursor = 0;
    track.windowIndex = 0;
    uint32_t t = 0;
    FullSample out{};
    for (auto _ : state) {
        if (!InterpolateAt(&track, t, &out)) {
            state.SkipWithError("interpolation failed");
            break;
        }
        benchmark::DoNotOptimize(out);
        t += FrameStep;
        if (t > track.lastTime) {
            t = 0;
            track.cursor = 0;  // as a replay starting over does
            track.windowIndex = 0;
        }
    }
    ReleaseWindow(&track);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_InterpolateSteadilyFromRing);

// A jump to anywhere in a 100,000-sample recording: one window read.
void BM_RandomSeekInLongFile(benchmark::State& state) {
    Track track{};
    PlatformFile* file = OpenLongTrack(&track);
    if (!file) {
        state.SkipWithError("no long track");
        return;
    }
    std::mt19937 random(1);
    std::vector<uint32_t> times(4096);
    for (uint32_t& t : times) t = track.firstTime + random() % (track.lastTime - track.firstTime);
    size_t next = 0;
    FullSample out{};
    for (auto _ : state) {
        if (!InterpolateAt(&track, times[next], &out)) {
            state.SkipWithError("interpolation failed");
            break;
        }
        benchmark::DoNotOptimize(out);
        next = (next + 1) % times.size();
    }
    ReleaseWindow(&track);
    FileClose(file);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_RandomSeekInLongFile)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    workDirectory = MakeScratchFolder("track");
    if (workDirectory.empty()) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    FileDelete(WorkPath("long.tmp").c_str());
    rmdir(workDirectory.c_str());
    return 0;
}
