// Tracks and the track table: appending into rings and files, the replay
// ring's rotation, interpolation, paging windows through a file, files whose
// headers do not fit them, and failed writes and reads that must neither lose
// samples nor hand stale ones to playback.
#include "engine/tracks/track.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "core/host/clock.h"
#include "engine/tracks/track_table.h"
#include "platform/platform.h"
#include "sim.h"

namespace {

const uint32_t Turn16 = 0x10000000u;  // one sixteenth of a full turn

// Sample i of a steady synthetic flight: every value moves by a fixed step.
FullSample FlightSample(uint32_t i, uint32_t time) {
    FullSample s{};
    s.position.latitude = 1000000LL * i + 7;
    s.position.longitude = -2000000LL * i;
    s.position.altitude = 4000LL * i;
    s.pitch = 1000u * i;
    s.bank = 0u - 2000u * i;
    s.heading = 0x10000u * i;
    s.motion[0] = 1.0 * i;
    s.motion[1] = -2.0 * i;
    s.motion[2] = 0.5 * i;
    s.onGround = 1;
    for (int k = 0; k < 4; ++k) {
        s.throttles[k] = static_cast<int16_t>(10 * i + k);
        s.propLevers[k] = static_cast<int16_t>(-10 * static_cast<int32_t>(i) - k);
        s.mixtureLevers[k] = static_cast<int16_t>(20 * i);
        s.engines[k] = static_cast<uint8_t>(i + k);
    }
    s.elevator = static_cast<int16_t>(2 * i);
    s.aileron = static_cast<int16_t>(-2 * static_cast<int32_t>(i));
    s.rudder = static_cast<int16_t>(4 * i);
    s.spoilers = static_cast<uint16_t>(6 * i);
    s.flaps = static_cast<uint8_t>(i);
    s.gear = static_cast<uint16_t>(i);
    s.lights = static_cast<uint16_t>(i * 3);
    s.toggleState = static_cast<uint8_t>(i * 5);
    s.nav1Frequency = static_cast<uint16_t>(i);
    s.adfWord = i * 7;
    s.com1Frequency = static_cast<uint16_t>(i * 11);
    s.transponder = static_cast<uint16_t>(i * 13);
    s.dayOfYear = static_cast<uint16_t>(i);
    s.smoke = static_cast<uint8_t>(i & 1);
    s.time = time;
    return s;
}

// The bytes a track with this layout keeps of a sample: compares samples
// group by group without looking at padding.
std::vector<uint8_t> Packed(const SampleLayout& layout, const FullSample& s) {
    std::vector<uint8_t> bytes(layout.recordSize);
    PackSample(layout, s, bytes.data());
    return bytes;
}

std::vector<uint8_t> FullImage(const FullSample& s) { return Packed(ComputeLayout(FlagAllGroups), s); }

// What a track of the first count samples gives at the time of sample i:
// the pair sample i starts, at f = 0, where the aircraft is on the ground only
// if it is at both samples and the spoilers on the ground show the smaller
// value; the last sample ends the last pair, at f = 1, where what moves is
// the last sample's and what is not interpolated the one before it.
FullSample AtSampleTime(const std::vector<FullSample>& samples, size_t count, size_t i) {
    const bool last = i + 1 == count;
    const FullSample& a = samples[last ? i - 1 : i];
    const FullSample& b = samples[last ? i : i + 1];
    FullSample s = a;
    if (last) {
        s.position = b.position;
        s.pitch = b.pitch;
        s.bank = b.bank;
        s.heading = b.heading;
        std::memcpy(s.motion, b.motion, sizeof s.motion);
        std::memcpy(s.throttles, b.throttles, sizeof s.throttles);
        s.elevator = b.elevator;
        s.aileron = b.aileron;
        s.rudder = b.rudder;
        std::memcpy(s.propLevers, b.propLevers, sizeof s.propLevers);
        std::memcpy(s.mixtureLevers, b.mixtureLevers, sizeof s.mixtureLevers);
        s.spoilers = b.spoilers;
    }
    s.onGround = a.onGround && b.onGround ? 1 : 0;
    if (s.onGround) s.spoilers = std::min(a.spoilers, b.spoilers);
    s.time = samples[i].time;
    return s;
}

// A memory ring holding the given samples, switched to reading as a replay does.
Track ReplayRing(uint32_t capacity, uint32_t flags, const std::vector<FullSample>& samples) {
    Track track{};
    EXPECT_TRUE(TrackInit(&track, capacity, nullptr, 0, flags, "Ring", 1, 500, 1));
    for (const FullSample& s : samples) EXPECT_TRUE(AppendSample(&track, s));
    uint32_t shift = 0;
    EXPECT_TRUE(RotateRing(&track, &shift));
    track.readMode = 1;
    track.cursor = 0;
    track.windowIndex = 0;
    return track;
}

}  // namespace

// ---------------------------------------------------------------- header

TEST(TrackHeaderBytes, FieldsRoundTripAndTitleIsBoundedToItsField) {
    TrackHeader header{};
    header.count = 0x01020304;
    header.flags = 0x0FFF;
    header.firstTime = 7;
    header.lastTime = 0xFFFFFFF0u;
    const std::string longTitle(150, 'T');
    CopyTrackTitle(header.title, longTitle.c_str());
    EXPECT_EQ(std::strlen(header.title), 100u);
    header.referenceElevation = 1234.5f;
    header.interval = 500;

    uint8_t bytes[TrackHeaderSize + 1];
    bytes[TrackHeaderSize] = 0xEE;
    EncodeTrackHeader(header, bytes);
    EXPECT_EQ(bytes[TrackHeaderSize], 0xEE);
    EXPECT_EQ(bytes[0], 0x04);
    EXPECT_EQ(bytes[115], 'T');  // 100 characters fill the field: no terminator on disk
    EXPECT_EQ(GetU32(bytes + 120), 500u);
    float elevation;
    uint32_t elevationBits = GetU32(bytes + 116);
    std::memcpy(&elevation, &elevationBits, 4);
    EXPECT_EQ(elevation, 1234.5f);

    TrackHeader back{};
    std::memset(back.title, 'X', sizeof back.title);
    DecodeTrackHeader(bytes, &back);
    EXPECT_EQ(back.count, header.count);
    EXPECT_EQ(back.flags, header.flags);
    EXPECT_EQ(back.firstTime, header.firstTime);
    EXPECT_EQ(back.lastTime, header.lastTime);
    EXPECT_EQ(std::string(back.title), std::string(100, 'T'));  // terminated in memory
    EXPECT_EQ(back.referenceElevation, 1234.5f);
    EXPECT_EQ(back.interval, 500u);

    // A short title is NUL-padded, whatever the memory behind its terminator held.
    TrackHeader shortTitle = header;
    std::memset(shortTitle.title, 'Z', sizeof shortTitle.title);
    std::memcpy(shortTitle.title, "Cub\0", 4);
    EncodeTrackHeader(shortTitle, bytes);
    for (int i = 19; i < 116; ++i) ASSERT_EQ(bytes[i], 0) << "byte " << i;
}

