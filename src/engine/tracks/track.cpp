// Tracks: initialising one over a new or an existing file, appending with
// window spills, paging windows in, the replay ring, the TrackHeader on disk
// and interpolation. The table that holds tracks is track_table.cpp; the
// recording file around the tracks belongs to the recording-file code.
#include "engine/tracks/track.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// Windows larger than this are refused rather than attempted.
static const uint64_t MaxWindowBytes = 0x7FFFFFFF;

// ---------------------------------------------------------------- header

void CopyTrackTitle(char* destination, const char* source) {
    uint32_t i = 0;
    if (source)
        for (; i < TrackTitleSize && source[i]; ++i) destination[i] = source[i];
    for (; i <= TrackTitleSize; ++i) destination[i] = 0;
}

void EncodeTrackHeader(const TrackHeader& header, uint8_t* bytes) {
    PutU32(bytes, header.count);
    PutU32(bytes + 4, header.flags);
    PutU32(bytes + 8, header.firstTime);
    PutU32(bytes + 12, header.lastTime);
    // NUL-padded; a title of the full 100 bytes has no terminator on disk.
    uint32_t i = 0;
    for (; i < TrackTitleSize && header.title[i]; ++i) bytes[16 + i] = static_cast<uint8_t>(header.title[i]);
    for (; i < TrackTitleSize; ++i) bytes[16 + i] = 0;
    uint32_t elevationBits;
    std::memcpy(&elevationBits, &header.referenceElevation, sizeof elevationBits);
    PutU32(bytes + 116, elevationBits);
    PutU32(bytes + 120, header.interval);
}

void DecodeTrackHeader(const uint8_t* bytes, TrackHeader* header) {
    header->count = GetU32(bytes);
    header->flags = GetU32(bytes + 4);
    header->firstTime = GetU32(bytes + 8);
    header->lastTime = GetU32(bytes + 12);
    // The title field need not be terminated: take at most its 100 bytes.
    char title[TrackTitleSize + 1];
    for (uint32_t i = 0; i < TrackTitleSize; ++i) title[i] = static_cast<char>(bytes[16 + i]);
    title[TrackTitleSize] = 0;
    CopyTrackTitle(header->title, title);
    uint32_t elevationBits = GetU32(bytes + 116);
    std::memcpy(&header->referenceElevation, &elevationBits, sizeof elevationBits);
    header->interval = GetU32(bytes + 120);
}

int ReadTrackHeader(PlatformFile* file, TrackHeader* header) {
    uint8_t bytes[TrackHeaderSize];
    if (FileRead(file, bytes, sizeof bytes) != sizeof bytes) return 0;
    DecodeTrackHeader(bytes, header);
    return 1;
}

int WriteTrackHeader(PlatformFile* file, const TrackHeader& header) {
    uint8_t bytes[TrackHeaderSize];
    EncodeTrackHeader(header, bytes);
    return FileWrite(file, bytes, sizeof bytes) == sizeof bytes;
}

TrackHeader TrackHeaderOf(const Track& track) {
    TrackHeader header;
    header.count = track.count;
    header.flags = track.flags;
    header.firstTime = track.firstTime;
    header.lastTime = track.lastTime;
    CopyTrackTitle(header.title, track.title);
    header.referenceElevation = track.referenceElevation;
    header.interval = track.interval;
    return header;
}

// ---------------------------------------------------------------- helpers

static uint8_t* Slot(const Track& track, uint32_t slot) {
    return track.window + static_cast<size_t>(slot) * track.layout.recordSize;
}

static uint32_t SlotTime(const Track& track, uint32_t slot) { return RecordTime(track.layout, Slot(track, slot)); }

// A window of two records at least (interpolation needs a pair), of a size
// that can be allocated at all.
static bool CapacityUsable(uint32_t capacity, uint32_t recordSize) {
    return capacity >= 2 && static_cast<uint64_t>(capacity) * recordSize <= MaxWindowBytes;
}

