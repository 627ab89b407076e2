// What the recording tool costs: export throughput in megabytes of
// recording per second (CSV and KML, every sample group recorded), and
// validating a 1 GB recording, which must not read its samples.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "engine/recording_assemble.h"
#include "engine/track.h"
#include "export.h"
#include "recording_reader.h"

namespace {

std::string workDirectory;

std::string WorkPath(const char* name) { return workDirectory + "/" + name; }

// A flight of count samples, every group, a quarter second apart, written
// through a recording track and the recording writer.
const std::string& ExportRecordingPath() {
    static std::string path;
    if (!path.empty()) return path;
    path = WorkPath("export.atr");
    const std::string trackPath = WorkPath("export.track");
    PlatformFile* file = FileOpen(trackPath.c_str(), "w+b");
    Track track{};
    TrackInit(&track, TrackWindowSamples, file, 0, FlagAllGroups, "Boeing 737-800", 1, 250, 1);
    for (uint32_t i = 0; i < 100000; ++i) {
        FullSample s{};
        s.position = {5273000000000000LL + 1000000LL * i, -1460000000000000000LL + 3000000000LL * i, 4000LL * i};
        s.pitch = 1000u * i;
        s.bank = 0u - 700u * i;
        s.heading = 0x10000u * i;
        s.motion[0] = 70.0 + 0.001 * i;
        s.motion[1] = 2.5;
        s.motion[2] = -3.25;
        for (int k = 0; k < 4; ++k) s.throttles[k] = static_cast<int16_t>(i & 0x3FFF);
        s.nav1Frequency = 0x1130;
        s.com1Frequency = 0x2330;
        s.yearSince1900 = 104;
        s.dayOfYear = 160;
        s.time = 2500 * i;
        AppendSample(&track, s);
    }
    FlushTrack(&track);
    TrackSource source{file, track.dataOffset, track.flags, 0, track.count, 0, track.title, 0.0f, 250};
    WriteRecordingFile(path.c_str(), 0x1D2B3C4D, &source, 1, nullptr, nullptr);
    ReleaseWindow(&track);
    FileClose(file);
    FileDelete(trackPath.c_str());
    return path;
}

void ExportBenchmark(benchmark::State& state, const char* format) {
    const std::string& path = ExportRecordingPath();
    std::FILE* sink = std::fopen("/dev/null", "wb");
    int64_t bytes = 0;
    for (auto _ : state) {
        std::unique_ptr<RecordingFile> recording = OpenRecording(path);
        bytes += recording->length;
        ExportOptions options;
        options.format = format;
        ExportRecording(*recording, options, sink);
    }
    std::fclose(sink);
    state.SetBytesProcessed(bytes);
}

void BM_ExportCsv(benchmark::State& state) { ExportBenchmark(state, "csv"); }
void BM_ExportKml(benchmark::State& state) { ExportBenchmark(state, "kml"); }
BENCHMARK(BM_ExportCsv)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportKml)->Unit(benchmark::kMillisecond);

// A 1 GB recording of eight tracks. Only its headers are written: the rest
// of the file is a hole, so a validator that read the samples would show it
// in its time (and the file takes no disk space).
const std::string& LargeRecordingPath() {
    static std::string path;
    if (!path.empty()) return path;
    path = WorkPath("large.atr");
    const uint32_t tracks = 8;
    const uint32_t recordSize = RecordSize(FlagAllGroups);
    const uint32_t count = static_cast<uint32_t>((1ull << 30) / tracks / recordSize);
    std::FILE* file = std::fopen(path.c_str(), "wb");
    uint8_t head[FirstTrackOffset];
    PutU32(head, FileVersionCurrent);
    RecordingHeader summary{0, (count - 1) * 2500u, 0x1D2B3C4D, static_cast<uint16_t>(tracks)};
    EncodeRecordingHeader(summary, head + FileVersionSize);
    std::fwrite(head, 1, sizeof head, file);
    uint64_t offset = FirstTrackOffset;
    for (uint32_t i = 0; i < tracks; ++i) {
        TrackHeader header{count, FlagAllGroups, 0, (count - 1) * 2500u, "Boeing 737-800", 0.0f, 250};
        uint8_t bytes[TrackHeaderSize];
        EncodeTrackHeader(header, bytes);
        fseeko(file, static_cast<off_t>(offset), SEEK_SET);
        std::fwrite(bytes, 1, sizeof bytes, file);
        offset += TrackHeaderSize + static_cast<uint64_t>(count) * recordSize;
    }
    std::fclose(file);
    if (truncate(path.c_str(), static_cast<off_t>(offset)) != 0) std::abort();
    return path;
}

void BM_ValidateOneGigabyte(benchmark::State& state) {
    const std::string& path = LargeRecordingPath();
    for (auto _ : state) {
        RecordingFault fault;
        if (!CheckRecording(path, &fault)) state.SkipWithError(fault.expected.c_str());
    }
}
BENCHMARK(BM_ValidateOneGigabyte)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    char folder[] = "/tmp/aerotrace-tool-bench-XXXXXX";
    if (!mkdtemp(folder)) return 1;
    workDirectory = folder;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::system(("rm -rf " + workDirectory).c_str());
    return 0;
}
