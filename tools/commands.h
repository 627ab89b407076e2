// The tool's commands, each a function of its arguments returning the exit
// status, with the help text it prints for --help.
#pragma once

#include <string>

#include "engine/tracks/recording_assemble.h"
#include "engine/tracks/track.h"
#include "tool_common.h"

struct Command {
    const char* name;
    const char* summary;
    const char* help;
    int (*run)(int argc, char** argv);  // argv[0] is the command's name
};
extern const Command Commands[];
extern const size_t CommandCount;

int RunInfo(int argc, char** argv);
int RunValidate(int argc, char** argv);
int RunExport(int argc, char** argv);
int RunImport(int argc, char** argv);
int RunMerge(int argc, char** argv);
int RunTrim(int argc, char** argv);
int RunConvert(int argc, char** argv);
int RunRecover(int argc, char** argv);
int RunReport(int argc, char** argv);
int RunLogbook(int argc, char** argv);


// Prints the command's help when asked and says whether it did.
bool PrintHelpIfAsked(const Arguments& arguments, const char* command);

// A section of a new recording that copies a loaded track as it is.
TrackSource SourceOfTrack(const Track& track);
// Writes sources to outPath with progress, then reads it back; a ToolError
// when either fails (no output is left behind).
void WriteAndVerify(const std::string& outPath, uint32_t dateStamp, const std::vector<TrackSource>& sources,
                    const std::string& progressLabel);
// Refuses to write over one of the inputs.
void CheckOutputIsNew(const std::string& outPath, const std::vector<std::string>& inputs);