static uint8_t* AllocateWindow(uint32_t capacity, uint32_t recordSize) {
    return static_cast<uint8_t*>(std::calloc(capacity, recordSize));
}

// True when count records of recordSize bytes from dataOffset on lie within
// the file as it is on disk now.
static bool RecordsFit(PlatformFile* file, int64_t dataOffset, uint32_t count, uint32_t recordSize) {
    int64_t length = FileLength(file);
    if (length < 0 || dataOffset > length) return false;
    uint64_t bytes = static_cast<uint64_t>(count) * recordSize;  // at most 2^32 * 132: no overflow
    return bytes <= static_cast<uint64_t>(length - dataOffset);
}

// Used on failure paths: puts the file back where the caller had it.
static void RestorePosition(PlatformFile* file, int64_t position) {
    if (position >= 0) FileSeek(file, position, SEEK_SET);
}

// A track whose samples come from its file and whose window pages.
static bool IsPagedFileTrack(const Track& track) { return track.file && !track.ring && track.readMode; }

// ---------------------------------------------------------------- set-up

int TrackInit(Track* track, uint32_t capacity, PlatformFile* file, int fromFile, uint32_t flags, const char* title,
              uint32_t aircraftId, uint32_t interval, int allocate) {
    if (fromFile && !file) return 0;
    Track made{};
    made.capacity = capacity;
    made.aircraftId = aircraftId;
    int64_t start = -1;
    if (file) {
        start = FileTell(file);
        if (start < 0 || start + TrackHeaderSize > UINT32_MAX) return 0;
    }
    if (fromFile) {
        TrackHeader header;
        if (!ReadTrackHeader(file, &header)) {
            RestorePosition(file, start);
            return 0;
        }
        made.count = header.count;
        made.flags = header.flags;
        made.firstTime = header.firstTime;
        made.lastTime = header.lastTime;
        CopyTrackTitle(made.title, header.title);
        made.referenceElevation = header.referenceElevation;
        made.interval = header.interval;
        made.readMode = 1;
        made.dataOffset = static_cast<uint32_t>(start + TrackHeaderSize);
        made.file = file;
        made.layout = ComputeLayout(made.flags);
        // The header's count must agree with what the file really holds.
        if (!CapacityUsable(capacity, made.layout.recordSize) ||
            !RecordsFit(file, made.dataOffset, made.count, made.layout.recordSize)) {
            RestorePosition(file, start);
            return 0;
        }
    } else {
        made.flags = flags;
        made.layout = ComputeLayout(flags);
        CopyTrackTitle(made.title, title);
        made.interval = interval;
        made.file = file;
        made.ring = file ? 0 : 1;
        if (!CapacityUsable(capacity, made.layout.recordSize)) return 0;
    }
    if (allocate) {
        made.window = AllocateWindow(capacity, made.layout.recordSize);
        if (!made.window) {
            if (fromFile) RestorePosition(file, start);
            return 0;
        }
    }
    bool ok = true;
    if (fromFile) {
        if (made.window) ok = LoadWindow(&made, 0);
        // Whatever follows (the next track of a recording) starts after the records.
        uint64_t end = made.dataOffset + static_cast<uint64_t>(made.count) * made.layout.recordSize;
        ok = ok && FileSeek(file, static_cast<int64_t>(end), SEEK_SET);
    } else if (file) {
        // Provisional until FlushTrack writes the final one.
        TrackHeader header = TrackHeaderOf(made);
        ok = WriteTrackHeader(file, header);
        made.dataOffset = static_cast<uint32_t>(start + TrackHeaderSize);
    }
    if (!ok) {
        std::free(made.window);
        RestorePosition(file, start);
        return 0;
    }
    *track = made;
    return 1;
}

