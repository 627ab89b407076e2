// Rebuilding a recording from the temporary track files ("Aerotrace%d.tmp")
// that a recording leaves behind when the simulator stops before it was
// saved, and the module's look for such files at start-up.
#pragma once

#include <cstdint>

#include "engine/recording_assemble.h"
#include "engine/track.h"
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

// Recovers leftover "Modules\Aerotrace*.tmp" files holding at least two
// samples into "Recordings\Recovered_<date>_<time>.atr", removes them once the
// recording was written and verified, and tells the user once. Files with
// fewer samples are left alone. Returns the number of temporary files
// recovered; *kept (when given) is set when a flight was found that could not
// be saved, its pieces left where they are.
int RecoverLeftoverRecordings(bool* kept = nullptr);

// The start-up recovery runs once, on the first frame after ModuleInit (the
// simulator is still loading during ModuleInit, no time for files and
// messages), or earlier when a recording starts before that frame: a new
// recording must never open a leftover temporary file before its flight is
// safe.
struct StartupRecovery {
    bool pending;  // ModuleInit armed it and it has not run yet
};
extern StartupRecovery startupRecovery;

// Runs the start-up recovery if it is still pending. Returns 0 when it found
// a flight it could not save (the user was told to keep its pieces), else 1.
int RunStartupRecovery();
