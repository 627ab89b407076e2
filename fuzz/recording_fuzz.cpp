// libFuzzer target for recording files: arbitrary bytes as a recording,
// checked, loaded and played on the stand-in simulator (normally and as
// traffic) with jumps, speed and loop changes. Runs in a scratch directory
// of its own, removed at exit.
#include <cstdio>
#include <cstdlib>

#include "recording_exercise.h"
#include "stand_in_scratch.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    stand_in_scratch::Start("recording-fuzz");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (const char* problem = recording_exercise::Run(data, size)) {
        std::fprintf(stderr, "recording_fuzz: %s\n", problem);
        std::abort();
    }
    return 0;
}