int TrackOpenRaw(Track* track, uint32_t capacity, PlatformFile* file, uint32_t count, uint32_t flags,
                 uint32_t aircraftId, float referenceElevation, const char* title) {
    if (!file || count == 0) return 0;
    Track made{};
    made.capacity = capacity;
    made.count = count;
    made.flags = flags;
    made.layout = ComputeLayout(flags);
    made.readMode = 1;
    made.file = file;
    made.aircraftId = aircraftId;
    made.referenceElevation = referenceElevation;
    CopyTrackTitle(made.title, title);
    int64_t start = FileTell(file);
    if (start < 0 || start > UINT32_MAX) return 0;
    made.dataOffset = static_cast<uint32_t>(start);
    if (!CapacityUsable(capacity, made.layout.recordSize) ||
        !RecordsFit(file, made.dataOffset, count, made.layout.recordSize))
        return 0;
    made.window = AllocateWindow(capacity, made.layout.recordSize);
    if (!made.window) return 0;
    // These files keep no time range: the last sample tells where the track ends.
    bool ok = LoadWindow(&made, count - 1);
    if (ok) {
        made.lastTime = SlotTime(made, 0);
        ok = LoadWindow(&made, 0);
    }
    if (!ok) {
        std::free(made.window);
        RestorePosition(file, start);
        return 0;
    }
    *track = made;
    return 1;
}

// ---------------------------------------------------------------- windows

int LoadWindow(Track* track, uint32_t start) {
    if (!track->window || !track->file) return 0;
    if (start >= track->count) return 1;  // nothing of the track lies there
    uint32_t records = std::min(track->capacity, track->count - start);
    size_t bytes = static_cast<size_t>(records) * track->layout.recordSize;
    uint64_t offset = track->dataOffset + static_cast<uint64_t>(start) * track->layout.recordSize;
    if (!FileSeek(track->file, static_cast<int64_t>(offset), SEEK_SET)) return 0;
    // Only the track's own records are read; the file was checked to hold them.
    return FileRead(track->file, track->window, bytes) == bytes;
}

int EnsureWindow(Track* track) {
    if (track->window) return 0;
    if (!CapacityUsable(track->capacity, track->layout.recordSize)) return 0;
    Track made = *track;
    made.window = AllocateWindow(made.capacity, made.layout.recordSize);
    if (!made.window) return 0;
    made.cursor = 0;
    made.windowIndex = 0;
    if (IsPagedFileTrack(made) && !LoadWindow(&made, 0)) {
        std::free(made.window);
        return 0;
    }
    *track = made;
    return 1;
}

void ReleaseWindow(Track* track) {
    std::free(track->window);
    track->window = nullptr;
}

int GrowWindow(Track* track, uint32_t capacity) {
    if (!track->window || !track->file || track->ring || track->readMode) return 0;
    if (capacity <= track->capacity || !CapacityUsable(capacity, track->layout.recordSize)) return 0;
    const size_t recordSize = track->layout.recordSize;
    uint8_t* grown = static_cast<uint8_t*>(std::realloc(track->window, capacity * recordSize));
    if (!grown) return 0;  // the old window is still there, untouched
    std::memset(grown + track->capacity * recordSize, 0, (capacity - track->capacity) * recordSize);
    track->window = grown;
    track->capacity = capacity;
    return 1;
}

// ---------------------------------------------------------------- recording

// Writes records of the window's slots 0..records-1 where they belong in the
// file: after the ones already written. Positioning explicitly (rather than
// trusting the file's position) lets a failed write be retried in place.
static bool WritePending(Track* track, uint32_t records) {
    if (track->windowIndex > track->count) return false;  // not a state appending leaves
    uint32_t written = track->count - track->windowIndex;
    uint64_t offset = track->dataOffset + static_cast<uint64_t>(written) * track->layout.recordSize;
    size_t bytes = static_cast<size_t>(records) * track->layout.recordSize;
    if (!FileSeek(track->file, static_cast<int64_t>(offset), SEEK_SET)) return false;
    if (bytes && FileWrite(track->file, track->window, bytes) != bytes) return false;
    return true;
}

