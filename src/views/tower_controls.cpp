// The simulator's own view events, taken over for a stored tower view. Pan
// events turn the view by hand (which stops it following the aircraft and
// switches autozoom off); view-direction and eyepoint events move the
// eyepoint; zoom events scale the zoom, or the autozoom factor while
// autozoom runs, and still reach the host.
#include "views/tower_controls.h"

#include <cmath>

#include "config/settings.h"
#include "core/host.h"
#include "core/host_view_window.h"
#include "views/camera_placement.h"
#include "views/view_encoding.h"
#include "views/view_window_table.h"

namespace {

// The host's single-precision constants.
const float Diagonal = 0.7f;
const float ZoomInStep = 1.4142f;
const float ZoomOutStep = 0.70711356f;
const float FineZoomInStep = 1.0109f;
const float FineZoomOutStep = 0.9892175f;
const double Pi = 3.14159265358979323846;

enum : uint32_t { DispatchPress = 8, DispatchZoom = 9 };

Angle32 AngleSteps(double units) { return static_cast<Angle32>(static_cast<uint64_t>(TruncateToInt64(units))); }

// Moves by a step along one of the eight directions: right and forward
// parts of the unit step.
struct Direction {
    float right, forward;
};
const Direction eightDirections[8] = {
    {0, 1}, {Diagonal, Diagonal}, {1, 0}, {Diagonal, -Diagonal},
    {0, -1}, {-Diagonal, -Diagonal}, {-1, 0}, {-Diagonal, Diagonal},
};

struct Pan {
    float pitch, bank, heading;
};

// Pan events of dispatch type 8 and how each turns the view.
bool PanOfEvent(uint32_t eventId, Pan* pan) {
    switch (eventId) {
        case 0x10087: *pan = {0, 0, -1}; return true;  // pan left
        case 0x10088: *pan = {0, 0, 1}; return true;   // pan right
        case 0x100C6: *pan = {1, 0, 0}; return true;   // pan up
        case 0x100C7: *pan = {-1, 0, 0}; return true;  // pan down
        case 0x1013E: *pan = {Diagonal, 0, -Diagonal}; return true;
        case 0x1013F: *pan = {-Diagonal, 0, -Diagonal}; return true;
        case 0x10140: *pan = {Diagonal, 0, Diagonal}; return true;
        case 0x10141: *pan = {-Diagonal, 0, Diagonal}; return true;
        case 0x10151: *pan = {0, 1, 0}; return true;   // tilt
        case 0x10152: *pan = {0, -1, 0}; return true;
    }
    return false;
}

// Eyepoint events: right, up, forward in units of the first tower step.
bool EyepointOfEvent(uint32_t eventId, double* right, double* up, double* forward) {
    static const double moves[6][3] = {{0, 1, 0}, {0, -1, 0}, {1, 0, 0}, {-1, 0, 0}, {0, 0, 1}, {0, 0, -1}};
    if (eventId < 0x103DC || eventId > 0x103E1) return false;
    const double* move = moves[eventId - 0x103DC];
    *right = move[0];
    *up = move[1];
    *forward = move[2];
    return true;
}

uint32_t PressEvent(TowerView& view, ViewWindowRow& row, uint32_t eventId, void* record) {
    Pan pan;
    if (PanOfEvent(eventId, &pan)) {
        PanTowerView(&view, pan.pitch, pan.bank, pan.heading);
        return 1;
    }
    double right, up, forward;
    if (EyepointOfEvent(eventId, &right, &up, &forward)) {
        const double step = viewSettings.TowerStep1;
        MoveTowerEyepoint(&view, right * step, up * step, forward * step);
        return 1;
    }
    if (eventId >= 0x1008A && eventId <= 0x10091) {  // look forward ... forward-left: walk that way
        const Direction& d = eightDirections[eventId - 0x1008A];
        const double step = viewSettings.TowerStep2;
        MoveTowerEyepoint(&view, d.right * step, 0, d.forward * step);
        return 1;
    }
    if (eventId >= 0x10259 && eventId <= 0x10260) {  // the same, looking up: a longer walk
        const Direction& d = eightDirections[eventId - 0x10259];
        const double step = viewSettings.TowerStep3;
        MoveTowerEyepoint(&view, d.right * step, 0, d.forward * step);
        return 1;
    }
    switch (eventId) {
        case 0x10092:  // look down: lower the eyepoint
            MoveTowerEyepoint(&view, 0, -static_cast<double>(viewSettings.TowerStep2), 0);
            return 1;
        case 0x10261:  // look up: raise it
            MoveTowerEyepoint(&view, 0, viewSettings.TowerStep2, 0);
            return 1;
        case 0x10153:
            view.manualPan = view.manualPan ? 0 : 1;
            return 1;
        case 0x10370: {  // hat: the angle it points at, negative when centred
            const int32_t angle = record ? EventRecordParameter(record) : -1;
            if (angle >= 0) {
                const double theta = angle * Pi / 180.0;
                PanTowerView(&view, std::cos(theta), 0, std::sin(theta));
            }
            return 1;
        }
        case 0x103C4:
            row.towerTarget = static_cast<int32_t>(HostNextAircraft(static_cast<uint32_t>(row.towerTarget)));
            return 1;
        case 0x103C5:
            row.towerTarget = static_cast<int32_t>(HostPrevAircraft(static_cast<uint32_t>(row.towerTarget)));
            return 1;
        // The pan axes set the direction; following the aircraft, the next
        // frame aims it again.
        case 0x103C7:
            view.pitch = AngleSteps(static_cast<double>(record ? EventRecordParameter(record) : 0) * 65536.0);
            return 1;
        case 0x103C8:
            view.heading = AngleSteps(-static_cast<double>(record ? EventRecordParameter(record) : 0) * 131072.0);
            return 1;
        case 0x103C9:
            view.bank = AngleSteps(static_cast<double>(record ? EventRecordParameter(record) : 0) * 131072.0);
            return 1;
    }
    return 0;
}

// Zooming in scales up, out scales down; under autozoom the factor moves,
// without limit, and the frame's own limits still hold the zoom.
void ScaleZoom(TowerView& view, float factor) {
    if (view.autoZoom > 0.0f) {
        view.autoZoom *= factor;
    } else if (factor > 1.0f) {
        view.zoom = std::fmin(view.zoom * factor, ZoomMaximum);
    } else {
        view.zoom = std::fmax(view.zoom * factor, ZoomMinimum);
    }
}

void ZoomEvent(TowerView& view, uint32_t eventId) {
    switch (eventId) {
        case 0x1000E:  // back to 1x
            view.zoom = ZoomNormal;
            view.autoZoom = 0.0f;
            break;
        case 0x10077: case 0x100B7: ScaleZoom(view, ZoomInStep); break;
        case 0x10078: case 0x100B6: ScaleZoom(view, ZoomOutStep); break;
        case 0x10086: case 0x100DA: ScaleZoom(view, FineZoomInStep); break;
        case 0x10089: case 0x100DB: ScaleZoom(view, FineZoomOutStep); break;
    }
}

// The stored view the focused window shows, or null.
TowerView* ActiveTowerView(ViewWindowRow** row) {
    const int index = ActiveViewRow();
    if (index < 0) return nullptr;
    *row = &viewState.windows.rows[index];
    const int32_t shown = (*row)->towerIndex;
    if (shown < 0 || shown >= viewState.tower.count) return nullptr;
    return &viewState.tower.entries[shown];
}

}  // namespace

