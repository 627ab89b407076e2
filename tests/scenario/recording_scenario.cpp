// The recording scenarios' fixture and the script's expected samples.
#include "recording_scenario.h"

#include <cmath>
#include <cstring>
#include <fstream>
#include <sstream>

void RecordingScenario::WriteSettings(const std::string& text) {
    std::ofstream out("Modules/Aerotrace.ini", std::ios::binary | std::ios::trunc);
    out << text;
}

FrameDate HostDateNow() {
    const uint8_t* state = SimHostStateBlock();
    FrameDate date;
    date.second = state[0x23A];
    std::memcpy(&date.hour, state + 0x23C, 4);
    std::memcpy(&date.minute, state + 0x240, 4);
    std::memcpy(&date.day, state + 0x244, 2);
    std::memcpy(&date.year, state + 0x246, 2);
    return date;
}

void RecordingScenario::Fly(double seconds) {
    FlyFrames(static_cast<int>(std::lround(seconds * 256.0 / (stepSeconds * SimSimulationRate()))));
}

void RecordingScenario::FlyFrames(int frames) {
    for (int i = 0; i < frames; ++i) {
        SimRunFrames(1);
        worldAt.push_back(SimWorldSeconds());
        dates.push_back(HostDateNow());
    }
}

void RecordingScenario::StartRecording() {
    startDate = HostDateNow();
    EXPECT_FALSE(SimChooseMenuCommand(SimCmdRecord));
    firstFrame = worldAt.size();
}

void RecordingScenario::StopRecording() { EXPECT_FALSE(SimChooseMenuCommand(SimCmdRecord)); }

double RecordingScenario::WorldAt(uint32_t trackTime) const {
    size_t frame = firstFrame + trackTime / ticksPerFrame;
    return frame < worldAt.size() ? worldAt[frame] : -1.0;
}

const FrameDate& RecordingScenario::DateAt(uint32_t trackTime) const {
    size_t frame = firstFrame + trackTime / ticksPerFrame;
    return dates.at(frame);
}

std::vector<std::string> RecordingScenario::SavedRecordings() const { return FilesIn("Recordings", "Rec_", ".atr"); }

ParsedRecording RecordingScenario::OnlyRecording() const {
    std::vector<std::string> saved = SavedRecordings();
    EXPECT_EQ(saved.size(), 1u);
    if (saved.size() != 1) return ParsedRecording();
    ParsedRecording recording = ParseRecording(ReadWholeFile("Recordings/" + saved[0]));
    EXPECT_TRUE(recording.valid) << recording.problem;
    return recording;
}

std::vector<std::string> RecordingScenario::TempFiles() const { return FilesIn("Modules", "Aerotrace", ".tmp"); }

void ExpectModalPairs() {
    int depth = 0;
    for (const SimLogEntry& entry : SimLog()) {
        if (entry.kind == LogModalBegin) ++depth;
        if (entry.kind == LogModalEnd) --depth;
        if (entry.kind == LogMessageBox || entry.kind == LogFileDialog) {
            EXPECT_EQ(depth, 1) << entry.text;
        }
        ASSERT_GE(depth, 0);
    }
    EXPECT_EQ(depth, 0);
}

ParsedTrack TempTrack(const std::string& name) {
    std::vector<uint8_t> bytes = ReadWholeFile("Modules/" + name);
    ParsedTrack track;
    size_t offset = 0;
    std::string problem;
    EXPECT_TRUE(ParseTrackSection(bytes, &offset, &track, &problem)) << problem;
    EXPECT_EQ(offset, bytes.size()) << name;
    return track;
}

namespace {

int64_t Truncated(double value) { return static_cast<int64_t>(value); }

}  // namespace

