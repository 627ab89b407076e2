// The Wine test runner (scripts/wine-suite.sh) watching a stand-in for Wine
// (fake-wine.sh beside this file): one process runs every test unless one
// hangs or crashes; that test alone fails, Wine is reset, and a new process
// runs the tests that had not started; every case is counted once, by
// GoogleTest's own line for it.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "tool_support.h"

namespace {

class WineSuite : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/aerotrace-wine-suite-test-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        scratch = pattern;
        std::filesystem::create_directories(scratch + "/bin");
        std::filesystem::create_directories(scratch + "/prefix");
        for (const char* name : {"wine", "wineserver"})
            std::filesystem::create_symlink(AEROTRACE_FAKE_WINE, scratch + "/bin/" + name);
    }
    void TearDown() override { std::filesystem::remove_all(scratch); }

    // Runs the suite over a program of these tests ("Suite.Name behaviour"
    // lines); returns what it printed and sets "status".
    std::string Run(const std::string& tests, const std::string& options = "--timeout 2") {
        std::ofstream(scratch + "/tests.exe") << tests;
        const std::string command = "PATH='" + scratch + "/bin':\"$PATH\" FAKE_WINE_LOG='" + scratch +
                                    "/calls' WINEPREFIX='" + scratch + "/prefix' TMPDIR='" + scratch + "' " +
                                    AEROTRACE_SCRIPTS + "/wine-suite.sh --no-demo --program '" + scratch +
                                    "/tests.exe' " + options + " >'" + scratch + "/out' 2>&1; echo $?";
        status = std::stoi(Shell(command));
        return Read("out");
    }
    std::string Read(const std::string& name) const {
        std::ifstream in(scratch + "/" + name);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    // How many times the test program itself was started (listings apart).
    int ProgramRuns() const {
        std::istringstream calls(Read("calls"));
        int runs = 0;
        for (std::string line; std::getline(calls, line);)
            if (line.rfind("wine ", 0) == 0 && line.find("tests.exe --gtest_filter=") != std::string::npos) ++runs;
        return runs;
    }
    static bool Has(const std::string& text, const std::string& line) {
        return ("\n" + text).find("\n" + line + "\n") != std::string::npos;
    }
    static int Count(const std::string& text, const std::string& start) {
        int found = 0;
        std::istringstream lines(text);
        for (std::string line; std::getline(lines, line);)
            if (line.rfind(start, 0) == 0) ++found;
        return found;
    }

    std::string scratch;
    int status = -1;
};

TEST_F(WineSuite, OneProcessRunsThemAllAndEachCountsByItsOwnLine) {
    const std::string out = Run("Menu.Opens pass\nMenu.Closes fail\nKinds/Stop.After/Start fail\nMenu.Later skip\n");
    EXPECT_EQ(ProgramRuns(), 1);
    const std::string calls = Read("calls");
    const size_t first = calls.find("tests.exe ");
    EXPECT_EQ(calls.compare(first, 28, "tests.exe --gtest_list_tests"), 0) << "listed first\n" << calls;
    EXPECT_EQ(calls.find("--gtest_list_tests"), calls.rfind("--gtest_list_tests")) << "and once\n" << calls;
    EXPECT_TRUE(Has(out, "[       OK ] Menu.Opens (3 ms)")) << out;
    EXPECT_TRUE(Has(out, "[  FAILED  ] Menu.Closes (5 ms)")) << out;
    EXPECT_TRUE(Has(out, "[  FAILED  ] Kinds/Stop.After/Start (5 ms)")) << out;
    EXPECT_TRUE(Has(out, "[  SKIPPED ] Menu.Later (0 ms)")) << out;
    // What the failing test said comes with it, indented so it is not counted.
    EXPECT_TRUE(Has(out, "    | Expected equality of these values: Menu.Closes")) << out;
    // And so does why a test was skipped.
    EXPECT_TRUE(Has(out, "[  SKIPPED ] Menu.Later (0 ms)\n    | scenario.cpp:7: Skipped\n    | no such processor here")) << out;
    EXPECT_TRUE(Has(out, "[==========] 4 Wine tests ran.")) << out;
    EXPECT_TRUE(Has(out, "[  PASSED  ] 1 tests.")) << out;
    EXPECT_TRUE(Has(out, "[  FAILED  ] 2 tests, listed below:")) << out;
    EXPECT_EQ(Count(out, "[  FAILED  ] "), 5) << "each failure once as it ends, once in the list";
    EXPECT_TRUE(Has(out, "[  SKIPPED ] Menu.Later: no such processor here")) << "the list gives the reason\n" << out;
    EXPECT_NE(status, 0);

    Run("Menu.Opens pass\nMenu.Closes pass\n");
    EXPECT_EQ(status, 0);
}

