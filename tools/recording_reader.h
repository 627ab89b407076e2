// Recording files as the tool reads them: checked first by the module's own
// validating loader (byte offset and what was expected when damaged), then
// opened through the module's track code, every version the module plays.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/tracks/track.h"
#include "platform/platform.h"

// Where a damaged file goes wrong.
struct RecordingFault {
    uint64_t offset;
    std::string expected;
    bool readFailed;  // the bytes are there but could not be read (an I/O error, not damage)
};

// The module's check of a file before it loads it: walks the headers
// without reading samples. True when the file loads as it is; otherwise
// *fault says where and what was expected.
bool CheckRecording(const std::string& path, RecordingFault* fault);
// "PATH: damaged at byte N: expected ..." (or that it could not be read).
std::string DescribeFault(const std::string& path, const RecordingFault& fault);

struct RecordingFile {
    std::string path;
    PlatformFile* file = nullptr;
    uint32_t version = 0;
    uint32_t startTime = 0;
    uint32_t endTime = 0;
    uint32_t dateStamp = 0;  // 0: not known
    int64_t length = 0;
    std::vector<Track> tracks;

    RecordingFile() = default;
    RecordingFile(const RecordingFile&) = delete;
    RecordingFile& operator=(const RecordingFile&) = delete;
    ~RecordingFile();
};

// Opens a recording for reading; a damaged file is a ToolError naming the
// offset and what was expected there.
std::unique_ptr<RecordingFile> OpenRecording(const std::string& path);

struct Progress;

// Counts samples read across several cursors for a progress display.
struct ReadProgress {
    Progress* progress;
    uint64_t done;
    uint64_t total;
};

// Reads a track's samples in order, a window at a time.
struct SampleCursor {
    explicit SampleCursor(Track& track);
    // The next sample into *out (groups the track does not hold are zero);
    // false after the last one. A read failure is a ToolError.
    bool Next(FullSample* out);
    // Moves to sample index (the next Next returns it).
    void Seek(uint32_t index);

    Track& track;
    ReadProgress* observer = nullptr;  // told of every window read, when set
    uint32_t index = 0;
    uint32_t windowStart = 0;
    uint32_t windowCount = 0;
};

// The single sample at index of a track (a ToolError when unreadable).
FullSample SampleAt(Track& track, uint32_t index);

// Names of the groups in flags, comma-separated ("none" for 0).
std::string GroupNames(uint32_t flags);
