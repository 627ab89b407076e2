// The status line's text and colour for each mode: whole seconds of the
// recording or playback, and what is unusual about the playback (a loop, a
// speed other than normal) appended as suffixes.
#include "ui/status_line/status_line.h"

#include <cstdio>
#include <cstring>

namespace {

const uint32_t RecordingColour = 0xC0FF0000;
const uint32_t PlaybackColour = 0xC000A000;
const uint32_t TrafficColour = 0xC00000C0;
const uint32_t RecordingWithTrafficColour = 0xC0FF8F00;

unsigned Seconds(uint32_t timeStamps) { return timeStamps / 10000u; }

// Where the text ends, and the room left after it.
char* End(StatusLine* line, size_t* room) {
    size_t used = std::strlen(line->text);
    *room = sizeof line->text - used;
    return line->text + used;
}

}  // namespace

bool StatusLineWanted(Mode mode, int32_t showRec, int32_t showPlay) {
    switch (mode) {
    case Recording: return showRec != 0;
    case Playback:
    case Replay:
    case TrafficPlayback: return showPlay != 0;
    case RecordingWithTraffic: return showRec != 0 || showPlay != 0;
    default: return false;
    }
}

StatusLine BuildStatusText(Mode mode, int32_t showRec, int32_t showPlay, const ModuleClock& clock,
                           const Transport& transport) {
    StatusLine line{};
    if (!StatusLineWanted(mode, showRec, showPlay)) return line;
    line.shown = true;
    const unsigned played = Seconds(clock.trackTime - clock.startTime);
    const unsigned length = Seconds(clock.endTime - clock.startTime);
    bool speedSuffix = true;
    switch (mode) {
    case Recording:
        line.colour = RecordingColour;
        std::snprintf(line.text, sizeof line.text, "RECORDING [%u seconds]", Seconds(clock.trackTime));
        return line;  // no suffixes: nothing is played
    case Playback:
        line.colour = PlaybackColour;
        std::snprintf(line.text, sizeof line.text, "PLAYBACK [%u / %u seconds]", played, length);
        break;
    case Replay:
        line.colour = PlaybackColour;
        std::snprintf(line.text, sizeof line.text, "REPLAY [%u seconds]", Seconds(clock.endTime - clock.trackTime));
        break;
    case TrafficPlayback:
        line.colour = TrafficColour;
        std::snprintf(line.text, sizeof line.text, "TRAFFIC PLAYBACK [%u / %u seconds]", played, length);
        break;
    default:  // RecordingWithTraffic: the recording fixes the speed at normal
        line.colour = RecordingWithTrafficColour;
        std::snprintf(line.text, sizeof line.text, "RECORDING + TRAFFIC PLAYBACK [%u / %u seconds]", played, length);
        speedSuffix = false;
        break;
    }
    size_t room;
    if (transport.loopEnabled) {
        char* end = End(&line, &room);
        std::snprintf(end, room, " (loop)");
    }
    if (speedSuffix && transport.speedIndex != NormalSpeedIndex && transport.speedIndex < SpeedTableSize) {
        char* end = End(&line, &room);
        std::snprintf(end, room, " (speed %d%%)", SpeedTable[transport.speedIndex]);
    }
    return line;
}
