// The module's look, once after start-up, for the temporary track files
// that a recording leaves behind when the simulator stops before it was
// saved, and the recording rebuilt from them (temp_tracks.h reads them).
#pragma once

#include <cstdint>

// Recovers leftover "Modules\Aerotrace*.tmp" files holding at least two
// samples into "Recordings\Recovered_<date>_<time>.atr", removes them once the
// recording was written and verified, and tells the user once. Files with
// fewer samples are left alone. Returns the number of temporary files
// recovered; *kept (when given) is set when a flight was found that could not
// be saved, its pieces left where they are.
int RecoverLeftoverRecordings(bool* kept = nullptr);

// The start-up recovery runs once, on the first frame after ModuleInit (the
// simulator is still loading during ModuleInit, no time for files and
// messages), or earlier when a recording starts before that frame: a new
// recording must never open a leftover temporary file before its flight is
// safe.
struct StartupRecovery {
    bool pending;  // ModuleInit armed it and it has not run yet
};
extern StartupRecovery startupRecovery;

// Runs the start-up recovery if it is still pending. Returns 0 when it found
// a flight it could not save (the user was told to keep its pieces), else 1.
int RunStartupRecovery();
