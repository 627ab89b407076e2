// The table of tracks: every track the module records or plays lives here,
// entry 0 being the user aircraft's. Owns the table's storage and the count
// of loaded windows; what a track holds is track.h.
#pragma once

#include <cstdint>

#include "engine/tracks/track.h"

struct TrackTable {
    Track* tracks;              // storage for capacity entries
    uint16_t count;             // entries in use
    uint16_t capacity;          // grows and shrinks by TrackTableStep entries
    uint16_t loadedTrackCount;  // played tracks whose window is loaded (kept by playback)
};
extern TrackTable trackTable;

constexpr uint16_t TrackTableStep = 10;

// Appends a zeroed entry and returns its index, or -1 when the storage could
// not grow (the table is then as it was). The caller sets the entry up with
// TrackInit or TrackOpenRaw.
int AddTrack();
// Frees the entry's window and moves the last entry into its place (order is
// not kept). Fails for an index that is not in use.
int RemoveTrack(uint32_t index);
// Frees every window and the storage: an empty table with no storage. The
// tracks' files are left to whoever opened them.
void EmptyTrackTable();
