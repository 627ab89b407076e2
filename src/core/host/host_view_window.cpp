// Byte offsets of the host's view-window record, its title draw record and
// its input event record. These are data records: their offsets are the same
// on every build, and a pointer stored in them is pointer-sized.
#include "core/host/host_view_window.h"

#include <cstring>

template <typename T>
static T Field(void* record, ptrdiff_t offset) {
    T value;
    std::memcpy(&value, static_cast<char*>(record) + offset, sizeof value);
    return value;
}

template <typename T>
static void SetField(void* record, ptrdiff_t offset, T value) {
    std::memcpy(static_cast<char*>(record) + offset, &value, sizeof value);
}

enum : ptrdiff_t {
    VcZoomField = 0x2E,
    TowerZoomField = 0x30,
    SpotZoomField = 0x34,
    SpotDirectionField = 0x3C,
    SpotDistanceField = 0x40,
    SpotRotationField = 0x44,
    SpotHeightField = 0x48,
    CameraPositionField = 0xBC,
    CameraPitchField = 0xD4,
    CameraBankField = 0xD8,
    CameraHeadingField = 0xDC,
    VcEyepointField = 0x11C,
    SpotTargetField = 0x1D0,
    DrawRecordWindowField = 0x18,
    EventParameterField = 0x0C,
};

uint16_t ViewWindowTowerZoom(void* window) { return Field<uint16_t>(window, TowerZoomField); }
void ViewWindowSetTowerZoom(void* window, uint16_t zoom) { SetField(window, TowerZoomField, zoom); }
uint16_t ViewWindowSpotZoom(void* window) { return Field<uint16_t>(window, SpotZoomField); }
void ViewWindowSetSpotZoom(void* window, uint16_t zoom) { SetField(window, SpotZoomField, zoom); }
uint16_t ViewWindowSpotDirection(void* window) { return Field<uint16_t>(window, SpotDirectionField); }
int32_t ViewWindowSpotDistance(void* window) { return Field<int32_t>(window, SpotDistanceField); }
void ViewWindowSetSpotDistance(void* window, int32_t distance) { SetField(window, SpotDistanceField, distance); }
uint8_t ViewWindowSpotRotation(void* window) { return Field<uint8_t>(window, SpotRotationField); }
int32_t ViewWindowSpotHeight(void* window) { return Field<int32_t>(window, SpotHeightField); }
void ViewWindowSetSpotHeight(void* window, int32_t height) { SetField(window, SpotHeightField, height); }
int32_t ViewWindowSpotTarget(void* window) { return Field<int32_t>(window, SpotTargetField); }
void ViewWindowSetSpotTarget(void* window, int32_t aircraftId) { SetField(window, SpotTargetField, aircraftId); }
uint16_t ViewWindowVcZoom(void* window) { return Field<uint16_t>(window, VcZoomField); }
void ViewWindowSetVcZoom(void* window, uint16_t zoom) { SetField(window, VcZoomField, zoom); }

void ViewWindowVcEyepoint(void* window, int16_t eyepoint[3]) {
    for (int axis = 0; axis < 3; ++axis) eyepoint[axis] = Field<int16_t>(window, VcEyepointField + 2 * axis);
}

void ViewWindowSetCamera(void* window, const HostPosition& position, Angle32 pitch, Angle32 bank, Angle32 heading) {
    SetField(window, CameraPositionField, position.latitude);
    SetField(window, CameraPositionField + 8, position.longitude);
    SetField(window, CameraPositionField + 16, position.altitude);
    SetField(window, CameraPitchField, pitch);
    SetField(window, CameraBankField, bank);
    SetField(window, CameraHeadingField, heading);
}

void* DrawRecordViewWindow(void* drawRecord) { return Field<void*>(drawRecord, DrawRecordWindowField); }
int32_t EventRecordParameter(void* record) { return Field<int32_t>(record, EventParameterField); }
