// Recording files laid out byte by byte for the playback tests, and the
// tests' own expectation of an interpolated placement.
#include "recording_bytes.h"

#include <cstdio>
#include <cstring>

static void Put(std::string& out, uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

static void PutDouble(std::string& out, double value) {
    uint64_t bits;
    std::memcpy(&bits, &value, 8);
    Put(out, bits, 8);
}

static void PutFloat(std::string& out, float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, 4);
    Put(out, bits, 4);
}

std::string PackTestSample(const TestSample& s, uint32_t flags) {
    std::string out;
    Put(out, static_cast<uint64_t>(s.latitude), 8);
    Put(out, static_cast<uint64_t>(s.longitude), 8);
    Put(out, static_cast<uint64_t>(s.altitude), 8);
    Put(out, s.pitch, 4);
    Put(out, s.bank, 4);
    Put(out, s.heading, 4);
    for (double m : s.motion) PutDouble(out, m);
    Put(out, s.onGround, 1);
    if (flags & 0x001)
        for (int16_t v : s.throttles) Put(out, static_cast<uint16_t>(v), 2);
    if (flags & 0x002) {
        Put(out, static_cast<uint16_t>(s.elevator), 2);
        Put(out, static_cast<uint16_t>(s.aileron), 2);
        Put(out, static_cast<uint16_t>(s.rudder), 2);
    }
    if (flags & 0x004) Put(out, s.spoilers, 2);
    if (flags & 0x008) Put(out, s.flaps, 1);
    if (flags & 0x010) Put(out, s.gear, 2);
    if (flags & 0x020) Put(out, s.lights, 2);
    Put(out, s.toggleState, 1);
    if (flags & 0x040)
        for (uint8_t v : s.engines) Put(out, v, 1);
    if (flags & 0x080) {
        for (uint16_t v : s.nav) Put(out, v, 2);
        Put(out, s.adf, 4);
    }
    if (flags & 0x100)
        for (uint16_t v : s.com) Put(out, v, 2);
    if (flags & 0x200) {
        for (int16_t v : s.prop) Put(out, static_cast<uint16_t>(v), 2);
        for (int16_t v : s.mixture) Put(out, static_cast<uint16_t>(v), 2);
    }
    if (flags & 0x400) {
        Put(out, s.year, 1);
        Put(out, s.day, 2);
        Put(out, s.hour, 1);
        Put(out, s.minute, 1);
        Put(out, s.second, 1);
    }
    if (flags & 0x800) Put(out, s.smoke, 1);
    Put(out, s.time, 4);
    return out;
}

uint32_t TestRecordSize(uint32_t flags) { return static_cast<uint32_t>(PackTestSample(TestSample(), flags).size()); }

static std::string TrackSection(const TestTrack& track) {
    std::string out;
    uint32_t count = track.countOverride != UINT32_MAX ? track.countOverride : static_cast<uint32_t>(track.samples.size());
    Put(out, count, 4);
    Put(out, track.flags, 4);
    Put(out, track.samples.empty() ? 0 : track.samples.front().time, 4);
    Put(out, track.samples.empty() ? 0 : track.samples.back().time, 4);
    std::string title = track.title.substr(0, 100);
    title.resize(100, '\0');
    out += title;
    PutFloat(out, track.referenceElevation);
    Put(out, track.interval, 4);
    for (const TestSample& sample : track.samples) out += PackTestSample(sample, track.flags);
    return out;
}

std::string MultiTrackFile(const std::vector<TestTrack>& tracks, uint32_t dateStamp, uint32_t version) {
    uint32_t start = 0xFFFFFFFFu, end = 0;
    for (const TestTrack& track : tracks) {
        if (track.samples.empty()) continue;
        if (track.samples.front().time < start) start = track.samples.front().time;
        if (track.samples.back().time > end) end = track.samples.back().time;
    }
    std::string out;
    Put(out, version, 4);
    Put(out, start, 4);
    Put(out, end, 4);
    Put(out, dateStamp, 4);
    Put(out, tracks.size(), 2);
    for (const TestTrack& track : tracks) out += TrackSection(track);
    return out;
}

