// Sample layouts and packing: where each group lands for a set of flags, the
// byte image of a full record, and that unpacking gives back what was packed
// while leaving the groups a track does not hold alone.
#include "engine/tracks/sample.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

namespace {

// A sample in which every field has a different, recognisable value.
FullSample DistinctSample() {
    FullSample s{};
    s.position = {0x0102030405060708LL, -0x1112131415161718LL, 0x2122232425262728LL};
    s.pitch = 0x31323334u;
    s.bank = 0x41424344u;
    s.heading = 0x51525354u;
    s.motion[0] = 1.5;
    s.motion[1] = -2.25;
    s.motion[2] = 1e10;
    s.onGround = 0x61;
    for (int i = 0; i < 4; ++i) s.throttles[i] = static_cast<int16_t>(-1000 - i);
    s.elevator = -7001;
    s.aileron = 7002;
    s.rudder = -7003;
    s.spoilers = 0xA1A2;
    s.flaps = 0xB1;
    s.gear = 0xC1C2;
    s.lights = 0xD1D2;
    s.toggleState = 0xE1;
    for (int i = 0; i < 4; ++i) s.engines[i] = static_cast<uint8_t>(0xF0 + i);
    s.nav1Frequency = 0x1181;
    s.nav1Course = 0x1282;
    s.nav2Frequency = 0x1383;
    s.nav2Course = 0x1484;
    s.adfWord = 0x15161718;
    s.com1Frequency = 0x2191;
    s.com2Frequency = 0x2292;
    s.transponder = 0x2393;
    for (int i = 0; i < 4; ++i) {
        s.propLevers[i] = static_cast<int16_t>(3000 + i);
        s.mixtureLevers[i] = static_cast<int16_t>(-3000 - i);
    }
    s.yearSince1900 = 104;
    s.dayOfYear = 0x0160;
    s.hour = 14;
    s.minute = 5;
    s.second = 9;
    s.smoke = 0x77;
    s.time = 0x01020304;
    return s;
}

// The byte image of every field, to compare samples without looking at padding.
std::vector<uint8_t> Image(const FullSample& s) {
    std::vector<uint8_t> bytes(FullSampleSize);
    PackSample(ComputeLayout(FlagAllGroups), s, bytes.data());
    return bytes;
}

double Bits(uint64_t bits) {
    double d;
    std::memcpy(&d, &bits, sizeof d);
    return d;
}

FullSample RandomSample(std::mt19937_64& random) {
    FullSample s{};
    std::vector<uint8_t> bytes(FullSampleSize);
    for (uint8_t& b : bytes) b = static_cast<uint8_t>(random());
    UnpackSample(ComputeLayout(FlagAllGroups), bytes.data(), &s);
    for (double& m : s.motion) m = Bits(random() & 0x3FFFFFFFFFFFFFFFull);  // finite
    return s;
}

}  // namespace

TEST(SampleLayout, OffsetsAndSizesForFlagCombinations) {
    SampleLayout none = ComputeLayout(0);
    EXPECT_EQ(none.recordSize, 66u);
    EXPECT_EQ(none.position, 0u);
    EXPECT_EQ(none.orientation, 24u);
    EXPECT_EQ(none.motion, 36u);
    EXPECT_EQ(none.onGround, 60u);
    EXPECT_EQ(none.toggleState, 61u);
    EXPECT_EQ(none.time, 62u);

    SampleLayout mixed = ComputeLayout(FlagThrottles | FlagNavRadios);
    EXPECT_EQ(mixed.throttles, 61u);
    EXPECT_EQ(mixed.toggleState, 69u);
    EXPECT_EQ(mixed.navRadios, 70u);
    EXPECT_EQ(mixed.time, 82u);
    EXPECT_EQ(mixed.recordSize, 86u);

    // Every group: the layout of the full sample itself.
    SampleLayout all = ComputeLayout(FlagAllGroups);
    const uint32_t expected[][2] = {
        {all.throttles, 61}, {all.elevator, 69},  {all.aileron, 71},     {all.rudder, 73},         {all.spoilers, 75},
        {all.flaps, 77},     {all.gear, 78},      {all.lights, 80},      {all.toggleState, 82},    {all.engines, 83},
        {all.navRadios, 87}, {all.comRadios, 99}, {all.propLevers, 105}, {all.mixtureLevers, 113}, {all.dateTime, 121},
        {all.smoke, 127},    {all.time, 128},     {all.recordSize, 132},
    };
    for (const auto& pair : expected) EXPECT_EQ(pair[0], pair[1]);
}

TEST(SampleLayout, RecordSizeAgreesWithLayoutAndIgnoresHighBits) {
    for (uint32_t flags = 0; flags <= FlagAllGroups; ++flags) {
        SampleLayout layout = ComputeLayout(flags);
        ASSERT_EQ(RecordSize(flags), layout.recordSize) << "flags " << flags;
        ASSERT_EQ(layout.time, layout.recordSize - 4) << "flags " << flags;
        const uint32_t noisy = flags | 0xFFFFF000u;
        ASSERT_EQ(RecordSize(noisy), RecordSize(flags));
        SampleLayout noisyLayout = ComputeLayout(noisy);
        ASSERT_EQ(0, std::memcmp(&noisyLayout, &layout, sizeof layout)) << "flags " << flags;
    }
}

