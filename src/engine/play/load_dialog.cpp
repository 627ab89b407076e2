// The "Load Recording" dialog and the reading of its answer, kept apart from
// the loader so that the command-line tool, which has no dialogs, shares the
// loader alone.
#include "engine/play/load_dialog.h"

#include <cstdio>
#include <cstring>

#include "core/host/host.h"
#include "core/host/module_state.h"
#include "platform/platform.h"

int ChooseRecordingsToLoad(char* buffer, uint32_t size) {
    if (!buffer || size < 2) return 0;
    std::memset(buffer, 0, size);
    FileDialogRequest request{};
    request.owner = module.mainWindow;
    request.title = "Load Recording";
    request.filterDescription = "Flight Recordings";
    request.filterPattern = "*.atr";
    request.defaultExtension = "atr";
    request.allowMultiple = 1;
    // The dialog may change the current directory; every relative path of
    // the module (settings, temp files) depends on it.
    char directory[1024];
    const int directoryKept = CurrentDirectoryGet(directory, sizeof directory);
    HostModalBegin();
    const int chosen = ChooseOpenFile(&request, buffer, size);
    HostModalEnd();
    if (directoryKept) CurrentDirectorySet(directory);
    // Whatever the dialog did, the answer must end inside the buffer.
    buffer[size - 1] = 0;
    buffer[size - 2] = 0;
    return chosen;
}

// Length of the string at offset, or -1 when it is not terminated in the buffer.
static int64_t StringLength(const char* buffer, uint32_t size, uint32_t offset) {
    if (offset >= size) return -1;
    const void* end = std::memchr(buffer + offset, 0, size - offset);
    return end ? static_cast<const char*>(end) - (buffer + offset) : -1;
}

int NextSelectedPath(const char* buffer, uint32_t size, uint32_t* cursor, char* path, uint32_t pathSize) {
    const int64_t firstLength = StringLength(buffer, size, 0);
    if (firstLength <= 0) return 0;
    const uint32_t afterFirst = static_cast<uint32_t>(firstLength) + 1;
    const bool several = afterFirst < size && buffer[afterFirst] != 0;
    if (!several) {
        if (*cursor != 0) return 0;
        *cursor = afterFirst;
        if (static_cast<uint64_t>(firstLength) + 1 > pathSize) return 0;
        std::memcpy(path, buffer, static_cast<size_t>(firstLength) + 1);
        return 1;
    }
    if (*cursor == 0) *cursor = afterFirst;
    for (;;) {
        const int64_t nameLength = StringLength(buffer, size, *cursor);
        if (nameLength <= 0) return 0;  // the empty string that ends the list
        const char* name = buffer + *cursor;
        *cursor += static_cast<uint32_t>(nameLength) + 1;
        const int written = std::snprintf(path, pathSize, "%s\\%s", buffer, name);
        if (written >= 0 && static_cast<uint32_t>(written) < pathSize) return 1;
    }
}
