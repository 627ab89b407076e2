// libFuzzer target for the tool's IGC import: arbitrary bytes read as an IGC
// track and, when they hold one, flown through the flight builder.
#include <cstdio>
#include <cstdlib>

#include "import_exercise.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (const char* problem = import_exercise::Run(import_exercise::Igc, data, size)) {
        std::fprintf(stderr, "igc_import_fuzz: %s\n", problem);
        std::abort();
    }
    return 0;
}
