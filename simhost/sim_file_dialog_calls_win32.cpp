// What the module asks of the common file dialogs, read from the call
// itself: the module's imports of GetOpenFileNameA and GetSaveFileNameA are
// pointed at wrappers that keep the OPENFILENAMEA they are given (title
// aside, nothing of it shows on the dialog a test could read back) and then
// call the system's own. The watcher's sighting of the dialog takes it.
#include <windows.h>
#include <commdlg.h>

#include <cstring>

#include "sim_win32.h"

namespace {

typedef BOOL(WINAPI* FileDialogFunction)(LPOPENFILENAMEA);

FileDialogFunction systemOpen, systemSave;
SimFileDialogCall lastCall;
bool callPending;

// The filter list, each NUL shown as "|", up to its empty entry.
std::string FilterText(const char* filter) {
    std::string text;
    if (!filter) return text;
    while (*filter) {
        const size_t length = std::strlen(filter);
        text.append(filter, length);
        text.push_back('|');
        filter += length + 1;
    }
    return text;
}

void Keep(const OPENFILENAMEA* dialog) {
    lastCall.flags = dialog->Flags;
    lastCall.filter = FilterText(dialog->lpstrFilter);
    lastCall.defaultExtension = dialog->lpstrDefExt ? dialog->lpstrDefExt : "";
    callPending = true;
}

BOOL WINAPI OpenWrapper(LPOPENFILENAMEA dialog) {
    Keep(dialog);
    return systemOpen(dialog);
}

BOOL WINAPI SaveWrapper(LPOPENFILENAMEA dialog) {
    Keep(dialog);
    return systemSave(dialog);
}

void Redirect(void** slot, void* wrapper) {
    DWORD protection = 0;
    if (!VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &protection)) return;
    *slot = wrapper;
    VirtualProtect(slot, sizeof *slot, protection, &protection);
}

}  // namespace

void SimWatchFileDialogCalls(HMODULE library) {
    // The stand-in imports both itself: their addresses are the system's.
    systemOpen = GetOpenFileNameA;
    systemSave = GetSaveFileNameA;
    auto* base = reinterpret_cast<uint8_t*>(library);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!directory.VirtualAddress) return;
    // Every imported function's slot of the bound table, whichever DLL it names.
    for (auto* entry = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress);
         entry->Name; ++entry) {
        for (auto** slot = reinterpret_cast<void**>(base + entry->FirstThunk); *slot; ++slot) {
            if (*slot == reinterpret_cast<void*>(systemOpen)) Redirect(slot, reinterpret_cast<void*>(OpenWrapper));
            if (*slot == reinterpret_cast<void*>(systemSave)) Redirect(slot, reinterpret_cast<void*>(SaveWrapper));
        }
    }
}

bool SimTakeFileDialogCall(SimFileDialogCall* call) {
    if (!callPending) return false;
    *call = lastCall;
    callPending = false;
    return true;
}
