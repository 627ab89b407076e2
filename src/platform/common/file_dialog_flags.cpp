// The common file dialogs' flags, worked out once for the shipped module and
// for the native stand-in, which logs them.
#include "platform/platform.h"

namespace {

// The OFN_ values of commdlg.h.
const uint32_t ExplorerStyle = 0x00080000;     // OFN_EXPLORER
const uint32_t HideReadOnly = 0x00000004;      // OFN_HIDEREADONLY
const uint32_t FileMustExist = 0x00001000;     // OFN_FILEMUSTEXIST
const uint32_t PathMustExist = 0x00000800;     // OFN_PATHMUSTEXIST
const uint32_t AllowMultiSelect = 0x00000200;  // OFN_ALLOWMULTISELECT
const uint32_t OverwritePrompt = 0x00000002;   // OFN_OVERWRITEPROMPT

}  // namespace

uint32_t FileDialogFlags(const FileDialogRequest* request, FileDialogKind kind) {
    uint32_t flags = ExplorerStyle | HideReadOnly;
    if (kind == OpenFileDialogKind) {
        flags |= FileMustExist | PathMustExist;
        if (request->allowMultiple) flags |= AllowMultiSelect;
    } else if (request->promptOverwrite) {
        flags |= OverwritePrompt;
    }
    return flags;
}
