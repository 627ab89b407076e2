// The test side of the command-line tool: running it and its folder.
#include "tool_support.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

std::string Shell(const std::string& command) {
    std::string output;
    std::FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return output;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, n);
    pclose(pipe);
    return output;
}

int RunTool(const std::string& arguments, std::string* output, std::string* errors) {
    const std::string command = std::string(AEROTRACE_TOOL_PATH) + " " + arguments + " >tool.out 2>tool.err";
    int status = std::system(command.c_str());
    auto read = [](const char* path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    };
    if (output) *output = read("tool.out");
    if (errors) *errors = read("tool.err");
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool HaveProgram(const char* name) { return !Shell(std::string("command -v ") + name).empty(); }

void ToolTest::SetUp() {
    char here[4096];
    ASSERT_NE(getcwd(here, sizeof here), nullptr);
    home = here;
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    folder = home + "/tool-runs/" + info->test_suite_name() + "-" + info->name();
    for (char& c : folder)
        if (c == '/' && &c > &folder[home.size() + 10]) c = '_';
    std::system(("rm -rf '" + folder + "' && mkdir -p '" + folder + "'").c_str());
    ASSERT_EQ(chdir(folder.c_str()), 0);
}

void ToolTest::TearDown() { ASSERT_EQ(chdir(home.c_str()), 0); }
