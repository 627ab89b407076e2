// What playing a recording costs: one playback frame with the user's track
// and 50 AI tracks (and, apart, what the same host calls cost the stand-in
// simulator, so that the module's own share shows), a jump to a random time
// in a ten-hour recording, and opening a 1 GB recording.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "config/settings.h"
#include "core/host/clock.h"
#include "core/host/host.h"
#include "core/module.h"
#include "engine/play/playback_frames.h"
#include "engine/play/playback_start_end.h"
#include "engine/play/recording_loader.h"
#include "engine/session/transport.h"
#include "engine/tracks/recording_format.h"
#include "engine/tracks/track_table.h"
#include "scratch_folder.h"
#include "sim.h"

namespace {

const uint32_t SampleStep = 2500;  // a quarter of a second between samples
const uint32_t FrameStep = 166;    // a sixtieth of a second
const uint32_t PlayedFlags = 127;  // what AI tracks record, and the default played groups

std::string workDirectory;

std::string WorkPath(const char* name) { return workDirectory + "/" + name; }

FullSample BenchSample(uint32_t i, uint32_t track) {
    FullSample s{};
    s.position = {5300000LL * 4294967296LL + 1000000LL * i + track, -2000000LL * i, (130LL + track) << 32};
    s.pitch = 1000u * i;
    s.bank = 0u - 700u * i;
    s.heading = 0x10000u * i;
    s.motion[0] = 1.0 * i;
    s.onGround = i < 100;
    for (int k = 0; k < 4; ++k) {
        s.throttles[k] = static_cast<int16_t>(i & 0x3FFF);
        s.engines[k] = 1;
    }
    s.flaps = static_cast<uint8_t>(i % 4);
    s.time = SampleStep * i;
    return s;
}

// A recording of `tracks` tracks of `samples` samples each, written through
// the same header encoders the module reads with.
bool WriteRecording(const std::string& path, uint32_t tracks, uint32_t samples) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    uint8_t head[FirstTrackOffset];
    PutU32(head, FileVersionCurrent);
    EncodeRecordingHeader({0, (samples - 1) * SampleStep, 0, static_cast<uint16_t>(tracks)}, head + FileVersionSize);
    bool ok = std::fwrite(head, 1, sizeof head, file) == sizeof head;
    const SampleLayout layout = ComputeLayout(PlayedFlags);
    std::vector<uint8_t> records(static_cast<size_t>(samples) * layout.recordSize);
    for (uint32_t t = 0; ok && t < tracks; ++t) {
        TrackHeader header{};
        header.count = samples;
        header.flags = PlayedFlags;
        header.lastTime = (samples - 1) * SampleStep;
        CopyTrackTitle(header.title, t == 0 ? "Bench user" : "Bench AI");
        header.interval = 250;
        uint8_t bytes[TrackHeaderSize];
        EncodeTrackHeader(header, bytes);
        for (uint32_t i = 0; i < samples; ++i)
            PackSample(layout, BenchSample(i, t), &records[static_cast<size_t>(i) * layout.recordSize]);
        ok = std::fwrite(bytes, 1, sizeof bytes, file) == sizeof bytes &&
             std::fwrite(records.data(), 1, records.size(), file) == records.size();
    }
    return std::fclose(file) == 0 && ok;
}

// The module on the stand-in, playing path onto the user aircraft.
bool StartPlaying(const std::string& path) {
    SimReset(SimConfig());
    if (!SimLoadModule()) return false;
    SimRunFrames(20);
    SimQueueFileDialogAnswer({path});
    StartPlayback(0);
    SimRunFrames(2);  // the first frames create the AI aircraft
    SimClearLog();
    return module.mode == Playback;
}

// ---------------------------------------------------------------- one frame

// A whole playback frame, the host calls into the stand-in included. The
// stand-in logs every call it receives; the log is emptied outside the timing.
void BM_PlaybackTickUserAnd50Ai(benchmark::State& state) {
    const std::string path = WorkPath("fifty.atr");
    if (!WriteRecording(path, 51, 2400) || !StartPlaying(path)) {
        state.SkipWithError("no playback");
        return;
    }
    uint64_t frames = 0;
    moduleClock.frameTime += FrameStep;
    PlaybackTick();
    state.counters["logged"] = static_cast<double>(SimLog().size());
    SimClearLog();
    for (auto _ : state) {
        moduleClock.frameTime += FrameStep;
        PlaybackTick();
        if (++frames % 512 == 0) {
            state.PauseTiming();
            SimClearLog();
            if (moduleClock.trackTime > 590 * 10000) moduleClock.trackTime = 0;  // round again
            state.ResumeTiming();
        }
    }
    state.counters["tracks"] = trackTable.count;
    EndPlayback(0);
    SimUnloadModule();
}
BENCHMARK(BM_PlaybackTickUserAnd50Ai)->Unit(benchmark::kMicrosecond);

