// Directories on Windows: making one, listing its files, the current one.
#include "platform/platform.h"

#include <windows.h>

#include <cstdio>

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
