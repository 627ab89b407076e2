// The stand-in simulator for a fuzzer that runs the module on it: a
// simulator folder of the fuzzer's own (in /dev/shm where it can be, so that
// the module's files cost no disk), the module loaded and run for a moment,
// and at exit the module unloaded and the folder removed.
#pragma once

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "sim.h"

namespace stand_in_scratch {

inline char folder[128];

inline void Remove() {
    if (SimModuleLoaded()) SimUnloadModule();
    if (chdir("/") != 0) return;
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

// Aborts, naming the fuzzer, when there is no folder or no module.
inline void Start(const char* fuzzer) {
    std::snprintf(folder, sizeof folder, "%s/aerotrace-%s-XXXXXX", access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp",
                  fuzzer);
    if (!mkdtemp(folder) || chdir(folder) != 0) {
        std::fprintf(stderr, "%s: no scratch directory: %s\n", fuzzer, std::strerror(errno));
        std::abort();
    }
    SimEnterDirectory(folder);
    SimReset(SimConfig());
    if (!SimLoadModule()) {
        std::fprintf(stderr, "%s: the module did not load\n", fuzzer);
        std::abort();
    }
    SimRunFrames(20);
    std::atexit(Remove);
}

}  // namespace stand_in_scratch
