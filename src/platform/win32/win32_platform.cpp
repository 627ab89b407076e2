// Win32 services of the shipped module: message boxes, the host's main
// window, key state and the common file dialogs.
#include "platform/platform.h"

#include <windows.h>
#include <commdlg.h>

#include <cstdio>
#include <cstring>

int ShowMessageBox(WindowHandle owner, const char* text, const char* caption, uint32_t flags) {
    return MessageBoxA(static_cast<HWND>(owner), text, caption, flags);
}

WindowHandle FindTopLevelWindow(const char* className) { return FindWindowA(className, nullptr); }

int16_t AsyncKeyState(int virtualKey) { return GetAsyncKeyState(virtualKey); }

// Both dialogs: one filter "<description>\0<pattern>\0\0", explorer style.
static void PrepareDialog(OPENFILENAMEA& dialog, const FileDialogRequest* request, FileDialogKind kind, char* filter,
                          size_t filterSize, char* buffer, uint32_t size) {
    size_t descriptionLength = std::strlen(request->filterDescription);
    size_t patternLength = std::strlen(request->filterPattern);
    std::memset(filter, 0, filterSize);
    if (descriptionLength + patternLength + 3 <= filterSize) {
        std::memcpy(filter, request->filterDescription, descriptionLength);
        std::memcpy(filter + descriptionLength + 1, request->filterPattern, patternLength);
    }
    std::memset(&dialog, 0, sizeof dialog);
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = static_cast<HWND>(request->owner);
    dialog.lpstrFilter = filter;
    dialog.lpstrFile = buffer;
    dialog.nMaxFile = size - 1;
    dialog.lpstrTitle = request->title;
    dialog.lpstrDefExt = request->defaultExtension;
    dialog.Flags = FileDialogFlags(request, kind);
}

int ChooseOpenFile(const FileDialogRequest* request, char* buffer, uint32_t size) {
    OPENFILENAMEA dialog;
    char filter[128];
    PrepareDialog(dialog, request, OpenFileDialogKind, filter, sizeof filter, buffer, size);
    return GetOpenFileNameA(&dialog) != 0;
}

int ChooseSaveFile(const FileDialogRequest* request, char* buffer, uint32_t size) {
    OPENFILENAMEA dialog;
    char filter[128];
    PrepareDialog(dialog, request, SaveFileDialogKind, filter, sizeof filter, buffer, size);
    return GetSaveFileNameA(&dialog) != 0;
}
