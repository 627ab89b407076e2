// Conversions between the host's fixed-point encodings and degrees and
// metres, and great-circle distance and course on a spherical earth.
#include "geodesy.h"

#include <cmath>

static const double TwoTo32 = 4294967296.0;
static const double TwoTo64 = 18446744073709551616.0;
static const double MetresToPole = 10001750.0;

double LatitudeDegrees(int64_t latitude) { return static_cast<double>(latitude) * 90.0 / (MetresToPole * TwoTo32); }

int64_t LatitudeFromDegrees(double degrees) { return static_cast<int64_t>(degrees * MetresToPole * TwoTo32 / 90.0); }

double LongitudeDegrees(int64_t longitude) { return static_cast<double>(longitude) * 360.0 / TwoTo64; }

int64_t LongitudeFromDegrees(double degrees) {
    // Into (-180, 180] first: the encoding wraps at the date line.
    double wrapped = std::remainder(degrees, 360.0);
    if (wrapped >= 180.0) wrapped -= 360.0;
    return static_cast<int64_t>(wrapped / 360.0 * TwoTo64);
}

double AltitudeMetres(int64_t altitude) { return static_cast<double>(altitude) / TwoTo32; }

int64_t AltitudeFromMetres(double metres) { return static_cast<int64_t>(metres * TwoTo32); }

double AngleDegrees(Angle32 angle) { return static_cast<double>(angle) * 360.0 / TwoTo32; }

double SignedAngleDegrees(Angle32 angle) { return static_cast<double>(static_cast<int32_t>(angle)) * 360.0 / TwoTo32; }

Angle32 AngleFromDegrees(double degrees) {
    double turns = degrees / 360.0;
    turns -= std::floor(turns);
    return static_cast<Angle32>(static_cast<uint64_t>(turns * TwoTo32) & 0xFFFFFFFFu);
}

static double Radians(double degrees) { return degrees * Pi / 180.0; }

double DistanceMetres(double lat1, double lon1, double lat2, double lon2) {
    double p1 = Radians(lat1), p2 = Radians(lat2);
    double dp = p2 - p1, dl = Radians(lon2 - lon1);
    double a = std::sin(dp / 2) * std::sin(dp / 2) + std::cos(p1) * std::cos(p2) * std::sin(dl / 2) * std::sin(dl / 2);
    return 2.0 * EarthRadiusMetres * std::atan2(std::sqrt(a), std::sqrt(1.0 - a));
}

double CourseDegrees(double lat1, double lon1, double lat2, double lon2) {
    double p1 = Radians(lat1), p2 = Radians(lat2), dl = Radians(lon2 - lon1);
    double y = std::sin(dl) * std::cos(p2);
    double x = std::cos(p1) * std::sin(p2) - std::sin(p1) * std::cos(p2) * std::cos(dl);
    double course = std::atan2(y, x) * 180.0 / Pi;
    return course < 0 ? course + 360.0 : course;
}

double CourseDifference(double a, double b) {
    double d = std::remainder(b - a, 360.0);
    return d <= -180.0 ? d + 360.0 : d;
}