TEST(SamplePacking, FullRecordIsTheLittleEndianImageOfEveryField) {
    const FullSample s = DistinctSample();
    std::vector<uint8_t> r = Image(s);
    EXPECT_EQ(GetU64(&r[0]), 0x0102030405060708ull);
    EXPECT_EQ(r[0], 0x08);  // least significant byte first
    EXPECT_EQ(static_cast<int64_t>(GetU64(&r[8])), -0x1112131415161718LL);
    EXPECT_EQ(GetU64(&r[16]), 0x2122232425262728ull);
    EXPECT_EQ(GetU32(&r[24]), 0x31323334u);
    EXPECT_EQ(GetU32(&r[28]), 0x41424344u);
    EXPECT_EQ(GetU32(&r[32]), 0x51525354u);
    double motion;
    uint64_t motionBits = GetU64(&r[44]);
    std::memcpy(&motion, &motionBits, 8);
    EXPECT_EQ(motion, -2.25);
    EXPECT_EQ(r[60], 0x61);
    EXPECT_EQ(static_cast<int16_t>(GetU16(&r[61 + 6])), -1003);
    EXPECT_EQ(static_cast<int16_t>(GetU16(&r[69])), -7001);
    EXPECT_EQ(static_cast<int16_t>(GetU16(&r[71])), 7002);
    EXPECT_EQ(static_cast<int16_t>(GetU16(&r[73])), -7003);
    EXPECT_EQ(GetU16(&r[75]), 0xA1A2);
    EXPECT_EQ(r[77], 0xB1);
    EXPECT_EQ(GetU16(&r[78]), 0xC1C2);
    EXPECT_EQ(GetU16(&r[80]), 0xD1D2);
    EXPECT_EQ(r[82], 0xE1);
    EXPECT_EQ(r[86], 0xF3);
    EXPECT_EQ(GetU16(&r[87]), 0x1181);
    EXPECT_EQ(GetU16(&r[93]), 0x1484);
    EXPECT_EQ(GetU32(&r[95]), 0x15161718u);
    EXPECT_EQ(GetU16(&r[99]), 0x2191);
    EXPECT_EQ(GetU16(&r[103]), 0x2393);
    EXPECT_EQ(static_cast<int16_t>(GetU16(&r[105])), 3000);
    EXPECT_EQ(static_cast<int16_t>(GetU16(&r[119])), -3003);
    EXPECT_EQ(r[121], 104);
    EXPECT_EQ(GetU16(&r[122]), 0x0160);
    EXPECT_EQ(r[124], 14);
    EXPECT_EQ(r[125], 5);
    EXPECT_EQ(r[126], 9);
    EXPECT_EQ(r[127], 0x77);
    EXPECT_EQ(r[128], 0x04);
    EXPECT_EQ(GetU32(&r[128]), 0x01020304u);
}

TEST(SamplePacking, UnpackReturnsPresentGroupsAndLeavesAbsentOnesAlone) {
    std::mt19937_64 random(20240611);
    const std::vector<uint8_t> sentinelImage = Image(DistinctSample());
    for (int round = 0; round < 500; ++round) {
        const uint32_t flags = static_cast<uint32_t>(random());  // high bits too
        const SampleLayout layout = ComputeLayout(flags);
        const FullSample original = RandomSample(random);
        std::vector<uint8_t> record(layout.recordSize + 8, 0xCD);
        PackSample(layout, original, record.data());
        for (size_t i = layout.recordSize; i < record.size(); ++i)
            ASSERT_EQ(record[i], 0xCD) << "wrote past the record";

        FullSample back = DistinctSample();
        UnpackSample(layout, record.data(), &back);
        // Repacking with the track's layout gives the same bytes ...
        std::vector<uint8_t> again(layout.recordSize);
        PackSample(layout, back, again.data());
        ASSERT_EQ(0, std::memcmp(again.data(), record.data(), layout.recordSize)) << "flags " << flags;
        // ... and in the full image every absent group still holds the sentinel.
        const std::vector<uint8_t> full = Image(back);
        const std::vector<uint8_t> originalFull = Image(original);
        const SampleLayout all = ComputeLayout(FlagAllGroups);
        struct Group {
            uint32_t bit, offset, size;
        };
        const Group groups[] = {
            {0, 0, 61},
            {FlagThrottles, all.throttles, 8},
            {FlagFlightControls, all.elevator, 6},
            {FlagSpoilers, all.spoilers, 2},
            {FlagFlaps, all.flaps, 1},
            {FlagGear, all.gear, 2},
            {FlagLights, all.lights, 2},
            {0, all.toggleState, 1},
            {FlagEngines, all.engines, 4},
            {FlagNavRadios, all.navRadios, 12},
            {FlagComRadios, all.comRadios, 6},
            {FlagLevers, all.propLevers, 16},
            {FlagDateTime, all.dateTime, 6},
            {FlagSmoke, all.smoke, 1},
            {0, all.time, 4},
        };
        for (const Group& g : groups) {
            const bool present = g.bit == 0 || (flags & g.bit);
            const std::vector<uint8_t>& want = present ? originalFull : sentinelImage;
            ASSERT_EQ(0, std::memcmp(&full[g.offset], &want[g.offset], g.size))
                << "flags " << flags << " group at " << g.offset;
        }
    }
}