std::string SingleTrackFile(uint32_t version, const TestTrack& track, uint32_t headerFlags, uint32_t dateStamp) {
    std::string out;
    Put(out, version, 4);
    Put(out, track.countOverride != UINT32_MAX ? track.countOverride : track.samples.size(), 4);
    Put(out, 0xDEADBEEF, 4);  // the last time as written: never trusted
    Put(out, headerFlags, 4);
    PutFloat(out, track.referenceElevation);
    Put(out, dateStamp, 4);
    Put(out, 0, 4);
    for (const TestSample& sample : track.samples) out += PackTestSample(sample, track.flags);
    return out;
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return;
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
}

std::string ReadBytes(const std::string& path) {
    std::string bytes;
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return bytes;
    char chunk[4096];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) bytes.append(chunk, got);
    std::fclose(file);
    return bytes;
}

static uint64_t Get(const std::string& bytes, size_t at, int size) {
    uint64_t value = 0;
    for (int i = size - 1; i >= 0; --i) value = value << 8 | static_cast<uint8_t>(bytes[at + i]);
    return value;
}

bool ParseMultiTrackFile(const std::string& bytes, std::vector<TestTrack>* tracks) {
    tracks->clear();
    if (bytes.size() < 18 || Get(bytes, 0, 4) != 0x01000006) return false;
    const uint32_t count = static_cast<uint32_t>(Get(bytes, 16, 2));
    size_t at = 18;
    for (uint32_t i = 0; i < count; ++i) {
        if (bytes.size() - at < 124) return false;
        TestTrack track;
        const uint32_t samples = static_cast<uint32_t>(Get(bytes, at, 4));
        track.flags = static_cast<uint32_t>(Get(bytes, at + 4, 4));
        track.title = std::string(bytes.data() + at + 16, 100).c_str();
        const uint32_t elevation = static_cast<uint32_t>(Get(bytes, at + 116, 4));
        std::memcpy(&track.referenceElevation, &elevation, 4);
        track.interval = static_cast<uint32_t>(Get(bytes, at + 120, 4));
        at += 124;
        const uint32_t size = TestRecordSize(track.flags);
        if ((bytes.size() - at) / size < samples) return false;
        for (uint32_t k = 0; k < samples; ++k, at += size) {
            TestSample s;
            s.latitude = static_cast<int64_t>(Get(bytes, at, 8));
            s.longitude = static_cast<int64_t>(Get(bytes, at + 8, 8));
            s.altitude = static_cast<int64_t>(Get(bytes, at + 16, 8));
            s.pitch = static_cast<uint32_t>(Get(bytes, at + 24, 4));
            s.bank = static_cast<uint32_t>(Get(bytes, at + 28, 4));
            s.heading = static_cast<uint32_t>(Get(bytes, at + 32, 4));
            s.onGround = static_cast<uint8_t>(Get(bytes, at + 60, 1));
            s.time = static_cast<uint32_t>(Get(bytes, at + size - 4, 4));
            track.samples.push_back(s);
        }
        tracks->push_back(track);
    }
    return true;
}

