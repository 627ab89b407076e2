// The byte layout of a flight-recording file (".atr"): the version word, the
// header of the multi-track version and the header of the two older
// single-track versions, each encoded and decoded field by field,
// little-endian. Reading tracks is recording_loader; writing them is the writer's.
#pragma once

#include <cstdint>

// The first four bytes of every recording file.
enum : uint32_t {
    FileVersionNoFlags = 0x01000004,  // single track, flags taken as 127, no date stamp
    FileVersionLegacy = 0x01000005,   // single track with flags, reference elevation and date stamp
    FileVersionCurrent = 0x01000006,  // any number of tracks; the only version written
};

constexpr uint32_t FileVersionSize = 4;
constexpr uint32_t RecordingHeaderSize = 14;  // after the version, multi-track files
constexpr uint32_t LegacyHeaderSize = 24;     // after the version, single-track files
constexpr uint32_t FirstTrackOffset = FileVersionSize + RecordingHeaderSize;  // 18
constexpr uint32_t LegacySamplesOffset = FileVersionSize + LegacyHeaderSize;  // 28
// What a single-track file without flags holds: the first seven groups.
constexpr uint32_t NoFlagsFileSampleFlags = 127;

// Header of a multi-track file, at offset 4.
struct RecordingHeader {
    uint32_t startTime;   // smallest first time stamp of the tracks; 0xFFFFFFFF without tracks
    uint32_t endTime;     // largest last time stamp; 0 without tracks
    uint32_t dateStamp;   // simulator date and time when the recording started
    uint16_t trackCount;  // track sections that follow, from offset 18
};

// Header of a single-track file, at offset 4; the samples follow at offset 28.
struct LegacyHeader {
    uint32_t sampleCount;
    uint32_t lastTime;           // as written; readers take the last sample's time instead
    uint32_t flags;              // SampleFlags; meaningless in the oldest version
    float referenceElevation;    // feet, at the start of the recording
    uint32_t dateStamp;          // meaningless in the oldest version
    uint32_t reserved;           // not used
};

// True for the three versions that can be read.
bool IsReadableFileVersion(uint32_t version);

void EncodeRecordingHeader(const RecordingHeader& header, uint8_t* bytes);  // RecordingHeaderSize bytes
void DecodeRecordingHeader(const uint8_t* bytes, RecordingHeader* header);
void EncodeLegacyHeader(const LegacyHeader& header, uint8_t* bytes);  // LegacyHeaderSize bytes
void DecodeLegacyHeader(const uint8_t* bytes, LegacyHeader* header);
