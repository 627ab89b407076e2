// The tests' own rotation of aircraft axes into the world, built from the
// three elementary turns one after the other (bank about the forward axis,
// then pitch about the right axis, then heading about the vertical), so that
// the cameras' expanded formula is checked against something it was not
// written from. Axes: right, up, forward into east, up, north; angles in
// degrees with the host's signs (pitch positive nose-down, heading clockwise
// from north).
#pragma once

#include <cmath>

struct Vector3 {
    double x, y, z;
};

inline Vector3 Turned(double pitchDegrees, double bankDegrees, double headingDegrees, Vector3 v) {
    const double toRadians = 3.14159265358979323846 / 180.0;
    const double p = pitchDegrees * toRadians, b = bankDegrees * toRadians, h = headingDegrees * toRadians;
    // Bank rolls the right axis up into the vertical.
    const Vector3 banked = {std::cos(b) * v.x - std::sin(b) * v.y, std::sin(b) * v.x + std::cos(b) * v.y, v.z};
    // Nose-down pitch turns forward into down.
    const Vector3 pitched = {banked.x, std::cos(p) * banked.y - std::sin(p) * banked.z,
                             std::sin(p) * banked.y + std::cos(p) * banked.z};
    // Heading turns north into east.
    return {std::cos(h) * pitched.x + std::sin(h) * pitched.z, pitched.y,
            -std::sin(h) * pitched.x + std::cos(h) * pitched.z};
}

inline double Length(const Vector3& v) { return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z); }
