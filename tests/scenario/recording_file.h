// A recording file as the tests read it: parsed here, byte by byte, from
// the file format alone, so that what the module wrote is checked against
// the format and not against the module's own reader.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct ParsedSample {
    uint8_t placement[36];  // position and orientation as the host's record 533
    double motion[3];
    uint8_t onGround;
    int16_t throttles[4];
    int16_t elevator, aileron, rudder;
    uint16_t spoilers;
    uint8_t flaps;
    uint16_t gear;
    uint16_t lights;
    uint8_t toggleState;
    uint8_t engines[4];
    uint16_t nav[4];
    uint32_t adf;
    uint16_t com[3];
    int16_t prop[4], mixture[4];
    uint8_t year, hour, minute, second;
    uint16_t day;
    uint8_t smoke;
    uint32_t time;
};

struct ParsedTrack {
    uint32_t count, flags, firstTime, lastTime, interval;
    std::string title;
    float referenceElevation;
    std::vector<ParsedSample> samples;
};

struct ParsedRecording {
    bool valid = false;
    std::string problem;  // why it is not valid
    uint32_t version = 0, startTime = 0, endTime = 0, dateStamp = 0;
    uint16_t trackCount = 0;
    std::vector<ParsedTrack> tracks;
};

// Record size for a flag word, from the table of groups.
uint32_t ParsedRecordSize(uint32_t flags);

// One track section (header and records) starting at offset; advances it.
bool ParseTrackSection(const std::vector<uint8_t>& bytes, size_t* offset, ParsedTrack* track, std::string* problem);
ParsedRecording ParseRecording(const std::vector<uint8_t>& bytes);
std::vector<uint8_t> ReadWholeFile(const std::string& path);

// Files in a folder whose names match a glob-like prefix and suffix.
std::vector<std::string> FilesIn(const std::string& folder, const std::string& prefix, const std::string& suffix);
