// The aerotrace command-line tool: inspect, check, export, report, list in
// a logbook, import, merge, trim, convert and recover flight recordings,
// with the module's own engine; and a recording or folder dropped on the
// program opened as its report or logbook.
#include <cstdio>
#include <cstring>
#include <exception>
#include <memory>
#include <new>

#include "commands.h"
#include "core/host/support.h"
#include "desktop.h"
#include "logbook.h"
#include "report.h"

const Command Commands[] = {
    {"info", "what a recording holds: date, duration, tracks",
     "usage: aerotrace info [--landings] FILE...\n\n"
     "Prints the file version, the date the recording started, its duration and, for every\n"
     "track, the aircraft title, the number of samples, the interval, the recorded groups,\n"
     "the first and last time and the start and end position.\n\n"
     "  --landings   also each track's flight figures (block and air time, distance, highest\n"
     "               altitude) and a row per take-off and per touchdown: the vertical speed\n"
     "               fitted over the last seconds of descent, ground speed, pitch, bank, crab,\n"
     "               the distance from 50 ft and the roll to 30 knots. Times are seconds\n"
     "               from the recording's time 0.\n",
     RunInfo},
    {"validate", "check that recordings are sound",
     "usage: aerotrace validate [--quiet] FILE...\n\n"
     "Walks each file's headers without reading its samples. Exits with 0 when every file is\n"
     "sound; for a damaged file prints the byte offset and what was expected there, and\n"
     "exits with 1.\n",
     RunValidate},
    {"export", "a recording as CSV, KML, GPX, IGC, GeoJSON or JSON",
     "usage: aerotrace export FILE --format csv|kml|gpx|igc|geojson|json [--track N] [-o OUT]\n\n"
     "  --format F   csv      every recorded value, one row per sample, units in the header\n"
     "               json     the recording, every recorded value of each sample and each\n"
     "                        track's flight figures (as info --landings gives them)\n"
     "               kml      Google Earth: a gx:Track per aircraft with times and attitude\n"
     "               gpx      GPX 1.1: a trk per aircraft\n"
     "               igc      one aircraft (the first unless --track) as a flight-recorder file\n"
     "               geojson  a LineString Feature per aircraft\n"
     "  --track N    only track N (numbered from 1)\n"
     "  -o OUT       write to OUT instead of the standard output\n",
     RunExport},
    {"report", "a flight report: maps, altitude and speed plots as one HTML page",
     "usage: aerotrace report FILE -o FLIGHT.html\n\n"
     "Writes one self-contained HTML page (no network needed) that any browser opens and prints,\n"
     "one page per track: the ground track on a map to scale with a distance scale and a north\n"
     "arrow, altitude and ground speed against time, the summary \"info\" gives, and markers\n"
     "where the aircraft took off and touched down, the flight figures and a table of the\n"
     "take-offs and landings (as \"info --landings\" gives them). A file of several tracks also\n"
     "gets a map of them all in their colours.\n"
     "  -o OUT   write to OUT instead of the standard output\n",
     RunReport},
    {"logbook", "every recording of some folders on one page, with their reports",
     "usage: aerotrace logbook FOLDER... -o LOGBOOK.html\n\n"
     "Writes one page with a row per recording (*.atr) in the folders, newest first: the date,\n"
     "the aircraft (track 1's title), the duration, the air time, the distance, the highest\n"
     "altitude and the landings with the firmest touchdown's rate; then the totals of each\n"
     "aircraft. Each row links to the recording's report, written beside the page where it is\n"
     "missing or older than the recording. A damaged file gets a row that says why.\n"
     "  -o OUT   the page; the reports go into its folder\n",
     RunLogbook},
    {"import", "a GPX, IGC or CSV track as a recording",
     "usage: aerotrace import FILE.gpx|FILE.igc|FILE.csv -o OUT.atr [--title T] [--interval MS]\n"
     "       [--altitude FT] [--speed KT [--start TIME]] [--taxi-speed KT]\n\n"
     "Turns a real-world track into a recording that plays on the user aircraft or as traffic.\n"
     "  --title T      aircraft title stored in the track (as in the simulator's aircraft.cfg);\n"
     "                 traffic playback needs a title the simulator knows. Default: the file name\n"
     "  --interval MS  sample interval, 10 to 60000 milliseconds (default 1000)\n"
     "  --format F     gpx, igc or csv when the file name does not tell\n"
     "  --track N      CSV with a track column: the rows of track N (default 1)\n"
     "  --altitude FT  the whole track at this height (needed when no point has an elevation)\n"
     "  --speed KT     fly the points in order at this ground speed: for a route or a track\n"
     "                 without times (a GPX point without a time between timed ones gets one\n"
     "                 along the distance without it)\n"
     "  --start TIME   with --speed, when the flight starts (ISO 8601, e.g. 2004-06-08T14:05:09Z)\n"
     "  --taxi-speed KT  below this the aircraft is on the ground at the ends of the track\n"
     "                 (default 29 kt; an IGC flight: airborne once it moves faster than 3 kt\n"
     "                 for 5 s, until it comes to rest)\n",
     RunImport},
    {"merge", "several recordings as one multi-track recording",
     "usage: aerotrace merge A.atr B.atr... -o OUT.atr [--offset SECONDS]...\n\n"
     "Puts every track of the files into one recording, the first file's first track first\n"
     "(it flies the user aircraft; the others play as AI traffic), for formation playback.\n"
     "  --offset S   moves a file's samples S seconds later (negative: earlier); give one per\n"
     "               file in order, repeated or comma-separated (--offset 0,5,12.5)\n",
     RunMerge},
    {"trim", "the part of a recording between two times",
     "usage: aerotrace trim FILE --from S --to S -o OUT.atr\n\n"
     "Keeps the samples from S seconds after the start of the recording up to the --to time,\n"
     "in every track. Times keep their values; tracks left with fewer than two samples are\n"
     "dropped.\n",
     RunTrim},
    {"convert", "an old (0x01000004/5) recording in the current version",
     "usage: aerotrace convert LEGACY.atr -o OUT.atr [--title T]\n\n"
     "Writes a version 0x01000006 recording with the old file's track. The old versions keep\n"
     "no aircraft title: --title names it (needed to play it as traffic).\n",
     RunConvert},
    {"recover", "a flight rebuilt from the temporary files of a crash",
     "usage: aerotrace recover [MODULES-FOLDER | TMP-FILES...] -o OUT.atr\n\n"
     "Rebuilds a recording from the Aerotrace*.tmp files a recording leaves in the Modules\n"
     "folder when the simulator stops before it was saved (default folder: Modules). Only the\n"
     "whole samples in each file are trusted; files with fewer than two are skipped. The\n"
     "temporary files are left as they are.\n",
     RunRecover},
};
const size_t CommandCount = sizeof Commands / sizeof Commands[0];

