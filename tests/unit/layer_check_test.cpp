// scripts/check-layers.py on small source trees made here, each with its own
// layers.txt: it passes a tree whose includes go only downwards, and names
// the file and line of an include that goes up, of a cycle between folders
// and of one between files.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "tool_support.h"

namespace {

class LayerCheck : public ToolTest {
protected:
    void Write(const std::string& path, const std::string& text) {
        std::filesystem::create_directories(std::filesystem::path(folder + "/src/" + path).parent_path());
        std::ofstream(folder + "/src/" + path) << text;
    }
    // Runs the check on the tree; returns what it printed and sets "status".
    std::string Check() {
        const std::string out = Shell("python3 " + std::string(AEROTRACE_SCRIPTS) + "/check-layers.py " + folder +
                                      "/src 2>&1; echo \"status $?\"");
        const size_t at = out.rfind("status ");
        status = at == std::string::npos ? -1 : std::stoi(out.substr(at + 7));
        return out;
    }
    int status = -1;
};

TEST_F(LayerCheck, IncludesThatGoOnlyDownwardsPass) {
    ASSERT_TRUE(HaveProgram("python3")) << "python3 is not installed (scripts/setup.sh installs it)";
    Write("layers.txt", "# lowest first\nplatform\ncore/host\nengine/tracks\ncore\n");
    // A folder below a listed one belongs to it.
    Write("platform/posix/posix_hooks.h", "#pragma once\n");
    Write("platform/platform.h", "#include \"platform/posix/posix_hooks.h\"\n");
    // The host binding in a room of its own below, start-up at the top of core.
    Write("core/host/host.h", "#include \"platform/platform.h\"\n");
    Write("engine/tracks/track.h", "#include \"core/host/host.h\"\n");
    Write("engine/tracks/track.cpp", "#include \"engine/tracks/track.h\"\n#include <vector>\n");
    Write("core/module.cpp", "#include \"engine/tracks/track.h\"\n#include \"core/host/host.h\"\n");
    const std::string out = Check();
    EXPECT_EQ(status, 0) << out;
    EXPECT_NE(out.find("check-layers: ok (6 files, 6 includes, 4 layers)"), std::string::npos) << out;
}

TEST_F(LayerCheck, AnUpwardIncludeAndCyclesAreNamedWithTheirFileAndLine) {
    ASSERT_TRUE(HaveProgram("python3")) << "python3 is not installed (scripts/setup.sh installs it)";
    Write("layers.txt", "platform\ncore/host\nengine/tracks\nviews/windows\ncore\n");
    Write("core/host/host.h", "#pragma once\n\n#include \"engine/tracks/track.h\"\n");  // up, on line 3
    Write("engine/tracks/track.h", "#include \"core/host/host.h\"\n");
    // Two files of one folder that need each other: a .cpp counts with its header.
    Write("views/windows/view_switching.cpp", "#include \"views/windows/view_window_table.h\"\n");
    Write("views/windows/view_switching.h", "#pragma once\n");
    Write("views/windows/view_window_table.cpp", "#include \"views/windows/view_switching.h\"\n");
    Write("views/windows/view_window_table.h", "#pragma once\n");
    Write("strays/lost.h", "#pragma once\n");
    const std::string out = Check();
    EXPECT_EQ(status, 1) << out;
    for (const char* line :
         {"src/core/host/host.h:3: includes engine/tracks/track.h: layer core/host must not use layer engine/tracks",
          "folders in a cycle: core/host, engine/tracks: core/host -> engine/tracks (src/core/host/host.h:3); "
          "engine/tracks -> core/host (src/engine/tracks/track.h:1)",
          "files in a cycle (2): src/views/windows/view_switching.cpp:1 -> views/windows/view_window_table; "
          "src/views/windows/view_window_table.cpp:1 -> views/windows/view_switching",
          "src/strays/lost.h: belongs to no layer (add its folder to src/layers.txt)"})
        EXPECT_NE(out.find(line), std::string::npos) << line << "\n" << out;
}

}  // namespace
