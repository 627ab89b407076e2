// Saving the recorded tracks as a recording file of version 0x01000006: the
// file header, then every recorded track of more than one sample copied
// section by section from its temporary file, the user aircraft's first.
#pragma once

#include <cstdint>

enum RecordingWriteFailure : uint32_t {
    RecordingNotOpened,   // the file could not be created; nothing was written
    RecordingNotWritten,  // writing, reading back a temp file or closing failed; the file was removed
};

// Writes the recording to path. Only once the whole file is written and
// closed are the recorded tracks taken out of the table and their temporary
// files deleted. On failure the partial file is removed, the tracks and
// their files stay as they were (the recording can go on), *failure says
// why, and 0 is returned.
int WriteRecording(const char* path, uint32_t dateStamp, RecordingWriteFailure* failure);
