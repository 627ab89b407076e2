// libFuzzer target for the settings file: arbitrary bytes as
// modules/Aerotrace.ini, read and written through the ini functions and the
// settings loader. Runs in a scratch directory of its own, removed at exit.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "profile_exercise.h"

// Every input rewrites the ini file dozens of times: a memory-backed
// directory keeps that cheap where there is one.
static char scratch[64];

static void RemoveScratch() {
    if (chdir(scratch) != 0) return;
    std::remove("modules/Aerotrace.ini");
    std::remove("modules/Aerotrace.ini.tmp");
    rmdir("modules");
    if (chdir("/") == 0) rmdir(scratch);
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::snprintf(scratch, sizeof scratch, "%s/aerotrace-profile-fuzz-XXXXXX",
                  access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp");
    if (!mkdtemp(scratch) || chdir(scratch) != 0 || mkdir("modules", 0777) != 0) {
        std::perror("profile_fuzz: scratch directory");
        std::abort();
    }
    std::atexit(RemoveScratch);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (const char* problem = profile_exercise::Run(data, size)) {
        std::fprintf(stderr, "profile_fuzz: %s\n", problem);
        std::abort();
    }
    return 0;
}
