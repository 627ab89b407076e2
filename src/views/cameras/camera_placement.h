// What every advanced-view camera does alike: find its aircraft, read where
// the aircraft is, step a position by metres, keep the camera above the
// ground, aim it at the aircraft and hand the placement to the host.
#pragma once

#include <cstdint>

#include "core/host/host.h"

// Record 533 of an aircraft: where it is and how it lies.
struct AircraftPlacement {
    HostPosition position;
    Angle32 pitch, bank, heading;
};

// The aircraft with this id; when it is gone, the user aircraft, and the id
// becomes 1. Null when even the user aircraft is missing.
AircraftObject* FindCameraTarget(int32_t* aircraftId);
AircraftPlacement ReadPlacement(AircraftObject* aircraft);

// The ground under a position, in the altitude encoding (metres x 2^32).
int64_t GroundAltitude(const HostPosition& position);
// Lifts the position to the lowest camera height above the ground if it is
// lower. True when it was lifted.
bool KeepAboveGround(HostPosition* position);

// Moves a position by metres north, east and up; latitudeRadians is where
// the east step is measured (a degree of longitude shrinks towards the poles).
void StepPosition(HostPosition* position, double north, double east, double up, double latitudeRadians);
double LatitudeRadians(int64_t latitude);

// An offset in an aircraft's own axes (right, up, forward, metres) in the
// world's (east, up, north), turned by the aircraft's heading, pitch and bank
// in radians; with pitch and bank 0 it turns by the heading alone.
void RotateByAttitude(const double offset[3], double heading, double pitch, double bank, double world[3]);
// The position that many metres east, up and north of an aircraft's, the
// east step measured at the aircraft's latitude.
HostPosition OffsetFrom(const HostPosition& aircraft, const double world[3]);

// Pitch, bank and heading of a camera at `camera` looking at `aircraft`.
void LookAt(const HostPosition& aircraft, const HostPosition& camera, Angle32* pitch, Angle32* bank, Angle32* heading);

// The 4 x 4 matrix that leaves the camera's direction as its angles say.
extern const float IdentityMatrix[16];

// Writes the camera into the window and places it for this frame.
void PlaceCamera(void* window, const HostPosition& camera, Angle32 pitch, Angle32 bank, Angle32 heading,
                 const float* matrix4x4, int32_t zoom);
