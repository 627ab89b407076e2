// Conversions between the host's fixed-point encodings and degrees, metres
// and radians. The host truncates toward zero; so do these.
#include "engine/tracks/host_encoding.h"

#include <cfloat>
#include <cmath>

float ClampZoom(float zoom) {
    if (!(zoom >= ZoomMinimum)) return ZoomMinimum;  // a NaN too
    return zoom > ZoomMaximum ? ZoomMaximum : zoom;
}

float NarrowToFloat(double value) {
    if (value > FLT_MAX) return FLT_MAX;
    if (value < -FLT_MAX) return -FLT_MAX;
    return static_cast<float>(value);
}

int64_t TruncateToInt64(double value) {
    if (value != value) return 0;
    if (value >= 9223372036854775807.0) return INT64_MAX;
    if (value <= -9223372036854775808.0) return INT64_MIN;
    return static_cast<int64_t>(value);
}

int32_t TruncateToInt32(double value) {
    const int64_t whole = TruncateToInt64(value);
    if (whole > INT32_MAX) return INT32_MAX;
    if (whole < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(whole);
}

int64_t EncodeLatitude(double degrees) {
    if (degrees > 90.0) degrees = 90.0;
    if (degrees < -90.0) degrees = -90.0;
    return TruncateToInt64(degrees * LatitudeUnitsPerDegree);
}

double DecodeLatitude(int64_t latitude) { return static_cast<double>(latitude) / LatitudeUnitsPerDegree; }

// 180 degrees east is 2^63, one past the largest signed value: the same
// place as 180 west, which is where the wrap puts it.
int64_t EncodeLongitude(double degrees) {
    if (!std::isfinite(degrees)) return 0;
    double turns = std::fmod(degrees, 360.0);
    if (turns >= 180.0) turns -= 360.0;
    if (turns < -180.0) turns += 360.0;
    return TruncateToInt64(turns * LongitudeUnitsPerDegree);
}

double DecodeLongitude(int64_t longitude) { return static_cast<double>(longitude) / LongitudeUnitsPerDegree; }

int64_t EncodeAltitude(double metres) { return TruncateToInt64(metres * FixedOne); }
double DecodeAltitude(int64_t altitude) { return static_cast<double>(altitude) / FixedOne; }

// An angle wraps: its low 32 bits are the turn.
Angle32 EncodeAngle(double degrees) {
    return static_cast<Angle32>(static_cast<uint64_t>(TruncateToInt64(degrees * AngleUnitsPerDegree)));
}

double DecodeAngle(Angle32 angle) { return static_cast<int32_t>(angle) / AngleUnitsPerDegree; }

Angle32 AngleFromRadians(double radians) {
    return static_cast<Angle32>(static_cast<uint64_t>(TruncateToInt64(radians * AngleUnitsPerRadian)));
}

double AngleRadians(Angle32 angle) { return angle * RadiansPerAngleUnit; }
