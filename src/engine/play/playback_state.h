// What a playback keeps of the simulator while it drives it, so that its end
// can put the simulator back as the playback found it: the frame clock of
// the playback ticks and the host values it held down.
#pragma once

#include <cstdint>

struct PlaybackState {
    uint32_t lastPlayFrameTime;  // FrameTime at the previous playback tick (kept across playbacks)
    uint32_t lastPlayStep;       // the last frame step shorter than half a second
    uint16_t savedHostWord;      // the host's word held at 0 during playback onto the user aircraft
    uint32_t savedTraffic;       // the simulator's AI traffic level before the playback
    bool hostWordSaved;          // the first frame saved savedHostWord: the end puts it back
    bool trafficSaved;           // the first frame saved savedTraffic: the end puts it back
    uint32_t loadedDateStamp;    // date stamp of the recording file loaded last
};
extern PlaybackState playback;
