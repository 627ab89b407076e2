// The host's position and angle encodings at their limits, which the stored
// views and the tool's imports and exports share: the poles, the date line,
// values beyond an integer's range, NaN and infinities.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

#include "engine/tracks/host_encoding.h"
#include "geodesy.h"

namespace {

const double Nan = std::numeric_limits<double>::quiet_NaN();
const double Infinity = std::numeric_limits<double>::infinity();

TEST(HostEncoding, LatitudeStopsAtThePolesAndRoundTrips) {
    EXPECT_EQ(EncodeLatitude(90.5), EncodeLatitude(90.0));
    EXPECT_EQ(EncodeLatitude(-1e300), EncodeLatitude(-90.0));
    EXPECT_EQ(EncodeLatitude(Nan), 0);
    // The pole is 10,001,750 m north of the equator, in 2^32ths of a metre.
    EXPECT_EQ(EncodeLatitude(90.0), 10001750LL << 32);
    for (double degrees : {-90.0, -33.946, 0.0, 1e-7, 47.5, 89.9999999})
        EXPECT_NEAR(DecodeLatitude(EncodeLatitude(degrees)), degrees, 1e-12) << degrees;
}

TEST(HostEncoding, LongitudeWrapsAtTheDateLine) {
    // 180 east and 180 west are one place: half a turn.
    EXPECT_EQ(EncodeLongitude(180.0), INT64_MIN);
    EXPECT_EQ(EncodeLongitude(-180.0), INT64_MIN);
    EXPECT_EQ(EncodeLongitude(190.0), EncodeLongitude(-170.0));
    EXPECT_EQ(EncodeLongitude(-190.0), EncodeLongitude(170.0));
    EXPECT_EQ(EncodeLongitude(730.0), EncodeLongitude(10.0));
    EXPECT_EQ(EncodeLongitude(Nan), 0);
    EXPECT_EQ(EncodeLongitude(Infinity), 0);
    EXPECT_EQ(EncodeLongitude(90.0), INT64_C(1) << 62);
    for (double degrees : {-179.9999999, -122.25, 0.0, 8.55, 179.9999999})
        EXPECT_NEAR(DecodeLongitude(EncodeLongitude(degrees)), degrees, 1e-12) << degrees;
    EXPECT_DOUBLE_EQ(DecodeLongitude(INT64_MIN), -180.0);
}

TEST(HostEncoding, AltitudeSaturatesBeyondItsRange) {
    EXPECT_EQ(EncodeAltitude(1e300), INT64_MAX);
    EXPECT_EQ(EncodeAltitude(-Infinity), INT64_MIN);
    EXPECT_EQ(EncodeAltitude(Nan), 0);
    EXPECT_EQ(EncodeAltitude(-0.25), -(INT64_C(1) << 30));  // toward zero, in 2^32ths of a metre
    EXPECT_DOUBLE_EQ(DecodeAltitude(EncodeAltitude(11277.5)), 11277.5);
}

TEST(HostEncoding, AnglesWrapToOneTurn) {
    EXPECT_EQ(EncodeAngle(370.0), EncodeAngle(10.0));
    // Toward zero, like the host: a negative angle lands at most one unit higher.
    EXPECT_NEAR(EncodeAngle(-350.0), EncodeAngle(10.0), 1.0);
    EXPECT_EQ(EncodeAngle(180.0), 0x80000000u);
    EXPECT_EQ(EncodeAngle(Nan), 0u);
    EXPECT_DOUBLE_EQ(DecodeAngle(0x80000000u), -180.0);
    EXPECT_NEAR(DecodeAngle(EncodeAngle(270.0)), -90.0, 1e-6);
    EXPECT_NEAR(DecodeAngle(EncodeAngle(-12.5)), -12.5, 1e-6);
    // Headings, as the exports give them, run from 0 up to 360.
    EXPECT_NEAR(HeadingDegrees(EncodeAngle(-90.0)), 270.0, 1e-6);
    EXPECT_NEAR(HeadingDegrees(EncodeAngle(90.0)), 90.0, 1e-6);
    EXPECT_DOUBLE_EQ(HeadingDegrees(0x80000000u), 180.0);
    EXPECT_LT(HeadingDegrees(0xFFFFFFFFu), 360.0);
    EXPECT_GE(HeadingDegrees(0xFFFFFFFFu), 359.9999);
}

}  // namespace
