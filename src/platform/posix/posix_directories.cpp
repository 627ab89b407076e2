// Directories natively: real ones, the module's Windows paths translated.
#include "platform/platform.h"

#include <dirent.h>
#include <fnmatch.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "platform/native_path.h"

int DirectoryCreate(const char* path) { return mkdir(NativePath(path).c_str(), 0777) == 0; }

int CurrentDirectoryGet(char* buffer, size_t size) { return getcwd(buffer, size) != nullptr; }

int CurrentDirectorySet(const char* path) { return chdir(NativePath(path).c_str()) == 0; }

int DirectoryList(const char* directory, const char* pattern, DirectoryVisitor visit, void* context) {
    std::string folder = NativePath(directory);
    if (folder.empty()) folder = ".";
    DIR* listing = opendir(folder.c_str());
    if (!listing) return -1;
    int visited = 0;
    while (struct dirent* entry = readdir(listing)) {
        if (fnmatch(pattern, entry->d_name, FNM_CASEFOLD | FNM_PERIOD) != 0) continue;
        struct stat info;
        std::string path = folder + "/" + entry->d_name;
        if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) continue;
        visit(entry->d_name, context);
        ++visited;
    }
    closedir(listing);
    return visited;
}
