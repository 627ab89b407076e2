// The control window's decisions: the slider position of a play time and
// the time a dragged slider stands for (also for playbacks without length
// and marks outside the played range), the title and speed texts, and the
// commands its buttons send when clicked and when drawn held or let go.
#include "ui/control_window/control_window_model.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const uint32_t Second = 10000;

std::string Title(Mode mode, uint32_t trackTime, uint32_t startTime, uint32_t endTime) {
    char text[64];
    ControlWindowTitle(mode, trackTime, startTime, endTime, text, sizeof text);
    return text;
}

std::string Speed(int32_t percent) {
    char text[16];
    SpeedLabelText(percent, text, sizeof text);
    return text;
}

struct Sent {
    UiAction action;
    int32_t argument;
    bool consumed;
};

void ExpectDecision(const UiDecision& got, const Sent& want) {
    EXPECT_EQ(got.action, want.action);
    EXPECT_EQ(got.argument, want.argument);
    EXPECT_EQ(got.consumed, want.consumed);
}

const Sent Nothing = {ActionNone, 0, true};
const Sent NotOurs = {ActionNone, 0, false};
Sent Transport(int32_t command) { return {ActionTransport, command, true}; }

}  // namespace

TEST(ControlWindowSlider, FollowsThePlayTimeFromStartToEnd) {
    // 3.9 s of a 60 s recording; the same later in a recording that starts at 10 s.
    EXPECT_EQ(SliderPositionOfTime(39000, 0, 60 * Second), 22u);
    EXPECT_EQ(SliderPositionOfTime(10 * Second + 39000, 10 * Second, 70 * Second), 22u);
    EXPECT_EQ(SliderPositionOfTime(10 * Second, 10 * Second, 80 * Second), 0u);
    EXPECT_EQ(SliderPositionOfTime(45 * Second, 10 * Second, 80 * Second), 175u);
    EXPECT_EQ(SliderPositionOfTime(80 * Second - 1, 10 * Second, 80 * Second), 349u);
    EXPECT_EQ(SliderPositionOfTime(80 * Second, 10 * Second, 80 * Second), 350u);
    // The longest range the clock has: no precision lost at the ends.
    EXPECT_EQ(SliderPositionOfTime(0xFFFFFFFEu, 0, 0xFFFFFFFFu), 349u);
    EXPECT_EQ(SliderPositionOfTime(0xFFFFFFFFu, 0, 0xFFFFFFFFu), 350u);
}

TEST(ControlWindowSlider, MarksOutsideThePlayedRangeSitAtTheNearerEnd) {
    // The loop starts at 0 by default, before a recording that starts at 50 s.
    EXPECT_EQ(SliderPositionOfTime(0, 50 * Second, 100 * Second), 0u);
    // A loop end of EndTime - 0.2 s in a recording shorter than that wraps
    // round to nearly 2^32: it belongs at the end, not far beyond it.
    EXPECT_EQ(SliderPositionOfTime(0u - 2000u, 0, 1000), 350u);
    EXPECT_EQ(SliderPositionOfTime(0xFFFFFFFFu, 0, 60 * Second), 350u);
}

TEST(ControlWindowSlider, APlaybackWithoutLengthShowsTheStartAndSeeksToIt) {
    EXPECT_EQ(SliderPositionOfTime(40 * Second, 40 * Second, 40 * Second), 0u);
    EXPECT_EQ(SliderPositionOfTime(0, 40 * Second, 40 * Second), 0u);
    for (int32_t position : {0, 1, 175, 350})
        EXPECT_EQ(TimeOfSliderPosition(position, 40 * Second, 40 * Second), 40 * Second) << position;
    // Nothing loaded: StartTime above EndTime for the first frame.
    EXPECT_EQ(SliderPositionOfTime(0, 0xFFFFFFFFu, 0), 0u);
    EXPECT_EQ(TimeOfSliderPosition(175, 0xFFFFFFFFu, 0), 0xFFFFFFFFu);
}

TEST(ControlWindowSlider, ADraggedThumbSeeksInProportion) {
    EXPECT_EQ(TimeOfSliderPosition(175, 10 * Second, 80 * Second), 45 * Second);
    EXPECT_EQ(TimeOfSliderPosition(0, 10 * Second, 80 * Second), 10 * Second);
    EXPECT_EQ(TimeOfSliderPosition(350, 10 * Second, 80 * Second), 80 * Second);
    // Truncated toward the start: one unit of a one-second recording is 28.57 units of time.
    EXPECT_EQ(TimeOfSliderPosition(1, 0, Second), 28u);
    EXPECT_EQ(TimeOfSliderPosition(350, 0, 0xFFFFFFFFu), 0xFFFFFFFFu);
    // Beyond the slider's ends: its ends.
    EXPECT_EQ(TimeOfSliderPosition(-3, 10 * Second, 80 * Second), 10 * Second);
    EXPECT_EQ(TimeOfSliderPosition(351, 10 * Second, 80 * Second), 80 * Second);
    // Never back in time as the thumb moves right.
    uint32_t before = 0;
    for (int32_t position = 0; position <= 350; ++position) {
        const uint32_t t = TimeOfSliderPosition(position, 3 * Second, 3 * Second + 777);
        EXPECT_GE(t, before) << position;
        before = t;
    }
}

