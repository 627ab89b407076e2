// Benchmarks that fly the stand-in run in a scratch simulator folder of their
// own, removed afterwards.
#pragma once

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "sim.h"

// A new empty folder under $TMPDIR (or /tmp), or "" when none can be made.
inline std::string MakeScratchFolder(const char* label) {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/aerotrace-" + label + "-bench-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back(0);
    if (!mkdtemp(name.data())) {
        std::perror("mkdtemp");
        return std::string();
    }
    return name.data();
}

inline int RunBenchmarksInScratchFolder(int argc, char** argv, const char* label) {
    std::string folder = MakeScratchFolder(label);
    if (folder.empty()) return 1;
    std::string home = SimCurrentDirectory();
    SimEnterDirectory(folder);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    SimChangeDirectory(home);
    std::string remove = "rm -rf " + folder;
    return std::system(remove.c_str()) == 0 ? 0 : 1;
}
