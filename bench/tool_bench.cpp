// What the recording tool costs: export throughput in megabytes of
// recording per second (CSV and KML, every sample group recorded),
// validating a 1 GB recording, which must not read its samples, and the
// flight report of a ten-hour flight with twenty AI aircraft (time, and the
// page's size as the counter "html_bytes"), and the logbook of a folder of
// 1,000 half-hour flights, with their reports up to date and without.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "engine/tracks/recording_assemble.h"
#include "engine/tracks/track.h"
#include "export.h"
#include "geodesy.h"
#include "logbook.h"
#include "recording_reader.h"
#include "report.h"

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

// Ten hours: the user aircraft every 250 ms (the default interval) and 20
// AI aircraft every second (every fourth sample, the default without the
// record dialog), the groups the module records by default. Each flies a
// long route of gentle turns and climbs from taxi to touchdown, the AI a
// few kilometres apart.
const std::string& LongFlightPath() {
    static std::string path;
    if (!path.empty()) return path;
    path = WorkPath("ten-hours.atr");
    const double seconds = 10 * 3600;
    std::vector<PlatformFile*> files;
    std::vector<Track> tracks(21);
    std::vector<TrackSource> sources;
    for (int k = 0; k < 21; ++k) {
        const uint32_t interval = k == 0 ? 250 : 1000;
        const std::string trackPath = WorkPath(("track" + std::to_string(k)).c_str());
        PlatformFile* file = FileOpen(trackPath.c_str(), "w+b");
        files.push_back(file);
        Track& track = tracks[k];
        TrackInit(&track, TrackWindowSamples, file, 0, 0x7F, k == 0 ? "Boeing 747-400" : "Boeing 737-800", 1,
                  interval, 1);
        double latitude = 47.46 + 0.02 * k, longitude = -122.31 + 0.03 * k, heading = 30.0 + k;
        for (double t = 0; t <= seconds; t += interval / 1000.0) {
            const bool ground = t < 600 || t > seconds - 600;
            const double speed = ground ? 10.0 : 240.0;  // m/s
            heading += (ground ? 0.0 : 0.02 * std::sin(t / 900.0)) * interval / 1000.0;
            latitude += speed * interval / 1000.0 * std::cos(heading * Pi / 180.0) / 111195.0;
            longitude += speed * interval / 1000.0 * std::sin(heading * Pi / 180.0) /
                         (111195.0 * std::cos(latitude * Pi / 180.0));
            const double altitude = ground ? 130.0 : 130.0 + std::min({(t - 600) * 8.0, 11000.0, (seconds - 600 - t) * 8.0});
            FullSample s{};
            s.position = {EncodeLatitude(latitude), EncodeLongitude(std::remainder(longitude, 360.0)),
                          EncodeAltitude(altitude)};
            s.heading = EncodeAngle(heading);
            s.onGround = ground ? 1 : 0;
            s.time = static_cast<uint32_t>(std::llround(t * 10000));
            AppendSample(&track, s);
        }
        FlushTrack(&track);
        sources.push_back({file, track.dataOffset, track.flags, 0, track.count, 0, track.title, 0.0f, interval});
    }
    WriteRecordingFile(path.c_str(), 0x1D2B3C4D, sources.data(), 21, nullptr, nullptr);
    for (int k = 0; k < 21; ++k) {
        ReleaseWindow(&tracks[k]);
        FileClose(files[k]);
        FileDelete(WorkPath(("track" + std::to_string(k)).c_str()).c_str());
    }
    return path;
}

void BM_ReportTenHoursTwentyOneTracks(benchmark::State& state) {
    const std::string& path = LongFlightPath();
    const std::string page = WorkPath("ten-hours.html");
    for (auto _ : state) {
        std::unique_ptr<RecordingFile> recording = OpenRecording(path);
        std::FILE* out = std::fopen(page.c_str(), "wb");
        {
            TextOut text(out);
            WriteReport(*recording, text);
        }
        std::fclose(out);
    }
    std::FILE* out = std::fopen(page.c_str(), "rb");
    std::fseek(out, 0, SEEK_END);
    state.counters["html_bytes"] = static_cast<double>(std::ftell(out));
    std::fclose(out);
    std::unique_ptr<RecordingFile> recording = OpenRecording(path);
    state.counters["recording_bytes"] = static_cast<double>(recording->length);
}
BENCHMARK(BM_ReportTenHoursTwentyOneTracks)->Unit(benchmark::kMillisecond);

// A folder of 1,000 copies of a half-hour flight (taxi, climb, cruise,
// descent, landing and taxi, the user aircraft every 250 ms, the groups
// recorded by default): 7,201 samples, 590 KB each.
const std::string& ThousandRecordingsFolder() {
    static std::string folder;
    if (!folder.empty()) return folder;
    folder = WorkPath("flights");
    DirectoryCreate(folder.c_str());
    const std::string trackPath = WorkPath("half-hour.track");
    PlatformFile* file = FileOpen(trackPath.c_str(), "w+b");
    Track track{};
    TrackInit(&track, TrackWindowSamples, file, 0, 0x7F, "Cessna Skyhawk 172SP", 1, 250, 1);
    double latitude = 47.46, longitude = -122.31;
    for (double t = 0; t <= 1800; t += 0.25) {
        const bool ground = t < 120 || t > 1680;
        const double speed = ground ? 8.0 : 55.0;
        latitude += speed * 0.25 / 111195.0;
        const double altitude = ground ? 130.0 : 130.0 + std::min({(t - 120) * 4.0, 2000.0, (1680 - t) * 4.0});
        FullSample s{};
        s.position = {EncodeLatitude(latitude), EncodeLongitude(longitude), EncodeAltitude(altitude)};
        s.onGround = ground ? 1 : 0;
        s.time = static_cast<uint32_t>(std::llround(t * 10000));
        AppendSample(&track, s);
    }
    FlushTrack(&track);
    TrackSource source{file, track.dataOffset, track.flags, 0, track.count, 0, track.title, 0.0f, 250};
    const std::string first = folder + "/flight 0000.atr";
    WriteRecordingFile(first.c_str(), 0x1D2B3C4D, &source, 1, nullptr, nullptr);
    ReleaseWindow(&track);
    FileClose(file);
    FileDelete(trackPath.c_str());
    for (int i = 1; i < 1000; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "/flight %04d.atr", i);
        std::system(("cp '" + first + "' '" + folder + name + "'").c_str());
    }
    return folder;
}

void BM_LogbookThousandFlights(benchmark::State& state) {
    const bool reportsUpToDate = state.range(0) != 0;
    const std::string& folder = ThousandRecordingsFolder();
    const std::string pages = WorkPath(reportsUpToDate ? "logbook-kept" : "logbook-new");
    DirectoryCreate(pages.c_str());
    const std::string page = pages + "/logbook.html";
    if (reportsUpToDate) WriteLogbookPage({folder}, page);
    for (auto _ : state) {
        if (!reportsUpToDate) {
            state.PauseTiming();
            std::system(("rm -f '" + pages + "'/*.html").c_str());
            state.ResumeTiming();
        }
        if (WriteLogbookPage({folder}, page) != 1000) state.SkipWithError("not every recording was listed");
    }
}
BENCHMARK(BM_LogbookThousandFlights)->Arg(1)->Arg(0)->ArgName("reports_up_to_date")->Unit(benchmark::kSecond);

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
