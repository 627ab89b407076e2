// What every command of the aerotrace tool shares: its error types, the
// command-line arguments, where output goes, and progress on a terminal.
#pragma once

#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

// A failure the user must hear about; the tool prints it and exits with 1.
struct ToolError : std::runtime_error {
    using std::runtime_error::runtime_error;
};
// Wrong use of the command line; printed with a hint at --help, exit 2.
struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The words after the command name: options ("--name value", "-o value")
// and positional arguments, in order.
struct Arguments {
    std::vector<std::string> positional;
    std::vector<std::pair<std::string, std::string>> options;  // name without dashes, value
    bool help = false;

    // The value of an option given once at most; fallback when absent.
    std::string Option(const std::string& name, const std::string& fallback = "") const;
    bool Has(const std::string& name) const;
    // Every value of an option that may repeat, in order.
    std::vector<std::string> All(const std::string& name) const;
};

// Splits argv; valueOptions names the options that take a value (an option
// may also be written --name=value). Options not listed in known are refused.
Arguments ParseArguments(int argc, char** argv, int first, const std::vector<std::string>& valueOptions,
                         const std::vector<std::string>& flagOptions);

double ParseNumber(const std::string& text, const std::string& what);
uint32_t ParseUnsigned(const std::string& text, const std::string& what);

// Progress of a long operation, shown on stderr only when it is a terminal.
struct Progress {
    explicit Progress(const std::string& label);
    ~Progress();
    void Update(uint64_t done, uint64_t total);

    std::string label;
    bool shown;
    int lastPercent = -1;
};
// AssembleProgress adapter for the engine's writer.
void ReportAssembleProgress(uint64_t done, uint64_t total, void* context);

// An output stream: the named file, or stdout for "" or "-". Fails with a
// ToolError when the file cannot be created.
struct Output {
    explicit Output(const std::string& path);
    ~Output();
    // Closes a file and reports a write failure (disk full) as a ToolError.
    void Finish();
    std::FILE* stream;
    std::string path;
    bool owned;
};

// True when both paths name the same existing file.
bool SameFile(const std::string& a, const std::string& b);
bool IsDirectory(const std::string& path);
// A DirectoryVisitor that appends each name to the std::vector<std::string> it is given.
void CollectName(const char* name, void* names);
bool IsFile(const std::string& path);
// The file's last change, in seconds since 1970; false when it is not there.
bool ModifiedSeconds(const std::string& path, int64_t* seconds);
