// Recovery of recordings that were never saved: the one pass over the
// Modules folder after start-up, which assembles the temporary track files
// it finds into a recording, checks it on disk and only then removes them.
#include "engine/record/leftover_recovery.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "core/host/host.h"
#include "core/host/module_state.h"
#include "engine/session/recording_paths.h"
#include "engine/tracks/sim_date.h"
#include "engine/tracks/temp_tracks.h"

// ---------------------------------------------------------------- start-up

// The temporary files found in Modules, by aircraft id.
struct LeftoverList {
    uint32_t* ids;
    uint32_t count;
    uint32_t capacity;
    bool failed;  // memory ran out while listing
};

static void CollectLeftover(const char* name, void* context) {
    LeftoverList* list = static_cast<LeftoverList*>(context);
    uint32_t id = TempTrackFileId(name);
    if (id == 0 || list->failed) return;
    if (list->count == list->capacity) {
        uint32_t capacity = list->capacity ? list->capacity * 2 : 16;
        uint32_t* grown = static_cast<uint32_t*>(std::realloc(list->ids, capacity * sizeof(uint32_t)));
        if (!grown) {
            list->failed = true;
            return;
        }
        list->ids = grown;
        list->capacity = capacity;
    }
    list->ids[list->count++] = id;
}

static int CompareIds(const void* a, const void* b) {
    uint32_t x = *static_cast<const uint32_t*>(a);
    uint32_t y = *static_cast<const uint32_t*>(b);
    return x < y ? -1 : (x > y ? 1 : 0);
}

// "Recordings\Recovered_<date>_<time>.atr" that does not exist yet, from the
// flight's own date when it is known and the computer's clock otherwise.
static bool RecoveredPath(uint32_t dateStamp, char* path, size_t size) {
    CalendarTime when{};
    if (dateStamp == 0 || !DecodeDateStamp(dateStamp, &when)) {
        std::time_t now = std::time(nullptr);
        const std::tm* local = std::localtime(&now);
        if (!local) return false;
        when.year = local->tm_year + 1900;
        when.month = static_cast<uint32_t>(local->tm_mon + 1);
        when.day = static_cast<uint32_t>(local->tm_mday);
        when.hour = static_cast<uint32_t>(local->tm_hour);
        when.minute = static_cast<uint32_t>(local->tm_min);
        when.second = static_cast<uint32_t>(local->tm_sec);
    }
    char base[96];
    std::snprintf(base, sizeof base, "Recordings\\Recovered_%04d-%02u-%02u_%02u-%02u-%02u", static_cast<int>(when.year),
                  when.month, when.day, when.hour, when.minute, when.second);
    for (int attempt = 1; attempt < 1000; ++attempt) {
        if (attempt == 1)
            std::snprintf(path, size, "%s.atr", base);
        else
            std::snprintf(path, size, "%s_%d.atr", base, attempt);
        if (!FileExists(path)) return true;
    }
    return false;
}

static void TellUser(const char* text, uint32_t icon) {
    HostModalBegin();
    ShowMessageBox(module.mainWindow, text, "Aerotrace", icon);
    HostModalEnd();
}

StartupRecovery startupRecovery;

int RunStartupRecovery() {
    if (!startupRecovery.pending) return 1;
    startupRecovery.pending = false;
    bool kept = false;
    RecoverLeftoverRecordings(&kept);
    return kept ? 0 : 1;
}

int RecoverLeftoverRecordings(bool* kept) {
    if (kept) *kept = false;
    LeftoverList list{};
    if (DirectoryList("Modules", "Aerotrace*.tmp", CollectLeftover, &list) <= 0 || list.count == 0) {
        std::free(list.ids);
        return 0;
    }
    // The user aircraft's file (id 1) first: its track leads the recording.
    std::qsort(list.ids, list.count, sizeof(uint32_t), CompareIds);
    PlatformFile** files = static_cast<PlatformFile**>(std::calloc(list.count, sizeof(PlatformFile*)));
    TrackSource* sources = static_cast<TrackSource*>(std::calloc(list.count, sizeof(TrackSource)));
    uint32_t* usedIds = static_cast<uint32_t*>(std::calloc(list.count, sizeof(uint32_t)));
    TempTrackScan* scans = static_cast<TempTrackScan*>(std::calloc(list.count, sizeof(TempTrackScan)));
    uint32_t used = 0;
    uint32_t dateStamp = 0;
    bool ready = files && sources && usedIds && scans && !list.failed;
    for (uint32_t i = 0; ready && i < list.count; ++i) {
        char path[64];
        TempTrackFileName(list.ids[i], path, sizeof path);
        PlatformFile* file = FileOpen(path, "rb");
        if (!file) continue;
        TempTrackScan& scan = scans[used];
        // A track of fewer than two samples never plays: leave it alone.
        if (!ScanTempTrack(file, &scan) || scan.header.count < 2) {
            FileClose(file);
            continue;
        }
        if (used == 0) dateStamp = RecoveredDateStamp(file, scan);
        files[used] = file;
        sources[used] = TempTrackSource(file, scan);
        usedIds[used] = list.ids[i];
        ++used;
    }
    int recovered = 0;
    if (used > 0) {
        char target[128];
        DirectoryCreate("Recordings");  // it may exist already
        bool saved = RecoveredPath(dateStamp, target, sizeof target) &&
                     WriteRecordingFile(target, dateStamp, sources, used, nullptr, nullptr);
        if (saved && !VerifyRecordingFile(target, sources, used)) {
            FileDelete(target);
            saved = false;
        }
        for (uint32_t i = 0; i < used; ++i) FileClose(files[i]);
        char text[512];
        if (saved) {
            // Only now that the flight is safe elsewhere may its pieces go.
            for (uint32_t i = 0; i < used; ++i) {
                char path[64];
                TempTrackFileName(usedIds[i], path, sizeof path);
                FileDelete(path);
            }
            recovered = static_cast<int>(used);
            std::snprintf(text, sizeof text,
                          "A flight that was still being recorded when the simulator stopped has been recovered.\n\n"
                          "It was saved as %s",
                          target);
            TellUser(text, BoxIconInformation);
        } else {
            std::snprintf(
                text, sizeof text,
                "A flight that was still being recorded when the simulator stopped could not be recovered.\n\n"
                "Its pieces are kept in the Modules folder (Aerotrace*.tmp). Copy them to another folder "
                "before you record again, and rebuild the flight with \"aerotrace recover\".");
            TellUser(text, BoxIconWarning);
            if (kept) *kept = true;
        }
    }
    std::free(scans);
    std::free(usedIds);
    std::free(sources);
    std::free(files);
    std::free(list.ids);
    return recovered;
}
