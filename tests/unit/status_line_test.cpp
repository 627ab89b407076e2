// The status line's words, numbers, suffixes and colours in every mode.
#include <gtest/gtest.h>

#include <string>

#include "ui/status_line/status_line.h"

namespace {

ModuleClock Clock(uint32_t trackTime, uint32_t startTime, uint32_t endTime) {
    ModuleClock clock{};
    clock.trackTime = trackTime;
    clock.startTime = startTime;
    clock.endTime = endTime;
    return clock;
}

Transport Normal() { return Transport{100, NormalSpeedIndex, false, 0, 0, false}; }

}  // namespace

TEST(StatusLine, TextAndColourOfEachMode) {
    struct Case {
        Mode mode;
        ModuleClock clock;
        const char* text;
        uint32_t colour;
    };
    const Case cases[] = {
        {Recording, Clock(123456, 0, 0), "RECORDING [12 seconds]", 0xC0FF0000},
        {Playback, Clock(125000, 0, 600000), "PLAYBACK [12 / 60 seconds]", 0xC000A000},
        // Numbers count from the start of the range.
        {Playback, Clock(1250000, 1000000, 1600000), "PLAYBACK [25 / 60 seconds]", 0xC000A000},
        {Replay, Clock(405000, 0, 600000), "REPLAY [19 seconds]", 0xC000A000},
        {TrafficPlayback, Clock(300000, 100000, 900000), "TRAFFIC PLAYBACK [20 / 80 seconds]", 0xC00000C0},
        {RecordingWithTraffic, Clock(99999, 0, 100000), "RECORDING + TRAFFIC PLAYBACK [9 / 10 seconds]", 0xC0FF8F00},
    };
    for (const Case& c : cases) {
        StatusLine line = BuildStatusText(c.mode, 1, 1, c.clock, Normal());
        EXPECT_TRUE(line.shown) << c.text;
        EXPECT_EQ(std::string(line.text), c.text);
        EXPECT_EQ(line.colour, c.colour) << c.text;
    }
}

TEST(StatusLine, EachSettingShowsOnlyItsModes) {
    struct Case {
        Mode mode;
        bool withRecOnly, withPlayOnly;
    };
    const Case cases[] = {
        {Idle, false, false},           {Recording, true, false},      {Playback, false, true},
        {ReplayBuffer, false, false},   {Replay, false, true},         {TrafficPlayback, false, true},
        {RecordingWithTraffic, true, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(BuildStatusText(c.mode, 1, 0, Clock(0, 0, 0), Normal()).shown, c.withRecOnly) << c.mode;
        EXPECT_EQ(BuildStatusText(c.mode, 0, 5, Clock(0, 0, 0), Normal()).shown, c.withPlayOnly) << c.mode;
        EXPECT_FALSE(BuildStatusText(c.mode, 0, 0, Clock(0, 0, 0), Normal()).shown) << c.mode;
        EXPECT_EQ(StatusLineWanted(c.mode, 1, 1), c.withRecOnly || c.withPlayOnly) << c.mode;
    }
    // The replay buffer records silently even with both on.
    EXPECT_FALSE(BuildStatusText(ReplayBuffer, 1, 1, Clock(50000, 0, 0), Normal()).shown);
}

TEST(StatusLine, LoopAndSpeedSuffixes) {
    Transport looping = Normal();
    looping.loopEnabled = true;
    Transport fast = Normal();
    fast.speedIndex = 7;
    Transport slowLooping = looping;
    slowLooping.speedIndex = 0;
    ModuleClock clock = Clock(125000, 0, 600000);
    EXPECT_STREQ(BuildStatusText(Playback, 1, 1, clock, looping).text, "PLAYBACK [12 / 60 seconds] (loop)");
    EXPECT_STREQ(BuildStatusText(Playback, 1, 1, clock, fast).text, "PLAYBACK [12 / 60 seconds] (speed 500%)");
    EXPECT_STREQ(BuildStatusText(Replay, 1, 1, clock, slowLooping).text, "REPLAY [47 seconds] (loop) (speed 10%)");
    EXPECT_STREQ(BuildStatusText(TrafficPlayback, 1, 1, clock, fast).text,
                 "TRAFFIC PLAYBACK [12 / 60 seconds] (speed 500%)");
    // Recording with traffic shows the loop but never a speed; a recording neither.
    EXPECT_STREQ(BuildStatusText(RecordingWithTraffic, 1, 1, clock, slowLooping).text,
                 "RECORDING + TRAFFIC PLAYBACK [12 / 60 seconds] (loop)");
    EXPECT_STREQ(BuildStatusText(Recording, 1, 1, clock, slowLooping).text, "RECORDING [12 seconds]");
}
