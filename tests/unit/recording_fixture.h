// Recordings for the tool's and recovery's tests, made the way the module
// makes them: tracks recorded into temporary files through the track code,
// sampled from the stand-in's scripted flight, then assembled into a file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/tracks/recording_assemble.h"
#include "engine/tracks/sample.h"
#include "engine/tracks/track.h"
#include "recording_file.h"  // ReadWholeFile

// The scripted user aircraft at world time t as a sample (time stamp t).
FullSample ScriptedSample(double worldSeconds, double eastOffsetMetres = 0.0);

struct FixtureTrack {
    std::string title;
    uint32_t flags;
    double firstSecond;  // world time of the first sample
    double seconds;      // length
    uint32_t intervalMs;
    double eastOffsetMetres;
};

// Writes a 0x01000006 recording of the given tracks at path; returns false
// when anything failed. dateStamp 0: 2004, day 160, 14:05:09.
bool WriteFixtureRecording(const std::string& path, const std::vector<FixtureTrack>& tracks, uint32_t dateStamp = 0);

// A track of samples made by the test itself.
struct SampleTrack {
    std::string title;
    uint32_t intervalMs;
    std::vector<FullSample> samples;
    uint32_t flags = 0;  // the groups recorded
};
// Writes a 0x01000006 recording of those tracks (reference elevation 1.5 ft).
bool WriteSampleRecording(const std::string& path, const std::vector<SampleTrack>& tracks, uint32_t dateStamp = 0);

// Writes a temporary track file as a recording leaves it after a crash: the
// provisional header (count and times 0), whole records and, when
// partialBytes > 0, that many bytes of one more record.
bool WriteCrashedTempFile(const std::string& path, const std::string& title, uint32_t flags, uint32_t records,
                          uint32_t partialBytes, uint32_t intervalMs = 250);

void WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes);