// ---------------------------------------------------------------- ring

TEST(TrackRing, FullRingKeepsTheNewestAndRotatesIntoTimeOrder) {
    Track ring{};
    ASSERT_TRUE(TrackInit(&ring, 4, nullptr, 0, FlagThrottles, "Ring", 1, 500, 1));
    EXPECT_EQ(ring.ring, 1u);
    for (uint32_t i = 1; i <= 6; ++i) ASSERT_TRUE(AppendSample(&ring, FlightSample(i, 100000 + 5000 * i)));
    EXPECT_EQ(ring.count, 4u);
    EXPECT_EQ(ring.cursor, 4u);
    EXPECT_EQ(ring.firstTime, 100000u + 5000 * 3);
    EXPECT_EQ(ring.lastTime, 100000u + 5000 * 6);

    // The track moves its own time line only and says by how much.
    moduleClock.trackTime = 100000 + 5000 * 6 + 123;
    uint32_t shift = 0;
    ASSERT_TRUE(RotateRing(&ring, &shift));
    EXPECT_EQ(shift, 100000u + 5000 * 3);
    EXPECT_EQ(ring.firstTime, 0u);
    EXPECT_EQ(ring.lastTime, 5000u * 3);
    EXPECT_EQ(ring.windowIndex, 0u);
    EXPECT_EQ(moduleClock.trackTime, 100000u + 5000 * 6 + 123);
    for (uint32_t slot = 0; slot < 4; ++slot) {
        FullSample expected = FlightSample(slot + 3, 5000 * slot);
        FullSample got{};
        UnpackSample(ring.layout, ring.window + slot * ring.layout.recordSize, &got);
        EXPECT_EQ(Packed(ring.layout, got), Packed(ring.layout, expected)) << "slot " << slot;
    }
    // Recording goes on after a rotation: the next sample replaces the oldest.
    ASSERT_TRUE(AppendSample(&ring, FlightSample(7, 5000 * 4)));
    EXPECT_EQ(ring.firstTime, 5000u);
    EXPECT_EQ(ring.count, 4u);
    ReleaseWindow(&ring);
    moduleClock = ModuleClock{};
}

TEST(TrackRing, RotationLeavesARingThatNeverWrappedAndRefusesOtherTracks) {
    Track ring{};
    ASSERT_TRUE(TrackInit(&ring, 8, nullptr, 0, 0, "Ring", 1, 500, 1));
    for (uint32_t i = 0; i < 5; ++i) ASSERT_TRUE(AppendSample(&ring, FlightSample(i, 3000 + 1000 * i)));
    std::vector<uint8_t> before(ring.window, ring.window + 8 * ring.layout.recordSize);
    uint32_t shift = 77;
    ASSERT_TRUE(RotateRing(&ring, &shift));
    EXPECT_EQ(shift, 0u);
    EXPECT_EQ(std::vector<uint8_t>(ring.window, ring.window + 8 * ring.layout.recordSize), before);
    EXPECT_EQ(ring.firstTime, 3000u);
    EXPECT_EQ(ring.windowIndex, 5u);
    ReleaseWindow(&ring);
    moduleClock = ModuleClock{};

    Track notRing = ring;
    notRing.ring = 0;
    EXPECT_FALSE(RotateRing(&notRing, &shift));
}

// ---------------------------------------------------------------- appending

TEST(TrackAppend, RefusedWhenTheTrackWasMovedIsReadOrHasNoWindow) {
    Track track{};
    ASSERT_TRUE(TrackInit(&track, 16, nullptr, 0, 0, "Ring", 1, 500, 1));
    ASSERT_TRUE(AppendSample(&track, FlightSample(0, 0)));
    ASSERT_TRUE(AppendSample(&track, FlightSample(1, 10)));
    Track before = track;

    track.cursor = 0;  // moved away from the end, as interpolation does
    EXPECT_FALSE(AppendSample(&track, FlightSample(2, 20)));
    EXPECT_EQ(track.count, 2u);
    EXPECT_EQ(track.lastTime, 10u);
    track.cursor = before.cursor;

    track.readMode = 1;
    EXPECT_FALSE(AppendSample(&track, FlightSample(2, 20)));
    track.readMode = 0;

    ReleaseWindow(&track);
    EXPECT_EQ(track.window, nullptr);
    EXPECT_FALSE(AppendSample(&track, FlightSample(2, 20)));
    EXPECT_EQ(track.count, 2u);

    // A window must hold a pair of samples; nothing is allocated otherwise.
    Track tiny{};
    EXPECT_FALSE(TrackInit(&tiny, 1, nullptr, 0, 0, "Ring", 1, 500, 1));
    EXPECT_FALSE(TrackInit(&tiny, 0, nullptr, 0, 0, "Ring", 1, 500, 1));
    EXPECT_EQ(tiny.window, nullptr);
}

// ---------------------------------------------------------------- interpolation

