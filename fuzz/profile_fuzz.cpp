// libFuzzer target for the settings file: arbitrary bytes as
// modules/Aerotrace.ini, read and written through the ini functions and the
// settings loader. The file is kept in the ini functions' memory table, so
// an input costs its parsing and editing and no disk I/O; the unit test
// replays the seed corpus through real files.
#include <cstdio>
#include <cstdlib>

#include "profile_exercise.h"

static PosixProfileFiles profiles;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    PosixKeepProfilesInMemory(&profiles);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    profiles.clear();
    if (const char* problem = profile_exercise::Run(data, size, &profiles, false)) {
        std::fprintf(stderr, "profile_fuzz: %s\n", problem);
        std::abort();
    }
    return 0;
}
