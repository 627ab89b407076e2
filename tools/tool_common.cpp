// Argument splitting, number parsing, progress on a terminal and the output
// stream shared by the tool's commands.
#include "tool_common.h"

#include <sys/stat.h>

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>

#ifdef _WIN32
#include <io.h>
#define IsTerminal(fd) _isatty(fd)
#else
#include <unistd.h>
#define IsTerminal(fd) isatty(fd)
#endif

std::string Arguments::Option(const std::string& name, const std::string& fallback) const {
    std::string value = fallback;
    int seen = 0;
    for (const auto& option : options)
        if (option.first == name) {
            value = option.second;
            ++seen;
        }
    if (seen > 1) throw UsageError("--" + name + " given more than once");
    return value;
}

bool Arguments::Has(const std::string& name) const {
    for (const auto& option : options)
        if (option.first == name) return true;
    return false;
}

std::vector<std::string> Arguments::All(const std::string& name) const {
    std::vector<std::string> values;
    for (const auto& option : options)
        if (option.first == name) values.push_back(option.second);
    return values;
}

static bool Listed(const std::vector<std::string>& names, const std::string& name) {
    for (const std::string& n : names)
        if (n == name) return true;
    return false;
}

Arguments ParseArguments(int argc, char** argv, int first, const std::vector<std::string>& valueOptions,
                         const std::vector<std::string>& flagOptions) {
    Arguments arguments;
    bool optionsEnded = false;
    for (int i = first; i < argc; ++i) {
        std::string word = argv[i];
        if (optionsEnded || word.size() < 2 || word[0] != '-' ||
            (std::isdigit(static_cast<unsigned char>(word[1])) || word[1] == '.')) {
            // Negative numbers (merge offsets) are values, not options.
            arguments.positional.push_back(word);
            continue;
        }
        if (word == "--") {
            optionsEnded = true;
            continue;
        }
        if (word == "-h" || word == "--help") {
            arguments.help = true;
            continue;
        }
        std::string name;
        std::string value;
        bool hasValue = false;
        if (word[1] == '-') {
            name = word.substr(2);
            size_t equals = name.find('=');
            if (equals != std::string::npos) {
                value = name.substr(equals + 1);
                name = name.substr(0, equals);
                hasValue = true;
            }
        } else if (word.size() == 2) {
            name = word.substr(1);
        } else {
            throw UsageError("unknown option " + word);
        }
        if (Listed(valueOptions, name)) {
            if (!hasValue) {
                if (i + 1 >= argc) throw UsageError("option " + word + " needs a value");
                value = argv[++i];
            }
            arguments.options.emplace_back(name, value);
        } else if (Listed(flagOptions, name) && !hasValue) {
            arguments.options.emplace_back(name, "");
        } else {
            throw UsageError("unknown option " + word);
        }
    }
    return arguments;
}

double ParseNumber(const std::string& text, const std::string& what) {
    const char* begin = text.c_str();
    char* end = nullptr;
    errno = 0;
    double value = std::strtod(begin, &end);
    if (text.empty() || *end != 0 || errno == ERANGE || !std::isfinite(value))
        throw UsageError(what + " must be a number, not \"" + text + "\"");
    return value;
}

uint32_t ParseUnsigned(const std::string& text, const std::string& what) {
    char* end = nullptr;
    errno = 0;
    unsigned long long value = std::strtoull(text.c_str(), &end, 10);
    if (text.empty() || text[0] == '-' || *end != 0 || errno == ERANGE || value > UINT32_MAX)
        throw UsageError(what + " must be a whole number, not \"" + text + "\"");
    return static_cast<uint32_t>(value);
}

Progress::Progress(const std::string& what) : label(what), shown(IsTerminal(2) != 0) {}

Progress::~Progress() {
    if (shown && lastPercent >= 0) std::fputc('\n', stderr);
}

void Progress::Update(uint64_t done, uint64_t total) {
    if (!shown || total == 0) return;
    int percent = static_cast<int>(done * 100 / total);
    if (percent == lastPercent) return;
    lastPercent = percent;
    std::fprintf(stderr, "\r%s: %3d%%", label.c_str(), percent);
    std::fflush(stderr);
}

void ReportAssembleProgress(uint64_t done, uint64_t total, void* context) {
    static_cast<Progress*>(context)->Update(done, total);
}

Output::Output(const std::string& where) : stream(stdout), path(where), owned(false) {
    if (path.empty() || path == "-") return;
    stream = std::fopen(path.c_str(), "wb");
    if (!stream) throw ToolError("cannot create " + path + ": " + std::strerror(errno));
    owned = true;
}

Output::~Output() {
    if (owned && stream) {
        // Not finished: an error ended the command; leave no half-written file.
        std::fclose(stream);
        std::remove(path.c_str());
    }
}

void Output::Finish() {
    bool failed = std::ferror(stream) != 0;
    if (owned) {
        failed = (std::fclose(stream) != 0) || failed;
        stream = nullptr;
        if (failed) {
            std::remove(path.c_str());
            throw ToolError("could not write " + path + " (disk full?)");
        }
    } else if (std::fflush(stream) != 0 || failed) {
        throw ToolError("could not write the output");
    }
}

bool SameFile(const std::string& a, const std::string& b) {
    struct stat first, second;
    if (stat(a.c_str(), &first) != 0 || stat(b.c_str(), &second) != 0) return false;
#ifdef _WIN32
    // No inode numbers: compare what the names resolve to.
    char fullA[4096], fullB[4096];
    if (!_fullpath(fullA, a.c_str(), sizeof fullA) || !_fullpath(fullB, b.c_str(), sizeof fullB)) return false;
    return _stricmp(fullA, fullB) == 0;
#else
    return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
#endif
}

bool IsDirectory(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && (info.st_mode & S_IFMT) == S_IFDIR;
}

void CollectName(const char* name, void* names) { static_cast<std::vector<std::string>*>(names)->push_back(name); }

bool IsFile(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && (info.st_mode & S_IFMT) == S_IFREG;
}

bool ModifiedSeconds(const std::string& path, int64_t* seconds) {
    struct stat info;
    if (stat(path.c_str(), &info) != 0) return false;
    *seconds = static_cast<int64_t>(info.st_mtime);
    return true;
}
