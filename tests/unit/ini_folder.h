// A fresh folder with an empty "modules" folder as the current directory for
// each test of the settings file, removed afterwards, with the ini file's
// text at hand.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

class IniFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        original = std::filesystem::current_path();
        char pattern[] = "/tmp/aerotrace-ini-test-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        scratch = pattern;
        std::filesystem::current_path(scratch);
        std::filesystem::create_directory("modules");
    }
    void TearDown() override {
        std::filesystem::current_path(original);
        std::filesystem::remove_all(scratch);
    }

    static void WriteFile(const std::string& text) { std::ofstream("modules/Aerotrace.ini", std::ios::binary) << text; }
    static std::string FileText() {
        std::ifstream stream("modules/Aerotrace.ini", std::ios::binary);
        std::ostringstream text;
        text << stream.rdbuf();
        return text.str();
    }

    std::filesystem::path original;
    std::filesystem::path scratch;
};