bool PrintHelpIfAsked(const Arguments& arguments, const char* name) {
    if (!arguments.help) return false;
    for (const Command& command : Commands)
        if (std::strcmp(command.name, name) == 0) std::fputs(command.help, stdout);
    return true;
}

static void PrintUsage(std::FILE* stream) {
    std::fprintf(stream,
                 "aerotrace %s - flight recordings of the Aerotrace module\n\n"
                 "usage: aerotrace COMMAND [ARGUMENTS]\n\ncommands:\n",
                 AEROTRACE_VERSION);
    for (const Command& command : Commands) std::fprintf(stream, "  %-10s %s\n", command.name, command.summary);
    std::fprintf(stream,
                 "\n\"aerotrace COMMAND --help\" tells more about a command. \"aerotrace FILE.atr\" writes\n"
                 "the recording's report beside it and opens it; \"aerotrace FOLDER\" does the same with\n"
                 "the folder's logbook.\n");
}

// A command's run, its failures told on stderr with their exit status.
static int RunCommand(const char* name, int (*run)(int, char**), int argc, char** argv) {
    try {
        return run(argc, argv);
    } catch (const UsageError& error) {
        std::fprintf(stderr, "aerotrace %s: %s\n(see \"aerotrace %s --help\")\n", name, error.what(), name);
        return 2;
    } catch (const ToolError& error) {
        std::fprintf(stderr, "aerotrace %s: %s\n", name, error.what());
        return 1;
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "aerotrace %s: out of memory\n", name);
        return 1;
    }
}

// A recording or a folder given alone, as a drop on the program gives it:
// its report, or the folder's logbook in it, written and opened.
static int OpenDropped(int, char** argv) {
    const std::string dropped = argv[0];
    std::string page;
    if (IsDirectory(dropped)) {
        page = dropped + (dropped.find('\\') != std::string::npos ? "\\" : "/") + "logbook.html";
        const size_t count = WriteLogbookPage({dropped}, page);
        std::printf("%s: %zu %s\n", page.c_str(), count, count == 1 ? "recording" : "recordings");
    } else {
        const size_t slash = dropped.find_last_of("/\\"), dot = dropped.find_last_of('.');
        page = (dot != std::string::npos && (slash == std::string::npos || dot > slash) ? dropped.substr(0, dot)
                                                                                         : dropped) +
               ".html";
        CheckOutputIsNew(page, {dropped});
        std::unique_ptr<RecordingFile> recording = OpenRecording(dropped);
        Output output(page);
        {
            TextOut text(output.stream);
            WriteReport(*recording, text);
        }
        output.Finish();
        std::printf("%s: the flight report\n", page.c_str());
    }
    if (!OpenInBrowser(page)) std::printf("Open %s in a web browser to see it.\n", page.c_str());
    return 0;
}

int main(int argc, char** argv) {
    if (argc < 2) {
        // A double-click in Explorer: the help, in a window that waits.
        if (OwnsConsoleAlone()) {
            PrintUsage(stdout);
            std::printf("\nDrop a recording (.atr) on aerotrace.exe for its flight report, or a folder of\n"
                        "recordings for their logbook.\n");
            WaitForEnter();
            return 0;
        }
        PrintUsage(stderr);
        return 2;
    }
    const char* name = argv[1];
    if (std::strcmp(name, "--help") == 0 || std::strcmp(name, "-h") == 0 || std::strcmp(name, "help") == 0) {
        PrintUsage(stdout);
        return 0;
    }
    if (std::strcmp(name, "--version") == 0) {
        std::printf("aerotrace %s\n", AEROTRACE_VERSION);
        return 0;
    }
    for (const Command& command : Commands)
        if (std::strcmp(command.name, name) == 0) return RunCommand(name, command.run, argc - 1, argv + 1);
    if (argc == 2 && (IsFile(name) || IsDirectory(name))) {
        const int status = RunCommand("open", OpenDropped, 1, argv + 1);
        // What went wrong stays on the screen of a window Explorer opened.
        if (status != 0 && OwnsConsoleAlone()) WaitForEnter();
        return status;
    }
    std::fprintf(stderr, "aerotrace: unknown command \"%s\"\n\n", name);
    PrintUsage(stderr);
    return 2;
}
