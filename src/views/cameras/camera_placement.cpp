// The placement pipeline the tower, spot and cockpit cameras share. All
// distances and directions come from the host's own geometry operations, so
// the module's camera agrees with the simulator's idea of the earth.
#include "views/cameras/camera_placement.h"

#include <cmath>
#include <cstring>

#include "core/host/host_view_window.h"
#include "engine/tracks/host_encoding.h"
#include "views/state/view_state.h"

AircraftObject* FindCameraTarget(int32_t* aircraftId) {
    AircraftObject* aircraft = HostAircraftById(static_cast<uint32_t>(*aircraftId));
    if (aircraft) return aircraft;
    *aircraftId = UserAircraftId;
    return HostAircraftById(UserAircraftId);
}

AircraftPlacement ReadPlacement(AircraftObject* aircraft) {
    uint8_t block[36];
    AircraftGetBlock(aircraft, BlockPlacement, block);
    AircraftPlacement placement;
    std::memcpy(&placement.position.latitude, block, 8);
    std::memcpy(&placement.position.longitude, block + 8, 8);
    std::memcpy(&placement.position.altitude, block + 16, 8);
    std::memcpy(&placement.pitch, block + 24, 4);
    std::memcpy(&placement.bank, block + 28, 4);
    std::memcpy(&placement.heading, block + 32, 4);
    return placement;
}

int64_t GroundAltitude(const HostPosition& position) { return EncodeAltitude(HostGroundElevation(&position)); }

bool KeepAboveGround(HostPosition* position) {
    const int64_t ground = GroundAltitude(*position);
    if (WrappingDifference(position->altitude, ground) >= viewState.MinCameraHeight) return false;
    position->altitude = WrappingAdd(ground, viewState.MinCameraHeight);
    return true;
}

double LatitudeRadians(int64_t latitude) { return static_cast<double>(latitude) * RadiansPerLatitudeUnit; }

void StepPosition(HostPosition* position, double north, double east, double up, double latitudeRadians) {
    position->latitude = WrappingAdd(position->latitude, TruncateToInt64(north * FixedOne));
    position->longitude =
        WrappingAdd(position->longitude, TruncateToInt64(east / std::cos(latitudeRadians) * LongitudeUnitsPerMetreEast));
    position->altitude = WrappingAdd(position->altitude, TruncateToInt64(up * FixedOne));
}

void RotateByAttitude(const double offset[3], double heading, double pitch, double bank, double world[3]) {
    const double sH = std::sin(heading), cH = std::cos(heading);
    const double sP = std::sin(pitch), cP = std::cos(pitch);
    const double sB = std::sin(bank), cB = std::cos(bank);
    const double x = offset[0], y = offset[1], z = offset[2];
    world[0] = (cH * cB + sH * sP * sB) * x + (sH * sP * cB - cH * sB) * y + sH * cP * z;
    world[1] = sB * cP * x + cB * cP * y - sP * z;
    world[2] = (cH * sP * sB - sH * cB) * x + (cH * sP * cB + sH * sB) * y + cH * cP * z;
}

HostPosition OffsetFrom(const HostPosition& aircraft, const double world[3]) {
    HostPosition position = aircraft;
    StepPosition(&position, world[2], world[0], world[1], LatitudeRadians(aircraft.latitude));
    return position;
}

const float IdentityMatrix[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

void LookAt(const HostPosition& aircraft, const HostPosition& camera, Angle32* pitch, Angle32* bank,
            Angle32* heading) {
    double vector[3];
    double angles[3];
    HostPositionVector(&aircraft, &camera, vector);
    HostVectorAngles(vector, angles);
    *pitch = AngleFromRadians(angles[0]);
    *bank = AngleFromRadians(angles[1]);
    *heading = AngleFromRadians(angles[2]);
}

void PlaceCamera(void* window, const HostPosition& camera, Angle32 pitch, Angle32 bank, Angle32 heading,
                 const float* matrix4x4, int32_t zoom) {
    ViewWindowSetCamera(window, camera, pitch, bank, heading);
    HostSetViewCamera(&camera, pitch, bank, heading, matrix4x4, zoom);
}
