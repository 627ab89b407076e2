// Running the aerotrace program from a test, and a scratch folder per test.
#pragma once

#include <gtest/gtest.h>

#include <string>

// Runs "aerotrace ARGS" in the current directory; returns its exit status
// and, when output is given, what it printed on stdout (stderr is kept apart
// in *errors when given).
int RunTool(const std::string& arguments, std::string* output = nullptr, std::string* errors = nullptr);

// Runs a shell command and returns its standard output ("" when it fails).
std::string Shell(const std::string& command);
bool HaveProgram(const char* name);

// Every test in a fresh folder of its own, left there for inspection.
class ToolTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    std::string home, folder;
};
