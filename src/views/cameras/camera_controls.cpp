// The simulator's view events by id. The factors and the diagonal are the
// host's own single-precision constants, so a stored view turns and zooms
// by exactly what the simulator's own views would.
#include "views/cameras/camera_controls.h"

#include <cmath>

#include "config/settings.h"
#include "core/host/host.h"
#include "core/host/host_view_window.h"
#include "engine/tracks/host_encoding.h"

namespace {

const float ZoomInStep = 1.4142f;
const float ZoomOutStep = 0.70711356f;
const float FineZoomInStep = 1.0109f;
const float FineZoomOutStep = 0.9892175f;
const double Pi = 3.14159265358979323846;

Angle32 AngleSteps(double units) { return static_cast<Angle32>(static_cast<uint64_t>(TruncateToInt64(units))); }

int32_t Parameter(void* record, int32_t absent) { return record ? EventRecordParameter(record) : absent; }

}  // namespace

bool PanOfEvent(uint32_t eventId, PanSteps* pan) {
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

bool IsHatEvent(uint32_t eventId) { return eventId == 0x10370; }

bool HatPan(void* record, PanSteps* pan) {
    const int32_t angle = Parameter(record, -1);  // negative when centred
    if (angle < 0) return false;
    const double theta = angle * Pi / 180.0;
    *pan = {std::cos(theta), 0, std::sin(theta)};
    return true;
}

void TurnLook(Angle32* pitch, Angle32* bank, Angle32* heading, float zoom, const PanSteps& pan) {
    const double perDegree = static_cast<double>(ZoomNormal) / zoom * AngleUnitsPerDegree;
    const double step = viewSettings.PanStep;
    *pitch -= AngleSteps(perDegree * step * pan.pitch);
    *bank -= AngleSteps(step * pan.bank * AngleUnitsPerDegree);
    *heading += AngleSteps(perDegree * step * pan.heading);
}

bool SetPanAxis(uint32_t eventId, void* record, Angle32* pitch, Angle32* bank, Angle32* heading) {
    const double parameter = Parameter(record, 0);
    switch (eventId) {
        case 0x103C7: *pitch = AngleSteps(parameter * 65536.0); return true;
        case 0x103C8: *heading = AngleSteps(-(parameter * 131072.0)); return true;
        case 0x103C9: *bank = AngleSteps(parameter * 131072.0); return true;
    }
    return false;
}

bool EyepointOfEvent(uint32_t eventId, double move[3]) {
    // Up, down, right, left, forward, back.
    static const double moves[6][3] = {{0, 1, 0}, {0, -1, 0}, {1, 0, 0}, {-1, 0, 0}, {0, 0, 1}, {0, 0, -1}};
    if (eventId < 0x103DC || eventId > 0x103E1) return false;
    for (int axis = 0; axis < 3; ++axis) move[axis] = moves[eventId - 0x103DC][axis];
    return true;
}

bool ViewDirectionOfEvent(uint32_t eventId, int* direction) {
    if (eventId < 0x1008A || eventId > 0x10091) return false;
    *direction = static_cast<int>(eventId - 0x1008A);
    return true;
}

bool UpwardViewDirectionOfEvent(uint32_t eventId, int* direction) {
    if (eventId < 0x10259 || eventId > 0x10260) return false;
    *direction = static_cast<int>(eventId - 0x10259);
    return true;
}

bool StepAircraft(uint32_t eventId, int32_t* aircraftId) {
    const uint32_t id = static_cast<uint32_t>(*aircraftId);
    if (eventId == 0x103C4) {
        *aircraftId = static_cast<int32_t>(HostNextAircraft(id));
        return true;
    }
    if (eventId == 0x103C5) {
        *aircraftId = static_cast<int32_t>(HostPrevAircraft(id));
        return true;
    }
    return false;
}

ZoomEventKind ZoomOfEvent(uint32_t eventId, float* factor) {
    switch (eventId) {
        case 0x1000E: return ZoomReset;
        case 0x10077: case 0x100B7: *factor = ZoomInStep; return ZoomScale;
        case 0x10078: case 0x100B6: *factor = ZoomOutStep; return ZoomScale;
        case 0x10086: case 0x100DA: *factor = FineZoomInStep; return ZoomScale;
        case 0x10089: case 0x100DB: *factor = FineZoomOutStep; return ZoomScale;
    }
    return ZoomNone;
}

float ScaledZoom(float zoom, float factor) {
    if (factor > 1.0f) return std::fmin(zoom * factor, ZoomMaximum);
    return std::fmax(zoom * factor, ZoomMinimum);
}

void ZoomStoredView(float* zoom, uint32_t eventId) {
    float factor = 1.0f;
    switch (ZoomOfEvent(eventId, &factor)) {
        case ZoomReset: *zoom = ZoomNormal; break;
        case ZoomScale: *zoom = ScaledZoom(*zoom, factor); break;
        case ZoomNone: break;
    }
}
