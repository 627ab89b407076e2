// "aerotrace report": a recording as a flight report people can open in any
// browser and print.
#include "commands.h"
#include "report.h"

int RunReport(int argc, char** argv) {
    Arguments arguments = ParseArguments(argc, argv, 1, {"o", "output"}, {});
    if (PrintHelpIfAsked(arguments, "report")) return 0;
    if (arguments.positional.size() != 1) throw UsageError("report takes one recording file");
    const std::string out = arguments.Option("o", arguments.Option("output"));
    if (!out.empty() && out != "-") CheckOutputIsNew(out, arguments.positional);
    std::unique_ptr<RecordingFile> recording = OpenRecording(arguments.positional[0]);
    Output output(out);
    {
        TextOut text(output.stream);
        WriteReport(*recording, text);
    }
    output.Finish();
    return 0;
}
