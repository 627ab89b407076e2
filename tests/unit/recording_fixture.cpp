// Making recordings and crashed temporary files for tests with the engine's
// own track code and the stand-in's scripted flight.
#include "recording_fixture.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "engine/tracks/sim_date.h"
#include "sim.h"

FullSample ScriptedSample(double t, double eastOffsetMetres) {
    SimAircraftState state;
    SimScriptedState(t, &state);
    FullSample s{};
    std::memcpy(&s.position, state.placement, 24);
    std::memcpy(&s.pitch, state.placement + 24, 4);
    std::memcpy(&s.bank, state.placement + 28, 4);
    std::memcpy(&s.heading, state.placement + 32, 4);
    // An aircraft flying beside the user: the same path, further east.
    s.position.longitude +=
        static_cast<int64_t>(eastOffsetMetres / (40075000.0 * std::cos(47.45 * M_PI / 180.0)) * 18446744073709551616.0);
    for (int i = 0; i < 3; ++i) s.motion[i] = state.motion[i];
    s.onGround = SimScriptedValue(t, 70, 136, 0) != 0 ? 1 : 0;
    for (int i = 0; i < 4; ++i) s.throttles[i] = static_cast<int16_t>(SimScriptedValue(t, 271, 53, i + 1));
    s.flaps = static_cast<uint8_t>(SimScriptedValue(t, 95, 50, 0));
    s.gear = static_cast<uint16_t>(SimScriptedValue(t, 110, 58, 0));
    s.nav1Frequency = static_cast<uint16_t>(SimScriptedValue(t, 489, 134, 1));
    s.com1Frequency = static_cast<uint16_t>(SimScriptedValue(t, 476, 134, 1));
    s.transponder = static_cast<uint16_t>(SimScriptedValue(t, 479, 137, 1));
    s.yearSince1900 = 104;
    s.dayOfYear = 160;
    s.hour = 14;
    s.minute = static_cast<uint8_t>(5 + static_cast<int>(t) / 60);
    s.second = static_cast<uint8_t>((9 + static_cast<int>(t)) % 60);
    s.time = static_cast<uint32_t>(std::llround(t * 10000.0));
    return s;
}

bool WriteFixtureRecording(const std::string& path, const std::vector<FixtureTrack>& tracks, uint32_t dateStamp) {
    std::vector<SampleTrack> made;
    for (const FixtureTrack& wanted : tracks) {
        SampleTrack track{wanted.title, wanted.intervalMs, {}, wanted.flags};
        const double step = wanted.intervalMs / 1000.0;
        for (double t = wanted.firstSecond; t <= wanted.firstSecond + wanted.seconds + 1e-9; t += step)
            track.samples.push_back(ScriptedSample(t, wanted.eastOffsetMetres));
        made.push_back(track);
    }
    return WriteSampleRecording(path, made, dateStamp);
}

bool WriteSampleRecording(const std::string& path, const std::vector<SampleTrack>& tracks, uint32_t dateStamp) {
    if (dateStamp == 0) dateStamp = DateStamp(HostDateTime{2004, 160, 14, 5, 9});
    std::vector<PlatformFile*> files;
    std::vector<Track> made(tracks.size());
    std::vector<TrackSource> sources;
    bool ok = true;
    for (size_t i = 0; ok && i < tracks.size(); ++i) {
        const SampleTrack& wanted = tracks[i];
        std::string temp = path + "." + std::to_string(i) + ".tmp";
        PlatformFile* file = FileOpen(temp.c_str(), "w+b");
        ok = file != nullptr;
        if (!ok) break;
        files.push_back(file);
        Track& track = made[i];
        ok = TrackInit(&track, TrackWindowSamples, file, 0, wanted.flags, wanted.title.c_str(), 1, wanted.intervalMs, 1);
        for (size_t k = 0; ok && k < wanted.samples.size(); ++k) ok = AppendSample(&track, wanted.samples[k]);
        ok = ok && FlushTrack(&track);
        TrackSource source{};
        source.file = file;
        source.dataOffset = track.dataOffset;
        source.flags = track.flags;
        source.count = track.count;
        source.title = track.title;
        source.referenceElevation = 1.5f;
        source.interval = wanted.intervalMs;
        sources.push_back(source);
    }
    ok = ok && WriteRecordingFile(path.c_str(), dateStamp, sources.data(), static_cast<uint32_t>(sources.size()),
                                  nullptr, nullptr);
    for (size_t i = 0; i < files.size(); ++i) {
        ReleaseWindow(&made[i]);
        FileClose(files[i]);
        std::remove((path + "." + std::to_string(i) + ".tmp").c_str());
    }
    return ok;
}

bool WriteCrashedTempFile(const std::string& path, const std::string& title, uint32_t flags, uint32_t records,
                          uint32_t partialBytes, uint32_t intervalMs) {
    PlatformFile* file = FileOpen(path.c_str(), "w+b");
    if (!file) return false;
    TrackHeader header{};
    header.flags = flags;
    CopyTrackTitle(header.title, title.c_str());
    header.interval = intervalMs;
    bool ok = WriteTrackHeader(file, header);
    const SampleLayout layout = ComputeLayout(flags);
    uint8_t record[FullSampleSize];
    for (uint32_t i = 0; ok && i <= records; ++i) {
        PackSample(layout, ScriptedSample(i * intervalMs / 1000.0), record);
        size_t bytes = i < records ? layout.recordSize : partialBytes;
        ok = bytes == 0 || FileWrite(file, record, bytes) == bytes;
    }
    return FileClose(file) && ok;
}

void WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return;
    if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
}