// The host calls one such frame makes, issued straight into the stand-in:
// per track the aircraft lookup (twice, as the frame looks before it
// applies), the continuous-move word twice, the placement and motion, and
// the first seven groups (15 values; the user's flaps as a key event after
// reading its detents, and its toggle state read).
void IssueCallsOfATick(const std::vector<uint32_t>& ids) {
    static uint8_t position[24], orientation[12];
    static double motion[3];
    for (uint32_t id : ids) {
        HostAircraftById(id);
        AircraftObject* aircraft = HostAircraftById(id);
        HostSetContinuousMove(1);
        AircraftSetPosition(aircraft, position, orientation, 0);
        HostSetContinuousMove(0);
        AircraftSetBlock(aircraft, BlockMotion, motion);
        for (uint32_t k = 1; k <= 4; ++k) AircraftSetValue(aircraft, 271, 53, 1.0, k);
        for (uint32_t v : {80u, 76u, 79u, 90u}) AircraftSetValue(aircraft, v, 58, 1.0, 0);
        if (id == 1) {
            AircraftGetValue(aircraft, 93, 50, 0);
            HostSendKeyEvent(66534, 0);
        } else {
            AircraftSetValue(aircraft, 95, 50, 1.0, 0);
        }
        AircraftSetValue(aircraft, 110, 58, 1.0, 0);
        AircraftSetValue(aircraft, 6, 138, 1.0, 0);
        for (uint32_t k = 1; k <= 4; ++k) AircraftSetValue(aircraft, 264, 136, 1.0, k);
        if (id == 1) AircraftGetValue(aircraft, 87, 136, 0);
    }
}

void BM_StandInCallsOfThatTick(benchmark::State& state) {
    const std::string path = WorkPath("fifty.atr");
    if (!WriteRecording(path, 51, 2400) || !StartPlaying(path)) {
        state.SkipWithError("no playback");
        return;
    }
    std::vector<uint32_t> ids;
    for (uint16_t i = 0; i < trackTable.count; ++i) ids.push_back(trackTable.tracks[i].aircraftId);
    IssueCallsOfATick(ids);
    state.counters["logged"] = static_cast<double>(SimLog().size());
    SimClearLog();
    uint64_t frames = 0;
    for (auto _ : state) {
        IssueCallsOfATick(ids);
        if (++frames % 512 == 0) {
            state.PauseTiming();
            SimClearLog();
            state.ResumeTiming();
        }
    }
    state.counters["tracks"] = static_cast<double>(ids.size());
    EndPlayback(0);
    SimUnloadModule();
}
BENCHMARK(BM_StandInCallsOfThatTick)->Unit(benchmark::kMicrosecond);

// ---------------------------------------------------------------- module time

// A host that does nothing: its aircraft objects take every value and keep
// none, so that a frame measured against it is the module's own time.
namespace quiet {
void* objectTable[16];
struct Object {
    void* table;
} object = {objectTable};
void HOSTCALL GetValue(void*, uint32_t, uint32_t, double* out, uint32_t) { *out = 4.0; }
void HOSTCALL SetBlock(void*, uint32_t, const void*, uint32_t) {}
void HOSTCALL SetValue(void*, uint32_t, uint32_t, double, uint32_t) {}
void HOSTCALL SendEvent(void*, uint32_t, uint32_t, uint32_t) {}
void HOSTCALL SetPosition(void*, const void*, const void*, uint32_t, uint32_t) {}
void* HOSTCALL AircraftById(uint32_t) { return &object; }
void HOSTCALL SendKeyEvent(uint32_t, uint32_t) {}
void* aircraftInterface[0x100];
void* variablesInterface[0x100];

template <typename Fn>
void Put(void* table, ptrdiff_t offset, Fn function) {
    HostSlotAs<void*>(table, offset) = reinterpret_cast<void*>(function);
}

// Puts the quiet aircraft and variables interfaces in place of the stand-in's.
void Install() {
    Put(objectTable, 0x10, GetValue);
    Put(objectTable, 0x14, SetBlock);
    Put(objectTable, 0x18, SetValue);
    Put(objectTable, 0x1C, SendEvent);
    Put(objectTable, 0x20, SetPosition);
    Put(aircraftInterface, 0x74, AircraftById);
    Put(variablesInterface, 0x90, SendKeyEvent);
    for (int i = 0; i < HostInterfaceCount; ++i) {
        if (ImportTable[i].moduleId == InterfaceAircraft) ImportTable[i].interfacePointer = aircraftInterface;
        if (ImportTable[i].moduleId == InterfaceVariables) ImportTable[i].interfacePointer = variablesInterface;
    }
}
}  // namespace quiet

