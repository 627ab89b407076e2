// A track: the sample series of one aircraft, of which only a window lives in
// memory. Owns appending (spilling full windows to the backing file), paging
// windows back in, the ring of the replay buffer, the on-disk TrackHeader and
// the search and interpolation at a play time. The table of tracks is track_table.h.
#pragma once

#include <cstdint>

#include "engine/tracks/sample.h"
#include "platform/platform.h"

constexpr uint32_t TrackHeaderSize = 124;
constexpr uint32_t TrackTitleSize = 100;      // bytes of the title on disk
constexpr uint32_t TrackWindowSamples = 240;  // window of recorded and loaded tracks

struct Track {
    uint8_t* window;                 // capacity records, zero-filled when allocated; null when not loaded
    uint32_t capacity;               // records the window holds
    uint32_t count;                  // samples in the track
    uint32_t cursor;                 // recording: samples appended; reading: absolute index of the earlier sample
    uint32_t windowIndex;            // recording: next free slot; reading: slot of the sample at cursor
    uint32_t flags;                  // SampleFlags as recorded (bits above the groups are kept, not used)
    SampleLayout layout;             // from flags; includes the record size
    uint32_t ring;                   // 1: memory only, the window is circular, nothing is written
    uint32_t readMode;               // 1: samples are read; appending is refused, interpolation allowed
    PlatformFile* file;              // backing file, shared by all tracks loaded from one recording
    uint32_t dataOffset;             // file offset of sample 0
    uint32_t firstTime;              // TimeStamp of the first sample
    uint32_t lastTime;               // TimeStamp of the last sample
    uint32_t aircraftId;             // host aircraft the track belongs to; 1 = user, 0 = none yet
    char title[TrackTitleSize + 1];  // aircraft title; always terminated in memory
    float referenceElevation;        // feet, of the aircraft when the track was made
    int64_t heightCorrection;        // metres x 2^32, added to the altitude on playback
    uint32_t interval;               // recording interval, milliseconds
};

// The 124-byte header before a track's records in a file.
struct TrackHeader {
    uint32_t count;
    uint32_t flags;
    uint32_t firstTime;
    uint32_t lastTime;
    char title[TrackTitleSize + 1];  // up to 100 bytes on disk, terminated here
    float referenceElevation;
    uint32_t interval;
};

// Copies at most 100 characters of source (null: empty) and terminates;
// the rest of destination (TrackTitleSize + 1 bytes) is zeroed.
void CopyTrackTitle(char* destination, const char* source);

void EncodeTrackHeader(const TrackHeader& header, uint8_t* bytes);  // TrackHeaderSize bytes
void DecodeTrackHeader(const uint8_t* bytes, TrackHeader* header);
int ReadTrackHeader(PlatformFile* file, TrackHeader* header);         // at the current position
int WriteTrackHeader(PlatformFile* file, const TrackHeader& header);  // at the current position
TrackHeader TrackHeaderOf(const Track& track);

// Sets a track up. fromFile: reads its TrackHeader at the file's current
// position and opens the records behind it for reading, leaving the file just
// after them. Otherwise a new track for appending: with a file, a provisional
// header is written at the current position; without one the track is a ring.
// allocate: the window is allocated (and, for a track read from a file,
// filled from sample 0). On failure *track is left as it was.
int TrackInit(Track* track, uint32_t capacity, PlatformFile* file, int fromFile, uint32_t flags, const char* title,
              uint32_t aircraftId, uint32_t interval, int allocate);
// Opens count headerless records at the file's current position for reading
// (the oldest recording files have no TrackHeader, so the caller gives the
// title: nullptr for none). On failure *track is left as it was.
int TrackOpenRaw(Track* track, uint32_t capacity, PlatformFile* file, uint32_t count, uint32_t flags,
                 uint32_t aircraftId, float referenceElevation, const char* title);

// Reads the window from sample start on (as many records as the track has
// from there, up to capacity). A failed seek or read is a failure; the
// window's contents are then unknown.
int LoadWindow(Track* track, uint32_t start);
// 1 when it provided a window (cursor and windowIndex back to 0, filled from
// sample 0 for a track read from a file); 0 when there already was one or it
// could not be provided.
int EnsureWindow(Track* track);
void ReleaseWindow(Track* track);
// Enlarges the window of a recording track with a file to capacity records,
// keeping what it holds, so that samples can wait in memory while the file
// cannot be written. Fails (changing nothing) for other tracks, a capacity
// that is not larger, or when the memory is not there.
int GrowWindow(Track* track, uint32_t capacity);

// A recording track with a file: writes the records still in the window and
// the final header. Nothing changes in the track when it fails, so it can be
// called again.
int FlushTrack(Track* track);
// Appends a sample at the end of a recording or ring track; a full window of
// a recording track is written to its file first. When that write fails the
// sample is not appended and the track is as it was.
int AppendSample(Track* track, const FullSample& sample);
// Puts a full ring into time order with the oldest sample first and moves
// the samples' time line to start at 0; *shift is how far it moved (0 for a
// ring that never wrapped), for the owner of any time on the same line to
// move it alike.
int RotateRing(Track* track, uint32_t* shift);
// The sample at time t, interpolated between the two around it; groups the
// track does not hold are left as they are in *out. A t on a sample's time
// takes the pair that sample starts (the last sample: the last pair), so the
// result never depends on where the previous call left the cursor. Fails
// when there is no sample pair for t or a window could not be read.
int InterpolateAt(Track* track, uint32_t t, FullSample* out);
