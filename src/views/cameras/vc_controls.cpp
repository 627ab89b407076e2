// The VC view's key handler. The look directions are whole eighths of a
// turn: 0x20000000 is 45 degrees, and the pitch is positive downwards.
#include "views/cameras/vc_controls.h"

#include "config/settings.h"
#include "engine/tracks/host_encoding.h"
#include "views/cameras/camera_controls.h"
#include "views/windows/view_window_table.h"

namespace {

const Angle32 EighthTurn = 0x20000000u;
const Angle32 StraightDown = 0x40000000u;
const Angle32 RaisedHalfway = 0xE0000000u;  // 45 degrees up
const Angle32 StraightUp = 0xC0000000u;

void Look(VcView& view, Angle32 pitch, Angle32 heading) {
    view.pitch = pitch;
    view.bank = 0;
    view.heading = heading;
}

uint32_t PressEvent(VcView& view, ViewWindowRow& row, uint32_t eventId, void* record) {
    PanSteps pan;
    if (PanOfEvent(eventId, &pan)) {
        TurnLook(&view.pitch, &view.bank, &view.heading, view.zoom, pan);
        return 1;
    }
    if (IsHatEvent(eventId)) {
        if (HatPan(record, &pan)) TurnLook(&view.pitch, &view.bank, &view.heading, view.zoom, pan);
        return 1;
    }
    double move[3];
    if (EyepointOfEvent(eventId, move)) {
        MoveVcEyepoint(&view, move[0], move[1], move[2]);
        return 1;
    }
    int direction;
    if (ViewDirectionOfEvent(eventId, &direction)) {
        Look(view, 0, EighthTurn * static_cast<Angle32>(direction));
        return 1;
    }
    if (UpwardViewDirectionOfEvent(eventId, &direction)) {
        Look(view, RaisedHalfway, EighthTurn * static_cast<Angle32>(direction));
        return 1;
    }
    if (SetPanAxis(eventId, record, &view.pitch, &view.bank, &view.heading)) return 1;
    if (StepAircraft(eventId, &row.vcTarget)) return 1;
    switch (eventId) {
        case LookDownEvent: Look(view, StraightDown, 0); return 1;
        case LookUpEvent: Look(view, StraightUp, 0); return 1;
        case ManualPanEvent: row.vcTarget = UserAircraftId; return 1;  // back to the stored direction
    }
    return 0;
}

}  // namespace

void MoveVcEyepoint(VcView* view, double right, double up, double forward) {
    const double step = viewSettings.VCStep;
    view->x = NarrowToFloat(view->x + step * right);
    view->y = NarrowToFloat(view->y + step * up);
    view->z = NarrowToFloat(view->z + step * forward);
}

uint32_t VcKeyEvent(uint32_t type, uint32_t eventId, void* record) {
    ViewWindowRow* row = nullptr;
    const int32_t shown = ActiveStoredView(ViewKindVirtualCockpit, &row);
    if (shown < 0) return 0;
    VcView& view = viewState.vc.entries[shown];
    if (type == DispatchPress) return PressEvent(view, *row, eventId, record);
    // Zoom events reach the host as well.
    if (type == DispatchZoom) ZoomStoredView(&view.zoom, eventId);
    return 0;
}
