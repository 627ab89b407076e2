// Recovery of recordings that were never saved: scanning temporary track
// files for the records they really hold, assembling them into a recording,
// checking it on disk, and the one pass over the Modules folder after start-up.
#include "engine/recording_recovery.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "core/host.h"
#include "core/module_state.h"
#include "engine/recording_loader.h"
#include "engine/recording_paths.h"
#include "engine/sim_date.h"

// Records read per step while walking a temporary file.
static const uint32_t ScanRecords = 1024;

int ScanTempTrack(PlatformFile* file, TempTrackScan* scan) {
    TempTrackScan made{};
    made.length = FileLength(file);
    if (made.length < static_cast<int64_t>(TrackHeaderSize)) return 0;
    if (!FileSeek(file, 0, SEEK_SET) || !ReadTrackHeader(file, &made.header)) return 0;
    const SampleLayout layout = ComputeLayout(made.header.flags);
    uint64_t whole = static_cast<uint64_t>(made.length - TrackHeaderSize) / layout.recordSize;
    made.wholeRecords = whole > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(whole);
    uint8_t* buffer = static_cast<uint8_t*>(std::malloc(static_cast<size_t>(ScanRecords) * layout.recordSize));
    if (!buffer) return 0;
    // Time stamps never run backwards within a track: where one does, what
    // follows was not written whole.
    uint32_t trusted = 0;
    uint32_t previous = 0;
    bool ok = true;
    bool ended = false;
    while (ok && !ended && trusted < made.wholeRecords) {
        uint32_t records = made.wholeRecords - trusted < ScanRecords ? made.wholeRecords - trusted : ScanRecords;
        size_t bytes = static_cast<size_t>(records) * layout.recordSize;
        if (FileRead(file, buffer, bytes) != bytes) {
            ok = false;
            break;
        }
        for (uint32_t i = 0; i < records; ++i) {
            uint32_t time = RecordTime(layout, buffer + static_cast<size_t>(i) * layout.recordSize);
            if (trusted > 0 && time < previous) {
                ended = true;
                break;
            }
            if (trusted == 0) made.header.firstTime = time;
            made.header.lastTime = time;
            previous = time;
            ++trusted;
        }
    }
    std::free(buffer);
    if (!ok) return 0;
    made.header.count = trusted;
    if (trusted == 0) made.header.firstTime = made.header.lastTime = 0;
    *scan = made;
    return 1;
}

uint32_t RecoveredDateStamp(PlatformFile* file, const TempTrackScan& scan) {
    const SampleLayout layout = ComputeLayout(scan.header.flags);
    if (!(layout.flags & FlagDateTime) || scan.header.count == 0) return 0;
    uint8_t record[FullSampleSize];
    if (!FileSeek(file, TrackHeaderSize, SEEK_SET) || FileRead(file, record, layout.recordSize) != layout.recordSize)
        return 0;
    FullSample sample{};
    UnpackSample(layout, record, &sample);
    HostDateTime when{static_cast<int16_t>(1900 + sample.yearSince1900), sample.dayOfYear, sample.hour, sample.minute,
                      sample.second};
    return DateStamp(when);
}

TrackSource TempTrackSource(PlatformFile* file, const TempTrackScan& scan) {
    TrackSource source{};
    source.file = file;
    source.dataOffset = TrackHeaderSize;
    source.flags = scan.header.flags;
    source.first = 0;
    source.count = scan.header.count;
    source.timeShift = 0;
    source.title = scan.header.title;
    source.referenceElevation = scan.header.referenceElevation;
    source.interval = scan.header.interval;
    return source;
}