int FlushTrack(Track* track) {
    if (!track->window || !track->file || track->ring || track->readMode) return 0;
    if (track->dataOffset < TrackHeaderSize || track->windowIndex > track->capacity) return 0;
    if (!WritePending(track, track->windowIndex)) return 0;
    uint64_t end = track->dataOffset + static_cast<uint64_t>(track->count) * track->layout.recordSize;
    // The header sits just before the records (at 0 in a track's own file).
    if (!FileSeek(track->file, track->dataOffset - TrackHeaderSize, SEEK_SET)) return 0;
    if (!WriteTrackHeader(track->file, TrackHeaderOf(*track))) return 0;
    if (!FileSeek(track->file, static_cast<int64_t>(end), SEEK_SET)) return 0;
    // A full disk may only show when the buffered bytes go out.
    if (!FileFlush(track->file)) return 0;
    track->windowIndex = 0;
    return 1;
}

int AppendSample(Track* track, const FullSample& sample) {
    if (!track->window || track->readMode || track->cursor != track->count) return 0;
    if (track->count == UINT32_MAX) return 0;
    uint32_t slot = track->windowIndex;
    if (slot >= track->capacity) {
        // The window is full: a recording track keeps it in its file first.
        if (!track->ring) {
            if (!WritePending(track, track->capacity) || !FileFlush(track->file)) return 0;
        }
        slot = 0;
    }
    PackSample(track->layout, sample, Slot(*track, slot));
    if (track->cursor == 0) track->firstTime = sample.time;
    track->lastTime = sample.time;
    track->windowIndex = slot + 1;
    track->cursor += 1;
    if (track->ring && track->cursor > track->capacity) {
        // The oldest sample is the one the next append will overwrite.
        track->cursor = track->capacity;
        track->firstTime = SlotTime(*track, track->windowIndex == track->capacity ? 0 : track->windowIndex);
    }
    track->count = track->cursor;
    return 1;
}

int RotateRing(Track* track, uint32_t* shift) {
    *shift = 0;
    if (!track->ring || !track->window) return 0;
    if (track->count < track->capacity) return 1;  // never wrapped: already in time order
    if (track->windowIndex > track->capacity) return 0;
    const size_t recordSize = track->layout.recordSize;
    uint8_t* begin = track->window;
    const size_t newer = track->windowIndex * recordSize;                        // slots 0 .. windowIndex-1
    const size_t older = (track->capacity - track->windowIndex) * recordSize;  // the rest, oldest first
    // Moving whole blocks through a spare copy of the smaller part is several
    // times faster than rotating in place; without the memory for it, the
    // ring is rotated in place all the same.
    uint8_t* spare = static_cast<uint8_t*>(std::malloc(std::min(newer, older) + 1));
    if (!spare) {
        std::rotate(begin, begin + newer, begin + newer + older);
    } else if (newer <= older) {
        std::memcpy(spare, begin, newer);
        std::memmove(begin, begin + newer, older);
        std::memcpy(begin + older, spare, newer);
    } else {
        std::memcpy(spare, begin + newer, older);
        std::memmove(begin + older, begin, newer);
        std::memcpy(begin, spare, older);
    }
    std::free(spare);
    const uint32_t first = track->firstTime;
    for (uint32_t slot = 0; slot < track->capacity; ++slot)
        SetRecordTime(track->layout, Slot(*track, slot), SlotTime(*track, slot) - first);
    *shift = first;
    track->lastTime -= first;
    track->firstTime = 0;
    track->windowIndex = 0;
    return 1;
}

// ---------------------------------------------------------------- interpolation

// Pages the window of a file track so that it starts at sample start and
// the cursor's sample sits in slot windowIndex. When the read fails the
// window's contents are unknown: windowIndex is set past the window so that
// the next call reads it again instead of using it.
static bool PageTo(Track* track, uint32_t start, uint32_t windowIndex) {
    if (!LoadWindow(track, start)) {
        track->windowIndex = track->capacity;
        return false;
    }
    track->windowIndex = windowIndex;
    return true;
}