TEST(TrackInterpolation, BlendsContinuousValuesAndHoldsTheRest) {
    FullSample a = FlightSample(10, 10000);
    FullSample b = FlightSample(20, 20000);
    a.throttles[0] = -100;
    b.throttles[0] = 201;
    a.onGround = 1;
    b.onGround = 0;
    a.spoilers = 1000;
    b.spoilers = 3001;
    Track track = ReplayRing(4, FlagAllGroups, {a, b});
    track.heightCorrection = 1LL << 32;

    FullSample out{};
    ASSERT_TRUE(InterpolateAt(&track, 12500, &out));  // f = 0.25
    EXPECT_EQ(out.position.latitude, a.position.latitude + 2500000);
    EXPECT_EQ(out.position.longitude, a.position.longitude - 5000000);
    EXPECT_EQ(out.position.altitude, a.position.altitude + 10000 + (1LL << 32));
    EXPECT_EQ(out.pitch, a.pitch + 2500u);
    EXPECT_EQ(out.bank, a.bank - 5000u);
    EXPECT_DOUBLE_EQ(out.motion[0], 12.5);
    EXPECT_DOUBLE_EQ(out.motion[1], -25.0);
    EXPECT_EQ(out.throttles[0], -24);  // trunc(0.25 * 201 + 0.75 * -100) = trunc(-24.75)
    EXPECT_EQ(out.throttles[1], 126);  // 101 + 0.25 * 100 = 126
    EXPECT_EQ(out.propLevers[2], -127);
    EXPECT_EQ(out.rudder, 50);
    EXPECT_EQ(out.onGround, 0);      // airborne at one end: airborne
    EXPECT_EQ(out.spoilers, 1500u);  // trunc(0.75 * 1000 + 0.25 * 3001)
    EXPECT_EQ(out.flaps, a.flaps);   // discrete values hold the earlier sample's
    EXPECT_EQ(out.gear, a.gear);
    EXPECT_EQ(out.lights, a.lights);
    EXPECT_EQ(out.toggleState, a.toggleState);
    EXPECT_EQ(out.engines[3], a.engines[3]);
    EXPECT_EQ(out.adfWord, a.adfWord);
    EXPECT_EQ(out.transponder, a.transponder);
    EXPECT_EQ(out.dayOfYear, a.dayOfYear);
    EXPECT_EQ(out.smoke, a.smoke);
    EXPECT_EQ(out.time, 12500u);

    // On the ground at both ends the spoilers show no more than both agree on.
    ReleaseWindow(&track);
    b.onGround = 5;
    track = ReplayRing(4, FlagAllGroups, {a, b});
    ASSERT_TRUE(InterpolateAt(&track, 17000, &out));
    EXPECT_EQ(out.onGround, 1);
    EXPECT_EQ(out.spoilers, 1000u);
    ReleaseWindow(&track);
}

TEST(TrackInterpolation, AnglesAndLongitudeTakeTheShortWayRound) {
    FullSample a = FlightSample(0, 0);
    FullSample b = FlightSample(0, 1000);
    a.heading = 0u - Turn16;  // a sixteenth below zero ...
    b.heading = Turn16;       // ... to a sixteenth above
    a.pitch = Turn16;
    b.pitch = 0u - Turn16;
    a.position.longitude = INT64_MAX - 99;  // across the date line
    b.position.longitude = INT64_MIN + 99;
    Track track = ReplayRing(4, 0, {a, b});
    FullSample out{};
    ASSERT_TRUE(InterpolateAt(&track, 500, &out));
    EXPECT_EQ(out.heading, 0u);
    EXPECT_EQ(out.pitch, 0u);
    EXPECT_EQ(out.position.longitude, INT64_MAX);
    ReleaseWindow(&track);
}

// At a sample's own time the pair is that sample and the next (f = 0), and
// the last sample is reached as the end of the last pair (f = 1): the blend
// rule holds there as everywhere, for the groups it does not interpolate too.
TEST(TrackInterpolation, AtSampleTimesTheBlendRuleHoldsForEveryGroup) {
    std::vector<FullSample> samples;
    for (uint32_t i = 0; i < 6; ++i) samples.push_back(FlightSample(i * 3 + 1, 1000 * i));
    samples[1].spoilers = 3000;  // retracting on the ground: the smaller of the pair
    samples[2].spoilers = 1000;
    samples[4].onGround = 0;  // lifts off between samples 3 and 4
    Track track = ReplayRing(8, FlagAllGroups, samples);
    FullSample out{};

    ASSERT_TRUE(InterpolateAt(&track, samples[1].time, &out));
    EXPECT_EQ(out.spoilers, 1000u);
    FullSample expected = samples[1];
    expected.spoilers = 1000;
    EXPECT_EQ(FullImage(out), FullImage(expected));

    // On the ground at sample 3, but not at 4: not on the ground, and the
    // spoilers are sample 3's own.
    ASSERT_TRUE(InterpolateAt(&track, samples[3].time, &out));
    EXPECT_EQ(out.onGround, 0);
    expected = samples[3];
    expected.onGround = 0;
    EXPECT_EQ(FullImage(out), FullImage(expected));

    // The last sample: what moves is its own, the discrete groups are the
    // earlier sample's.
    ASSERT_TRUE(InterpolateAt(&track, samples[5].time, &out));
    EXPECT_EQ(out.position.latitude, samples[5].position.latitude);
    EXPECT_EQ(out.heading, samples[5].heading);
    EXPECT_DOUBLE_EQ(out.motion[2], samples[5].motion[2]);
    EXPECT_EQ(out.throttles[3], samples[5].throttles[3]);
    EXPECT_EQ(out.mixtureLevers[0], samples[5].mixtureLevers[0]);
    EXPECT_EQ(out.spoilers, samples[5].spoilers);  // airborne: interpolated, f = 1
    EXPECT_EQ(out.flaps, samples[4].flaps);
    EXPECT_EQ(out.gear, samples[4].gear);
    EXPECT_EQ(out.lights, samples[4].lights);
    EXPECT_EQ(out.toggleState, samples[4].toggleState);
    EXPECT_EQ(out.engines[1], samples[4].engines[1]);
    EXPECT_EQ(out.adfWord, samples[4].adfWord);
    EXPECT_EQ(out.dayOfYear, samples[4].dayOfYear);
    EXPECT_EQ(out.smoke, samples[4].smoke);
    EXPECT_EQ(out.time, samples[5].time);
    ReleaseWindow(&track);

    // Two samples with one time stamp: the earlier one.
    FullSample later = FlightSample(2, 3000);
    Track same = ReplayRing(8, FlagAllGroups, {FlightSample(1, 3000), later});
    ASSERT_TRUE(InterpolateAt(&same, 3000, &out));
    EXPECT_EQ(FullImage(out), FullImage(FlightSample(1, 3000)));
    ReleaseWindow(&same);
}

