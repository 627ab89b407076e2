// Loading, starting and shutting the module down on the stand-in simulator:
// what it registers, what it refuses, and that it passes the host's
// dispatches through.
#include "scenario_support.h"

#include <algorithm>

using Lifecycle = Scenario;

static const std::vector<uint32_t> HandlerOrder = {1, 34, 38, 15, 37, 27, 18, 2};

TEST_F(Lifecycle, RefusesToLoadWithoutTheSimulatorWindow) {
    SimConfig config;
    config.mainWindowPresent = false;
    SimReset(config);
    EXPECT_FALSE(SimLoadModule());
    std::vector<SimLogEntry> boxes = SimLogOf(LogMessageBox);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Aerotrace Module");
    EXPECT_EQ(boxes[0].text.rfind("FS main window could not be found! Please contact the author at ", 0), 0u);
    EXPECT_EQ(boxes[0].owner, nullptr);
    EXPECT_EQ(boxes[0].a & 0xF0, 0x10u);  // error icon
    EXPECT_TRUE(SimRegisteredEvents().empty());
}

TEST_F(Lifecycle, RegistersTheEightHandlersInOrderAndTakesThemBack) {
    Start();
    EXPECT_EQ(SimRegisteredEvents(), HandlerOrder);
    EXPECT_TRUE(SimLogOf(LogMessageBox).empty());
    SimRunSeconds(2.0);
    SimUnloadModule();
    std::vector<uint32_t> unregistered;
    for (const SimLogEntry& entry : SimLogOf(LogUnregister)) unregistered.push_back(static_cast<uint32_t>(entry.a));
    EXPECT_EQ(unregistered, HandlerOrder);
    // Exactly the registered pairs: nothing is left behind.
    EXPECT_TRUE(SimRegisteredEvents().empty());
}

TEST_F(Lifecycle, StaysInertWhenAnInterfaceIsMissing) {
    for (int missing = 0; missing < 11; ++missing) {
        SimConfig config;
        config.missingInterface = missing;
        SimReset(config);
        ASSERT_TRUE(SimLoadModule()) << "interface index " << missing;
        std::vector<SimLogEntry> boxes = SimLogOf(LogMessageBox);
        ASSERT_EQ(boxes.size(), 1u) << "interface index " << missing;
        EXPECT_EQ(boxes[0].caption, "Aerotrace Module");
        EXPECT_EQ(boxes[0].text.rfind("An error occurred during module intialization! Please contact the author at ", 0),
                  0u);
        EXPECT_EQ(boxes[0].owner, SimMainWindow());
        EXPECT_TRUE(SimRegisteredEvents().empty());
        SimRunSeconds(1.0);  // nothing may be called into the inert module
        SimUnloadModule();
        EXPECT_TRUE(SimLogOf(LogUnregister).empty());
    }
}

TEST_F(Lifecycle, PassesEveryDispatchThroughToTheHost) {
    Start();
    for (uint32_t result : {0u, 1u}) {
      SimSetHostDispatchResult(result);
      for (uint32_t type : {8u, 9u}) {
        for (uint32_t event : {65697u, 66534u, 1u}) {
            SimClearLog();
            EXPECT_EQ(SimDispatchInput(type, event, nullptr), result != 0);
            std::vector<SimLogEntry> reached = SimLogOf(LogHostInput);
            ASSERT_EQ(reached.size(), 1u);
            EXPECT_EQ(reached[0].a, type);
            EXPECT_EQ(reached[0].b, event);
        }
      }
    }
}

TEST_F(Lifecycle, FlightsRunWithoutMessagesInIdle) {
    Start(SimStandardConfig(3));
    SimFireEvent(38, 0, 1);
    SimRunSeconds(60.0);
    EXPECT_TRUE(SimLogOf(LogMessageBox).empty());
    EXPECT_TRUE(SimLogOf(LogStatusLine).empty());
    EXPECT_TRUE(SimLogOf(LogPositionSet).empty());
}
