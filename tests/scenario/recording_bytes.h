// Recording files written byte by byte by the tests themselves, without the
// module's own writer, and the interpolation the tests expect playback to
// apply: what a file holds is laid out here from the file format alone.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One sample with every group; a track writes the groups its flags select.
struct TestSample {
    int64_t latitude = 0, longitude = 0, altitude = 0;
    uint32_t pitch = 0, bank = 0, heading = 0;
    double motion[3] = {0, 0, 0};
    uint8_t onGround = 0;
    int16_t throttles[4] = {0, 0, 0, 0};
    int16_t elevator = 0, aileron = 0, rudder = 0;
    uint16_t spoilers = 0;
    uint8_t flaps = 0;
    uint16_t gear = 0;
    uint16_t lights = 0;
    uint8_t toggleState = 0;
    uint8_t engines[4] = {0, 0, 0, 0};
    uint16_t nav[4] = {0, 0, 0, 0};
    uint32_t adf = 0;
    uint16_t com[3] = {0, 0, 0};
    int16_t prop[4] = {0, 0, 0, 0};
    int16_t mixture[4] = {0, 0, 0, 0};
    uint8_t year = 104;
    uint16_t day = 160;
    uint8_t hour = 14, minute = 5, second = 9;
    uint8_t smoke = 0;
    uint32_t time = 0;
};

struct TestTrack {
    uint32_t flags = 0;
    std::string title = "Recorded Aircraft";
    float referenceElevation = 0.0f;
    uint32_t interval = 1000;
    std::vector<TestSample> samples;
    uint32_t countOverride = UINT32_MAX;  // written instead of samples.size() when set
};

// Bytes of one packed sample for the flags.
std::string PackTestSample(const TestSample& sample, uint32_t flags);
uint32_t TestRecordSize(uint32_t flags);

// A multi-track file (version 0x01000006); start and end as the header says
// them (by default the tracks' range).
std::string MultiTrackFile(const std::vector<TestTrack>& tracks, uint32_t dateStamp = 0x12345678,
                           uint32_t version = 0x01000006);
// A single-track file of version 0x01000004 or 0x01000005.
std::string SingleTrackFile(uint32_t version, const TestTrack& track, uint32_t headerFlags, uint32_t dateStamp);

void WriteBytes(const std::string& path, const std::string& bytes);
std::string ReadBytes(const std::string& path);

// The tracks of a multi-track file as they are on disk (positions,
// orientations and times of the samples; the other groups are skipped).
// False when the bytes are not a well-formed file of version 0x01000006.
bool ParseMultiTrackFile(const std::string& bytes, std::vector<TestTrack>* tracks);

// A track of count samples every interval (TimeStamp units) from start on,
// each differing from the last in every field so that interpolation shows.
TestTrack SmoothTrack(uint32_t flags, uint32_t start, uint32_t interval, uint32_t count, int64_t seed);

// The placement playback must give the aircraft at time t between the
// track's samples: 24 position bytes, then pitch, bank, heading.
bool ExpectedPlacement(const TestTrack& track, uint32_t t, int64_t heightCorrection, uint8_t placement[36]);

// The host's encodings of the stand-in's aircraft record 533.
int64_t PlacementAltitude(const uint8_t placement[36]);
