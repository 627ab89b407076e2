// The simulator's own view events, taken over for a stored tower view. Pan
// events turn the view by hand (which stops it following the aircraft and
// switches autozoom off); view-direction and eyepoint events move the
// eyepoint; zoom events scale the zoom, or the autozoom factor while
// autozoom runs, and still reach the host.
#include "views/cameras/tower_controls.h"

#include <cmath>

#include "config/settings.h"
#include "core/host/host.h"
#include "core/host/host_view_window.h"
#include "engine/tracks/host_encoding.h"
#include "views/cameras/camera_controls.h"
#include "views/cameras/camera_placement.h"
#include "views/windows/view_window_table.h"

namespace {

// The eight directions of the view-direction events, as right and forward
// parts of one step.
struct Direction {
    float right, forward;
};
const Direction eightDirections[8] = {
    {0, 1}, {Diagonal, Diagonal}, {1, 0}, {Diagonal, -Diagonal},
    {0, -1}, {-Diagonal, -Diagonal}, {-1, 0}, {-Diagonal, Diagonal},
};

uint32_t PressEvent(TowerView& view, ViewWindowRow& row, uint32_t eventId, void* record) {
    PanSteps pan;
    if (PanOfEvent(eventId, &pan)) {
        PanTowerView(&view, pan.pitch, pan.bank, pan.heading);
        return 1;
    }
    if (IsHatEvent(eventId)) {
        if (HatPan(record, &pan)) PanTowerView(&view, pan.pitch, pan.bank, pan.heading);
        return 1;
    }
    double move[3];
    if (EyepointOfEvent(eventId, move)) {
        const double step = viewSettings.TowerStep1;
        MoveTowerEyepoint(&view, move[0] * step, move[1] * step, move[2] * step);
        return 1;
    }
    int direction;
    if (ViewDirectionOfEvent(eventId, &direction)) {  // look forward ... forward-left: walk that way
        const Direction& d = eightDirections[direction];
        const double step = viewSettings.TowerStep2;
        MoveTowerEyepoint(&view, d.right * step, 0, d.forward * step);
        return 1;
    }
    if (UpwardViewDirectionOfEvent(eventId, &direction)) {  // the same, looking up: a longer walk
        const Direction& d = eightDirections[direction];
        const double step = viewSettings.TowerStep3;
        MoveTowerEyepoint(&view, d.right * step, 0, d.forward * step);
        return 1;
    }
    // The pan axes set the direction; following the aircraft, the next
    // frame aims it again.
    if (SetPanAxis(eventId, record, &view.pitch, &view.bank, &view.heading)) return 1;
    if (StepAircraft(eventId, &row.towerTarget)) return 1;
    switch (eventId) {
        case LookDownEvent:  // lower the eyepoint
            MoveTowerEyepoint(&view, 0, -static_cast<double>(viewSettings.TowerStep2), 0);
            return 1;
        case LookUpEvent:  // raise it
            MoveTowerEyepoint(&view, 0, viewSettings.TowerStep2, 0);
            return 1;
        case ManualPanEvent:
            view.manualPan = view.manualPan ? 0 : 1;
            return 1;
    }
    return 0;
}

// Under autozoom the zoom events move the factor, without limit, and the
// frame's own limits still hold the zoom.
void ZoomEvent(TowerView& view, uint32_t eventId) {
    float factor = 1.0f;
    switch (ZoomOfEvent(eventId, &factor)) {
        case ZoomReset:
            view.zoom = ZoomNormal;
            view.autoZoom = 0.0f;
            break;
        case ZoomScale:
            if (view.autoZoom > 0.0f) view.autoZoom *= factor;
            else view.zoom = ScaledZoom(view.zoom, factor);
            break;
        case ZoomNone:
            break;
    }
}

// The stored view the focused window shows, or null.
TowerView* ActiveTowerView(ViewWindowRow** row) {
    const int32_t shown = ActiveStoredView(ViewKindTower, row);
    return shown < 0 ? nullptr : &viewState.tower.entries[shown];
}

}  // namespace

void MoveTowerEyepoint(TowerView* view, double right, double up, double forward) {
    const double heading = AngleRadians(view->heading);
    const double north = std::cos(heading) * forward - std::sin(heading) * right;
    const double east = std::sin(heading) * forward + std::cos(heading) * right;
    StepPosition(&view->position, north, east, up, LatitudeRadians(view->position.latitude));
}

void PanTowerView(TowerView* view, double pitch, double bank, double heading) {
    const PanSteps pan = {pitch, bank, heading};
    TurnLook(&view->pitch, &view->bank, &view->heading, view->zoom, pan);
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
