// Writing a recording file (the current version, 0x01000006) from track
// sections whose records sit in other open files: temporary track files, or
// tracks of other recordings. Saving a recording, recovery after a crash and
// the command-line tool's merge, trim and convert all write through here.
#pragma once

#include <cstdint>

#include "engine/tracks/recording_format.h"
#include "engine/tracks/track.h"
#include "platform/platform.h"

// Records count records of one track, from record first on, of the records
// that start at dataOffset in file. Their time stamps move by timeShift.
struct TrackSource {
    PlatformFile* file;
    uint64_t dataOffset;  // file offset of the source's record 0
    uint32_t flags;       // SampleFlags of the records (their layout)
    uint32_t first;       // index of the first record taken
    uint32_t count;       // records taken
    int64_t timeShift;    // added to every time stamp taken, in TimeStamp units
    const char* title;    // aircraft title (at most 100 characters are kept)
    float referenceElevation;
    uint32_t interval;  // milliseconds
};

// Told how far the copy is, in records, now and then.
typedef void (*AssembleProgress)(uint64_t done, uint64_t total, void* context);

// Writes the recording into out, open for writing and empty: version,
// RecordingHeader (start and end time from the sections, the given date
// stamp, one section per source), then each source's TrackHeader and
// records; then checks that the file is as long as all that. Fails (0) when
// a source cannot be read, a shifted time stamp leaves 0..2^32-1, or a write
// fails; out is left open either way, its contents unknown after a failure.
int WriteRecordingSections(PlatformFile* out, uint32_t dateStamp, const TrackSource* sources, uint32_t sourceCount,
                           AssembleProgress progress, void* context);

// Writes a new recording at path: version, RecordingHeader (start and end
// time from the sections, the given date stamp, one section per source), then
// each source's TrackHeader and records. Fails (0) when a source cannot be
// read, a shifted time stamp leaves 0..2^32-1, or the output cannot be
// written; a half-written output is then deleted. The sources' files are
// left open, at unspecified positions.
int WriteRecordingFile(const char* path, uint32_t dateStamp, const TrackSource* sources, uint32_t sourceCount,
                       AssembleProgress progress, void* context);
