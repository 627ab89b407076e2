// The module's identity for the host (Linkage) and its start-up and
// shut-down. Start-up loads every subsystem's state in a fixed
// order and only then connects the module to the host's events.
#include "core/module.h"

#include "config/keys.h"
#include "config/settings.h"
#include "core/command_dispatch.h"
#include "core/events.h"
#include "core/host/clock.h"
#include "core/host/host.h"
#include "core/host/support.h"
#include "engine/play/playback_start_end.h"
#include "engine/record/leftover_recovery.h"
#include "engine/record/recording_start_stop.h"
#include "engine/replay/replay_buffer.h"
#include "engine/session/control_window_hooks.h"
#include "engine/tracks/track_table.h"
#include "ui/control_window/control_window.h"
#include "views/cameras/view_events.h"
#include "views/catalogue/view_catalogue.h"

extern "C" {
ModuleLinkage Linkage = {0x3566, ModuleInit, ModuleDeinit, 0, 0, 0x900, nullptr};
}

#if defined(_WIN32) && !defined(_WIN64)
static_assert(sizeof(ModuleLinkage) == 28, "the host reads seven 32-bit fields");
#endif

bool ModuleProcessAttach(void* instance) {
    module.instance = instance;
    // The engine drives the control window, whose clicks the command
    // dispatch carries out; neither side knows the other but through these.
    SetControlWindowHooks(&controlWindowHooks);
    SetControlWindowPerformer(PerformAction);
    WindowHandle window = FindTopLevelWindow("FS98MAIN");
    if (!window) {
        ShowMessageBox(nullptr, "FS main window could not be found! Please contact the author at" SUPPORT_SUFFIX,
                       "Aerotrace Module", BoxIconError);
        return false;
    }
    module.mainWindow = window;
    module.previousWindowProcedure = SubclassMainWindow(window);
    return true;
}

extern "C" void HOSTCALL ModuleInit() {
    if (!HostInterfacesPresent()) {
        ShowMessageBox(module.mainWindow,
                       "An error occurred during module intialization! Please contact the author at" SUPPORT_SUFFIX,
                       "Aerotrace Module", BoxIconError);
        return;
    }
    moduleClock.simClock = 0;
    moduleClock.frameTime = 0;
    EmptyTrackTable();
    HostCacheState();
    LoadSettings();
    LoadKeyTable();
    LoadViewCatalogues();
    LoadViewSettings();
    StartViewWindows();
    // A recording the simulator never got to save is rebuilt on the first
    // frame (the simulator is still loading now), or before a recording
    // that starts earlier could open its temporary files.
    startupRecovery.pending = true;
    ControlWindowCreate();

    for (const HandlerBinding& binding : ModuleHandlers) HostRegisterHandler(binding.eventId, binding.handler);
    module.handlersRegistered = true;
    module.previousDispatch = HostDispatchFunction();
    HostSetDispatchFunction(DispatchHook);
}

extern "C" void HOSTCALL ModuleDeinit() {
    // A playback ends in its shut-down form: the simulator is closing, its AI
    // aircraft go with it. Traffic played beside a recording ends too, so
    // that the recording is stopped and offered for saving as on its own.
    const Mode mode = module.mode;
    if (mode == Playback || mode == Replay || mode == TrafficPlayback || mode == RecordingWithTraffic) EndPlayback(1);
    if (module.mode == Recording) {
        StopRecording(1);
        // Not saved (the dialog was cancelled or the save failed): the
        // flight stays on disk in its temporary files.
        AbandonRecording();
    }
    StopReplayBuffer();
    module.mode = Idle;
    // Whatever the table still holds goes with the module: the host may
    // unload the library and load it again.
    EmptyTrackTable();
    // An inert module (an interface was missing) registered nothing, so it
    // has nothing to take back; nor did it load the view catalogues, and
    // saving its empty lists would wipe the user's.
    if (!module.handlersRegistered) return;
    SaveViewCatalogues();
    for (const HandlerBinding& binding : ModuleHandlers) HostUnregisterHandler(binding.eventId, binding.handler);
    module.handlersRegistered = false;
}
