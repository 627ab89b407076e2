// Packing and unpacking of samples: the record layout that a track's flags
// select, and the field-by-field copy between it and the FullSample.
// Tracks, capture and playback build on these; none of them knows an offset.
#include "engine/tracks/sample.h"

#include <cstring>

static double GetF64(const uint8_t* p) {
    uint64_t bits = GetU64(p);
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

static void PutF64(uint8_t* p, double value) {
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    PutU64(p, bits);
}

SampleLayout ComputeLayout(uint32_t flags) {
    SampleLayout layout{};
    flags &= FlagAllGroups;
    layout.flags = flags;
    layout.position = 0;
    layout.orientation = 24;
    layout.motion = 36;
    layout.onGround = 60;
    uint32_t offset = 61;
    // Each present group takes the running offset and moves it on by its size.
    auto place = [&offset](uint32_t* field, uint32_t size) {
        *field = offset;
        offset += size;
    };
    if (flags & FlagThrottles) place(&layout.throttles, 8);
    if (flags & FlagFlightControls) {
        place(&layout.elevator, 2);
        place(&layout.aileron, 2);
        place(&layout.rudder, 2);
    }
    if (flags & FlagSpoilers) place(&layout.spoilers, 2);
    if (flags & FlagFlaps) place(&layout.flaps, 1);
    if (flags & FlagGear) place(&layout.gear, 2);
    if (flags & FlagLights) place(&layout.lights, 2);
    place(&layout.toggleState, 1);
    if (flags & FlagEngines) place(&layout.engines, 4);
    if (flags & FlagNavRadios) place(&layout.navRadios, 12);
    if (flags & FlagComRadios) place(&layout.comRadios, 6);
    if (flags & FlagLevers) {
        place(&layout.propLevers, 8);
        place(&layout.mixtureLevers, 8);
    }
    if (flags & FlagDateTime) place(&layout.dateTime, 6);
    if (flags & FlagSmoke) place(&layout.smoke, 1);
    place(&layout.time, 4);
    layout.recordSize = offset;
    return layout;
}

uint32_t RecordSize(uint32_t flags) {
    auto has = [flags](uint32_t bit) { return (flags & bit) ? 1u : 0u; };
    return 61 + 8 * has(FlagThrottles) + 6 * has(FlagFlightControls) + 2 * has(FlagSpoilers) + 1 * has(FlagFlaps) +
           2 * has(FlagGear) + 2 * has(FlagLights) + 1 + 4 * has(FlagEngines) + 12 * has(FlagNavRadios) +
           6 * has(FlagComRadios) + 16 * has(FlagLevers) + 6 * has(FlagDateTime) + 1 * has(FlagSmoke) + 4;
}

void PackSample(const SampleLayout& layout, const FullSample& full, uint8_t* record) {
    const uint32_t flags = layout.flags;
    uint8_t* p = record + layout.position;
    PutU64(p, static_cast<uint64_t>(full.position.latitude));
    PutU64(p + 8, static_cast<uint64_t>(full.position.longitude));
    PutU64(p + 16, static_cast<uint64_t>(full.position.altitude));
    p = record + layout.orientation;
    PutU32(p, full.pitch);
    PutU32(p + 4, full.bank);
    PutU32(p + 8, full.heading);
    p = record + layout.motion;
    for (int i = 0; i < 3; ++i) PutF64(p + 8 * i, full.motion[i]);
    record[layout.onGround] = full.onGround;
    if (flags & FlagThrottles) {
        p = record + layout.throttles;
        for (int i = 0; i < 4; ++i) PutU16(p + 2 * i, static_cast<uint16_t>(full.throttles[i]));
    }
    if (flags & FlagFlightControls) {
        PutU16(record + layout.elevator, static_cast<uint16_t>(full.elevator));
        PutU16(record + layout.aileron, static_cast<uint16_t>(full.aileron));
        PutU16(record + layout.rudder, static_cast<uint16_t>(full.rudder));
    }
    if (flags & FlagSpoilers) PutU16(record + layout.spoilers, full.spoilers);
    if (flags & FlagFlaps) record[layout.flaps] = full.flaps;
    if (flags & FlagGear) PutU16(record + layout.gear, full.gear);
    if (flags & FlagLights) PutU16(record + layout.lights, full.lights);
    record[layout.toggleState] = full.toggleState;
    if (flags & FlagEngines)
        for (int i = 0; i < 4; ++i) record[layout.engines + i] = full.engines[i];
    if (flags & FlagNavRadios) {
        p = record + layout.navRadios;
        PutU16(p, full.nav1Frequency);
        PutU16(p + 2, full.nav1Course);
        PutU16(p + 4, full.nav2Frequency);
        PutU16(p + 6, full.nav2Course);
        PutU32(p + 8, full.adfWord);
    }
    if (flags & FlagComRadios) {
        p = record + layout.comRadios;
        PutU16(p, full.com1Frequency);
        PutU16(p + 2, full.com2Frequency);
        PutU16(p + 4, full.transponder);
    }
    if (flags & FlagLevers) {
        for (int i = 0; i < 4; ++i) {
            PutU16(record + layout.propLevers + 2 * i, static_cast<uint16_t>(full.propLevers[i]));
            PutU16(record + layout.mixtureLevers + 2 * i, static_cast<uint16_t>(full.mixtureLevers[i]));
        }
    }
    if (flags & FlagDateTime) {
        p = record + layout.dateTime;
        p[0] = full.yearSince1900;
        PutU16(p + 1, full.dayOfYear);
        p[3] = full.hour;
        p[4] = full.minute;
        p[5] = full.second;
    }
    if (flags & FlagSmoke) record[layout.smoke] = full.smoke;
    PutU32(record + layout.time, full.time);
}

void UnpackSample(const SampleLayout& layout, const uint8_t* record, FullSample* full) {
    const uint32_t flags = layout.flags;
    const uint8_t* p = record + layout.position;
    full->position.latitude = static_cast<int64_t>(GetU64(p));
    full->position.longitude = static_cast<int64_t>(GetU64(p + 8));
    full->position.altitude = static_cast<int64_t>(GetU64(p + 16));
    p = record + layout.orientation;
    full->pitch = GetU32(p);
    full->bank = GetU32(p + 4);
    full->heading = GetU32(p + 8);
    p = record + layout.motion;
    for (int i = 0; i < 3; ++i) full->motion[i] = GetF64(p + 8 * i);
    full->onGround = record[layout.onGround];
    if (flags & FlagThrottles) {
        p = record + layout.throttles;
        for (int i = 0; i < 4; ++i) full->throttles[i] = static_cast<int16_t>(GetU16(p + 2 * i));
    }
    if (flags & FlagFlightControls) {
        full->elevator = static_cast<int16_t>(GetU16(record + layout.elevator));
        full->aileron = static_cast<int16_t>(GetU16(record + layout.aileron));
        full->rudder = static_cast<int16_t>(GetU16(record + layout.rudder));
    }
    if (flags & FlagSpoilers) full->spoilers = GetU16(record + layout.spoilers);
    if (flags & FlagFlaps) full->flaps = record[layout.flaps];
    if (flags & FlagGear) full->gear = GetU16(record + layout.gear);
    if (flags & FlagLights) full->lights = GetU16(record + layout.lights);
    full->toggleState = record[layout.toggleState];
    if (flags & FlagEngines)
        for (int i = 0; i < 4; ++i) full->engines[i] = record[layout.engines + i];
    if (flags & FlagNavRadios) {
        p = record + layout.navRadios;
        full->nav1Frequency = GetU16(p);
        full->nav1Course = GetU16(p + 2);
        full->nav2Frequency = GetU16(p + 4);
        full->nav2Course = GetU16(p + 6);
        full->adfWord = GetU32(p + 8);
    }
    if (flags & FlagComRadios) {
        p = record + layout.comRadios;
        full->com1Frequency = GetU16(p);
        full->com2Frequency = GetU16(p + 2);
        full->transponder = GetU16(p + 4);
    }
    if (flags & FlagLevers) {
        for (int i = 0; i < 4; ++i) {
            full->propLevers[i] = static_cast<int16_t>(GetU16(record + layout.propLevers + 2 * i));
            full->mixtureLevers[i] = static_cast<int16_t>(GetU16(record + layout.mixtureLevers + 2 * i));
        }
    }
    if (flags & FlagDateTime) {
        p = record + layout.dateTime;
        full->yearSince1900 = p[0];
        full->dayOfYear = GetU16(p + 1);
        full->hour = p[3];
        full->minute = p[4];
        full->second = p[5];
    }
    if (flags & FlagSmoke) full->smoke = record[layout.smoke];
    full->time = GetU32(record + layout.time);
}

uint32_t RecordTime(const SampleLayout& layout, const uint8_t* record) { return GetU32(record + layout.time); }

void SetRecordTime(const SampleLayout& layout, uint8_t* record, uint32_t time) { PutU32(record + layout.time, time); }
