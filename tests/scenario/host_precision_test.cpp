// The simulator is a Direct3D program, and such processes commonly run with
// the x87 precision control at 24 bits. With the stand-in holding that
// control word whenever the module runs, a flight recorded and played back
// must come out exactly as at full precision: every interpolated position is
// the one the recorded samples give, and a fixed flight plays bit for bit as
// in the native build.
#include <cstring>
#include <fstream>

#include "recording_bytes.h"
#include "recording_scenario.h"

namespace {

// Whether this processor loads a double into an x87 register whole while the
// precision control is at 24 bits, as every real one does: the precision
// control rounds arithmetic, never loads and stores. An emulator that rounds
// the load (qemu's, for one) changes every double the module passes through
// the x87 stack (return values, 64-bit integer conversions), so what these
// tests would find there says nothing about the module.
bool X87LoadsAreWholeAtSinglePrecision() {
    const double value = 1.0 + 1.0 / (1ull << 40);  // needs more than 24 bits
    double stored = 0.0;
    uint16_t saved, single;
    __asm__ volatile("fnstcw %0" : "=m"(saved));
    single = static_cast<uint16_t>(saved & ~0x0300);
    __asm__ volatile("fldcw %2\n\tfldl %1\n\tfstpl %0\n\tfldcw %3"
                     : "=m"(stored)
                     : "m"(value), "m"(single), "m"(saved));
    return stored == value;
}

class SinglePrecisionHost : public RecordingScenario {
protected:
    void SetUp() override {
        RecordingScenario::SetUp();
        if (!X87LoadsAreWholeAtSinglePrecision())
            GTEST_SKIP() << "this processor rounds x87 loads at single precision, which no real one does "
                            "(an emulator): the module cannot be judged on it";
    }
    void StartSinglePrecision() {
        WriteSettings("[SETTINGS]\nNoRecDlg=1\nPause=0\nRplyEnabled=0\n[RECORD]\nDfltItvlIdx=1\n");
        SimConfig config;
        config.singlePrecisionX87 = true;
        Start(config);
    }

    static std::vector<TestTrack> TracksOf(const std::string& path) {
        std::vector<TestTrack> tracks;
        EXPECT_TRUE(ParseMultiTrackFile(ReadBytes(path), &tracks)) << path;
        return tracks;
    }

    void Play(const std::string& path) {
        SimQueueFileDialogAnswer({folder + "/" + path});
        EXPECT_FALSE(SimChooseMenuCommand(SimCmdPlay));
    }
};

bool HeldAtSinglePrecision() { return (SimX87ControlWordSeenByHost() & 0x0300) == 0; }

// FNV-1a over the bytes.
uint64_t Digest(uint64_t digest, const uint8_t* bytes, size_t size) {
    for (size_t i = 0; i < size; ++i) digest = (digest ^ bytes[i]) * 0x100000001B3ull;
    return digest;
}

}  // namespace

TEST_F(SinglePrecisionHost, ARecordedFlightPlaysBackWhereItsSamplesSay) {
    StartSinglePrecision();
    Fly(90.0);  // the take-off roll: speed and heading change
    StartRecording();
    Fly(40.0);
    StopRecording();
    ASSERT_TRUE(HeldAtSinglePrecision());

    // Recorded as flown.
    const ParsedRecording recording = OnlyRecording();
    ASSERT_EQ(recording.tracks.size(), 1u);
    for (const ParsedSample& sample : recording.tracks[0].samples)
        ASSERT_EQ(SampleDifference(sample, ScriptedSample(WorldAt(sample.time), nullptr, DateAt(sample.time)),
                                   recording.tracks[0].flags),
                  "")
            << "at " << sample.time;

    // Played where the samples put the aircraft, to the last bit of every
    // frame between two samples.
    const std::string path = "Recordings/" + SavedRecordings().at(0);
    const std::vector<TestTrack> tracks = TracksOf(path);
    ASSERT_EQ(tracks.size(), 1u);
    Play(path);
    for (uint32_t t = 0; t < tracks[0].samples.back().time; t += ticksPerFrame) {
        SimRunFrames(1);
        uint8_t expected[36];
        SimAircraftState state;
        ASSERT_TRUE(ExpectedPlacement(tracks[0], t, 0, expected));
        ASSERT_TRUE(SimGetAircraftState(1, &state));
        ASSERT_EQ(std::memcmp(state.placement, expected, 36), 0) << "at t " << t;
    }
    EXPECT_TRUE(HeldAtSinglePrecision());
}

// The positions of a fixed flight, played at single precision, digested:
// the value is the native build's (which computes in SSE2 registers, where
// the x87 control word does not reach). A change to playback's arithmetic
// changes it on every build alike; the failure message gives the new value.
TEST_F(SinglePrecisionHost, AFixedFlightPlaysBitForBitAsInTheNativeBuild) {
    const TestTrack track = SmoothTrack(0, 0, 7000, 40, 3);  // a sample every 0.7 s: frames fall between
    WriteBytes("fixed.atr", MultiTrackFile({track}));
    StartSinglePrecision();
    Fly(1.0);
    Play("fixed.atr");
    uint64_t digest = 0xCBF29CE484222325ull;
    int placed = 0;
    for (uint32_t t = 0; t < track.samples.back().time; t += ticksPerFrame) {
        SimRunFrames(1);
        SimAircraftState state;
        ASSERT_TRUE(SimGetAircraftState(1, &state));
        digest = Digest(digest, state.placement, sizeof state.placement);
        ++placed;
    }
    EXPECT_TRUE(HeldAtSinglePrecision());
    EXPECT_EQ(placed, 546);
    EXPECT_EQ(digest, 0x9D8B69FB6477543Eull) << std::hex << "digest 0x" << digest;
}
