// One frame of a stored spot view. While the view looks at its aircraft the
// direction it looks in is kept in the view (relative to the aircraft's
// heading when the view turns with it), so that switching to manual panning
// starts from what the user sees. A camera below the ground is lifted for
// the frame only; the stored offset stays.
#include "views/cameras/spot_camera.h"

#include <cmath>

#include "core/host/host.h"
#include "core/host/host_view_window.h"
#include "engine/tracks/host_encoding.h"
#include "views/cameras/camera_placement.h"
#include "views/cameras/tower_camera.h"

namespace {

const double NearSpotMetres = 50.0;
const double HostSpotUnitsPerMetre = 256.0;

}  // namespace

void SpotOffsetInWorld(const SpotView& view, double heading, double pitch, double bank, double world[3]) {
    const double offset[3] = {view.x, view.y, view.z};
    if (!view.rotateHeading) {
        // Fixed to the compass: x east, z north.
        world[0] = offset[0];
        world[1] = offset[1];
        world[2] = offset[2];
        return;
    }
    if (!view.rotatePitchBank) pitch = bank = 0.0;
    RotateByAttitude(offset, heading, pitch, bank, world);
}

void HostSpotValuesOf(const SpotView& view, int32_t* distance, int32_t* height) {
    if (std::fabs(view.x) < NearSpotMetres && std::fabs(view.y) < NearSpotMetres &&
        std::fabs(view.z) < NearSpotMetres) {
        *distance = *height = 0;
        return;
    }
    const double x = view.x, z = view.z;
    *distance = TruncateToInt32(std::sqrt(x * x + z * z) * HostSpotUnitsPerMetre);
    *height = TruncateToInt32(view.y * HostSpotUnitsPerMetre);
}

void SpotCamera(int rowIndex) {
    ViewWindowRow& row = viewState.windows.rows[rowIndex];
    SpotView& view = viewState.spot.entries[row.spotIndex];
    // Without even the user aircraft there is nothing to ride with: the
    // simulator keeps the window for this frame.
    AircraftObject* aircraft = FindCameraTarget(&row.spotTarget);
    if (!aircraft) return;
    const AircraftPlacement at = ReadPlacement(aircraft);
    double world[3];
    SpotOffsetInWorld(view, AngleRadians(at.heading), AngleRadians(at.pitch), AngleRadians(at.bank), world);
    HostPosition camera = OffsetFrom(at.position, world);
    KeepAboveGround(&camera);

    Angle32 pitch = view.pitch, bank = view.bank, heading = view.heading;
    float relative[16];
    const float* matrix = IdentityMatrix;
    if (!view.manualPan) {
        LookAt(at.position, camera, &pitch, &bank, &heading);
        view.pitch = pitch;
        view.bank = bank;
        view.heading = view.rotateHeading ? heading - at.heading : heading;
    } else if (view.rotateHeading && !view.rotatePitchBank) {
        heading = view.heading + at.heading;
    } else if (view.rotateHeading) {
        // The stored direction is relative to the whole attitude: the host
        // turns it by the matrix from the aircraft's own angles.
        pitch = at.pitch;
        bank = at.bank;
        heading = at.heading;
        HostAnglesMatrix(relative, view.pitch, view.bank, view.heading);
        matrix = relative;
    }

    int32_t distance, height;
    HostSpotValuesOf(view, &distance, &height);
    ViewWindowSetSpotDistance(row.hostWindow, distance);
    ViewWindowSetSpotHeight(row.hostWindow, height);
    PlaceCamera(row.hostWindow, camera, pitch, bank, heading, matrix, ZoomInteger(view.zoom));
}
