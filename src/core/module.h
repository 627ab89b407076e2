// The module's lifecycle: process attach, ModuleInit and ModuleDeinit. The
// records the host reads are core/host/entry_records.h; the operating mode and
// the handles every other part consults are core/host/module_state.h.
#pragma once

#include "core/host/entry_records.h"
#include "core/abi/host_abi.h"
#include "core/host/module_state.h"
#include "platform/platform.h"

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
