// The tracks being recorded, as opposed to the ones loaded for playback
// that may share the table with them: each recorded track is created on its
// own temporary file, and leaves the table either written into a recording,
// discarded with its file, or released with its file kept on disk.
#pragma once

#include <cstdint>

// Opens the aircraft's temporary file, adds its track to the table and
// writes its provisional header; the track takes the aircraft's title and
// reference elevation now. Returns the table index, or -1 when the file or
// the track could not be made (nothing is then left behind).
int CreateRecordedTrack(uint32_t aircraftId, uint32_t flags, uint32_t interval);

// The table indexes of the recorded tracks in the order in which removing
// them one by one would visit them (each removal moves the table's last
// entry into the gap, which is visited next): the order they take in a
// saved recording. A new[] array of *found entries for the caller to
// delete[]; null when there was no memory for it.
uint16_t* RecordedTrackOrder(uint32_t* found);

// Takes every recorded track out of the table. With keepFiles, each track
// first writes what it still holds in memory, and its temporary file is
// closed and left on disk, so the flight can be recovered from it; without,
// the temporary file is closed and deleted. Loaded tracks stay.
void ReleaseRecordedTracks(int keepFiles);
