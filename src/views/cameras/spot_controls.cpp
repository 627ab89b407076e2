// The spot view's key handler. Every event it lists is the view's in both
// modes, even where the mode gives it nothing to do (the tilt and axis
// events without manual panning), so the simulator's own spot plane never
// moves under the module's camera.
#include "views/cameras/spot_controls.h"

#include <cmath>

#include "config/settings.h"
#include "core/host/host.h"
#include "engine/tracks/host_encoding.h"
#include "views/windows/view_window_table.h"

namespace {

const double Pi = 3.14159265358979323846;
const double HalfRootTwo = 0.7071067811865475;
const double RootTwo = 1.414213562373095;

// The right and forward signs of the eight directions, ahead first, clockwise.
const int8_t sides[8][2] = {{0, 1}, {1, 1}, {1, 0}, {1, -1}, {0, -1}, {-1, -1}, {-1, 0}, {-1, 1}};

void Place(SpotView* view, double x, double y, double z) {
    view->x = NarrowToFloat(x);
    view->y = NarrowToFloat(y);
    view->z = NarrowToFloat(z);
}

void Pan(SpotView& view, const PanSteps& pan) { TurnLook(&view.pitch, &view.bank, &view.heading, view.zoom, pan); }

// A pan event: turns the look with manual panning; otherwise its heading
// part takes the camera around the aircraft and its pitch part over it.
// Tilting has nothing to turn while the camera looks at the aircraft.
void PanOrOrbit(SpotView& view, const PanSteps& pan) {
    if (view.manualPan) Pan(view, pan);
    else if (pan.bank == 0) OrbitOrTranslateSpot(&view, pan.heading, pan.pitch, 0);
}

uint32_t PressEvent(SpotView& view, ViewWindowRow& row, uint32_t eventId, void* record) {
    PanSteps pan;
    if (PanOfEvent(eventId, &pan)) {
        PanOrOrbit(view, pan);
        return 1;
    }
    if (IsHatEvent(eventId)) {
        if (HatPan(record, &pan)) PanOrOrbit(view, pan);
        return 1;
    }
    double move[3];
    if (EyepointOfEvent(eventId, move)) {
        OrbitOrTranslateSpot(&view, move[0], move[1], move[2]);
        return 1;
    }
    Angle32 pitch = view.pitch, bank = view.bank, heading = view.heading;
    if (SetPanAxis(eventId, record, &pitch, &bank, &heading)) {
        if (view.manualPan) {
            view.pitch = pitch;
            view.bank = bank;
            view.heading = heading;
        }
        return 1;
    }
    int direction;
    if (ViewDirectionOfEvent(eventId, &direction)) {
        PlaceSpotAround(&view, SpotLevel, direction);
        return 1;
    }
    if (UpwardViewDirectionOfEvent(eventId, &direction)) {
        PlaceSpotAround(&view, SpotRaised, direction);
        return 1;
    }
    if (StepAircraft(eventId, &row.spotTarget)) return 1;
    switch (eventId) {
        case LookDownEvent: PlaceSpotAround(&view, SpotAbove, 0); return 1;
        case LookUpEvent: PlaceSpotAround(&view, SpotBelow, 0); return 1;
        case ManualPanEvent: view.manualPan = view.manualPan ? 0 : 1; return 1;
    }
    return 0;
}

}  // namespace

void OrbitOrTranslateSpot(SpotView* view, double a, double b, double c) {
    const double step = viewSettings.SpotStep;
    if (view->manualPan) {
        Place(view, view->x + step * a, view->y + step * b, view->z + step * c);
        return;
    }
    const double offset[3] = {view->x, view->y, view->z};
    double angles[3];
    HostVectorAngles(offset, angles);
    const double radius = std::sqrt(offset[0] * offset[0] + offset[1] * offset[1] + offset[2] * offset[2]);
    const double pan = viewSettings.PanStep * Pi / 180.0;
    const double heading = angles[2] - pan * a;
    const double elevation = -(angles[0] - pan * b);  // the host's pitch is positive downwards
    const double distance = radius + step * c;
    Place(view, std::sin(heading) * distance * std::cos(elevation), std::sin(elevation) * distance,
          std::cos(heading) * distance * std::cos(elevation));
}

void PlaceSpotAround(SpotView* view, SpotSide side, int direction) {
    const double x = view->x, y = view->y, z = view->z;
    const double distance = std::sqrt(x * x + y * y + z * z);
    const double diagonal = distance * HalfRootTwo;
    const double half = distance * 0.5;
    const int8_t* signs = sides[direction & 7];
    const bool slanted = signs[0] != 0 && signs[1] != 0;
    switch (side) {
        case SpotLevel: {
            const double along = slanted ? diagonal : distance;
            Place(view, signs[0] * along, 0, signs[1] * along);
            break;
        }
        case SpotRaised: {
            const double along = slanted ? half : diagonal;
            Place(view, signs[0] * along, slanted ? half * RootTwo : diagonal, signs[1] * along);
            break;
        }
        // A centimetre behind, so that the direction to the aircraft keeps a heading.
        case SpotAbove: Place(view, 0, distance, -0.01); break;
        case SpotBelow: Place(view, 0, -distance, -0.01); break;
    }
}

uint32_t SpotKeyEvent(uint32_t type, uint32_t eventId, void* record) {
    ViewWindowRow* row = nullptr;
    const int32_t shown = ActiveStoredView(ViewKindSpot, &row);
    if (shown < 0) return 0;
    SpotView& view = viewState.spot.entries[shown];
    if (type == DispatchPress) return PressEvent(view, *row, eventId, record);
    // Zoom events reach the host as well.
    if (type == DispatchZoom) ZoomStoredView(&view.zoom, eventId);
    return 0;
}
