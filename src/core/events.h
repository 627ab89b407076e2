// The host's entries into the running module: the eight event handlers and
// DispatchHook, which sits in the host's dispatch slot.
#pragma once

#include "core/abi/host_abi.h"

// Host event ids the module listens to.
enum HostEvent : uint32_t {
    EventCapture = 1,
    EventTitleTimer = 2,
    EventViewBegin = 15,
    EventStatusDraw = 18,
    EventViewTitleDraw = 27,
    EventPlayback = 34,
    EventViewEnd = 37,
    EventFlightLoaded = 38,
};

// Dispatch types.
enum : uint32_t { DispatchInput = 8, DispatchInputRepeat = 9, DispatchFrameStep = 32 };

// DrawText style of the status line.
constexpr uint32_t StatusTextStyle = 7;

// What the handlers keep between two host calls.
struct EventState {
    void* heldViewWindow;   // the view window whose byte 0x45 is held at 1 now, or null
    uint8_t savedViewByte;  // that byte's own value, put back at the end of the window's turn
    bool replayBufferStarted;  // a flight load has started the replay buffer since start-up
};
extern EventState events;

struct HandlerBinding {
    uint32_t eventId;
    EventHandler handler;
};
// The handlers in the order they are registered and unregistered.
extern const HandlerBinding ModuleHandlers[8];

extern "C" uint32_t HOSTCALL DispatchHook(uint32_t type, uint32_t eventId, void* record);
