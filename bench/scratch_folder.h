// Benchmarks that fly the stand-in run in a scratch simulator folder of their
// own, removed afterwards.
#pragma once

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdio>
#include <string>
#include <vector>

#include "sim.h"

inline int RunBenchmarksInScratchFolder(int argc, char** argv, const char* label) {
    std::string pattern = std::string("/tmp/aerotrace-") + label + "-bench-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back(0);
    if (!mkdtemp(name.data())) {
        std::perror("mkdtemp");
        return 1;
    }
    std::string home = SimCurrentDirectory();
    SimEnterDirectory(name.data());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    SimChangeDirectory(home);
    std::string remove = std::string("rm -rf ") + name.data();
    return std::system(remove.c_str()) == 0 ? 0 : 1;
}
