// The temporary track files ("Aerotrace%d.tmp") a recording writes while it
// runs, as they are found after the simulator stopped before the recording
// was saved: what they really hold, and the check of a recording rebuilt
// from them.
#pragma once

#include <cstdint>

#include "engine/tracks/recording_assemble.h"
#include "engine/tracks/track.h"
#include "platform/platform.h"

// What a temporary track file really holds. Its header is written when the
// track starts and only rewritten when the recording stops, so after a crash
// its count and times are stale: the records are counted from the file's
// length, and a record whose time runs backwards (bytes never finished)
// ends the trusted part.
struct TempTrackScan {
    TrackHeader header;     // as stored; count and times as they are trusted
    int64_t length;         // bytes in the file
    uint32_t wholeRecords;  // (length - 124) / record size
};

// Reads the file's header and walks its records. Fails (0) when the file is
// shorter than a header or cannot be read.
int ScanTempTrack(PlatformFile* file, TempTrackScan* scan);

// A DateStamp for a recovered recording: from the first record's date and
// time group when the track holds one, else 0 (unknown).
uint32_t RecoveredDateStamp(PlatformFile* file, const TempTrackScan& scan);

// The source that copies the trusted records of a scanned temporary file.
TrackSource TempTrackSource(PlatformFile* file, const TempTrackScan& scan);

// Reads back a recording just written and checks that it holds exactly the
// given sections (counts and time ranges). Non-zero when it does.
int VerifyRecordingFile(const char* path, const TrackSource* sources, uint32_t sourceCount);

// The aircraft id in a temporary file's name "Aerotrace<id>.tmp" (letter
// case ignored, as Windows does), 0 for any other name.
uint32_t TempTrackFileId(const char* name);
