// The Level D 767: which titles name it, and its light switches packed into
// the lights word and written back, on the stand-in's named variables.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "engine/session/level_d.h"
#include "engine/session/session.h"
#include "sim.h"

TEST(LevelD, TitleNeedsTheMakerAnd767) {
    EXPECT_TRUE(IsLevelD767Title("Level D Simulations B767-300ER"));
    EXPECT_TRUE(IsLevelD767Title("Level-D 767"));
    EXPECT_TRUE(IsLevelD767Title("767 by LevelD"));
    EXPECT_FALSE(IsLevelD767Title("LevelD 747"));
    EXPECT_FALSE(IsLevelD767Title("Boeing 767-300ER"));
    EXPECT_FALSE(IsLevelD767Title("LEVEL D 767"));  // case matters
    EXPECT_FALSE(IsLevelD767Title("Level_D 767"));
    EXPECT_FALSE(IsLevelD767Title(""));
    EXPECT_FALSE(IsLevelD767Title(nullptr));
}

class LevelDSwitches : public testing::Test {
protected:
    void SetUp() override {
        home = SimCurrentDirectory();
        SimEnterDirectory(testing::TempDir() + "aerotrace-leveld");
        SimReset(SimConfig());
        ASSERT_TRUE(SimLoadModule());
    }
    void TearDown() override {
        SimUnloadModule();
        SimChangeDirectory(home);
    }
    void Switch(const char* name, double value) { SimSetNamedVariable(std::string("LVLDLight") + name + "Switch", value); }
    std::string home;
};

TEST_F(LevelDSwitches, SwitchesPackIntoTheLightsWordWithBit15Set) {
    EXPECT_EQ(ReadLevelDLights(), 0x8000);  // all off
    const char* names[] = {"Nav", "Beacon", "LLNose", "Taxi", "Strobe", "Panel", "Wing",
                           "Recog", "Ovrd", "TurnL", "TurnR", "LLLeft", "LLRight"};
    for (const char* name : names) Switch(name, 1.0);
    EXPECT_EQ(ReadLevelDLights(), 0xFDBF);  // bits 6 and 9 are not switches
    for (const char* name : names) Switch(name, 0.0);
    Switch("Nav", 3.9);       // truncated to 3: the first switch sets the word, all of it
    Switch("Recog", 0x1FF);   // only its low byte counts
    Switch("LLRight", 2.0);   // only its lowest bit counts
    EXPECT_EQ(ReadLevelDLights(), 0x8000 | 0xFF00 | 3);
}

TEST_F(LevelDSwitches, AWordIsWrittenBackOneSwitchPerBitInOrder) {
    SimClearLog();
    WriteLevelDLights(0xC303);  // bit 9 is no switch: it is not written
    std::vector<SimLogEntry> sets = SimLogOf(LogVariableSet);
    const char* expected[][2] = {{"Nav", "1"},   {"Beacon", "1"}, {"LLNose", "0"}, {"Taxi", "0"},  {"Strobe", "0"},
                                 {"Panel", "0"}, {"Wing", "0"},   {"Recog", "1"},  {"Ovrd", "0"},  {"TurnL", "0"},
                                 {"TurnR", "0"}, {"LLLeft", "0"}, {"LLRight", "1"}};
    ASSERT_EQ(sets.size(), 13u);
    for (size_t i = 0; i < sets.size(); ++i) {
        EXPECT_EQ(sets[i].text, std::string("LVLDLight") + expected[i][0] + "Switch");
        EXPECT_EQ(sets[i].value, std::atof(expected[i][1])) << sets[i].text;
    }
    EXPECT_EQ(ReadLevelDLights(), 0xC103);
}

TEST_F(LevelDSwitches, TheFlagFollowsTheUserAircraftsTitle) {
    session.aircraftChanged = 1;
    SimSetUserTitle("Level-D 767-300");
    RefreshLevelDFlag();
    EXPECT_EQ(session.levelDFlag, 1u);
    EXPECT_EQ(session.aircraftChanged, 0u);
    SimSetUserTitle("LevelD 747");
    RefreshLevelDFlag();
    EXPECT_EQ(session.levelDFlag, 0u);
}
