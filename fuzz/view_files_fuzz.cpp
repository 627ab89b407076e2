// libFuzzer target for the view export files: arbitrary bytes as a "*.twr",
// "*.spt" or "*.vc" file, imported as each kind of view through the module's
// import dialog on the stand-in, and one kind (the one the input's size
// picks) exported and imported again. The files are kept in the ini
// functions' memory table; the unit test replays the seed corpus through
// real files as well.
#include <cstdio>
#include <cstdlib>

#include "stand_in_scratch.h"
#include "view_files_exercise.h"

static PosixProfileFiles profiles;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // After the load, which gives the module its data as the library holds it.
    stand_in_scratch::Start("view-files-fuzz");
    PosixKeepProfilesInMemory(&profiles);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    profiles.clear();
    if (const char* problem = view_files_exercise::Run(data, size, &profiles, false)) {
        std::fprintf(stderr, "view_files_fuzz: %s\n", problem);
        std::abort();
    }
    return 0;
}
