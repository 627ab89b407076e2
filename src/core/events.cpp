// What the module does when the host calls it: the eight event handlers and
// DispatchHook, which sees every dispatch before the host's own function.
#include "core/events.h"

#include "core/clock.h"
#include "core/host.h"
#include "core/module.h"
#include "engine/playback.h"
#include "engine/player.h"

extern "C" uint32_t HOSTCALL DispatchHook(uint32_t type, uint32_t eventId, void* record) {
    if (type == DispatchInput) {
        if (uint32_t consumed = PlaybackInputFilter(eventId)) return consumed;
    }
    if (type == DispatchFrameStep) AdvanceSimClock(HostStepSeconds());
    return module.previousDispatch ? module.previousDispatch(type, eventId, record) : 0;
}

static void HOSTCALL OnCaptureEvent(HostArg, HostArg) {
    if (module.mode == Idle || HostPaused()) return;
}

static void HOSTCALL OnPlaybackEvent(HostArg, HostArg) {
    if (module.mode == Idle || HostPaused()) return;
    const Mode mode = module.mode;
    if (mode == Playback || mode == Replay || mode == TrafficPlayback || mode == RecordingWithTraffic) PlaybackTick();
}

static void HOSTCALL OnFlightLoaded(HostArg, HostArg) {}
static void HOSTCALL OnViewBegin(HostArg, HostArg) {}
static void HOSTCALL OnViewEnd(HostArg, HostArg) {}
static void HOSTCALL OnViewTitleDraw(HostArg, HostArg) {}
static void HOSTCALL OnStatusDraw(HostArg, HostArg) {}
static void HOSTCALL OnTitleTimer(HostArg, HostArg) {}

const HandlerBinding ModuleHandlers[8] = {
    {EventCapture, OnCaptureEvent},   {EventPlayback, OnPlaybackEvent},       {EventFlightLoaded, OnFlightLoaded},
    {EventViewBegin, OnViewBegin},    {EventViewEnd, OnViewEnd},              {EventViewTitleDraw, OnViewTitleDraw},
    {EventStatusDraw, OnStatusDraw},  {EventTitleTimer, OnTitleTimer},
};