// A play time on a sample lies at the end of one pair and at the start of
// the next. Which of the two the search stops at must not depend on where it
// came from, or the discrete groups, the on-ground flag and the spoilers
// would differ for one play time between playing forwards and backwards.
TEST(TrackInterpolation, APlayTimeOnASampleGivesOneResultFromEitherSide) {
    std::vector<FullSample> samples;
    for (uint32_t i = 0; i < 8; ++i) samples.push_back(FlightSample(i * 5 + 2, 1000 * i));
    samples[3].onGround = 0;
    samples[5].time = samples[4].time;  // two samples at one time
    const uint32_t expectedCursor[8] = {0, 1, 2, 3, 5, 5, 6, 6};
    for (uint32_t k = 0; k < 8; ++k) {
        const uint32_t t = samples[k].time;
        std::vector<uint8_t> images[3];
        uint32_t cursors[3];
        for (int from = 0; from < 3; ++from) {
            Track track = ReplayRing(8, FlagAllGroups, samples);
            FullSample out{};
            // Fresh from the start, from just before and from just after.
            if (from == 1 && t > 0) {
                ASSERT_TRUE(InterpolateAt(&track, t - 1, &out));
            }
            if (from == 2 && t < samples.back().time) {
                ASSERT_TRUE(InterpolateAt(&track, t + 1, &out));
            }
            out = FullSample{};
            ASSERT_TRUE(InterpolateAt(&track, t, &out)) << k;
            images[from] = FullImage(out);
            cursors[from] = track.cursor;
            ReleaseWindow(&track);
        }
        EXPECT_EQ(images[1], images[0]) << "sample " << k << " from before";
        EXPECT_EQ(images[2], images[0]) << "sample " << k << " from after";
        for (uint32_t cursor : cursors) EXPECT_EQ(cursor, expectedCursor[k]) << "sample " << k;
    }
}

TEST(TrackInterpolation, FailsOutsideTheTrackAndWithFewerThanTwoSamples) {
    Track track = ReplayRing(8, 0, {FlightSample(0, 5000), FlightSample(1, 6000), FlightSample(2, 7000)});
    FullSample out = FlightSample(99, 1);
    const std::vector<uint8_t> untouched = FullImage(out);
    EXPECT_FALSE(InterpolateAt(&track, 4999, &out));
    EXPECT_FALSE(InterpolateAt(&track, 7001, &out));
    EXPECT_EQ(FullImage(out), untouched);
    EXPECT_TRUE(InterpolateAt(&track, 7000, &out));
    track.readMode = 0;  // recording: not played
    EXPECT_FALSE(InterpolateAt(&track, 6000, &out));
    ReleaseWindow(&track);

    Track single = ReplayRing(8, 0, {FlightSample(0, 5000)});
    EXPECT_EQ(single.firstTime, single.lastTime);
    EXPECT_FALSE(InterpolateAt(&single, 5000, &out));
    ReleaseWindow(&single);
}

TEST(TrackInterpolation, LeavesGroupsTheTrackDoesNotHoldAndKeepsItsCursorOnThePair) {
    std::vector<FullSample> samples;
    for (uint32_t i = 0; i < 10; ++i) samples.push_back(FlightSample(i, 1000 * i));
    Track track = ReplayRing(16, FlagThrottles | FlagSmoke, samples);
    const FullSample before = FlightSample(99, 0);
    FullSample out = before;
    ASSERT_TRUE(InterpolateAt(&track, 4500, &out));
    EXPECT_EQ(track.cursor, 4u);
    EXPECT_EQ(track.windowIndex, 4u);
    EXPECT_EQ(out.throttles[2], 47);  // held: interpolated
    EXPECT_EQ(out.smoke, samples[4].smoke);
    EXPECT_EQ(out.flaps, before.flaps);  // not held: untouched
    EXPECT_EQ(out.gear, before.gear);
    EXPECT_EQ(out.spoilers, before.spoilers);
    EXPECT_EQ(out.elevator, before.elevator);
    EXPECT_EQ(out.propLevers[1], before.propLevers[1]);
    EXPECT_EQ(out.engines[0], before.engines[0]);
    EXPECT_EQ(out.adfWord, before.adfWord);
    EXPECT_EQ(out.dayOfYear, before.dayOfYear);

    ASSERT_TRUE(InterpolateAt(&track, 4999, &out));
    EXPECT_EQ(track.cursor, 4u);
    ASSERT_TRUE(InterpolateAt(&track, 2500, &out));
    EXPECT_EQ(track.cursor, 2u);
    ASSERT_TRUE(InterpolateAt(&track, 9000, &out));
    EXPECT_EQ(track.cursor, 8u);  // the last pair
    EXPECT_EQ(track.windowIndex, 8u);
    ReleaseWindow(&track);
}

// ---------------------------------------------------------------- files

namespace {

FullSample RandomSample(std::mt19937_64& random, uint32_t time) {
    std::vector<uint8_t> bytes(FullSampleSize);
    for (uint8_t& b : bytes) b = static_cast<uint8_t>(random());
    FullSample s{};
    UnpackSample(ComputeLayout(FlagAllGroups), bytes.data(), &s);
    for (double& m : s.motion) m = std::ldexp(static_cast<double>(random() % 2000001) - 1000000.0, -7);
    s.time = time;
    return s;
}

class TrackFileTest : public testing::Test {
   protected:
    void SetUp() override {
        std::string pattern = testing::TempDir() + "aerotrace-track-XXXXXX";
        std::vector<char> name(pattern.begin(), pattern.end());
        name.push_back(0);
        ASSERT_NE(mkdtemp(name.data()), nullptr);
        directory = name.data();
        FaultInjectionArm(0);
    }
    void TearDown() override {
        FaultInjectionArm(0);
        for (const std::string& path : created) FileDelete(path.c_str());
        rmdir(directory.c_str());
    }
    std::string Path(const std::string& name) {
        created.push_back(directory + "/" + name);
        return created.back();
    }

    // A recording track's file holding samples, flushed and closed.
    void Record(const std::string& path, uint32_t flags, const std::vector<FullSample>& samples,
                uint32_t capacity = TrackWindowSamples) {
        PlatformFile* file = FileOpen(path.c_str(), "w+b");
        ASSERT_NE(file, nullptr);
        Track track{};
        ASSERT_TRUE(TrackInit(&track, capacity, file, 0, flags, "Piper Cub", 1, 250, 1));
        track.referenceElevation = 321.25f;
        for (const FullSample& s : samples) ASSERT_TRUE(AppendSample(&track, s));
        ASSERT_TRUE(FlushTrack(&track));
        ReleaseWindow(&track);
        ASSERT_TRUE(FileClose(file));
    }

    // Reads a recorded file back as playback does.
    PlatformFile* OpenPlayed(const std::string& path, Track* track, uint32_t capacity = TrackWindowSamples) {
        PlatformFile* file = FileOpen(path.c_str(), "rb");
        EXPECT_NE(file, nullptr);
        EXPECT_TRUE(TrackInit(track, capacity, file, 1, 0, nullptr, 0, 0, 1));
        return file;
    }

    std::string directory;
    std::vector<std::string> created;
};

std::vector<FullSample> SteadyFlight(uint32_t count) {
    std::vector<FullSample> samples;
    for (uint32_t i = 0; i < count; ++i) samples.push_back(FlightSample(i, 5000 * i));
    return samples;
}

}  // namespace

