// The operating mode and the handles kept from attach to unloading: what
// every part of the module consults, and nothing of how it starts or ends.
#pragma once

#include "core/abi/host_abi.h"
#include "platform/platform.h"

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
