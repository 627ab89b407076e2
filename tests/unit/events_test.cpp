// The host's entries into the module: the clock on frame dispatches, the
// view byte held during playback, the status line drawn only on the main
// view, and what a flight load does in each mode.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/events.h"
#include "core/host/clock.h"
#include "core/host/module_state.h"
#include "engine/session/session.h"
#include "sim.h"

namespace {

class HostEvents : public testing::Test {
protected:
    void SetUp() override {
        home = SimCurrentDirectory();
        SimEnterDirectory(testing::TempDir() + "aerotrace-events");
        SimReset(SimConfig());
        ASSERT_TRUE(SimLoadModule());
    }
    void TearDown() override {
        module.mode = Idle;
        SimUnloadModule();
        SimChangeDirectory(home);
    }
    std::string home;
};

HostArg Arg(void* pointer) { return reinterpret_cast<HostArg>(pointer); }

}  // namespace

TEST_F(HostEvents, ClockAdvancesByTheHostsStepOnFrameDispatchesOnly) {
    SimRunFrames(3);  // 0.05 s each
    EXPECT_EQ(moduleClock.simClock, 1500u);
    EXPECT_EQ(moduleClock.frameTime, 1000u);  // one step behind
    SimDispatchInput(8, 65697, nullptr);
    SimDispatchInput(9, 65697, nullptr);
    EXPECT_EQ(moduleClock.simClock, 1500u);
    SimSetPaused(true);  // the host still steps its clock while paused
    SimRunFrames(1);
    EXPECT_EQ(moduleClock.simClock, 2000u);
    SimSetPaused(false);
    SimSetStepSeconds(1.0 / 60.0);
    moduleClock.simClock = 0xFFFFFF00u;
    SimRunFrames(1);
    EXPECT_EQ(moduleClock.frameTime, 0xFFFFFF00u);
    EXPECT_EQ(moduleClock.simClock, 0xFFFFFF00u + 166u);  // truncated, wrapping
}

TEST_F(HostEvents, ViewByteIsHeldAtOneWhilePlayingAndGivenBack) {
    uint8_t window[0x100];
    std::memset(window, 0, sizeof window);
    window[0x45] = 7;
    for (Mode mode : {Playback, Replay, TrafficPlayback}) {
        module.mode = mode;
        SimFireEvent(15, Arg(window), 0);
        EXPECT_EQ(window[0x45], 1) << mode;
        SimFireEvent(37, Arg(window), 0);
        EXPECT_EQ(window[0x45], 7) << mode;
    }
    for (Mode mode : {Idle, Recording, ReplayBuffer, RecordingWithTraffic}) {
        module.mode = mode;
        SimFireEvent(15, Arg(window), 0);
        EXPECT_EQ(window[0x45], 7) << mode;
        SimFireEvent(37, Arg(window), 0);
        EXPECT_EQ(window[0x45], 7) << mode;
    }
    // A playback that ends between the two events still gets the byte back.
    module.mode = Playback;
    SimFireEvent(15, Arg(window), 0);
    module.mode = Idle;
    SimFireEvent(37, Arg(window), 0);
    EXPECT_EQ(window[0x45], 7);
}

TEST_F(HostEvents, StatusLineIsDrawnOnlyOnTheMainView) {
    module.mode = Recording;
    uint8_t otherView[0x100] = {};
    SimFireEvent(18, 0, Arg(otherView));
    EXPECT_TRUE(SimLogOf(LogStatusLine).empty());
    SimRunFrames(1);  // requests the redraw; the host then sends event 18 for the main view
    ASSERT_EQ(SimLogOf(LogStatusLine).size(), 1u);
    module.mode = ReplayBuffer;
    SimClearLog();
    SimRunFrames(5);
    EXPECT_TRUE(SimLogOf(LogStatusLine).empty());
}

TEST_F(HostEvents, FlightLoadMarksTheAircraftChangedAndStopsOnlyAPlainRecording) {
    SimFireEvent(38, 0, 0);  // not a load
    EXPECT_EQ(session.aircraftChanged, 0u);
    SimFireEvent(38, 0, 1);
    EXPECT_EQ(session.aircraftChanged, 1u);
    module.mode = RecordingWithTraffic;
    SimFireEvent(38, 0, 1);
    EXPECT_EQ(module.mode, RecordingWithTraffic);
    EXPECT_TRUE(SimLogOf(LogFileDialog).empty());
}
