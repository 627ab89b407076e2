// Win32 services of the shipped module: message boxes, the host's main
// window, key state, directories and the common file dialogs.
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

int DirectoryCreate(const char* path) { return CreateDirectoryA(path, nullptr) != 0; }

int DirectoryList(const char* directory, const char* pattern, DirectoryVisitor visit, void* context) {
    char query[MAX_PATH];
    int length = directory && directory[0] ? std::snprintf(query, sizeof query, "%s\\%s", directory, pattern)
                                           : std::snprintf(query, sizeof query, "%s", pattern);
    if (length < 0 || length >= static_cast<int>(sizeof query)) return -1;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(query, &found);
    if (search == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_NOT_FOUND ? 0 : -1;
    int visited = 0;
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        visit(found.cFileName, context);
        ++visited;
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return visited;
}

int CurrentDirectoryGet(char* buffer, size_t size) {
    DWORD length = GetCurrentDirectoryA(static_cast<DWORD>(size), buffer);
    return length != 0 && length < size;
}

int CurrentDirectorySet(const char* path) { return SetCurrentDirectoryA(path) != 0; }

uint32_t ProfileGetString(const char* section, const char* key, const char* defaultValue,
                          char* buffer, uint32_t size, const char* path) {
    return GetPrivateProfileStringA(section, key, defaultValue, buffer, size, path);
}

int ProfileWriteString(const char* section, const char* key, const char* value, const char* path) {
    return WritePrivateProfileStringA(section, key, value, path) != 0;
}

// Both dialogs: one filter "<description>\0<pattern>\0\0", explorer style.
static void PrepareDialog(OPENFILENAMEA& dialog, const FileDialogRequest* request, char* filter,
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
    dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY;
}

int ChooseOpenFile(const FileDialogRequest* request, char* buffer, uint32_t size) {
    OPENFILENAMEA dialog;
    char filter[128];
    PrepareDialog(dialog, request, filter, sizeof filter, buffer, size);
    dialog.Flags |= OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST;
    if (request->allowMultiple) dialog.Flags |= OFN_ALLOWMULTISELECT;
    return GetOpenFileNameA(&dialog) != 0;
}

int ChooseSaveFile(const FileDialogRequest* request, char* buffer, uint32_t size) {
    OPENFILENAMEA dialog;
    char filter[128];
    PrepareDialog(dialog, request, filter, sizeof filter, buffer, size);
    if (request->promptOverwrite) dialog.Flags |= OFN_OVERWRITEPROMPT;
    return GetSaveFileNameA(&dialog) != 0;
}
