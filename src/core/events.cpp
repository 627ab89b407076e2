// What the module does when the host calls it: the eight event handlers and
// DispatchHook, which sees every dispatch before the host's own function.
// The handlers only decide by mode and hand the work to the subsystems.
#include "core/events.h"

#include "config/settings.h"
#include "core/host/clock.h"
#include "core/host/host.h"
#include "core/host/module_state.h"
#include "engine/capture/capture.h"
#include "engine/play/playback_frames.h"
#include "engine/play/playback_start_end.h"
#include "engine/record/leftover_recovery.h"
#include "engine/record/recording_start_stop.h"
#include "engine/replay/replay_buffer.h"
#include "engine/session/session.h"
#include "engine/session/transport.h"
#include "ui/status_line/status_line.h"
#include "views/cameras/view_events.h"
#include "views/windows/view_window_table.h"

EventState events;

extern "C" uint32_t HOSTCALL DispatchHook(uint32_t type, uint32_t eventId, void* record) {
    if (type == DispatchInput) {
        if (uint32_t consumed = PlaybackInputFilter(eventId)) return consumed;
    }
    if (type == DispatchInput || type == DispatchInputRepeat) {
        if (uint32_t consumed = ViewInputEvent(type, eventId, record)) return consumed;
    }
    if (type == DispatchFrameStep) AdvanceSimClock(HostStepSeconds());
    return module.previousDispatch ? module.previousDispatch(type, eventId, record) : 0;
}

static bool Playing(Mode mode) { return mode == Playback || mode == Replay || mode == TrafficPlayback; }

static void HOSTCALL OnCaptureEvent(HostArg, HostArg) {
    // The first frame after start-up: the simulator has finished loading.
    RunStartupRecovery();
    if (module.mode == Idle || HostPaused()) return;
    if (module.mode == Recording || module.mode == ReplayBuffer || module.mode == RecordingWithTraffic) {
        if (CaptureTick() == CaptureAutostopReached) StopRecording(0);
    }
    if (module.mode != Idle) SweepViewWindows();
}

static void HOSTCALL OnPlaybackEvent(HostArg, HostArg) {
    if (module.mode == Idle || HostPaused()) return;
    const Mode mode = module.mode;
    if (mode == Playback || mode == Replay || mode == TrafficPlayback || mode == RecordingWithTraffic) PlaybackTick();
    // The host draws the main view again and then sends the status event.
    if (StatusLineWanted(module.mode, settings.ShowRec, settings.ShowPlay)) HostRequestMainViewRedraw();
}

static void HOSTCALL OnFlightLoaded(HostArg, HostArg p2) {
    if (p2 != 1) return;
    // The buffer starts with the first flight; later ones empty it only when
    // the user wants each flight's buffer to itself.
    if (settings.RplyClear || !events.replayBufferStarted) {
        StartReplayBuffer();
        events.replayBufferStarted = true;
    }
    // A new flight ends the recording of the old one; the user may save it.
    if (module.mode == Recording) StopRecording(1);
    session.aircraftChanged = 1;
}

// While a playback drives the user aircraft the host must not act on the
// view window's byte 0x45 between these two events; it gets its own value
// back afterwards.
static void HOSTCALL OnViewBegin(HostArg p1, HostArg) {
    void* window = reinterpret_cast<void*>(p1);
    if (!window || !Playing(module.mode)) return;
    events.heldViewWindow = window;
    events.savedViewByte = ViewWindowHeldByte(window);
    ViewWindowSetHeldByte(window, 1);
}

static void HOSTCALL OnViewEnd(HostArg p1, HostArg) {
    void* window = reinterpret_cast<void*>(p1);
    // Put back even if the playback ended in between: only this handler
    // would ever restore the byte.
    if (window && window == events.heldViewWindow) {
        ViewWindowSetHeldByte(window, events.savedViewByte);
        events.heldViewWindow = nullptr;
    }
    if (window) ViewCameraEvent(window);
}

static void HOSTCALL OnViewTitleDraw(HostArg, HostArg p2) { DrawViewTitle(reinterpret_cast<void*>(p2)); }

static void HOSTCALL OnStatusDraw(HostArg, HostArg p2) {
    void* window = reinterpret_cast<void*>(p2);
    if (!window || window != HostMainView()) return;
    StatusLine line = BuildStatusText(module.mode, settings.ShowRec, settings.ShowPlay, moduleClock, transport);
    if (!line.shown) return;
    HostBeginDraw(window);
    HostDrawText(StatusTextStyle, window, 0xFFFFFFFFu, line.colour, line.text);
    HostEndDraw();
}

// Counts down how long each view window's title stays on screen.
static void HOSTCALL OnTitleTimer(HostArg, HostArg) { TickViewTitles(); }

const HandlerBinding ModuleHandlers[8] = {
    {EventCapture, OnCaptureEvent},   {EventPlayback, OnPlaybackEvent},       {EventFlightLoaded, OnFlightLoaded},
    {EventViewBegin, OnViewBegin},    {EventViewEnd, OnViewEnd},              {EventViewTitleDraw, OnViewTitleDraw},
    {EventStatusDraw, OnStatusDraw},  {EventTitleTimer, OnTitleTimer},
};
