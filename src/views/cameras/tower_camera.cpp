// One frame of a stored tower view. The stored entry itself changes: a place
// below the ground is lifted for good, and while the view follows the
// aircraft its direction and (under autozoom) its zoom are kept, so that the
// dialog and a later manual pan start from what the user sees.
#include "views/cameras/tower_camera.h"

#include "config/settings.h"
#include "core/host/host.h"
#include "core/host/module_state.h"
#include "core/host/support.h"
#include "engine/tracks/host_encoding.h"
#include "platform/platform.h"
#include "views/cameras/camera_placement.h"
#include "views/state/view_state.h"

int32_t ZoomInteger(float zoom) { return TruncateToInt32(zoom); }

// The camera on the line from the aircraft to the tower, `fraction` of the
// way; differences are signed, so a line across 180 degrees of longitude
// takes the short way round.
static HostPosition AlongLine(const HostPosition& aircraft, const HostPosition& tower, double fraction) {
    HostPosition camera;
    camera.latitude = WrappingAdd(
        aircraft.latitude,
        TruncateToInt64(fraction * static_cast<double>(WrappingDifference(tower.latitude, aircraft.latitude))));
    camera.longitude = WrappingAdd(
        aircraft.longitude,
        TruncateToInt64(fraction * static_cast<double>(WrappingDifference(tower.longitude, aircraft.longitude))));
    camera.altitude = WrappingAdd(
        aircraft.altitude,
        TruncateToInt64(fraction * static_cast<double>(WrappingDifference(tower.altitude, aircraft.altitude))));
    return camera;
}

static void LoseTowerView(ViewWindowRow& row) {
    HostModalBegin();
    ShowMessageBox(module.mainWindow, CAMERA_NO_AIRCRAFT_TEXT SUPPORT_SUFFIX, "Aerotrace Module", BoxIconError);
    HostModalEnd();
    row.towerIndex = DefaultViewIndex;
}

void TowerCamera(int rowIndex) {
    ViewWindowRow& row = viewState.windows.rows[rowIndex];
    TowerView& view = viewState.tower.entries[row.towerIndex];
    AircraftObject* aircraft = FindCameraTarget(&row.towerTarget);
    if (!aircraft) {
        LoseTowerView(row);
        return;
    }
    const HostPosition aircraftAt = ReadPlacement(aircraft).position;
    KeepAboveGround(&view.position);

    HostPosition camera = view.position;
    double distance = HostPositionDistance(&aircraftAt, &camera);
    if (distance > viewSettings.MaxTwrDist) {
        camera = AlongLine(aircraftAt, camera, viewSettings.MaxTwrDist / distance);
        distance = viewSettings.MaxTwrDist;
        KeepAboveGround(&camera);
    }

    const bool following = view.manualPan == 0;
    if (following) {
        LookAt(aircraftAt, camera, &view.pitch, &view.bank, &view.heading);
        if (view.autoZoom > 0.0f) {
            float zoom = static_cast<float>(view.autoZoom * distance);
            if (zoom > viewSettings.MaxAutozoom) zoom = viewSettings.MaxAutozoom;
            // When the limits cross, the minimum wins.
            if (zoom < viewSettings.MinAutozoom) zoom = viewSettings.MinAutozoom;
            view.zoom = zoom;
        }
    }

    if (following && view.autoZoom > 0.0f) {
        // The magnification goes into the matrix; the host's own zoom words
        // follow it so that the simulator's view zooms alike.
        float matrix[16] = {};
        matrix[0] = matrix[5] = view.zoom / ZoomNormal;
        matrix[10] = matrix[15] = 1.0f;
        PlaceCamera(row.hostWindow, camera, view.pitch, view.bank, view.heading, matrix,
                    static_cast<int32_t>(ZoomNormal));
        HostWriteAutozoomWords(static_cast<uint16_t>(TruncateToInt64(view.zoom)));
    } else {
        PlaceCamera(row.hostWindow, camera, view.pitch, view.bank, view.heading, nullptr, ZoomInteger(view.zoom));
    }
}
