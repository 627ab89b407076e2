// Great-circle distance and course on a spherical earth, and headings.
#include "geodesy.h"

#include <cmath>

double HeadingDegrees(Angle32 angle) {
    const double degrees = DecodeAngle(angle);
    return degrees < 0 ? degrees + 360.0 : degrees;
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