// The same frame against the quiet host: what the module itself spends on
// the clock, 51 interpolations, the group selection and the binding's calls.
void BM_PlaybackTickModuleOnly(benchmark::State& state) {
    const std::string path = WorkPath("fifty.atr");
    if (!WriteRecording(path, 51, 2400) || !StartPlaying(path)) {
        state.SkipWithError("no playback");
        return;
    }
    quiet::Install();
    for (auto _ : state) {
        moduleClock.frameTime += FrameStep;
        PlaybackTick();
        if (moduleClock.trackTime > 590 * 10000) moduleClock.trackTime = 0;  // round again
    }
    state.counters["tracks"] = trackTable.count;
    state.counters["ns_per_track"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * trackTable.count,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    SimUnloadModule();  // puts the stand-in's interfaces back on the next load
}
BENCHMARK(BM_PlaybackTickModuleOnly)->Unit(benchmark::kMicrosecond);

// ---------------------------------------------------------------- jumps

// Ten hours at a quarter of a second, the user and four AI aircraft: each
// iteration jumps every track to a random time (one window read each).
void BM_JumpInTenHourRecording(benchmark::State& state) {
    const uint32_t tracks = 5;
    const uint32_t samples = 10 * 3600 * 4;
    const std::string path = WorkPath("ten-hours.atr");
    if (!WriteRecording(path, tracks, samples) || !StartPlaying(path)) {
        state.SkipWithError("no playback");
        return;
    }
    for (uint16_t i = 0; i < trackTable.count; ++i) EnsureWindow(&trackTable.tracks[i]);
    std::mt19937 random(7);
    std::vector<uint32_t> times(4096);
    for (uint32_t& t : times) t = random() % ((samples - 1) * SampleStep);
    size_t next = 0;
    FullSample out{};
    for (auto _ : state) {
        const uint32_t t = times[next];
        next = (next + 1) % times.size();
        for (uint16_t i = 0; i < trackTable.count; ++i)
            if (!InterpolateAt(&trackTable.tracks[i], t, &out)) state.SkipWithError("interpolation failed");
        benchmark::DoNotOptimize(out);
    }
    state.SetItemsProcessed(state.iterations() * trackTable.count);
    EndPlayback(0);
    SimUnloadModule();
}
BENCHMARK(BM_JumpInTenHourRecording)->Unit(benchmark::kMicrosecond);

// ---------------------------------------------------------------- opening

// A 1 GB recording of three tracks of every group, made sparse: only the
// headers are written, the samples are holes that read as zeros.
bool WriteSparseGigabyte(const std::string& path) {
    const uint32_t recordSize = RecordSize(FlagAllGroups);
    const uint32_t samples = static_cast<uint32_t>((1ull << 30) / 3 / recordSize);
    int fd = open(path.c_str(), O_CREAT | O_TRUNC | O_WRONLY, 0644);
    if (fd < 0) return false;
    uint8_t head[FirstTrackOffset];
    PutU32(head, FileVersionCurrent);
    EncodeRecordingHeader({0, (samples - 1) * SampleStep, 0, 3}, head + FileVersionSize);
    bool ok = pwrite(fd, head, sizeof head, 0) == static_cast<ssize_t>(sizeof head);
    uint64_t offset = FirstTrackOffset;
    for (int t = 0; ok && t < 3; ++t) {
        TrackHeader header{};
        header.count = samples;
        header.flags = FlagAllGroups;
        header.lastTime = (samples - 1) * SampleStep;
        CopyTrackTitle(header.title, "Sparse");
        uint8_t bytes[TrackHeaderSize];
        EncodeTrackHeader(header, bytes);
        ok = pwrite(fd, bytes, sizeof bytes, static_cast<off_t>(offset)) == static_cast<ssize_t>(sizeof bytes);
        offset += TrackHeaderSize + static_cast<uint64_t>(samples) * recordSize;
    }
    ok = ok && ftruncate(fd, static_cast<off_t>(offset)) == 0;
    return close(fd) == 0 && ok;
}

// Loading for playback: the check of every section and the user's first
// window; nothing else of the samples is read.
void BM_OpenGigabyteRecording(benchmark::State& state) {
    const std::string path = WorkPath("gigabyte.atr");
    SimReset(SimConfig());
    if (!WriteSparseGigabyte(path) || !SimLoadModule()) {
        state.SkipWithError("no file");
        return;
    }
    for (auto _ : state) {
        moduleClock.startTime = 0xFFFFFFFF;
        moduleClock.endTime = 0;
        uint32_t dateStamp = 0;
        if (!LoadRecording(path.c_str(), 0, &dateStamp) || trackTable.count != 3) state.SkipWithError("not loaded");
        state.PauseTiming();
        while (trackTable.count) RemoveLoadedTrack(0);
        state.ResumeTiming();
    }
    SimUnloadModule();
    FileDelete(path.c_str());
}
BENCHMARK(BM_OpenGigabyteRecording)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    workDirectory = MakeScratchFolder("playback");
    if (workDirectory.empty()) return 1;
    SimEnterDirectory(workDirectory);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    for (const char* file : {"fifty.atr", "ten-hours.atr", "gigabyte.atr", "Modules/Aerotrace.ini"})
        std::remove(WorkPath(file).c_str());
    rmdir(WorkPath("Modules").c_str());
    rmdir(workDirectory.c_str());
    return 0;
}
