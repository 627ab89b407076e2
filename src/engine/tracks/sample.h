// One aircraft's state at one moment: the SampleFlags groups, the unpacked
// FullSample that capture fills and playback applies, and the packed record a
// track stores, which keeps only the groups its flags select.
#pragma once

#include <cstdint>

#include "core/abi/host_abi.h"

// Groups of a sample, as the user picks them for recording and playback.
enum SampleFlags : uint32_t {
    FlagThrottles = 0x001,
    FlagFlightControls = 0x002,  // elevator, aileron, rudder
    FlagSpoilers = 0x004,
    FlagFlaps = 0x008,
    FlagGear = 0x010,
    FlagLights = 0x020,
    FlagEngines = 0x040,
    FlagNavRadios = 0x080,
    FlagComRadios = 0x100,
    FlagLevers = 0x200,  // propeller and mixture
    FlagDateTime = 0x400,
    FlagSmoke = 0x800,
    FlagAllGroups = 0xFFF,  // anything above is not a group and is ignored
};

// The unpacked sample. Its byte image (132 bytes, little-endian, no padding)
// is the packed record of a track that records every group; the offsets in
// the comments are those of that image.
struct FullSample {
    HostPosition position;     // 0: latitude, longitude, altitude
    Angle32 pitch;             // 24
    Angle32 bank;              // 28
    Angle32 heading;           // 32
    double motion[3];          // 36: the host's motion record
    uint8_t onGround;          // 60: non-zero on the ground
    int16_t throttles[4];      // 61
    int16_t elevator;          // 69
    int16_t aileron;           // 71
    int16_t rudder;            // 73
    uint16_t spoilers;         // 75
    uint8_t flaps;             // 77: flap handle position
    uint16_t gear;             // 78
    uint16_t lights;           // 80: light-switch word
    uint8_t toggleState;       // 82
    uint8_t engines[4];        // 83
    uint16_t nav1Frequency;    // 87
    uint16_t nav1Course;       // 89
    uint16_t nav2Frequency;    // 91
    uint16_t nav2Course;       // 93
    uint32_t adfWord;          // 95
    uint16_t com1Frequency;    // 99
    uint16_t com2Frequency;    // 101
    uint16_t transponder;      // 103
    int16_t propLevers[4];     // 105
    int16_t mixtureLevers[4];  // 113
    uint8_t yearSince1900;     // 121: year - 1900, modulo 256
    uint16_t dayOfYear;        // 122: 1-based
    uint8_t hour;              // 124
    uint8_t minute;            // 125
    uint8_t second;            // 126
    uint8_t smoke;             // 127
    uint32_t time;             // 128: TimeStamp of the sample
};

constexpr uint32_t FullSampleSize = 132;

// Where each field sits in a packed record of one track, worked out once from
// its flags. Offsets of groups the flags leave out are 0 and never used.
struct SampleLayout {
    uint32_t flags;  // the group bits this layout holds (bits above FlagSmoke dropped)
    uint32_t position;
    uint32_t orientation;
    uint32_t motion;
    uint32_t onGround;
    uint32_t throttles;
    uint32_t elevator;
    uint32_t aileron;
    uint32_t rudder;
    uint32_t spoilers;
    uint32_t flaps;
    uint32_t gear;
    uint32_t lights;
    uint32_t toggleState;
    uint32_t engines;
    uint32_t navRadios;
    uint32_t comRadios;
    uint32_t propLevers;
    uint32_t mixtureLevers;
    uint32_t dateTime;
    uint32_t smoke;
    uint32_t time;        // always the last four bytes
    uint32_t recordSize;  // bytes of one packed record
};

SampleLayout ComputeLayout(uint32_t flags);
uint32_t RecordSize(uint32_t flags);

// Writes the groups the layout holds into record (layout.recordSize bytes).
void PackSample(const SampleLayout& layout, const FullSample& full, uint8_t* record);
// Reads the groups the layout holds; the other fields of full are left as they are.
void UnpackSample(const SampleLayout& layout, const uint8_t* record, FullSample* full);

// The time stamp of a packed record.
uint32_t RecordTime(const SampleLayout& layout, const uint8_t* record);
void SetRecordTime(const SampleLayout& layout, uint8_t* record, uint32_t time);

// Little-endian field access, shared with the file readers and writers.
inline uint16_t GetU16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
inline uint32_t GetU32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}
inline uint64_t GetU64(const uint8_t* p) { return GetU32(p) | static_cast<uint64_t>(GetU32(p + 4)) << 32; }
inline void PutU16(uint8_t* p, uint16_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}
inline void PutU32(uint8_t* p, uint32_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
    p[2] = static_cast<uint8_t>(v >> 16);
    p[3] = static_cast<uint8_t>(v >> 24);
}
inline void PutU64(uint8_t* p, uint64_t v) {
    PutU32(p, static_cast<uint32_t>(v));
    PutU32(p + 4, static_cast<uint32_t>(v >> 32));
}