void MoveTowerEyepoint(TowerView* view, double right, double up, double forward) {
    const double heading = AngleRadians(view->heading);
    const double north = std::cos(heading) * forward - std::sin(heading) * right;
    const double east = std::sin(heading) * forward + std::cos(heading) * right;
    StepPosition(&view->position, north, east, up, LatitudeRadians(view->position.latitude));
}

void PanTowerView(TowerView* view, double pitch, double bank, double heading) {
    // Pitch and heading steps shrink with the magnification; bank does not.
    const double perDegree = ZoomNormal / view->zoom * AngleUnitsPerDegree;
    const double step = viewSettings.PanStep;
    view->pitch -= AngleSteps(perDegree * step * pitch);
    view->bank -= AngleSteps(step * bank * AngleUnitsPerDegree);
    view->heading += AngleSteps(perDegree * step * heading);
    view->manualPan = 1;
    view->autoZoom = 0.0f;
}

uint32_t TowerKeyEvent(uint32_t type, uint32_t eventId, void* record) {
    ViewWindowRow* row = nullptr;
    TowerView* view = ActiveTowerView(&row);
    if (!view) return 0;
    if (type == DispatchPress) return PressEvent(*view, *row, eventId, record);
    // Zoom events reach the host as well.
    if (type == DispatchZoom) ZoomEvent(*view, eventId);
    return 0;
}

void ToggleAutozoom(TowerView* view, int32_t targetAircraft) {
    if (view->manualPan == 1) return;
    if (view->autoZoom > 0.0f) {
        view->autoZoom = 0.0f;  // the zoom stays where autozoom left it
        return;
    }
    AircraftObject* aircraft = HostAircraftById(static_cast<uint32_t>(targetAircraft));
    if (!aircraft) return;
    const HostPosition aircraftAt = ReadPlacement(aircraft).position;
    const double distance = HostPositionDistance(&aircraftAt, &view->position);
    // At no distance there is no factor that gives this magnification.
    if (!(distance > 0.0)) return;
    view->autoZoom = NarrowToFloat(view->zoom / distance);
}

void TowerAutozoomToggle() {
    ViewWindowRow* row = nullptr;
    TowerView* view = ActiveTowerView(&row);
    if (view) ToggleAutozoom(view, row->towerTarget);
}
