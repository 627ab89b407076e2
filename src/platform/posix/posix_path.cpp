// Native path resolution: slashes for backslashes, and a name whose exact
// spelling does not exist matched case-insensitively, as Windows would.
#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>

#include "platform/native_path.h"

static bool Exists(const std::string& path) {
    struct stat info;
    return lstat(path.c_str(), &info) == 0;
}

// The entry of directory whose name equals name but for letter case, or name.
static std::string MatchCase(const std::string& directory, const std::string& name) {
    DIR* listing = opendir(directory.empty() ? "." : directory.c_str());
    if (!listing) return name;
    std::string match = name;
    while (struct dirent* entry = readdir(listing)) {
        if (strcasecmp(entry->d_name, name.c_str()) == 0) {
            match = entry->d_name;
            break;
        }
    }
    closedir(listing);
    return match;
}

std::string NativePath(const char* path) {
    std::string spelled(path ? path : "");
    for (char& c : spelled)
        if (c == '\\') c = '/';
    std::string resolved;
    size_t start = 0;
    if (!spelled.empty() && spelled[0] == '/') {
        resolved = "/";
        start = 1;
    }
    while (start <= spelled.size()) {
        size_t end = spelled.find('/', start);
        if (end == std::string::npos) end = spelled.size();
        std::string name = spelled.substr(start, end - start);
        if (!name.empty()) {
            std::string candidate = resolved + name;
            if (name != "." && name != ".." && !Exists(candidate))
                candidate = resolved + MatchCase(resolved.empty() ? "." : resolved, name);
            resolved = candidate;
            if (end < spelled.size()) resolved += "/";
        }
        start = end + 1;
    }
    return resolved;
}
