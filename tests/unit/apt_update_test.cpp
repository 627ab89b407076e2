// scripts/apt-update.sh with a stand-in for apt-get: an index the mirror
// serves out of step is tried again, then done without and named in one
// line; an update that works says nothing; none of it stops a script that
// runs under "set -euo pipefail", as the set-up does.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "tool_support.h"

namespace {

class AptUpdate : public ToolTest {
protected:
    // Runs apt_update in a strict script against an apt-get whose update
    // prints OUTPUT and exits with the statuses given, one per call (the
    // last repeats). Returns what the script printed, its last line the
    // stale indexes and how many times apt-get ran.
    std::string Update(const std::string& output, const std::string& statuses) {
        std::ofstream(folder + "/apt-output") << output;
        std::ofstream(folder + "/apt-get") << "#!/bin/bash\n"
                                              "calls=$(($(cat calls 2>/dev/null || echo 0) + 1)); echo $calls >calls\n"
                                              "statuses=(" + statuses + ")\n"
                                              "index=$((calls <= ${#statuses[@]} ? calls - 1 : ${#statuses[@]} - 1))\n"
                                              "[ \"${statuses[$index]}\" = 0 ] || cat apt-output\n"
                                              "exit ${statuses[$index]}\n";
        Shell("chmod +x " + folder + "/apt-get");
        return Shell("cd " + folder + " && PATH=" + folder + ":\"$PATH\" AEROTRACE_APT_RETRY_PAUSE=0 bash -c "
                     "'set -euo pipefail; source " + AEROTRACE_SCRIPTS + "/apt-update.sh; apt_update -qq; "
                     "echo \"stale: [$STALE_INDEXES] after $(cat calls) calls\"' 2>&1; echo \"status $?\"");
    }
};

const char* const kStale =
    "Err:4 http://deb.debian.org/debian-security bookworm-security/main i386 Packages\n"
    "  File has unexpected size (374820 != 376004). Mirror sync in progress?\n"
    "E: Failed to fetch http://deb.debian.org/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz"
    "  File has unexpected size (374820 != 376004). Mirror sync in progress? [IP: 203.0.113.80 80]\n"
    "E: Some index files failed to download. They have been ignored, or old ones used instead.\n";

TEST_F(AptUpdate, AnUpdateThatWorksSaysNothingAndGoesOn) {
    EXPECT_EQ(Update("", "0"), "stale: [] after 1 calls\nstatus 0\n");
}

TEST_F(AptUpdate, AnIndexOutOfStepIsTriedThreeTimesThenNamedAndDoneWithout) {
    EXPECT_EQ(Update(kStale, "100"),
              "== apt: going on without the package indexes that could not be fetched in 3 tries: "
              "bookworm-security/main/binary-i386/Packages.xz\n"
              "stale: [bookworm-security/main/binary-i386/Packages.xz] after 3 calls\nstatus 0\n");
    // The mirror catches up at the second try: nothing to say.
    Shell("rm -f " + folder + "/calls");
    EXPECT_EQ(Update(kStale, "100 0"), "stale: [] after 2 calls\nstatus 0\n");
}

TEST_F(AptUpdate, AnUpdateThatFailsWithoutNamingAnIndexIsSaidAndTheInstallJudges) {
    EXPECT_EQ(Update("E: Could not get lock /var/lib/apt/lists/lock. It is held by process 7\n", "100"),
              "== apt: the package indexes could not be updated (E: Could not get lock /var/lib/apt/lists/lock. "
              "It is held by process 7); going on with those the machine has\n"
              "stale: [] after 3 calls\nstatus 0\n");
}

}  // namespace
