// Reading recording files for playback: checking a file from end to end
// before anything of it is trusted, turning its track sections into played
// tracks of the table (all of one file reading from one shared open file),
// the height correction of a played track, and letting go of a played track
// again. The byte layout itself is recording_format.h.
#pragma once

#include <cstdint>

#include "platform/platform.h"

// What ValidateRecording found.
struct RecordingCheck {
    uint32_t version;     // the file's version word (0 when the file is too short for one)
    uint32_t trackCount;  // track sections the header announces (1 for a single-track file)
    int64_t length;       // the file's length in bytes (-1 when it could not be told)
    int readFailed;       // 1: the file could not be read although it is long enough (an I/O error)
    uint64_t offset;      // valid: where the last track ends; damaged: where the problem lies
    char expected[160];   // damaged: what should have been at offset; empty for a valid file
};

// Walks the whole file from its start: the version, the header and, for each
// track section, its header and that its samples (of the size its flags'
// groups give; bits above the groups are ignored) fit in what the file really
// holds. Samples are not read. The file position is left anywhere. Returns 1
// for a file that loads as it is.
int ValidateRecording(PlatformFile* file, RecordingCheck* check);

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
