// libFuzzer target for recording files: arbitrary bytes as a recording,
// checked, loaded and played on the stand-in simulator (normally and as
// traffic) with jumps, speed and loop changes. Runs in a scratch directory
// of its own, removed at exit.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "recording_exercise.h"

static char scratch[64];

static void RemoveScratch() {
    if (SimModuleLoaded()) SimUnloadModule();
    if (chdir(scratch) != 0) return;
    std::remove(recording_exercise::InputPath);
    std::remove("Modules/Aerotrace.ini");
    rmdir("Modules");
    if (chdir("/") == 0) rmdir(scratch);
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::snprintf(scratch, sizeof scratch, "%s/aerotrace-recording-fuzz-XXXXXX",
                  access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp");
    if (!mkdtemp(scratch) || chdir(scratch) != 0) {
        std::perror("recording_fuzz: scratch directory");
        std::abort();
    }
    SimEnterDirectory(scratch);
    SimReset(SimConfig());
    if (!SimLoadModule()) {
        std::fprintf(stderr, "recording_fuzz: the module did not load\n");
        std::abort();
    }
    SimRunFrames(20);
    std::atexit(RemoveScratch);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (const char* problem = recording_exercise::Run(data, size)) {
        std::fprintf(stderr, "recording_fuzz: %s\n", problem);
        std::abort();
    }
    return 0;
}
