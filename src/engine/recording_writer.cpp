// Writing a recording from the recorded tracks and their temporary files.
// Nothing is taken away before the file is known to be complete: every
// write and read is checked, the file's final length is compared with what
// was meant to be in it, and its close is checked, because a full disk may
// only show when the last buffered bytes go out.
#include "engine/recording_writer.h"

#include <cstdio>

#include "engine/recorded_tracks.h"
#include "engine/sample.h"
#include "engine/track_table.h"
#include "platform/platform.h"

namespace {

// Temp files are copied in pieces this large; any size gives the same file.
const size_t CopyPiece = 64 * 1024;
uint8_t copyBuffer[CopyPiece];

struct RecordingHeader {
    uint32_t startTime;  // smallest first time stamp of the tracks written
    uint32_t endTime;    // largest last time stamp
    uint32_t dateStamp;
    uint16_t trackCount;
};

// The version and the header behind it, as they begin the file.
void EncodeStart(const RecordingHeader& header, uint8_t* bytes) {
    PutU32(bytes, RecordingVersion);
    PutU32(bytes + 4, header.startTime);
    PutU32(bytes + 8, header.endTime);
    PutU32(bytes + 12, header.dateStamp);
    PutU16(bytes + 16, header.trackCount);
}

// Copies the track's section (its header and its records) from the start of
// its temporary file: exactly as many bytes as the track holds, all of
// which must be there.
bool CopySection(PlatformFile* out, Track* track, uint64_t bytes) {
    if (!FileSeek(track->file, 0, SEEK_SET)) return false;
    while (bytes > 0) {
        size_t piece = bytes < CopyPiece ? static_cast<size_t>(bytes) : CopyPiece;
        if (FileRead(track->file, copyBuffer, piece) != piece) return false;
        if (FileWrite(out, copyBuffer, piece) != piece) return false;
        bytes -= piece;
    }
    return true;
}

// Everything but opening and closing; false at the first failure.
bool WriteContents(PlatformFile* out, uint32_t dateStamp) {
    uint8_t start[4 + RecordingHeaderSize];
    RecordingHeader header = {0xFFFFFFFFu, 0, dateStamp, 0};  // provisional until the tracks are in
    EncodeStart(header, start);
    if (FileWrite(out, start, sizeof start) != sizeof start) return false;
    uint32_t found = 0;
    uint16_t* order = RecordedTrackOrder(&found);
    if (!order) return false;
    uint64_t expectedLength = 4 + RecordingHeaderSize;
    bool ok = true;
    for (uint32_t i = 0; ok && i < found; ++i) {
        Track* track = &trackTable.tracks[order[i]];
        if (track->count <= 1 || !track->file) continue;
        // A track without a window was finished when its aircraft left:
        // its file already holds all of it.
        if (track->window && !FlushTrack(track)) {
            ok = false;
            break;
        }
        uint64_t section = TrackHeaderSize + static_cast<uint64_t>(track->count) * track->layout.recordSize;
        if (!CopySection(out, track, section)) {
            ok = false;
            break;
        }
        expectedLength += section;
        if (track->firstTime < header.startTime) header.startTime = track->firstTime;
        if (track->lastTime > header.endTime) header.endTime = track->lastTime;
        header.trackCount = static_cast<uint16_t>(header.trackCount + 1);
    }
    delete[] order;
    if (!ok) return false;
    EncodeStart(header, start);
    if (!FileSeek(out, 4, SEEK_SET)) return false;
    if (FileWrite(out, start + 4, RecordingHeaderSize) != RecordingHeaderSize) return false;
    return FileLength(out) == static_cast<int64_t>(expectedLength);
}

}  // namespace

int WriteRecording(const char* path, uint32_t dateStamp, RecordingWriteFailure* failure) {
    PlatformFile* out = FileOpen(path, "wb");
    if (!out) {
        *failure = RecordingNotOpened;
        return 0;
    }
    bool written = WriteContents(out, dateStamp);
    written = FileClose(out) && written;
    if (!written) {
        FileDelete(path);
        *failure = RecordingNotWritten;
        return 0;
    }
    ReleaseRecordedTracks(0);
    return 1;
}
