// Recorded tracks and their temporary files: making one for an aircraft,
// the order in which the recording writer visits them, and taking them out
// of the table with or without their files.
#include "engine/capture/recorded_tracks.h"

#include <cstdio>
#include <new>

#include "core/host/host.h"
#include "engine/session/recording_paths.h"
#include "engine/tracks/track_table.h"
#include "platform/platform.h"

int CreateRecordedTrack(uint32_t aircraftId, uint32_t flags, uint32_t interval) {
    char name[64];
    TempTrackFileName(aircraftId, name, sizeof name);
    PlatformFile* file = FileOpen(name, "w+b");
    if (!file) return -1;
    int index = AddTrack();
    if (index >= 0 && TrackInit(&trackTable.tracks[index], TrackWindowSamples, file, 0, flags,
                                HostAircraftTitle(aircraftId), aircraftId, interval, 1)) {
        Track& track = trackTable.tracks[index];
        track.referenceElevation = HostReferenceElevation(aircraftId);
        // The provisional header already carries the elevation, so a flight
        // recovered from this file after a crash sits at the right height.
        if (FileSeek(file, 0, SEEK_SET) && WriteTrackHeader(file, TrackHeaderOf(track)) &&
            FileSeek(file, track.dataOffset, SEEK_SET))
            return index;
    }
    if (index >= 0) RemoveTrack(static_cast<uint32_t>(index));  // the entry it just added, no samples yet
    FileClose(file);
    FileDelete(name);
    return -1;
}

static bool IsRecorded(const Track& track) { return !track.readMode; }

uint16_t* RecordedTrackOrder(uint32_t* found) {
    const uint32_t count = trackTable.count;
    uint16_t* order = new (std::nothrow) uint16_t[count + 1];
    uint16_t* slots = new (std::nothrow) uint16_t[count + 1];
    if (!order || !slots) {
        delete[] order;
        delete[] slots;
        return nullptr;
    }
    for (uint32_t i = 0; i < count; ++i) slots[i] = static_cast<uint16_t>(i);
    uint32_t size = count, slot = 0;
    *found = 0;
    while (slot < size) {
        uint16_t index = slots[slot];
        if (!IsRecorded(trackTable.tracks[index])) {
            ++slot;
            continue;
        }
        order[(*found)++] = index;
        slots[slot] = slots[--size];
    }
    delete[] slots;
    return order;
}

void ReleaseRecordedTracks(int keepFiles) {
    for (uint32_t i = 0; i < trackTable.count;) {
        Track& track = trackTable.tracks[i];
        if (!IsRecorded(track)) {
            ++i;
            continue;
        }
        // A memory-only track (the replay buffer's ring) has no file to keep
        // or delete; its name would be another track's.
        if (track.file) {
            if (keepFiles) {
                if (track.window) FlushTrack(&track);
                FileClose(track.file);
            } else {
                FileClose(track.file);
                char name[64];
                TempTrackFileName(track.aircraftId, name, sizeof name);
                FileDelete(name);
            }
        }
        RemoveTrack(i);  // frees the window; the last entry moves here and is looked at next
    }
}
