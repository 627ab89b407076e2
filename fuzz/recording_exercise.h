// What the recording-file fuzzer does with one input, shared with the unit
// test that replays the seed corpus: the bytes become a recording file in the
// current directory, which is checked on its own and then played, normally
// and as traffic, on the stand-in simulator with the module loaded, jumping
// about in it, and ended again. Returns null when everything held, otherwise
// what went wrong.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "config/settings.h"
#include "core/host/module_state.h"
#include "engine/play/playback_start_end.h"
#include "engine/play/recording_loader.h"
#include "engine/session/transport.h"
#include "engine/tracks/recording_format.h"
#include "engine/tracks/track_table.h"
#include "platform/platform.h"
#include "sim.h"

namespace recording_exercise {

static const char* const InputPath = "input.atr";

inline bool Store(const uint8_t* data, size_t size) {
    FILE* stream = std::fopen(InputPath, "wb");
    if (!stream) return false;
    bool written = std::fwrite(data, 1, size, stream) == size;
    return std::fclose(stream) == 0 && written;
}

// Tracks a file that passed the check adds to an empty table.
inline uint32_t TracksOf(const RecordingCheck& check) {
    if (check.version != FileVersionCurrent) return 1;
    if (settings.PlayAIMode != 0) return check.trackCount ? 1 : 0;
    return check.trackCount;
}

// Needs the module loaded on the stand-in, in Idle or the replay buffer,
// with nothing else in the table.
inline const char* Run(const uint8_t* data, size_t size) {
    if (!Store(data, size)) return "cannot write the input";
    PlatformFile* file = FileOpen(InputPath, "rb");
    if (!file) return "cannot open the input";
    RecordingCheck check;
    const int valid = ValidateRecording(file, &check);
    FileClose(file);
    if (!valid && !check.expected[0]) return "a file was refused without saying why";
    if (valid && check.expected[0]) return "a file was accepted with a complaint";
    if (valid && check.offset > static_cast<uint64_t>(check.length)) return "the tracks end beyond the file";

    for (int asTraffic = 0; asTraffic < 2; ++asTraffic) {
        SimClearLog();
        SimSetPaused(false);
        SimQueueFileDialogAnswer({InputPath});
        StartPlayback(asTraffic);
        if (module.mode != (asTraffic ? TrafficPlayback : Playback)) return "the playback did not start";
        const size_t boxes = SimLogOf(LogMessageBox).size();
        if (valid && boxes != 0) return "a file that passed the check was refused";
        if (!valid && boxes != 1) return "a damaged file was not refused with one message";
        if (trackTable.count != (valid ? TracksOf(check) : 0)) return "the table does not hold the file's tracks";
        // Play a little, jump about, change speed, loop.
        SimRunFrames(3);
        TransportCommand(6);
        SimRunFrames(2);
        SpeedCommand(0);
        LoopCommand(1);
        TransportCommand(0);
        SimRunFrames(2);
        LoopCommand(3);
        TransportCommand(1);
        SimRunFrames(2);
        EndPlayback(0);
        SpeedCommand(2);
        // Ended, the replay buffer takes over when it is enabled: only its
        // ring may stay in the table.
        const bool buffer = module.mode == ReplayBuffer;
        if (module.mode != Idle && !buffer) return "the playback did not end";
        if (buffer != (settings.RplyEnabled != 0)) return "the replay buffer did not take over after the end";
        if (trackTable.count != (buffer ? 1 : 0) || (buffer && !trackTable.tracks[0].ring))
            return "tracks are left after the end";
        if (trackTable.loadedTrackCount != 0) return "tracks are left after the end";
        if (SimAircraftIds().size() != 1) return "AI aircraft are left after the end";
    }
    SimSetPaused(false);
    return nullptr;
}

}  // namespace recording_exercise
