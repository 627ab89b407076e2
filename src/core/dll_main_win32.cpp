// The library's entry notification: only process attach does anything.
#include <windows.h>

#include "core/module.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    return ModuleProcessAttach(instance) ? TRUE : FALSE;
}
