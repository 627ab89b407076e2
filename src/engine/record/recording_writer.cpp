// Writing a recording from the recorded tracks and their temporary files
// (the file itself is laid out by recording_assemble).
// Nothing is taken away before the file is known to be complete: every
// write and read is checked, the file's final length is compared with what
// was meant to be in it, and its close is checked, because a full disk may
// only show when the last buffered bytes go out.
#include "engine/record/recording_writer.h"

#include <cstdio>
#include <new>

#include "engine/capture/recorded_tracks.h"
#include "engine/tracks/recording_assemble.h"
#include "engine/tracks/sample.h"
#include "engine/tracks/track_table.h"
#include "platform/platform.h"

namespace {

// Everything but opening and closing; false at the first failure. The
// recorded tracks' sections go in the order they take in the table's
// removal walk, each copied from its temporary file once flushed.
bool WriteContents(PlatformFile* out, uint32_t dateStamp) {
    uint32_t found = 0;
    uint16_t* order = RecordedTrackOrder(&found);
    if (!order) return false;
    TrackSource* sources = new (std::nothrow) TrackSource[found ? found : 1];
    bool ok = sources != nullptr;
    uint32_t used = 0;
    for (uint32_t i = 0; ok && i < found; ++i) {
        Track* track = &trackTable.tracks[order[i]];
        if (track->count <= 1 || !track->file) continue;
        // A track without a window was finished when its aircraft left:
        // its file already holds all of it.
        if (track->window && !FlushTrack(track)) {
            ok = false;
            break;
        }
        TrackSource& source = sources[used++];
        source.file = track->file;
        source.dataOffset = track->dataOffset;
        source.flags = track->flags;
        source.first = 0;
        source.count = track->count;
        source.timeShift = 0;
        source.title = track->title;
        source.referenceElevation = track->referenceElevation;
        source.interval = track->interval;
    }
    ok = ok && WriteRecordingSections(out, dateStamp, sources, used, nullptr, nullptr);
    delete[] sources;
    delete[] order;
    return ok;
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