TEST(ControlWindowTexts, TitlesCountWholeSecondsAndTheSpeedLabelPercent) {
    EXPECT_EQ(Title(Replay, 100 * Second - 125000, 0, 100 * Second), "Replay 12 seconds");
    EXPECT_EQ(Title(Playback, 39000, 0, 60 * Second), "Playback 3 / 60 seconds");
    // Counted from the start of what plays, whatever the mode that plays it.
    EXPECT_EQ(Title(TrafficPlayback, 20 * Second + 39000, 20 * Second, 80 * Second), "Playback 3 / 60 seconds");
    EXPECT_EQ(Title(RecordingWithTraffic, 20 * Second + 9999, 20 * Second, 21 * Second), "Playback 0 / 1 seconds");
    EXPECT_EQ(Speed(100), "100%");
    EXPECT_EQ(Speed(1000), "1000%");
    EXPECT_EQ(Speed(-1500), "-1500%");
}

TEST(ControlWindowButtons, ClicksSendTheirCommands) {
    Settings jumping{};
    const struct {
        uint32_t id;
        Sent sent;
    } clicks[] = {
        {1000, Transport(0)},
        {1001, Transport(4)},
        {1002, Transport(3)},
        {1003, Transport(2)},
        {1005, Transport(5)},
        {1006, Transport(6)},
        {1007, Transport(7)},
        {1008, Transport(1)},
        {1009, {ActionLoop, 0, true}},
        {1011, {ActionLoop, 1, true}},
        {1012, {ActionSpeed, 1, true}},
        {1013, {ActionSpeed, 2, true}},
        {1014, {ActionSpeed, 0, true}},
        {1004, NotOurs},
        {999, NotOurs},
        {1015, NotOurs},
    };
    for (const auto& click : clicks) {
        SCOPED_TRACE(click.id);
        ExpectDecision(ControlCommandDecision(click.id, 0, false, jumping), click.sent);
    }
    // The loop button has changed its check mark by the time it reports the click.
    ExpectDecision(ControlCommandDecision(1010, 0, true, jumping), {ActionLoop, 2, true});
    ExpectDecision(ControlCommandDecision(1010, 0, false, jumping), {ActionLoop, 3, true});
    ExpectDecision(ControlCommandDecision(1010, 5, true, jumping), Nothing);
}

TEST(ControlWindowButtons, ASearchingLevelsButtonsSearchWhileHeldAndDoNotJump) {
    Settings level1{};
    level1.Search1 = 1;
    // The two level-1 buttons: their click does nothing, their drawing searches or ends it.
    ExpectDecision(ControlCommandDecision(1003, 0, false, level1), Nothing);
    ExpectDecision(ControlCommandDecision(1005, 0, false, level1), Nothing);
    ExpectDecision(StepButtonDrawDecision(1003, true, level1), Transport(2));
    ExpectDecision(StepButtonDrawDecision(1003, false, level1), Transport(8));
    ExpectDecision(StepButtonDrawDecision(1005, true, level1), Transport(5));
    ExpectDecision(StepButtonDrawDecision(1005, false, level1), Transport(8));
    // The other levels still jump: drawn, they send nothing; clicked, they jump.
    for (uint32_t id : {1001u, 1002u, 1006u, 1007u}) {
        SCOPED_TRACE(id);
        ExpectDecision(StepButtonDrawDecision(id, true, level1), Nothing);
        EXPECT_EQ(ControlCommandDecision(id, 0, false, level1).action, ActionTransport);
    }

    Settings all{};
    all.Search1 = all.Search2 = all.Search3 = 1;
    const struct {
        uint32_t id;
        int32_t pressed, released;
    } steps[] = {{1001, 4, 10}, {1002, 3, 9}, {1003, 2, 8}, {1005, 5, 8}, {1006, 6, 9}, {1007, 7, 10}};
    for (const auto& step : steps) {
        SCOPED_TRACE(step.id);
        ExpectDecision(StepButtonDrawDecision(step.id, true, all), Transport(step.pressed));
        ExpectDecision(StepButtonDrawDecision(step.id, false, all), Transport(step.released));
    }
    // Buttons the window does not draw itself.
    ExpectDecision(StepButtonDrawDecision(1000, true, all), NotOurs);
    ExpectDecision(StepButtonDrawDecision(1008, false, all), NotOurs);
}
