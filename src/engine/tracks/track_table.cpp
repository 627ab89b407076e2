// The module's one table of tracks and its storage, which grows and shrinks
// ten entries at a time. The tracks' files are not the table's: tracks
// loaded from one recording share theirs, and the recording code closes it.
#include "engine/tracks/track_table.h"

#include <cstdlib>

TrackTable trackTable;

int AddTrack() {
    if (trackTable.count >= trackTable.capacity) {
        uint32_t grown = static_cast<uint32_t>(trackTable.capacity) + TrackTableStep;
        if (grown > UINT16_MAX) return -1;
        Track* storage = static_cast<Track*>(std::realloc(trackTable.tracks, grown * sizeof(Track)));
        if (!storage) return -1;  // the old storage is still there, untouched
        trackTable.tracks = storage;
        trackTable.capacity = static_cast<uint16_t>(grown);
    }
    uint16_t index = trackTable.count;
    trackTable.tracks[index] = Track{};
    trackTable.count = static_cast<uint16_t>(index + 1);
    return index;
}

int RemoveTrack(uint32_t index) {
    if (index >= trackTable.count) return 0;
    ReleaseWindow(&trackTable.tracks[index]);
    trackTable.count = static_cast<uint16_t>(trackTable.count - 1);
    trackTable.tracks[index] = trackTable.tracks[trackTable.count];
    if (trackTable.count + TrackTableStep <= trackTable.capacity) {
        uint16_t shrunk = static_cast<uint16_t>(trackTable.capacity - TrackTableStep);
        if (shrunk == 0) {
            std::free(trackTable.tracks);
            trackTable.tracks = nullptr;
            trackTable.capacity = 0;
        } else {
            // Should the smaller block not be granted, the larger one serves on.
            Track* storage = static_cast<Track*>(std::realloc(trackTable.tracks, shrunk * sizeof(Track)));
            if (storage) {
                trackTable.tracks = storage;
                trackTable.capacity = shrunk;
            }
        }
    }
    return 1;
}

void EmptyTrackTable() {
    for (uint16_t i = 0; i < trackTable.count; ++i) ReleaseWindow(&trackTable.tracks[i]);
    std::free(trackTable.tracks);
    trackTable = TrackTable{};
}