ParsedSample ScriptedSample(double worldSeconds, const SimAiScript* ai, const FrameDate& date) {
    SimAircraftState state;
    double t = worldSeconds;
    if (ai) {
        SimScriptedAiState(*ai, worldSeconds, &state);
        t = worldSeconds + ai->timeOffset;
    } else {
        SimScriptedState(worldSeconds, &state);
    }
    auto value = [t](uint32_t variable, uint32_t unit, uint32_t index) {
        return Truncated(SimScriptedValue(t, variable, unit, index));
    };
    ParsedSample s{};
    std::memcpy(s.placement, state.placement, 36);
    std::memcpy(s.motion, state.motion, 24);
    s.onGround = static_cast<uint8_t>(value(70, 136, 0));
    for (int k = 0; k < 4; ++k) s.throttles[k] = static_cast<int16_t>(value(271, 53, k + 1));
    s.elevator = static_cast<int16_t>(value(80, 58, 0));
    s.aileron = static_cast<int16_t>(value(76, 58, 0));
    s.rudder = static_cast<int16_t>(value(79, 58, 0));
    s.spoilers = static_cast<uint16_t>(value(90, 58, 0));
    s.flaps = static_cast<uint8_t>(value(95, 50, 0));
    s.gear = static_cast<uint16_t>(value(110, 58, 0));
    s.lights = static_cast<uint16_t>(value(6, 138, 0));
    s.toggleState = static_cast<uint8_t>(value(87, 136, 0));
    for (int k = 0; k < 4; ++k) s.engines[k] = static_cast<uint8_t>(value(264, 136, k + 1));
    s.nav[0] = static_cast<uint16_t>(value(489, 134, 1));
    s.nav[1] = static_cast<uint16_t>(value(510, 63, 1));
    s.nav[2] = static_cast<uint16_t>(value(489, 134, 2));
    s.nav[3] = static_cast<uint16_t>(value(510, 63, 2));
    uint32_t a = static_cast<uint16_t>(value(480, 134, 1)), b = static_cast<uint16_t>(value(481, 134, 1));
    s.adf = (a << 16) | ((b & 0xFF00) << 20) | ((b & 0x000F) << 12);
    s.com[0] = static_cast<uint16_t>(value(476, 134, 1));
    s.com[1] = static_cast<uint16_t>(value(476, 134, 2));
    s.com[2] = static_cast<uint16_t>(value(479, 137, 1));
    for (int k = 0; k < 4; ++k) s.prop[k] = static_cast<int16_t>(value(272, 53, k + 1));
    for (int k = 0; k < 4; ++k) s.mixture[k] = static_cast<int16_t>(value(273, 53, k + 1));
    s.year = static_cast<uint8_t>(date.year - 1900);
    s.day = date.day;
    s.hour = static_cast<uint8_t>(date.hour);
    s.minute = static_cast<uint8_t>(date.minute);
    s.second = date.second;
    s.smoke = static_cast<uint8_t>(value(540, 136, 0));
    return s;
}

std::string SampleDifference(const ParsedSample& got, const ParsedSample& want, uint32_t flags) {
    std::ostringstream out;
    auto check = [&out](bool same, const char* field) {
        if (!same) out << field << " ";
    };
    check(std::memcmp(got.placement, want.placement, 36) == 0, "placement");
    check(std::memcmp(got.motion, want.motion, 24) == 0, "motion");
    check(got.onGround == want.onGround, "onGround");
    check(got.toggleState == want.toggleState, "toggle");
    if (flags & 0x001) check(std::memcmp(got.throttles, want.throttles, 8) == 0, "throttles");
    if (flags & 0x002)
        check(got.elevator == want.elevator && got.aileron == want.aileron && got.rudder == want.rudder, "controls");
    if (flags & 0x004) check(got.spoilers == want.spoilers, "spoilers");
    if (flags & 0x008) check(got.flaps == want.flaps, "flaps");
    if (flags & 0x010) check(got.gear == want.gear, "gear");
    if (flags & 0x020) check(got.lights == want.lights, "lights");
    if (flags & 0x040) check(std::memcmp(got.engines, want.engines, 4) == 0, "engines");
    if (flags & 0x080) check(std::memcmp(got.nav, want.nav, 8) == 0 && got.adf == want.adf, "nav");
    if (flags & 0x100) check(std::memcmp(got.com, want.com, 6) == 0, "com");
    if (flags & 0x200)
        check(std::memcmp(got.prop, want.prop, 8) == 0 && std::memcmp(got.mixture, want.mixture, 8) == 0, "levers");
    if (flags & 0x400)
        check(got.year == want.year && got.day == want.day && got.hour == want.hour && got.minute == want.minute &&
                  got.second == want.second,
              "date");
    if (flags & 0x800) check(got.smoke == want.smoke, "smoke");
    return out.str();
}

uint32_t ExpectedDateStamp(const FrameDate& date) {
    uint64_t seconds = ((((static_cast<uint64_t>(date.year) * 366 + date.day) * 24 + date.hour) * 60 + date.minute) * 60) +
                       date.second;
    return static_cast<uint32_t>(seconds + 46982144);
}