TEST_F(TrackFileTest, TracksOfOneFileFollowEachOtherAndKeepTheirHeaders) {
    const std::string path = Path("two.atr");
    PlatformFile* file = FileOpen(path.c_str(), "w+b");
    ASSERT_NE(file, nullptr);
    const uint8_t prefix[18] = {6, 0, 0, 1};
    ASSERT_EQ(FileWrite(file, prefix, sizeof prefix), sizeof prefix);
    const uint32_t flags[2] = {FlagAllGroups, FlagGear | 0x7000};  // stray high bits are kept, not used
    const uint32_t counts[2] = {300, 3};
    for (int k = 0; k < 2; ++k) {
        TrackHeader header{};
        header.count = counts[k];
        header.flags = flags[k];
        header.firstTime = 100;
        header.lastTime = 100 + 10 * (counts[k] - 1);
        CopyTrackTitle(header.title, k == 0 ? "Beech Baron" : "Boeing 737");
        header.referenceElevation = 50.0f * (k + 1);
        header.interval = 1000;
        ASSERT_TRUE(WriteTrackHeader(file, header));
        for (uint32_t i = 0; i < counts[k]; ++i) {
            std::vector<uint8_t> record = Packed(ComputeLayout(flags[k]), FlightSample(i + k, 100 + 10 * i));
            ASSERT_EQ(FileWrite(file, record.data(), record.size()), record.size());
        }
    }
    ASSERT_TRUE(FileSeek(file, 18, SEEK_SET));

    Track first{}, second{};
    ASSERT_TRUE(TrackInit(&first, 240, file, 1, 0, "ignored", 0, 0, 1));
    EXPECT_EQ(FileTell(file), 18 + 124 + 300 * 132);
    ASSERT_TRUE(TrackInit(&second, 240, file, 1, 0, "ignored", 7, 0, 0));  // window later
    EXPECT_EQ(FileTell(file), FileLength(file));
    EXPECT_EQ(first.dataOffset, 18u + 124);
    EXPECT_EQ(second.dataOffset, 18u + 124 + 300 * 132 + 124);
    EXPECT_STREQ(first.title, "Beech Baron");
    EXPECT_STREQ(second.title, "Boeing 737");
    EXPECT_EQ(second.flags, FlagGear | 0x7000u);
    EXPECT_EQ(second.layout.recordSize, 68u);
    EXPECT_EQ(second.referenceElevation, 100.0f);
    EXPECT_EQ(second.aircraftId, 7u);
    EXPECT_EQ(first.readMode, 1u);
    EXPECT_EQ(first.ring, 0u);
    EXPECT_EQ(first.interval, 1000u);
    EXPECT_EQ(second.window, nullptr);

    FullSample out{};
    ASSERT_TRUE(InterpolateAt(&first, 100 + 10 * 299, &out));
    const std::vector<FullSample> lastPair = {FlightSample(298, 100 + 10 * 298), FlightSample(299, 100 + 10 * 299)};
    EXPECT_EQ(FullImage(out), FullImage(AtSampleTime(lastPair, 2, 1)));
    ASSERT_EQ(EnsureWindow(&second), 1);
    EXPECT_EQ(EnsureWindow(&second), 0);  // already there
    ASSERT_TRUE(InterpolateAt(&second, 110, &out));
    EXPECT_EQ(out.gear, FlightSample(2, 0).gear);
    ReleaseWindow(&first);
    ReleaseWindow(&second);
    FileClose(file);
}

TEST_F(TrackFileTest, PagesBackAndForthAcrossWindowEdges) {
    const std::string path = Path("long.tmp");
    const std::vector<FullSample> flight = SteadyFlight(1000);
    Record(path, FlagAllGroups, flight);
    Track track{};
    PlatformFile* file = OpenPlayed(path, &track);
    ASSERT_EQ(track.count, 1000u);
    FullSample out{};

    // Steadily forwards then backwards between samples: one window read per
    // crossing of a window edge, about four of them each way.
    FileOperationCountReset();
    for (uint32_t i = 0; i < 999; ++i) {
        ASSERT_TRUE(InterpolateAt(&track, 5000 * i + 2500, &out)) << i;
        ASSERT_EQ(out.position.latitude, flight[i].position.latitude + 500000) << i;
        ASSERT_EQ(out.flaps, flight[i].flaps) << i;
        ASSERT_EQ(track.cursor, i);
    }
    EXPECT_LE(FileOperationCount(), 10u);
    FileOperationCountReset();
    for (uint32_t i = 999; i-- > 0;) {
        ASSERT_TRUE(InterpolateAt(&track, 5000 * i + 2500, &out)) << i;
        ASSERT_EQ(out.position.latitude, flight[i].position.latitude + 500000) << i;
        ASSERT_EQ(track.cursor, i);
    }
    EXPECT_LE(FileOperationCount(), 10u);

    // A jump across the recording reads the window it lands in, not every
    // window on the way.
    FileOperationCountReset();
    ASSERT_TRUE(InterpolateAt(&track, 5000 * 990 + 2500, &out));
    EXPECT_EQ(out.position.latitude, flight[990].position.latitude + 500000);
    ASSERT_TRUE(InterpolateAt(&track, 5000 * 10, &out));
    EXPECT_EQ(FullImage(out), FullImage(flight[10]));
    EXPECT_LE(FileOperationCount(), 4u);

    // Jumps anywhere, onto samples and between them.
    std::mt19937 random(7);
    for (int jump = 0; jump < 300; ++jump) {
        uint32_t i = random() % 1000;
        if (random() % 2 && i < 999) {
            ASSERT_TRUE(InterpolateAt(&track, 5000 * i + 2500, &out)) << i;
            ASSERT_EQ(out.position.latitude, flight[i].position.latitude + 500000) << i;
        } else {
            // On a sample, wherever the jump came from: the pair it starts
            // (the last pair for the last sample).
            ASSERT_TRUE(InterpolateAt(&track, 5000 * i, &out)) << i;
            ASSERT_EQ(track.cursor, std::min(i, 998u)) << i;
            if (i < 999) {
                ASSERT_EQ(FullImage(out), FullImage(flight[i])) << i;
            }
            ASSERT_EQ(out.position.latitude, flight[i].position.latitude) << i;
        }
    }
    EXPECT_FALSE(InterpolateAt(&track, 5000 * 999 + 1, &out));
    ReleaseWindow(&track);
    FileClose(file);
}

