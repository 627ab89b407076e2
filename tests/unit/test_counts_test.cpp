// scripts/test-counts.sh, which the test command's closing line is made
// from: every failed and skipped case counts by its own name, with the
// reason a skip gave, whatever summary the program printed or left out.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>

#include "tool_support.h"

namespace {

class TestCounts : public ToolTest {
protected:
    // Tallies LOG (written to a file) with FUNCTION, as program PROGRAM that
    // exited with STATUS; returns the counts and the names, one a line.
    std::string Tally(const std::string& function, const std::string& log, int status = 1) {
        std::ofstream(folder + "/log") << log;
        return Shell("cd " + folder + " && bash -c 'set -uo pipefail; source " + AEROTRACE_SCRIPTS +
                     "/test-counts.sh; passed=0; failed_names=(); skipped_names=(); "
                     "tally program " + std::to_string(status) + " native < <(" + function + " log); "
                     "echo \"$passed passed\"; printf \"failed %s\\n\" \"${failed_names[@]}\"; "
                     "printf \"skipped %s\\n\" \"${skipped_names[@]}\"' 2>&1");
    }
};

TEST_F(TestCounts, EachFailedAndSkippedTestCountsByNameWithTheReasonItGave) {
    // Ten failures, one skip with a trace after its reason, one pass, and
    // GoogleTest's own summary counting them otherwise.
    std::string log = "Running main() from gtest_main.cc\n[ RUN      ] A.Passes\n[       OK ] A.Passes (1 ms)\n";
    for (int i = 0; i < 10; ++i)
        log += "[ RUN      ] A.Fails" + std::to_string(i) + "\nt.cpp:3: Failure\n[  FAILED  ] A.Fails" +
               std::to_string(i) + " (0 ms)\n";
    log += "[ RUN      ] A.Skips\nt.cpp:5: Skipped\nno chromium here\nGoogle Test trace:\nt.cpp:4: scope\n"
           "[  SKIPPED ] A.Skips (0 ms)\n[==========] 12 tests from 1 test suite ran.\n[  PASSED  ] 1 test.\n"
           "[  FAILED  ] 1 test, listed below:\n[  FAILED  ] A.Fails0\n";
    const std::string out = Tally("gtest_cases", log);
    EXPECT_EQ(out.rfind("1 passed\nfailed native: A.Fails0\nfailed native: A.Fails1\n", 0), 0u) << out;
    EXPECT_NE(out.find("failed native: A.Fails9\nskipped native: A.Skips: no chromium here\n"), std::string::npos)
        << out;
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 12) << out;
}

TEST_F(TestCounts, ACrashInATestOrOutsideThemIsAFailure) {
    // The program died in a test: that test fails, by name.
    std::string out = Tally("gtest_cases", "[ RUN      ] B.Ok\n[       OK ] B.Ok (1 ms)\n[ RUN      ] B.Dies\nboom\n", 134);
    EXPECT_EQ(out, "1 passed\nfailed native: B.Dies (the program ended during it)\nskipped \n");
    // It failed with every test passed: the program is the failure.
    out = Tally("gtest_cases", "[ RUN      ] B.Ok\n[       OK ] B.Ok (1 ms)\n", 3);
    EXPECT_EQ(out, "1 passed\nfailed program (exit status 3 after its tests)\nskipped \n");
    // And a passing program with no failure says so.
    out = Tally("gtest_cases", "[ RUN      ] B.Ok\n[       OK ] B.Ok (1 ms)\n", 0);
    EXPECT_EQ(out, "1 passed\nfailed \nskipped \n");
}

TEST_F(TestCounts, TheWineTestsCountFromTheirClosingSummary) {
    const std::string out = Tally("wine_cases",
                                  "[       OK ] C.One (3 ms)\n[  FAILED  ] C.Two (timed out after 60 s, 60 s)\n"
                                  "[==========] 4 Wine tests ran.\n[  PASSED  ] 2 tests.\n"
                                  "[  SKIPPED ] 1 tests, listed below:\n[  SKIPPED ] C.Three: no such processor\n"
                                  "[  FAILED  ] 1 tests, listed below:\n[  FAILED  ] C.Two (timed out after 60 s)\n");
    EXPECT_EQ(out, "2 passed\nfailed native: C.Two (timed out after 60 s)\nskipped native: C.Three: no such processor\n");
}

}  // namespace
