// The module's entry records and its lifecycle: the exported Linkage and
// ImportTable, process attach, ModuleInit and ModuleDeinit. The operating
// mode and the handles every other part consults are core/module_state.h.
#pragma once

#include "core/host_abi.h"
#include "core/module_state.h"
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