TEST_F(TrackFileTest, HeadersThatDoNotFitTheFileAreRefused) {
    const std::string path = Path("bad.atr");
    auto writeFile = [&](uint32_t declared, uint32_t flags, uint32_t actual, size_t headerBytes) {
        PlatformFile* file = FileOpen(path.c_str(), "w+b");
        TrackHeader header{};
        header.count = declared;
        header.flags = flags;
        uint8_t bytes[TrackHeaderSize];
        EncodeTrackHeader(header, bytes);
        FileWrite(file, bytes, headerBytes);
        std::vector<uint8_t> record = Packed(ComputeLayout(flags), FlightSample(1, 0));
        for (uint32_t i = 0; i < actual; ++i) FileWrite(file, record.data(), record.size());
        FileSeek(file, 0, SEEK_SET);
        return file;
    };
    Track track{};
    track.count = 4242;
    CopyTrackTitle(track.title, "still mine");
    const struct {
        uint32_t declared, flags, actual;
        size_t headerBytes;
        const char* what;
    } refused[] = {
        {10, 0, 9, TrackHeaderSize, "one record short"},
        {0xFFFFFFFFu, FlagAllGroups, 3, TrackHeaderSize, "count times size past any file"},
        {0x20000000u, 0, 2, TrackHeaderSize, "count whose byte size wraps in 32 bits"},
        {0, 0, 0, 60, "header cut short"},
    };
    for (const auto& c : refused) {
        PlatformFile* file = writeFile(c.declared, c.flags, c.actual, c.headerBytes);
        for (int allocate = 0; allocate <= 1; ++allocate) {  // an AI track gets its window later
            EXPECT_FALSE(TrackInit(&track, 240, file, 1, 0, nullptr, 0, 0, allocate)) << c.what;
            EXPECT_EQ(FileTell(file), 0) << c.what;
            EXPECT_EQ(track.count, 4242u) << c.what;
            EXPECT_EQ(track.window, nullptr) << c.what;
            EXPECT_STREQ(track.title, "still mine") << c.what;
        }
        FileClose(file);
    }

    // An empty track is a track: it opens, and never plays.
    PlatformFile* file = writeFile(0, 0, 0, TrackHeaderSize);
    ASSERT_TRUE(TrackInit(&track, 240, file, 1, 0, nullptr, 0, 0, 1));
    EXPECT_EQ(track.count, 0u);
    EXPECT_EQ(FileTell(file), static_cast<int64_t>(TrackHeaderSize));
    FullSample out{};
    EXPECT_FALSE(InterpolateAt(&track, 0, &out));
    ReleaseWindow(&track);
    FileClose(file);

    // Without a file there is nothing to read.
    EXPECT_FALSE(TrackInit(&track, 240, nullptr, 1, 0, nullptr, 0, 0, 1));
}

TEST_F(TrackFileTest, HeaderlessRecordsOpenRawWithTheUserAircraftsTitle) {
    SimConfig config;
    config.userTitle = std::string(90, 'L') + " Learjet 45 with a long livery name";
    SimReset(config);
    ASSERT_TRUE(SimLoadModule());

    const std::string path = Path("legacy.atr");
    PlatformFile* file = FileOpen(path.c_str(), "w+b");
    ASSERT_NE(file, nullptr);
    const uint8_t legacyHeader[28] = {5, 0, 0, 1};
    ASSERT_EQ(FileWrite(file, legacyHeader, sizeof legacyHeader), sizeof legacyHeader);
    const std::vector<FullSample> flight = SteadyFlight(300);
    const SampleLayout layout = ComputeLayout(127);
    for (const FullSample& s : flight) {
        std::vector<uint8_t> record = Packed(layout, s);
        ASSERT_EQ(FileWrite(file, record.data(), record.size()), record.size());
    }

    Track track{};
    track.count = 4242;
    ASSERT_TRUE(FileSeek(file, 28, SEEK_SET));
    EXPECT_FALSE(TrackOpenRaw(&track, 240, file, 0, 127, 0, 0.0f, nullptr));
    EXPECT_FALSE(TrackOpenRaw(&track, 240, file, 301, 127, 0, 0.0f, nullptr));  // the file holds 300
    EXPECT_FALSE(TrackOpenRaw(&track, 240, nullptr, 300, 127, 0, 0.0f, nullptr));
    EXPECT_EQ(track.count, 4242u);
    EXPECT_EQ(FileTell(file), 28);

    ASSERT_TRUE(TrackOpenRaw(&track, 240, file, 300, 127, 0, 12.5f, config.userTitle.c_str()));
    EXPECT_EQ(track.dataOffset, 28u);
    EXPECT_EQ(track.firstTime, 0u);
    EXPECT_EQ(track.lastTime, flight[299].time);
    EXPECT_EQ(track.readMode, 1u);
    EXPECT_EQ(track.referenceElevation, 12.5f);
    EXPECT_EQ(std::string(track.title), config.userTitle.substr(0, 100));
    FullSample out{};
    ASSERT_TRUE(InterpolateAt(&track, 0, &out));
    EXPECT_EQ(Packed(layout, out), Packed(layout, flight[0]));
    ASSERT_TRUE(InterpolateAt(&track, flight[299].time, &out));
    EXPECT_EQ(Packed(layout, out), Packed(layout, AtSampleTime(flight, 300, 299)));
    ReleaseWindow(&track);
    FileClose(file);
    SimUnloadModule();
}

TEST_F(TrackFileTest, FailedWindowSpillKeepsTheSampleOutUntilARetrySucceeds) {
    const std::string path = Path("Aerotrace1.tmp");
    PlatformFile* file = FileOpen(path.c_str(), "w+b");
    ASSERT_NE(file, nullptr);
    Track track{};
    ASSERT_TRUE(TrackInit(&track, 8, file, 0, FlagAllGroups, "Mooney Bravo", 1, 500, 1));
    const std::vector<FullSample> flight = SteadyFlight(20);
    for (uint32_t i = 0; i < 8; ++i) ASSERT_TRUE(AppendSample(&track, flight[i]));

    // Fail each file operation of the spill in turn.
    int failures = 0;
    for (uint64_t n = 1;; ++n) {
        FaultInjectionArm(n);
        const int appended = AppendSample(&track, flight[8]);
        FaultInjectionArm(0);
        if (appended) break;
        ++failures;
        ASSERT_LT(failures, 10);
        EXPECT_EQ(track.count, 8u);
        EXPECT_EQ(track.cursor, 8u);
        EXPECT_EQ(track.windowIndex, 8u);
        EXPECT_EQ(track.lastTime, flight[7].time);
    }
    EXPECT_GE(failures, 3);  // seek, write, flush
    for (uint32_t i = 9; i < 20; ++i) ASSERT_TRUE(AppendSample(&track, flight[i]));
    ASSERT_TRUE(FlushTrack(&track));
    ReleaseWindow(&track);
    FileClose(file);

    Track played{};
    file = OpenPlayed(path, &played);
    ASSERT_EQ(played.count, 20u);
    FullSample out{};
    for (uint32_t i = 0; i < 20; ++i) {
        ASSERT_TRUE(InterpolateAt(&played, flight[i].time, &out));
        EXPECT_EQ(FullImage(out), FullImage(AtSampleTime(flight, 20, i))) << i;
    }
    ReleaseWindow(&played);
    FileClose(file);
}

