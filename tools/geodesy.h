// The spherical-earth arithmetic the tool needs (distance, course, the
// difference of two courses) and headings as the exchange formats give them.
// The host's position and angle encodings themselves are the module's
// (engine/tracks/host_encoding.h): the tool reads and writes them exactly as the
// module does.
#pragma once

#include <cstdint>

#include "core/abi/host_abi.h"
#include "engine/tracks/host_encoding.h"

constexpr double Pi = 3.14159265358979323846;
constexpr double EarthRadiusMetres = 6371000.0;

// An angle as a heading in degrees, [0, 360).
double HeadingDegrees(Angle32 angle);

// Great-circle distance in metres and initial course in degrees [0, 360).
double DistanceMetres(double lat1, double lon1, double lat2, double lon2);
double CourseDegrees(double lat1, double lon1, double lat2, double lon2);
// The signed difference b - a of two courses, in (-180, 180].
double CourseDifference(double a, double b);
