// The fields of the host's view-window record that the advanced views read
// and write, and the two host records that lead to a window: the draw record
// of a title event and the event record of a dispatched input event. The
// module knows a window only by the address of this record.
#pragma once

#include "core/abi/host_abi.h"

// Kinds of view window the advanced views serve (the window's type byte).
enum ViewKind : uint8_t {
    ViewKindVirtualCockpit = 2,
    ViewKindTower = 3,
    ViewKindSpot = 4,
};

// The host's own view values of a window, kept while a stored view is shown.
uint16_t ViewWindowTowerZoom(void* window);  // sixty-fourths
void ViewWindowSetTowerZoom(void* window, uint16_t zoom);
uint16_t ViewWindowSpotZoom(void* window);
void ViewWindowSetSpotZoom(void* window, uint16_t zoom);
uint16_t ViewWindowSpotDirection(void* window);  // around the aircraft, full turn = 65536
int32_t ViewWindowSpotDistance(void* window);    // metres x 256
void ViewWindowSetSpotDistance(void* window, int32_t distance);
uint8_t ViewWindowSpotRotation(void* window);    // 2: does not turn with the aircraft
int32_t ViewWindowSpotHeight(void* window);      // metres x 256
void ViewWindowSetSpotHeight(void* window, int32_t height);
int32_t ViewWindowSpotTarget(void* window);      // aircraft id
void ViewWindowSetSpotTarget(void* window, int32_t aircraftId);
uint16_t ViewWindowVcZoom(void* window);
void ViewWindowSetVcZoom(void* window, uint16_t zoom);
// The cockpit eyepoint, right, up, forward, metres x 256.
void ViewWindowVcEyepoint(void* window, int16_t eyepoint[3]);

// The camera the module places in the window every frame it shows a stored view.
void ViewWindowSetCamera(void* window, const HostPosition& position, Angle32 pitch, Angle32 bank, Angle32 heading);

// The view window a title draw record belongs to.
void* DrawRecordViewWindow(void* drawRecord);
// The parameter of a dispatched input event (an axis value, a hat angle).
int32_t EventRecordParameter(void* record);