TEST_F(TrackFileTest, FailedFlushIsReportedAndCanBeRepeated) {
    const std::string path = Path("Aerotrace1.tmp");
    PlatformFile* file = FileOpen(path.c_str(), "w+b");
    ASSERT_NE(file, nullptr);
    Track track{};
    ASSERT_TRUE(TrackInit(&track, 8, file, 0, FlagThrottles, "Mooney Bravo", 1, 500, 1));
    const std::vector<FullSample> flight = SteadyFlight(13);
    for (const FullSample& s : flight) ASSERT_TRUE(AppendSample(&track, s));
    ASSERT_EQ(track.windowIndex, 5u);

    int failures = 0;
    for (uint64_t n = 1;; ++n) {
        FaultInjectionArm(n);
        const int flushed = FlushTrack(&track);
        FaultInjectionArm(0);
        if (flushed) break;
        ++failures;
        ASSERT_LT(failures, 12);
        EXPECT_EQ(track.windowIndex, 5u);
        EXPECT_EQ(track.count, 13u);
    }
    EXPECT_GE(failures, 6);  // seek, write, seek, write, seek, flush
    EXPECT_EQ(track.windowIndex, 0u);
    EXPECT_EQ(FileTell(file), static_cast<int64_t>(TrackHeaderSize + 13 * track.layout.recordSize));
    EXPECT_EQ(FileLength(file), FileTell(file));

    // Only a recording track with a window and a file flushes.
    Track ring{};
    ASSERT_TRUE(TrackInit(&ring, 8, nullptr, 0, 0, "", 1, 500, 1));
    EXPECT_FALSE(FlushTrack(&ring));
    ReleaseWindow(&ring);
    ReleaseWindow(&track);
    FileClose(file);

    Track played{};
    file = OpenPlayed(path, &played);
    EXPECT_EQ(played.count, 13u);
    EXPECT_EQ(played.lastTime, flight[12].time);
    EXPECT_EQ(played.interval, 500u);
    EXPECT_STREQ(played.title, "Mooney Bravo");
    EXPECT_FALSE(FlushTrack(&played));
    FullSample out{};
    for (uint32_t i = 0; i < 13; ++i) {
        ASSERT_TRUE(InterpolateAt(&played, flight[i].time, &out));
        EXPECT_EQ(Packed(played.layout, out), Packed(played.layout, AtSampleTime(flight, 13, i))) << i;
    }
    ReleaseWindow(&played);
    FileClose(file);
}

TEST_F(TrackFileTest, FailedReadsNeverHandOutAStaleWindow) {
    const std::string path = Path("paged.tmp");
    const std::vector<FullSample> flight = SteadyFlight(1000);
    Record(path, FlagAllGroups, flight);

    // Opening: any failed operation leaves the track as it was.
    PlatformFile* file = FileOpen(path.c_str(), "rb");
    ASSERT_NE(file, nullptr);
    Track track{};
    track.count = 4242;
    int failures = 0;
    for (uint64_t n = 1;; ++n) {
        FaultInjectionArm(n);
        const int opened = TrackInit(&track, 240, file, 1, 0, nullptr, 0, 0, 1);
        FaultInjectionArm(0);
        if (opened) break;
        ++failures;
        ASSERT_LT(failures, 12);
        EXPECT_EQ(track.count, 4242u);
        EXPECT_EQ(track.window, nullptr);
        ASSERT_TRUE(FileSeek(file, 0, SEEK_SET));
    }
    EXPECT_GE(failures, 5);  // tell, read, length, seek, read, seek
    FullSample out{};
    auto expectMidway = [&](uint32_t i) {
        ASSERT_TRUE(InterpolateAt(&track, 5000 * i + 2500, &out)) << i;
        EXPECT_EQ(out.position.latitude, flight[i].position.latitude + 500000) << i;
        EXPECT_EQ(out.gear, flight[i].gear) << i;
    };

    // Paging forwards and backwards, with the seek and then the read failing.
    expectMidway(100);
    for (uint64_t n = 1; n <= 2; ++n) {
        FaultInjectionArm(n);
        EXPECT_FALSE(InterpolateAt(&track, 5000 * 600 + 2500, &out));
        FaultInjectionArm(0);
        expectMidway(150);  // the window it left is not trusted either
        FaultInjectionArm(n);
        EXPECT_FALSE(InterpolateAt(&track, 5000 * 700 + 2500, &out));
        FaultInjectionArm(0);
        expectMidway(700);
        FaultInjectionArm(n);
        EXPECT_FALSE(InterpolateAt(&track, 5000 * 20 + 2500, &out));
        FaultInjectionArm(0);
        expectMidway(20);
        expectMidway(990);
        expectMidway(100);
    }

    // A file cut short under the track: a window read that stops half-way
    // must not leave its mix of new and old records to be interpolated.
    expectMidway(700);
    expectMidway(650);  // the window now holds samples 477 to 716
    const int64_t cut = track.dataOffset + 400 * static_cast<int64_t>(track.layout.recordSize);
    ASSERT_EQ(truncate(path.c_str(), cut), 0);
    EXPECT_FALSE(InterpolateAt(&track, 5000 * 300 + 2500, &out));  // pages back into the cut: a short read
    for (uint32_t i : {500u, 399u, 420u, 700u}) {
        if (InterpolateAt(&track, 5000 * i + 2500, &out)) {
            EXPECT_EQ(out.position.latitude, flight[i].position.latitude + 500000) << i;
        }
    }
    expectMidway(100);  // windows the file still holds whole play on
    expectMidway(230);

    // A window released and provided again.
    ReleaseWindow(&track);
    FaultInjectionArm(1);
    EXPECT_EQ(EnsureWindow(&track), 0);
    FaultInjectionArm(0);
    EXPECT_EQ(track.window, nullptr);
    ASSERT_EQ(EnsureWindow(&track), 1);
    EXPECT_EQ(track.cursor, 0u);
    expectMidway(3);
    ReleaseWindow(&track);
    FileClose(file);
}

