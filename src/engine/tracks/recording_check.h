// Checking a recording file from end to end before anything of it is
// trusted. The byte layout itself is recording_format.h.
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
