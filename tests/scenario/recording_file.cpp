// Test-side parser of recording files, written from the format's tables.
#include "recording_file.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

struct Group {
    uint32_t bit;
    uint32_t size;
};
// Optional groups in record order; the toggle byte sits after the lights.
const Group Groups[] = {{0x001, 8}, {0x002, 6}, {0x004, 2}, {0x008, 1}, {0x010, 2}, {0x020, 2},
                        {0x000, 1}, {0x040, 4}, {0x080, 12}, {0x100, 6}, {0x200, 16}, {0x400, 6}, {0x800, 1}};

uint16_t U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t U32(const uint8_t* p) { return U16(p) | static_cast<uint32_t>(U16(p + 2)) << 16; }

ParsedSample Decode(const uint8_t* p, uint32_t flags) {
    ParsedSample s{};
    std::memcpy(s.placement, p, 36);
    std::memcpy(s.motion, p + 36, 24);
    s.onGround = p[60];
    const uint8_t* q = p + 61;
    for (const Group& g : Groups) {
        if (g.bit && !(flags & g.bit)) continue;
        switch (g.bit) {
        case 0x001: for (int k = 0; k < 4; ++k) s.throttles[k] = static_cast<int16_t>(U16(q + 2 * k)); break;
        case 0x002:
            s.elevator = static_cast<int16_t>(U16(q));
            s.aileron = static_cast<int16_t>(U16(q + 2));
            s.rudder = static_cast<int16_t>(U16(q + 4));
            break;
        case 0x004: s.spoilers = U16(q); break;
        case 0x008: s.flaps = q[0]; break;
        case 0x010: s.gear = U16(q); break;
        case 0x020: s.lights = U16(q); break;
        case 0x000: s.toggleState = q[0]; break;
        case 0x040: std::memcpy(s.engines, q, 4); break;
        case 0x080:
            for (int k = 0; k < 4; ++k) s.nav[k] = U16(q + 2 * k);
            s.adf = U32(q + 8);
            break;
        case 0x100: for (int k = 0; k < 3; ++k) s.com[k] = U16(q + 2 * k); break;
        case 0x200:
            for (int k = 0; k < 4; ++k) s.prop[k] = static_cast<int16_t>(U16(q + 2 * k));
            for (int k = 0; k < 4; ++k) s.mixture[k] = static_cast<int16_t>(U16(q + 8 + 2 * k));
            break;
        case 0x400:
            s.year = q[0];
            s.day = U16(q + 1);
            s.hour = q[3];
            s.minute = q[4];
            s.second = q[5];
            break;
        case 0x800: s.smoke = q[0]; break;
        }
        q += g.size;
    }
    s.time = U32(q);
    return s;
}

}  // namespace

uint32_t ParsedRecordSize(uint32_t flags) {
    uint32_t size = 61 + 4;
    for (const Group& g : Groups)
        if (!g.bit || (flags & g.bit)) size += g.size;
    return size;
}

bool ParseTrackSection(const std::vector<uint8_t>& bytes, size_t* offset, ParsedTrack* track, std::string* problem) {
    if (bytes.size() < *offset + 124) {
        *problem = "track header cut short at " + std::to_string(*offset);
        return false;
    }
    const uint8_t* h = bytes.data() + *offset;
    track->count = U32(h);
    track->flags = U32(h + 4);
    track->firstTime = U32(h + 8);
    track->lastTime = U32(h + 12);
    const char* title = reinterpret_cast<const char*>(h + 16);
    track->title.assign(title, strnlen(title, 100));
    std::memcpy(&track->referenceElevation, h + 116, 4);
    track->interval = U32(h + 120);
    *offset += 124;
    uint32_t size = ParsedRecordSize(track->flags);
    if (bytes.size() < *offset + static_cast<uint64_t>(size) * track->count) {
        *problem = "records of '" + track->title + "' cut short";
        return false;
    }
    for (uint32_t i = 0; i < track->count; ++i) {
        track->samples.push_back(Decode(bytes.data() + *offset, track->flags));
        *offset += size;
    }
    return true;
}

ParsedRecording ParseRecording(const std::vector<uint8_t>& bytes) {
    ParsedRecording r;
    if (bytes.size() < 18) {
        r.problem = "shorter than its header";
        return r;
    }
    r.version = U32(bytes.data());
    r.startTime = U32(bytes.data() + 4);
    r.endTime = U32(bytes.data() + 8);
    r.dateStamp = U32(bytes.data() + 12);
    r.trackCount = U16(bytes.data() + 16);
    size_t offset = 18;
    for (uint16_t i = 0; i < r.trackCount; ++i) {
        ParsedTrack track;
        if (!ParseTrackSection(bytes, &offset, &track, &r.problem)) return r;
        r.tracks.push_back(track);
    }
    if (offset != bytes.size()) {
        r.problem = "bytes after the last track";
        return r;
    }
    r.valid = true;
    return r;
}

std::vector<uint8_t> ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> FilesIn(const std::string& folder, const std::string& prefix, const std::string& suffix) {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        std::string name = entry.path().filename().string();
        if (name.size() >= prefix.size() + suffix.size() && name.compare(0, prefix.size(), prefix) == 0 &&
            name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0)
            names.push_back(name);
    }
    return names;
}
