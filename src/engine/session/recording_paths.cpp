// Names of the files a recording is made in and saved to, and the save
// dialog, which keeps the simulator's current directory as it was.
#include "engine/session/recording_paths.h"

#include <cstdio>
#include <cstring>

#include "config/settings.h"
#include "core/host/host.h"
#include "core/host/module_state.h"
#include "engine/tracks/sim_date.h"
#include "platform/platform.h"

void TempTrackFileName(uint32_t aircraftId, char* buffer, size_t size) {
    std::snprintf(buffer, size, "Modules\\Aerotrace%u.tmp", static_cast<unsigned>(aircraftId));
}

void AutomaticRecordingPath(const HostDateTime& now, char* buffer, size_t size) {
    uint32_t month, day;
    CalendarDate(now.year, now.dayOfYear, &month, &day);
    std::snprintf(buffer, size, "Recordings\\Rec_%04d-%02u-%02u_%02u-%02u-%02u.atr", static_cast<int>(now.year),
                  static_cast<unsigned>(month), static_cast<unsigned>(day), static_cast<unsigned>(now.hour),
                  static_cast<unsigned>(now.minute), static_cast<unsigned>(now.second));
}

// The dialog may change the current directory as the user browses; the
// simulator's relative paths depend on it, so it is put back whatever the
// dialog did.
int ChooseSavePath(WindowHandle owner, int modal, char* buffer, size_t size) {
    char directory[1024];
    int saved = CurrentDirectoryGet(directory, sizeof directory);
    FileDialogRequest request{};
    request.owner = owner;
    request.title = "Save Recording";
    request.filterDescription = "Flight Recordings";
    request.filterPattern = "*.atr";
    request.defaultExtension = "atr";
    request.promptOverwrite = 1;
    std::memset(buffer, 0, size);
    uint32_t dialogSize = static_cast<uint32_t>(size < RecordingPathSize ? size : RecordingPathSize);
    if (modal) HostModalBegin();
    int chosen = ChooseSaveFile(&request, buffer, dialogSize);
    if (modal) HostModalEnd();
    if (saved) CurrentDirectorySet(directory);
    return chosen && buffer[0] != 0;
}

int ChooseRecordingPath(char* buffer, size_t size) {
    if (!settings.NoRecDlg) return ChooseSavePath(module.mainWindow, 1, buffer, size);
    AutomaticRecordingPath(HostGetDateTime(), buffer, size);
    DirectoryCreate("Recordings");  // usually there already: that is fine
    return 1;
}
