// The records the host reads from the module: the exported Linkage, which
// names the module and its entry points, and ImportTable, in which the host
// fills in its interfaces for the binding to call through.
#pragma once

#include "core/abi/host_abi.h"

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
