// One frame of a stored VC view. The host turns the stored direction by the
// aircraft's attitude itself (the camera gets the aircraft's angles and the
// stored ones as a matrix), so the view stays fixed to the cockpit whatever
// the aircraft does. Looking at another aircraft never changes the stored
// direction, which applies again once the user returns to it.
#include "views/cameras/vc_camera.h"

#include "core/host/host.h"
#include "core/host/host_view_window.h"
#include "engine/tracks/host_encoding.h"
#include "views/cameras/camera_placement.h"
#include "views/cameras/tower_camera.h"
#include "views/state/view_state.h"

namespace {

uint16_t HostZoomWord(float zoom) {
    const int32_t whole = ZoomInteger(zoom);
    if (whole < 0) return 0;
    return whole > UINT16_MAX ? UINT16_MAX : static_cast<uint16_t>(whole);
}

}  // namespace

void VcCamera(int rowIndex) {
    ViewWindowRow& row = viewState.windows.rows[rowIndex];
    const VcView& view = viewState.vc.entries[row.vcIndex];
    // Without the user aircraft the cockpit has no place this frame.
    AircraftObject* aircraft = HostUserAircraft();
    if (!aircraft) return;
    const AircraftPlacement at = ReadPlacement(aircraft);
    const double offset[3] = {view.x, view.y, view.z};
    double world[3];
    RotateByAttitude(offset, AngleRadians(at.heading), AngleRadians(at.pitch), AngleRadians(at.bank), world);
    HostPosition eyepoint = OffsetFrom(at.position, world);
    KeepAboveGround(&eyepoint);

    Angle32 pitch = at.pitch, bank = at.bank, heading = at.heading;
    float relative[16];
    const float* matrix = relative;
    if (row.vcTarget == UserAircraftId) {
        HostAnglesMatrix(relative, view.pitch, view.bank, view.heading);
    } else {
        AircraftObject* watched = HostAircraftById(static_cast<uint32_t>(row.vcTarget));
        if (!watched) {
            // Gone: the stored direction again, from the next frame on.
            row.vcTarget = UserAircraftId;
            return;
        }
        LookAt(ReadPlacement(watched).position, eyepoint, &pitch, &bank, &heading);
        matrix = IdentityMatrix;
    }
    ViewWindowSetVcZoom(row.hostWindow, HostZoomWord(view.zoom));
    PlaceCamera(row.hostWindow, eyepoint, pitch, bank, heading, matrix, ZoomInteger(view.zoom));
}
