// Ini files as the fuzzers and their corpus replays put them behind the
// module's back: a file named the way the module names it (the settings
// file, an export file), on disk or, when a table is given, in the ini
// functions' memory table (posix_hooks.h), where an input costs its parsing
// and editing and no disk I/O.
#pragma once

#include <cstdio>
#include <string>

#include "platform/native_path.h"
#include "platform/posix/posix_hooks.h"

namespace ini_files {

struct IniFile {
    PosixProfileFiles* memory;  // null: the file on disk
    const char* path;
};

inline bool StoreText(const IniFile& ini, const std::string& text) {
    if (ini.memory) {
        (*ini.memory)[ini.path] = text;
        return true;
    }
    FILE* stream = std::fopen(NativePath(ini.path).c_str(), "wb");
    if (!stream) return false;
    bool written = std::fwrite(text.data(), 1, text.size(), stream) == text.size();
    return std::fclose(stream) == 0 && written;
}

// The file's text; empty when there is none.
inline std::string LoadText(const IniFile& ini) {
    std::string text;
    if (ini.memory) {
        auto found = ini.memory->find(ini.path);
        return found == ini.memory->end() ? text : found->second;
    }
    FILE* stream = std::fopen(NativePath(ini.path).c_str(), "rb");
    if (!stream) return text;
    char chunk[4096];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, stream)) > 0) text.append(chunk, got);
    std::fclose(stream);
    return text;
}

// Removes the file, so that the next write starts a new one.
inline void RemoveFile(const IniFile& ini) {
    if (ini.memory)
        ini.memory->erase(ini.path);
    else
        std::remove(NativePath(ini.path).c_str());
}

}  // namespace ini_files