// A play time far outside the loaded window (a jump, the slider moved) goes
// straight to where t should lie instead of paging through every window in
// between. Samples come at a nearly even interval, so where t sits between
// the first and last time stamps tells its index closely; the stepping in
// InterpolateAt covers whatever the estimate misses. A time within half a
// window of the loaded one is left to that stepping, which pages just once.
static bool JumpTowards(Track* track, uint32_t t) {
    Track& k = *track;
    const uint32_t start = k.cursor - k.windowIndex;
    const uint32_t loaded = std::min(k.capacity, k.count - start);
    const uint32_t last = start + loaded - 1;
    const uint32_t half = k.capacity / 2;
    const bool before = start > 0 && t < SlotTime(k, 0);
    const bool after = last + 1 < k.count && t > SlotTime(k, loaded - 1);
    if (!before && !after) return true;
    const double span = static_cast<double>(k.lastTime) - static_cast<double>(k.firstTime);
    double index = 0.0;
    if (span > 0) index = (static_cast<double>(t) - static_cast<double>(k.firstTime)) / span * (k.count - 1);
    const uint32_t guess = static_cast<uint32_t>(std::min(std::max(index, 0.0), static_cast<double>(k.count - 1)));
    if (after && guess < static_cast<uint64_t>(last) + half) return true;
    if (before && static_cast<uint64_t>(guess) + half > start) return true;
    const uint32_t windowStart = guess > half ? guess - half : 0;
    if (!PageTo(track, windowStart, guess - windowStart)) return false;
    k.cursor = guess;
    return true;
}

// Truncation toward zero of a value that may lie just outside int64's range
// after rounding.
static int64_t TruncToInt64(double value) {
    if (value >= 9223372036854775807.0) return INT64_MAX;
    if (value <= -9223372036854775808.0) return INT64_MIN;
    return static_cast<int64_t>(value);
}

static int64_t Lerp64(int64_t a, int64_t b, double f) {
    // The difference in 64 bits, wrapping: a longitude crossing the date line
    // moves the short way.
    int64_t difference = static_cast<int64_t>(static_cast<uint64_t>(b) - static_cast<uint64_t>(a));
    return static_cast<int64_t>(static_cast<uint64_t>(a) +
                                static_cast<uint64_t>(TruncToInt64(f * static_cast<double>(difference))));
}

static Angle32 LerpAngle(Angle32 a, Angle32 b, double f) {
    // Read as signed, the difference takes the short way round.
    int32_t difference = static_cast<int32_t>(b - a);
    return a + static_cast<uint32_t>(static_cast<int64_t>(f * difference));
}

static int16_t LerpI16(int16_t a, int16_t b, double f) {
    return static_cast<int16_t>(static_cast<int32_t>(f * b + (1.0 - f) * a));
}