TestTrack SmoothTrack(uint32_t flags, uint32_t start, uint32_t interval, uint32_t count, int64_t seed) {
    TestTrack track;
    track.flags = flags;
    track.interval = interval / 10;
    for (uint32_t i = 0; i < count; ++i) {
        TestSample s;
        const int64_t k = static_cast<int64_t>(i);
        // Curved, so that a wrong pair or a wrong fraction shows.
        s.latitude = (5300000LL + seed) * 4294967296LL + k * k * 7919LL * 65536LL;
        s.longitude = static_cast<int64_t>(0xA8000000ULL << 32) + k * 977LL * 4294967296LL + seed;
        s.altitude = (130LL + k * 3) * 4294967296LL + k * k * 12345LL;
        s.pitch = static_cast<uint32_t>(0xFFFF0000u + static_cast<uint32_t>(k) * 0x9000u);  // through zero
        s.bank = static_cast<uint32_t>(k * 0x01000000LL);
        s.heading = static_cast<uint32_t>(0xF0000000u + static_cast<uint32_t>(k) * 0x02000000u);  // through north
        s.motion[0] = 1.5 * k;
        s.motion[1] = -0.25 * k;
        s.motion[2] = 70.0 + k;
        s.onGround = i < 3 ? 1 : 0;
        for (int j = 0; j < 4; ++j) {
            s.throttles[j] = static_cast<int16_t>(1000 * k - 500 * j);
            s.engines[j] = j < 2 ? 1 : 0;
            s.prop[j] = static_cast<int16_t>(16383 - 100 * k);
            s.mixture[j] = static_cast<int16_t>(-100 * k);
        }
        s.elevator = static_cast<int16_t>(-300 * k);
        s.aileron = static_cast<int16_t>(200 * k);
        s.rudder = static_cast<int16_t>(50 * k);
        s.spoilers = static_cast<uint16_t>(100 * k);
        s.flaps = static_cast<uint8_t>(i % 4);
        s.gear = i < count / 2 ? 16383 : 0;
        s.lights = static_cast<uint16_t>(0x8000 | (i & 0x1F));
        s.toggleState = static_cast<uint8_t>(i & 1);
        s.nav[0] = 0x1130;
        s.nav[1] = 90;
        s.nav[2] = 0x1095;
        s.nav[3] = 270;
        s.adf = 0x03500305u;
        s.com[0] = 0x2330;
        s.com[1] = 0x1950;
        s.com[2] = 0x1200;
        s.second = static_cast<uint8_t>(i % 60);
        s.smoke = static_cast<uint8_t>(i % 2);
        s.time = start + i * interval;
        track.samples.push_back(s);
    }
    return track;
}

static int64_t Lerp64(int64_t a, int64_t b, double f) {
    int64_t difference = static_cast<int64_t>(static_cast<uint64_t>(b) - static_cast<uint64_t>(a));
    return static_cast<int64_t>(static_cast<uint64_t>(a) + static_cast<uint64_t>(static_cast<int64_t>(f * difference)));
}

static uint32_t LerpAngle(uint32_t a, uint32_t b, double f) {
    int32_t difference = static_cast<int32_t>(b - a);
    return a + static_cast<uint32_t>(static_cast<int64_t>(f * difference));
}

bool ExpectedPlacement(const TestTrack& track, uint32_t t, int64_t heightCorrection, uint8_t placement[36]) {
    const std::vector<TestSample>& s = track.samples;
    if (s.size() < 2 || t < s.front().time || t > s.back().time) return false;
    size_t a = 0;
    while (a + 2 < s.size() && s[a + 1].time < t) ++a;
    const TestSample& early = s[a];
    const TestSample& late = s[a + 1];
    double f = early.time == late.time ? 0.0 : (double(t) - early.time) / (double(late.time) - early.time);
    TestSample out = f == 1.0 ? late : early;
    if (f > 0.0 && f < 1.0) {
        out.latitude = Lerp64(early.latitude, late.latitude, f);
        out.longitude = Lerp64(early.longitude, late.longitude, f);
        out.altitude = Lerp64(early.altitude, late.altitude, f);
        out.pitch = LerpAngle(early.pitch, late.pitch, f);
        out.bank = LerpAngle(early.bank, late.bank, f);
        out.heading = LerpAngle(early.heading, late.heading, f);
    }
    out.altitude = static_cast<int64_t>(static_cast<uint64_t>(out.altitude) + static_cast<uint64_t>(heightCorrection));
    std::memcpy(placement, &out.latitude, 8);
    std::memcpy(placement + 8, &out.longitude, 8);
    std::memcpy(placement + 16, &out.altitude, 8);
    std::memcpy(placement + 24, &out.pitch, 4);
    std::memcpy(placement + 28, &out.bank, 4);
    std::memcpy(placement + 32, &out.heading, 4);
    return true;
}

int64_t PlacementAltitude(const uint8_t placement[36]) {
    int64_t altitude;
    std::memcpy(&altitude, placement + 16, 8);
    return altitude;
}
