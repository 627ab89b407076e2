// Set-up shared by the scenario tests.
#include "scenario_support.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#ifdef AEROTRACE_DLL_PATH
#define MODULE_PATH AEROTRACE_DLL_PATH
#endif

void Scenario::SetUp() {
    static int counter;
    static std::string home;
    if (home.empty()) home = SimCurrentDirectory();
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    char name[512];
    std::snprintf(name, sizeof name, "%s-%s-%d", info->test_suite_name(), info->name(), ++counter);
    for (char* c = name; *c; ++c)
        if (*c == '/') *c = '_';
#ifdef MODULE_PATH
    SimSetModulePath(MODULE_PATH);
#endif
    SimEnterDirectory(home + "/scenario-runs");
    folder = home + "/scenario-runs/" + name;
    // Fresh: what an earlier run left (temporary track files above all,
    // which the module recovers when it starts) must not meet this test.
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    SimEnterDirectory(folder);
    homeFolder = home;
}

void Scenario::TearDown() {
    // Every dialog the module opened was answered as the test meant.
    for (const std::string& problem : SimDialogProblems()) ADD_FAILURE() << problem;
    if (SimModuleLoaded()) SimUnloadModule();
    SimChangeDirectory(homeFolder);
}

void Scenario::Start(const SimConfig& config) {
    SimReset(config);
    ASSERT_TRUE(SimLoadModule());
}

std::vector<std::string> StatusTexts() {
    std::vector<std::string> texts;
    for (const SimLogEntry& entry : SimLogOf(LogStatusLine)) texts.push_back(entry.text);
    return texts;
}
