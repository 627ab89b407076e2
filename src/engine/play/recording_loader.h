// Reading recording files for playback: once a file has passed its check
// (recording_check.h), turning its track sections into played
// tracks of the table (all of one file reading from one shared open file),
// the height correction of a played track, and letting go of a played track
// again. The byte layout itself is recording_format.h.
#pragma once

#include <cstdint>

#include "engine/tracks/recording_check.h"
#include "platform/platform.h"

// Loads one recording for playback: checks it, then appends its tracks to the
// table, widens the module's StartTime and EndTime, and keeps the file open for
// the tracks (closed with the last of them, RemoveLoadedTrack). The user
// aircraft's track is the one that lands in table slot 0 unless asTraffic.
// A file that cannot be opened or is damaged gets its message and adds
// nothing; returns 1 when the file's tracks were added, with the file's date
// stamp in *dateStamp (0 for a file that keeps none).
int LoadRecording(const char* path, int asTraffic, uint32_t* dateStamp);

// The altitude offset (metres x 2^32) that lifts a track recorded where the
// reference elevation was recordedFeet to where it is currentFeet. The user
// aircraft's track at loading computes it in extended precision, an AI track
// when its aircraft is created in double; a difference too large to
// represent gives 0.
int64_t LoadedHeightCorrection(float currentFeet, float recordedFeet);
int64_t CreatedHeightCorrection(float currentFeet, float recordedFeet);

// Removes a played track from the table (its window freed, the last entry
// moved into its slot) and closes its recording file unless another track
// still reads from it. Fails for an index not in use.
int RemoveLoadedTrack(uint32_t index);
