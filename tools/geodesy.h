// The host's position and angle encodings in degrees and metres, and the
// spherical-earth arithmetic the importer needs (distance, course, moving a
// position along a course).
#pragma once

#include <cstdint>

#include "core/host_abi.h"

constexpr double Pi = 3.14159265358979323846;
constexpr double EarthRadiusMetres = 6371000.0;
constexpr double FeetPerMetre = 1.0 / 0.3048;

// Latitude: metres north of the equator x 2^32, 10001750 m to the pole.
double LatitudeDegrees(int64_t latitude);
int64_t LatitudeFromDegrees(double degrees);
// Longitude: the fraction of a full turn x 2^64, signed and wrapping.
double LongitudeDegrees(int64_t longitude);
int64_t LongitudeFromDegrees(double degrees);
// Altitude: metres above sea level x 2^32.
double AltitudeMetres(int64_t altitude);
int64_t AltitudeFromMetres(double metres);
// Angle32 as degrees in [0, 360) and in (-180, 180].
double AngleDegrees(Angle32 angle);
double SignedAngleDegrees(Angle32 angle);
Angle32 AngleFromDegrees(double degrees);

// Great-circle distance in metres and initial course in degrees [0, 360).
double DistanceMetres(double lat1, double lon1, double lat2, double lon2);
double CourseDegrees(double lat1, double lon1, double lat2, double lon2);
// The signed difference b - a of two courses, in (-180, 180].
double CourseDifference(double a, double b);
