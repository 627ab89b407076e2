// "aerotrace logbook": the recordings of some folders on one page, each
// with its report beside the page.
#include <cstdio>

#include "commands.h"
#include "logbook.h"

int RunLogbook(int argc, char** argv) {
    Arguments arguments = ParseArguments(argc, argv, 1, {"o", "output"}, {});
    if (PrintHelpIfAsked(arguments, "logbook")) return 0;
    if (arguments.positional.empty()) throw UsageError("logbook needs at least one folder of recordings");
    const std::string out = arguments.Option("o", arguments.Option("output"));
    if (out.empty() || out == "-") throw UsageError("name the page with -o LOGBOOK.html: the reports go beside it");
    const size_t count = WriteLogbookPage(arguments.positional, out);
    std::printf("%s: %zu %s\n", out.c_str(), count, count == 1 ? "recording" : "recordings");
    return 0;
}
