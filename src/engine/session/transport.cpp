// The playback transport: its state, the speed table and the controls that
// move the position, change the speed, set the loop and nudge the height
// correction, with the simulation rate following the speed when so set. The
// frame-by-frame advance that uses this state is playback_frames.cpp.
#include "engine/session/transport.h"

#include "config/settings.h"
#include "core/host/clock.h"
#include "core/host/host.h"
#include "core/host/module_state.h"
#include "engine/session/control_window_hooks.h"
#include "engine/tracks/track_table.h"

const int16_t SpeedTable[SpeedTableSize] = {10, 20, 33, 50, 100, 200, 300, 500, 1000};

Transport transport = {100, NormalSpeedIndex, false, 0, 0, false};

// Four times normal is as fast as the rate goes when it is limited.
static const uint16_t LimitedRate = 1024;
static const uint32_t OneSecond = 10000;  // TimeStamp units

uint16_t SimulationRateForSpeed(int32_t speed) {
    if (settings.LimSimRate && speed > 400) return LimitedRate;
    return static_cast<uint16_t>(speed * 256 / 100);
}

// The three step levels' settings.
struct StepLevel {
    uint32_t search;      // 1: the level searches while its key is held; 0: it jumps
    uint16_t jumpSize;    // seconds
    uint8_t searchSpeed;  // multiples of normal speed
};

static StepLevel LevelSettings(int level) {
    switch (level) {
    case 1: return {settings.Search1, settings.JumpSize1, settings.SearchSpeed1};
    case 2: return {settings.Search2, settings.JumpSize2, settings.SearchSpeed2};
    default: return {settings.Search3, settings.JumpSize3, settings.SearchSpeed3};
    }
}

static void StartSearch(const StepLevel& level, int direction) {
    transport.playbackSpeed = static_cast<int16_t>(direction * 100 * level.searchSpeed);
    // Forward or backward, the simulator runs at the search speed's rate.
    if (settings.SetSimRateSrch)
        HostSetSimulationRate(settings.LimSimRate && level.searchSpeed > 4 ? LimitedRate
                                                                           : static_cast<uint16_t>(level.searchSpeed * 256));
}

static void Jump(uint32_t trackTime) {
    moduleClock.trackTime = trackTime;
    transport.positionJumped = true;
}

// Where "jump to end" and the user's stop go: one second before the end, so
// that the playback runs out and ends by itself. A recording shorter than a
// second has no such moment: it plays out from where it is (from its start
// before its first frame), and is never started over.
static uint32_t OneSecondBeforeTheEnd(uint32_t now) {
    const uint32_t start = moduleClock.startTime, end = moduleClock.endTime;
    if (end >= start && end - start >= OneSecond) return end - OneSecond;
    return now > start ? now : start;
}

void TransportCommand(int command) {
    const Mode mode = module.mode;
    if (mode != Playback && mode != Replay && mode != TrafficPlayback) return;
    const uint32_t now = moduleClock.trackTime;
    if (command == 0) {
        Jump(0);  // the next frame raises it to StartTime
    } else if (command == 1) {
        Jump(OneSecondBeforeTheEnd(now));
    } else if (command >= 2 && command <= 4) {
        const StepLevel level = LevelSettings(command - 1);
        if (level.search) {
            StartSearch(level, -1);
        } else {
            const uint32_t step = level.jumpSize * 10000u;
            Jump(now <= step ? 0 : now - step);
        }
    } else if (command >= 5 && command <= 7) {
        const StepLevel level = LevelSettings(command - 4);
        if (level.search) {
            StartSearch(level, +1);
        } else {
            // Not held to the end: a jump past it ends the playback, or wraps
            // into the loop, at the next frame. Past the clock's range it stays
            // at the range's end rather than wrapping round to the start.
            const uint32_t step = level.jumpSize * 10000u;
            Jump(now > UINT32_MAX - step ? UINT32_MAX : now + step);
        }
    } else if (command >= 8 && command <= 10) {
        const StepLevel level = LevelSettings(command - 7);
        if (level.search) transport.playbackSpeed = SpeedTable[transport.speedIndex];
        if (settings.SetSimRateSrch) HostSetSimulationRate(SimulationRateForSpeed(transport.playbackSpeed));
    }
}

void SeekTo(uint32_t trackTime) {
    const Mode mode = module.mode;
    if (mode != Playback && mode != Replay && mode != TrafficPlayback) return;
    Jump(trackTime);
}

void SpeedCommand(int command) {
    if (command == 0) {
        if (transport.speedIndex < SpeedTableSize - 1) transport.speedIndex += 1;
        transport.playbackSpeed = SpeedTable[transport.speedIndex];
    } else if (command == 1) {
        if (transport.speedIndex > 0) transport.speedIndex -= 1;
        transport.playbackSpeed = SpeedTable[transport.speedIndex];
    } else if (command == 2) {
        transport.speedIndex = NormalSpeedIndex;
        transport.playbackSpeed = SpeedTable[NormalSpeedIndex];
    }
    if (settings.SetSimRate) HostSetSimulationRate(SimulationRateForSpeed(transport.playbackSpeed));
    ControlWindowSpeed(transport.playbackSpeed);
}

// The control window's slider marks the loop while looping is on.
static void RedrawLoopMarks() {
    ControlWindowLoopMarks(transport.loopEnabled, transport.loopStartTime, transport.loopEndTime,
                           moduleClock.startTime, moduleClock.endTime);
}

void LoopCommand(int command) {
    const uint32_t now = moduleClock.trackTime;
    switch (command) {
    case 0:
        transport.loopStartTime = now;
        if (now >= transport.loopEndTime) transport.loopEndTime = moduleClock.endTime;
        break;
    case 1:
        transport.loopEndTime = now;
        if (transport.loopStartTime >= now) transport.loopStartTime = 0;
        transport.loopEnabled = true;
        break;
    case 2:
        transport.loopEnabled = true;
        if (now < transport.loopStartTime) Jump(transport.loopStartTime);
        break;
    case 3:
        transport.loopEnabled = false;
        break;
    case 4:
        transport.loopEnabled = !transport.loopEnabled;  // the position stays where it is
        break;
    default:
        return;
    }
    RedrawLoopMarks();
    // Setting the loop start leaves looping, and so the button, as it was.
    if (command != 0) ControlWindowLoopButton(transport.loopEnabled);
}

void HeightCorrectionStep(int direction) {
    if (trackTable.count == 0 || direction == 0) return;
    Track& track = trackTable.tracks[0];
    const uint64_t step = static_cast<uint64_t>(HeightCorrectionStepSize);
    // Wrapping arithmetic: a correction held down for ages cannot overflow into undefined behaviour.
    const uint64_t corrected = static_cast<uint64_t>(track.heightCorrection) + (direction > 0 ? step : 0 - step);
    track.heightCorrection = static_cast<int64_t>(corrected);
}
