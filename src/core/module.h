// The module's entry records and its lifecycle: the exported Linkage and
// ImportTable, process attach, ModuleInit and ModuleDeinit, and the handles
// and operating mode that every other part of the module consults.
#pragma once

#include "core/host_abi.h"
#include "platform/platform.h"

// Read by the host: identifies the module and its entry points.
struct ModuleLinkage {
    uint32_t moduleId;
    ModuleEntry moduleInit;
    ModuleEntry moduleDeinit;
    uint32_t moduleFlags;
    uint32_t modulePriority;
    uint32_t moduleVersion;
    void* moduleTable;
};

// One entry per host interface; the host fills interfacePointer.
struct ImportEntry {
    uint32_t moduleId;
    void* interfacePointer;
};

extern "C" {
extern ModuleLinkage Linkage;
extern ImportEntry ImportTable[HostInterfaceCount + 1];
}

// The operating mode.
enum Mode : uint32_t {
    Idle = 0,
    Recording = 1,
    Playback = 2,
    ReplayBuffer = 3,
    Replay = 4,
    TrafficPlayback = 5,
    RecordingWithTraffic = 6,
};

// Nothing runs but, perhaps, the replay buffer in the background: the modes
// in which a recording or a playback may start.
inline bool ModeIsIdle(Mode mode) { return mode == Idle || mode == ReplayBuffer; }

// Handles and state kept from attach and start-up to unloading.
struct ModuleCore {
    Mode mode;                          // what is running now
    void* instance;                     // the module's own instance (dialog templates)
    WindowHandle mainWindow;            // the simulator's "FS98MAIN" window
    void* previousWindowProcedure;      // the main window's procedure before ours
    DispatchFunction previousDispatch;  // the host's dispatch function before DispatchHook
    bool handlersRegistered;            // ModuleInit got as far as registering
};
extern ModuleCore module;

// Process attach: finds the main window and takes over its window
// procedure. Returns false (the library must not load) when there is none.
bool ModuleProcessAttach(void* instance);

// Installs windowProcedure on the main window and returns the previous one
// (Win32 only; native builds have no window to subclass).
void* SubclassMainWindow(WindowHandle window);

extern "C" {
void HOSTCALL ModuleInit();
void HOSTCALL ModuleDeinit();
}
