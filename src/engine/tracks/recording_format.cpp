// Recording-file headers to and from their bytes. Nothing here touches a
// file: the loader and the writer move the bytes.
#include "engine/tracks/recording_format.h"

#include <cstring>

#include "engine/tracks/sample.h"

bool IsReadableFileVersion(uint32_t version) {
    return version == FileVersionNoFlags || version == FileVersionLegacy || version == FileVersionCurrent;
}

void EncodeRecordingHeader(const RecordingHeader& header, uint8_t* bytes) {
    PutU32(bytes, header.startTime);
    PutU32(bytes + 4, header.endTime);
    PutU32(bytes + 8, header.dateStamp);
    PutU16(bytes + 12, header.trackCount);
}

void DecodeRecordingHeader(const uint8_t* bytes, RecordingHeader* header) {
    header->startTime = GetU32(bytes);
    header->endTime = GetU32(bytes + 4);
    header->dateStamp = GetU32(bytes + 8);
    header->trackCount = GetU16(bytes + 12);
}

void EncodeLegacyHeader(const LegacyHeader& header, uint8_t* bytes) {
    uint32_t elevationBits;
    std::memcpy(&elevationBits, &header.referenceElevation, sizeof elevationBits);
    PutU32(bytes, header.sampleCount);
    PutU32(bytes + 4, header.lastTime);
    PutU32(bytes + 8, header.flags);
    PutU32(bytes + 12, elevationBits);
    PutU32(bytes + 16, header.dateStamp);
    PutU32(bytes + 20, header.reserved);
}

void DecodeLegacyHeader(const uint8_t* bytes, LegacyHeader* header) {
    header->sampleCount = GetU32(bytes);
    header->lastTime = GetU32(bytes + 4);
    header->flags = GetU32(bytes + 8);
    uint32_t elevationBits = GetU32(bytes + 12);
    std::memcpy(&header->referenceElevation, &elevationBits, sizeof elevationBits);
    header->dateStamp = GetU32(bytes + 16);
    header->reserved = GetU32(bytes + 20);
}