int InterpolateAt(Track* track, uint32_t t, FullSample* out) {
    Track& k = *track;
    if (!k.window || k.readMode != 1 || t < k.firstTime || t > k.lastTime || k.count < 2) return 0;
    if (k.capacity < 2 || k.cursor >= k.count) return 0;
    // A ring holds all its samples, slot for slot; a file track pages.
    const bool pages = !k.ring;
    if (k.windowIndex >= k.capacity || (pages && k.windowIndex > k.cursor)) {
        // An earlier page failed: read the window again at the cursor, or,
        // should that part of the file be unreadable, from the start.
        if (!pages) return 0;
        if (!PageTo(track, k.cursor, 0)) {
            if (!PageTo(track, 0, 0)) return 0;
            k.cursor = 0;
        }
    }

    if (pages && !JumpTowards(track, t)) return 0;

    // Back to the last sample at or before t (and off the last sample, which
    // starts no pair).
    while ((t < SlotTime(k, k.windowIndex) || k.cursor + 1 >= k.count) && k.cursor > 0) {
        if (k.windowIndex == 0) {
            if (!pages) return 0;
            bool paged = k.cursor < k.capacity - 1 ? PageTo(track, 0, k.cursor)
                                                   : PageTo(track, k.cursor - k.capacity + 1, k.capacity - 1);
            if (!paged) return 0;
        }
        --k.cursor;
        --k.windowIndex;
    }
    // The later sample of the pair must be in the window too.
    if (k.windowIndex + 1 >= k.capacity && !(pages && PageTo(track, k.cursor, 0))) return 0;

    // Forward to the pair whose later sample is after t. A t on a sample's
    // own time thus takes the pair that sample starts, whichever way the
    // search came, so one play time always gives one result; only the last
    // sample is reached as the end of the last pair.
    for (;;) {
        if (k.cursor + 1 >= k.count) return 0;
        const uint32_t laterTime = SlotTime(k, k.windowIndex + 1);
        if (t < laterTime) break;
        if (k.cursor + 2 >= k.count) {
            if (t == laterTime) break;
            return 0;  // t lies after the last sample
        }
        ++k.cursor;
        ++k.windowIndex;
        if (k.windowIndex + 1 >= k.capacity && !(pages && PageTo(track, k.cursor, 0))) return 0;
    }

    const uint8_t* a = Slot(k, k.windowIndex);
    const uint8_t* b = a + k.layout.recordSize;
    const uint32_t ta = RecordTime(k.layout, a);
    const uint32_t tb = RecordTime(k.layout, b);
    double f = 0.0;
    if (ta != tb)
        f = (static_cast<double>(t) - static_cast<double>(ta)) / (static_cast<double>(tb) - static_cast<double>(ta));
    if (!(f >= 0.0 && f <= 1.0)) return 0;

    // Flaps, gear, lights, radios and the rest hold the earlier value, at
    // every f, the pair's ends included.
    UnpackSample(k.layout, a, out);
    const FullSample early = *out;
    FullSample later{};
    UnpackSample(k.layout, b, &later);
    out->position.latitude = Lerp64(early.position.latitude, later.position.latitude, f);
    out->position.longitude = Lerp64(early.position.longitude, later.position.longitude, f);
    out->position.altitude = Lerp64(early.position.altitude, later.position.altitude, f);
    out->pitch = LerpAngle(early.pitch, later.pitch, f);
    out->bank = LerpAngle(early.bank, later.bank, f);
    out->heading = LerpAngle(early.heading, later.heading, f);
    for (int i = 0; i < 3; ++i) out->motion[i] = early.motion[i] + f * (later.motion[i] - early.motion[i]);
    const uint8_t onGround = (early.onGround && later.onGround) ? 1 : 0;
    out->onGround = onGround;
    const uint32_t flags = k.layout.flags;
    if (flags & FlagThrottles)
        for (int i = 0; i < 4; ++i) out->throttles[i] = LerpI16(early.throttles[i], later.throttles[i], f);
    if (flags & FlagFlightControls) {
        out->elevator = LerpI16(early.elevator, later.elevator, f);
        out->aileron = LerpI16(early.aileron, later.aileron, f);
        out->rudder = LerpI16(early.rudder, later.rudder, f);
    }
    if (flags & FlagSpoilers) {
        // On the ground the spoilers never show more than both samples agree on.
        out->spoilers =
            onGround ? std::min(early.spoilers, later.spoilers)
                     : static_cast<uint16_t>(static_cast<int32_t>((1.0 - f) * early.spoilers + f * later.spoilers));
    }
    if (flags & FlagLevers) {
        for (int i = 0; i < 4; ++i) {
            out->propLevers[i] = LerpI16(early.propLevers[i], later.propLevers[i], f);
            out->mixtureLevers[i] = LerpI16(early.mixtureLevers[i], later.mixtureLevers[i], f);
        }
    }
    out->position.altitude =
        static_cast<int64_t>(static_cast<uint64_t>(out->position.altitude) + static_cast<uint64_t>(k.heightCorrection));
    out->time = t;
    return 1;
}
