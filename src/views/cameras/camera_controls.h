// What the simulator's view events mean to every advanced-view camera alike:
// the pan and tilt directions, the hat, the pan axes, the eyepoint
// directions, the aircraft stepping and the zoom steps. Each kind's key
// handler decides what a meaning does to its own stored view.
#pragma once

#include <cstdint>

#include "core/abi/host_abi.h"

// The host's dispatch types of its input events.
enum : uint32_t { DispatchPress = 8, DispatchZoom = 9 };

// The host's single-precision diagonal, 0.699999988.
constexpr float Diagonal = 0.7f;

// A turn of a look direction, in steps of the panning setting.
struct PanSteps {
    double pitch, bank, heading;
};
// The pan, diagonal pan and tilt events.
bool PanOfEvent(uint32_t eventId, PanSteps* pan);
// The hat event with its angle θ in the record: true when it points
// (pan (cos θ, 0, sin θ)); false when centred. The event is the views' either way.
bool IsHatEvent(uint32_t eventId);
bool HatPan(void* record, PanSteps* pan);

// Turns a look direction by pan steps: pitch and heading steps shrink with
// the magnification, bank steps do not.
void TurnLook(Angle32* pitch, Angle32* bank, Angle32* heading, float zoom, const PanSteps& pan);

// The pan-axis events set one angle outright from the event's parameter.
bool SetPanAxis(uint32_t eventId, void* record, Angle32* pitch, Angle32* bank, Angle32* heading);

// The eyepoint events: a unit move right, up and forward.
bool EyepointOfEvent(uint32_t eventId, double move[3]);

// The eight view directions (look forward, forward-right, ... forward-left)
// as the index 0..7 they name, for the level events and for the upward ones.
bool ViewDirectionOfEvent(uint32_t eventId, int* direction);
bool UpwardViewDirectionOfEvent(uint32_t eventId, int* direction);
enum : uint32_t { LookDownEvent = 0x10092, LookUpEvent = 0x10261, ManualPanEvent = 0x10153 };

// The next and previous aircraft events: the id that the host gives after,
// or before, the current one.
bool StepAircraft(uint32_t eventId, int32_t* aircraftId);

// The zoom events of dispatch type 9: back to 1x, or a factor.
enum ZoomEventKind { ZoomNone, ZoomReset, ZoomScale };
ZoomEventKind ZoomOfEvent(uint32_t eventId, float* factor);
// A zoom scaled by a factor: zooming in stops at 512x, zooming out at 1/16x.
float ScaledZoom(float zoom, float factor);
// The zoom a stored spot or cockpit view has after a zoom event.
void ZoomStoredView(float* zoom, uint32_t eventId);