// The record at index of a source as it was to be written (time shifted).
static bool SourceRecord(const TrackSource& source, const SampleLayout& layout, uint32_t index, uint8_t* record) {
    uint64_t offset = source.dataOffset + static_cast<uint64_t>(source.first + index) * layout.recordSize;
    if (!FileSeek(source.file, static_cast<int64_t>(offset), SEEK_SET) ||
        FileRead(source.file, record, layout.recordSize) != layout.recordSize)
        return false;
    int64_t moved = static_cast<int64_t>(RecordTime(layout, record)) + source.timeShift;
    SetRecordTime(layout, record, static_cast<uint32_t>(moved));
    return true;
}

int VerifyRecordingFile(const char* path, const TrackSource* sources, uint32_t sourceCount) {
    PlatformFile* file = FileOpen(path, "rb");
    if (!file) return 0;
    // The module's own check first: the file must load as it is.
    RecordingCheck check;
    bool ok = ValidateRecording(file, &check) && check.version == FileVersionCurrent;
    uint8_t head[FirstTrackOffset];
    RecordingHeader summary{};
    ok = ok && FileSeek(file, 0, SEEK_SET) && FileRead(file, head, sizeof head) == sizeof head;
    if (ok) DecodeRecordingHeader(head + FileVersionSize, &summary);
    ok = ok && summary.trackCount == sourceCount;
    uint64_t end = FirstTrackOffset;
    for (uint32_t i = 0; ok && i < sourceCount; ++i) {
        const TrackSource& source = sources[i];
        Track track{};
        ok = FileSeek(file, static_cast<int64_t>(end), SEEK_SET) &&
             TrackInit(&track, TrackWindowSamples, file, 1, 0, nullptr, 0, 0, 0);
        ok = ok && track.count == source.count && track.flags == source.flags;
        if (!ok) break;
        end = track.dataOffset + static_cast<uint64_t>(track.count) * track.layout.recordSize;
        if (track.count == 0) continue;
        // The first and last records must be the sources' own, and the
        // header's times theirs.
        uint8_t written[FullSampleSize];
        uint8_t expected[FullSampleSize];
        const uint32_t ends[2] = {0, track.count - 1};
        const uint32_t times[2] = {track.firstTime, track.lastTime};
        for (int e = 0; ok && e < 2; ++e) {
            uint64_t offset = track.dataOffset + static_cast<uint64_t>(ends[e]) * track.layout.recordSize;
            ok = FileSeek(file, static_cast<int64_t>(offset), SEEK_SET) &&
                 FileRead(file, written, track.layout.recordSize) == track.layout.recordSize &&
                 SourceRecord(source, track.layout, ends[e], expected) &&
                 std::memcmp(written, expected, track.layout.recordSize) == 0 &&
                 RecordTime(track.layout, written) == times[e];
        }
    }
    ok = ok && FileLength(file) == static_cast<int64_t>(end);
    FileClose(file);
    return ok;
}

// ---------------------------------------------------------------- start-up

// The temporary files found in Modules, by aircraft id.
struct LeftoverList {
    uint32_t* ids;
    uint32_t count;
    uint32_t capacity;
    bool failed;  // memory ran out while listing
};

uint32_t TempTrackFileId(const char* name) {
    static const char Prefix[] = "aerotrace";
    static const char Suffix[] = ".tmp";
    size_t length = std::strlen(name);
    const size_t prefixLength = sizeof Prefix - 1;
    const size_t suffixLength = sizeof Suffix - 1;
    if (length <= prefixLength + suffixLength || length > prefixLength + suffixLength + 9) return 0;
    for (size_t i = 0; i < prefixLength; ++i)
        if ((name[i] | 0x20) != Prefix[i]) return 0;
    for (size_t i = 0; i < suffixLength; ++i) {
        char c = name[length - suffixLength + i];
        if ((c == '.' ? c : (c | 0x20)) != Suffix[i]) return 0;
    }
    uint32_t id = 0;
    for (size_t i = prefixLength; i < length - suffixLength; ++i) {
        if (name[i] < '0' || name[i] > '9') return 0;
        id = id * 10 + static_cast<uint32_t>(name[i] - '0');
    }
    return id;
}

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
