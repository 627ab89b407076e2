// The host's encodings of positions, angles and zooms as the stored views,
// the cameras and the aerotrace tool use them, and their conversions to and
// from the user's degrees and metres. Every conversion of a double to a host
// integer goes through here, so that no hand-edited file, dialog entry or
// imported track can push a value outside its type.
#pragma once

#include <cstdint>

#include "core/abi/host_abi.h"

constexpr double FixedOne = 4294967296.0;                      // 2^32: one metre in positions
constexpr double LatitudeUnitsPerDegree = 477302101697422.25;  // 10001750 x 2^32 / 90
constexpr double LongitudeUnitsPerDegree = 5.124095576030431e16;  // 2^64 / 360
constexpr double AngleUnitsPerDegree = 11930464.711111112;     // 2^32 / 360
constexpr double AngleUnitsPerRadian = 683565275.5764316;      // 2^32 / 2 pi
constexpr double RadiansPerAngleUnit = 1.4629180792671596e-9;
constexpr double RadiansPerLatitudeUnit = 3.6566552834932875e-17;
constexpr double LongitudeUnitsPerMetreEast = 460305528975.90894;  // 2^64 / 40075000 at the equator
constexpr double FeetPerMetre = 3.280839895013123;
constexpr double MetresPerFoot = 0.3048;

// Zoom, in sixty-fourths (64 = 1x), and the range every change keeps it in.
constexpr float ZoomNormal = 64.0f;
constexpr float ZoomMinimum = 4.0f;
constexpr float ZoomMaximum = 32768.0f;
float ClampZoom(float zoom);

// A double as a float; beyond a float's range the largest float of that sign.
float NarrowToFloat(double value);
// Truncates toward zero; values beyond the type saturate, a NaN is 0.
int64_t TruncateToInt64(double value);
int32_t TruncateToInt32(double value);

int64_t EncodeLatitude(double degrees);  // kept within the poles
double DecodeLatitude(int64_t latitude);
int64_t EncodeLongitude(double degrees);  // any number of turns, wrapped
double DecodeLongitude(int64_t longitude);    // -180 .. 180
int64_t EncodeAltitude(double metres);
double DecodeAltitude(int64_t altitude);

Angle32 EncodeAngle(double degrees);
double DecodeAngle(Angle32 angle);  // -180 .. 180
Angle32 AngleFromRadians(double radians);
double AngleRadians(Angle32 angle);

// A 64-bit position value moved by a signed step, wrapping like the host's.
inline int64_t WrappingAdd(int64_t value, int64_t step) {
    return static_cast<int64_t>(static_cast<uint64_t>(value) + static_cast<uint64_t>(step));
}
inline int64_t WrappingDifference(int64_t value, int64_t origin) {
    return static_cast<int64_t>(static_cast<uint64_t>(value) - static_cast<uint64_t>(origin));
}