TEST_F(TrackFileTest, RandomFlightsComeBackFromTheFileAsRecorded) {
    const uint64_t seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937_64 random(seed);
    for (int round = 0; round < 6; ++round) {
        const uint32_t flags = static_cast<uint32_t>(random()) & (round % 2 ? 0xFFFFFFFFu : 0xFFFu);
        const uint32_t count = 1 + static_cast<uint32_t>(random() % 1300);
        std::vector<FullSample> flight;
        uint32_t time = static_cast<uint32_t>(random() % 100000);
        for (uint32_t i = 0; i < count; ++i) {
            flight.push_back(RandomSample(random, time));
            time += 1 + static_cast<uint32_t>(random() % 20000);
        }
        const std::string path = Path("random" + std::to_string(round) + ".tmp");
        Record(path, flags, flight);

        Track track{};
        PlatformFile* file = OpenPlayed(path, &track);
        ASSERT_EQ(track.count, count);
        EXPECT_EQ(track.flags, flags);
        EXPECT_EQ(track.firstTime, flight.front().time);
        EXPECT_EQ(track.lastTime, flight.back().time);
        EXPECT_EQ(track.referenceElevation, 321.25f);
        EXPECT_EQ(track.interval, 250u);
        const uint32_t size = RecordSize(flags);
        ASSERT_EQ(FileLength(file), static_cast<int64_t>(TrackHeaderSize + static_cast<uint64_t>(count) * size));

        std::vector<uint8_t> stored(static_cast<size_t>(count) * size), expected;
        ASSERT_TRUE(FileSeek(file, TrackHeaderSize, SEEK_SET));
        ASSERT_EQ(FileRead(file, stored.data(), stored.size()), stored.size());
        for (const FullSample& s : flight) {
            std::vector<uint8_t> record = Packed(track.layout, s);
            expected.insert(expected.end(), record.begin(), record.end());
        }
        ASSERT_TRUE(stored == expected) << "round " << round;

        std::vector<uint32_t> order(count);
        for (uint32_t i = 0; i < count; ++i) order[i] = i;
        std::shuffle(order.begin() + count / 2, order.end(), random);  // in order, then anywhere
        FullSample out{};
        for (uint32_t i : order) {
            if (count < 2) {
                EXPECT_FALSE(InterpolateAt(&track, flight[i].time, &out));
                continue;
            }
            ASSERT_TRUE(InterpolateAt(&track, flight[i].time, &out)) << "round " << round << " sample " << i;
            ASSERT_EQ(track.cursor, std::min(i, count - 2)) << "round " << round << " sample " << i;
            // The last pair's end is a sum in floating point: exact for a
            // flight's steps, not for random 64-bit positions.
            if (i + 1 < count) {
                ASSERT_EQ(Packed(track.layout, out), Packed(track.layout, AtSampleTime(flight, count, i)))
                    << "round " << round << " sample " << i;
            }
        }
        ReleaseWindow(&track);
        FileClose(file);
    }
}

// ---------------------------------------------------------------- table

namespace {

void RemoveEveryTrack() {
    while (trackTable.count) ASSERT_TRUE(RemoveTrack(0));
    EXPECT_EQ(trackTable.capacity, 0u);
    EXPECT_EQ(trackTable.tracks, nullptr);
}

}  // namespace

TEST(TrackTableStorage, GrowsAndShrinksTenEntriesAtATime) {
    RemoveEveryTrack();
    for (int i = 0; i < 21; ++i) {
        ASSERT_EQ(AddTrack(), i);
        EXPECT_EQ(trackTable.capacity, (i / 10 + 1) * 10);
        EXPECT_EQ(trackTable.tracks[i].window, nullptr);
        trackTable.tracks[i].aircraftId = 100 + i;
    }
    EXPECT_EQ(trackTable.count, 21u);
    while (trackTable.count > 11) ASSERT_TRUE(RemoveTrack(trackTable.count - 1));
    EXPECT_EQ(trackTable.capacity, 20u);  // shrinks once ten entries are free
    ASSERT_TRUE(RemoveTrack(9));
    EXPECT_EQ(trackTable.capacity, 10u);
    EXPECT_EQ(trackTable.tracks[9].aircraftId, 110u);
    EXPECT_EQ(trackTable.tracks[8].aircraftId, 108u);
    EXPECT_FALSE(RemoveTrack(10));  // past the end
    EXPECT_EQ(trackTable.count, 10u);
    RemoveEveryTrack();
}

TEST(TrackTableStorage, RemovalMovesTheLastEntryIntoTheGapAndFreesTheWindow) {
    RemoveEveryTrack();
    for (int i = 0; i < 3; ++i) {
        int index = AddTrack();
        ASSERT_TRUE(TrackInit(&trackTable.tracks[index], 16, nullptr, 0, 0, "", 10 + i, 500, 1));
    }
    ASSERT_TRUE(RemoveTrack(0));
    ASSERT_EQ(trackTable.count, 2u);
    EXPECT_EQ(trackTable.tracks[0].aircraftId, 12u);
    EXPECT_EQ(trackTable.tracks[1].aircraftId, 11u);
    ASSERT_TRUE(RemoveTrack(1));  // the last one: onto itself
    ASSERT_EQ(trackTable.count, 1u);
    EXPECT_EQ(trackTable.tracks[0].aircraftId, 12u);
    EXPECT_NE(trackTable.tracks[0].window, nullptr);
    RemoveEveryTrack();
}

TEST(TrackTableStorage, AFullTableRefusesToGrowAndStaysAsItWas) {
    RemoveEveryTrack();
    // As many entries as a 16-bit capacity can hold in steps of ten.
    Track* storage = static_cast<Track*>(std::calloc(65530, sizeof(Track)));
    ASSERT_NE(storage, nullptr);
    trackTable = TrackTable{storage, 65530, 65530, 3};
    EXPECT_EQ(AddTrack(), -1);
    EXPECT_EQ(trackTable.count, 65530u);
    EXPECT_EQ(trackTable.capacity, 65530u);
    EXPECT_EQ(trackTable.tracks, storage);
    EXPECT_EQ(trackTable.loadedTrackCount, 3u);
    std::free(trackTable.tracks);
    trackTable = TrackTable{};
}