TEST_F(WineSuite, GoogleTestsLinesCountWhereverTheyStartAndNoTestIsLostBetweenThem) {
    const std::string out = Run("D.Unended unended\nD.Silent silent\nD.After pass\n");
    // Text a test left without an end of line does not hide its result.
    EXPECT_TRUE(Has(out, "[       OK ] D.Unended (3 ms)")) << out;
    // A test whose result line never came is a failure, not a pass or a gap.
    EXPECT_NE(out.find("[  FAILED  ] D.Silent (it ended without GoogleTest's result line, "), std::string::npos)
        << out;
    EXPECT_TRUE(Has(out, "    | the test ends here")) << out;
    EXPECT_TRUE(Has(out, "[       OK ] D.After (3 ms)")) << out;
    EXPECT_TRUE(Has(out, "[==========] 3 Wine tests ran.")) << out;
    EXPECT_TRUE(Has(out, "[  PASSED  ] 2 tests.")) << out;
    EXPECT_NE(status, 0);
    EXPECT_EQ(ProgramRuns(), 1);
}

TEST_F(WineSuite, AHangOrACrashFailsThatTestAloneAndTheRestRunInANewProcess) {
    const std::string out = Run("A.First pass\nA.Hangs hang\nA.Third pass\nA.Crashes crash\nA.Last pass\n");
    EXPECT_TRUE(Has(out, "[       OK ] A.First (3 ms)")) << out;
    EXPECT_NE(out.find("[  FAILED  ] A.Hangs (timed out after 2 s, "), std::string::npos) << out;
    EXPECT_TRUE(Has(out, "    | the test waits for ever")) << out;
    EXPECT_TRUE(Has(out, "[       OK ] A.Third (3 ms)")) << out;
    EXPECT_NE(out.find("[  FAILED  ] A.Crashes (the program ended during the test (exit status 5), "), std::string::npos)
        << out;
    EXPECT_TRUE(Has(out, "[       OK ] A.Last (3 ms)")) << out;
    EXPECT_TRUE(Has(out, "[==========] 5 Wine tests ran.")) << out;
    EXPECT_TRUE(Has(out, "[  PASSED  ] 3 tests.")) << out;
    EXPECT_TRUE(Has(out, "[  FAILED  ] 2 tests, listed below:")) << out;
    EXPECT_NE(status, 0);
    // Three processes, each given only the tests that had not started; Wine
    // reset after each interruption.
    EXPECT_EQ(ProgramRuns(), 3);
    const std::string calls = Read("calls");
    EXPECT_NE(calls.find("tests.exe --gtest_filter=A.Third:A.Crashes:A.Last\n"), std::string::npos) << calls;
    EXPECT_NE(calls.find("tests.exe --gtest_filter=A.Last\n"), std::string::npos) << calls;
    EXPECT_EQ(Count(calls, "wineserver -k"), 2) << calls;
}

TEST_F(WineSuite, AProgramThatFailsOutsideItsTestsIsAFailureNeverASilentPass) {
    // Dies before its first test: every test fails as not run, with the reason.
    std::string out = Run("!start crash\nB.One pass\nB.Two pass\n");
    EXPECT_TRUE(Has(out, "[  FAILED  ] B.One (not run: the program ended before its first test (exit status 5), 0 s)"))
        << out;
    EXPECT_TRUE(Has(out, "[  PASSED  ] 0 tests.")) << out;
    EXPECT_TRUE(Has(out, "[  FAILED  ] 2 tests, listed below:")) << out;
    EXPECT_NE(status, 0);

    // Every test passes, then the program exits with an error.
    out = Run("!exit 3\nB.One pass\n");
    EXPECT_TRUE(Has(out, "[  PASSED  ] 1 tests.")) << out;
    EXPECT_TRUE(Has(out, "[  FAILED  ] tests.exe (exit status 3 after its tests passed)")) << out;
    EXPECT_NE(status, 0);

    // The run's budget ends in a hang: what is left is not run, and says why.
    out = Run("C.Hangs hang\nC.After pass\n", "--timeout 30 --budget 2");
    EXPECT_NE(out.find("[  FAILED  ] C.Hangs (stopped: the run's 2 s were used up, "), std::string::npos) << out;
    EXPECT_TRUE(Has(out, "[  FAILED  ] C.After (not run: the run's 2 s were used up, 0 s)")) << out;
    EXPECT_TRUE(Has(out, "[==========] 2 Wine tests ran.")) << out;
}

TEST_F(WineSuite, ARunWithFewerCasesThanTheProgramListsFails) {
    // The program ends normally, all passing, but one listed test never ran.
    std::string out = Run("E.One pass\nE.Gone vanish\nE.Two pass\n");
    EXPECT_TRUE(Has(out, "[  PASSED  ] 2 tests.")) << out;
    EXPECT_TRUE(Has(out, "[  FAILED  ] tests.exe (2 of its 3 listed tests ran)")) << out;
    EXPECT_NE(status, 0);

    // A filter that leaves nothing to run is no success either.
    out = Run("E.One pass\n", "--timeout 2 --filter 'Nothing.*'");
    EXPECT_TRUE(Has(out, "[  FAILED  ] tests.exe (no test matches the filter \"Nothing.*\")")) << out;
    EXPECT_NE(status, 0);
}

}  // namespace
