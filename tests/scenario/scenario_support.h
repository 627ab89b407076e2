// Shared set-up of scenario tests: every test starts in a fresh simulator
// folder with a fresh world; the module is loaded when the test asks.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "sim.h"

class Scenario : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Starts the world and loads the module; fails the test if it refuses.
    void Start(const SimConfig& config = SimConfig());

    std::string folder;      // the simulator's folder of this test
    std::string homeFolder;  // where the test program started
};

// Text of every status line drawn since the log was cleared.
std::vector<std::string> StatusTexts();
