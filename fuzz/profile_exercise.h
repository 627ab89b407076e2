// What the settings-file fuzzer does with one input, shared with the unit
// test that replays the seed corpus: the bytes become modules/Aerotrace.ini
// (a file in the current directory, or the profile functions' table in
// memory when one is given), then keys are read with small and large
// buffers, written, and read again, and the settings and key bindings are
// loaded and saved. The fuzzer runs a share of the checks on each input
// (every key read at full size, one with small buffers, one round trip
// through the module's settings code), each input always the same share;
// the corpus replay runs them all.
// Returns null when every check held, otherwise what went wrong.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "config/keys.h"
#include "config/settings.h"
#include "ini_files.h"
#include "platform/platform.h"

namespace profile_exercise {

static const char* const probes[][2] = {
    {"SETTINGS", "RplyItvl"},  {"settings", "bufferSIZE"}, {"WINDOW", "Show"},  {"VIEWSETTINGS", "VCStep"},
    {"TOWERVIEWS", "nViews"},  {"KEYBOARD", "Beginning"},  {"RECORD", "RecAI"}, {" SETTINGS ", " RecFlags "},
    {"", ""},                  {"a", "b"},
};
static const size_t probeCount = sizeof probes / sizeof probes[0];

using ini_files::IniFile;
using ini_files::LoadText;
using ini_files::StoreText;

// Reads one key with a buffer of the given size and checks what the caller
// is promised: a terminated string no longer than size - 1, its length returned.
inline const char* ReadChecked(const char* section, const char* key, uint32_t size, std::string& value) {
    char buffer[300];
    std::memset(buffer, 'x', sizeof buffer);
    uint32_t copied = ProfileGetString(section, key, "default", buffer, size, SETTINGS_FILE);
    if (size == 0) {
        if (copied != 0 || buffer[0] != 'x') return "a zero-sized buffer was written to";
        value.clear();
        return nullptr;
    }
    if (copied > size - 1) return "more characters than the buffer holds";
    if (buffer[copied] != '\0') return "the value is not terminated where the count says";
    if (std::strlen(buffer) != copied) return "the count disagrees with the string";
    if (buffer[size] != 'x') return "written past the end of the buffer";
    value.assign(buffer, copied);
    return nullptr;
}

inline std::vector<std::string> LinesOf(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    lines.push_back(text.substr(start));
    return lines;
}

// A write may change one existing line (the key's, or the last line when
// it gains a line break) and add lines; every other line stays as it was.
inline bool ChangedAtMostOneLine(const std::string& before, const std::string& after) {
    std::vector<std::string> old = LinesOf(before), now = LinesOf(after);
    if (now.size() < old.size()) return false;
    size_t prefix = 0;
    while (prefix < old.size() && old[prefix] == now[prefix]) ++prefix;
    size_t suffix = 0;
    while (suffix < old.size() - prefix && old[old.size() - 1 - suffix] == now[now.size() - 1 - suffix]) ++suffix;
    return prefix + suffix + 1 >= old.size();
}

// The round trips through the module's settings code.
enum Trips { SettingsTrip = 1, ViewTrip = 2, KeyTrip = 4, AllTrips = 7 };

inline const char* RunRoundTrips(const IniFile& ini, int trips) {
    if (trips & SettingsTrip) {
        // Settings survive a save and load unchanged once they have been read.
        LoadSettings();
        SaveSettings();
        std::string firstSave = LoadText(ini);
        LoadSettings();
        SaveSettings();
        if (LoadText(ini) != firstSave) return "saving loaded settings changed the file";
    }
    if (trips & ViewTrip) {
        // The view settings and the record dialog's defaults; the view
        // catalogues in this file have a fuzzer of their own (view_files_fuzz).
        LoadViewSettings();
        SaveViewSettings();
        ReadRecordDefaults(AI_FACTOR_DEFAULT_DIALOG);
    }
    if (trips & KeyTrip) {
        // Key bindings too: what a save writes reads back as the same bindings.
        LoadKeyTable();
        KeyTable loaded = keyTable;
        SaveKeyTable();
        LoadKeyTable();
        if (std::memcmp(&loaded, &keyTable, sizeof loaded) != 0) return "saved key bindings read back differently";
    }
    return nullptr;
}

// everything: every probe with small buffers and every round trip, rather
// than the input's share.
inline const char* Run(const uint8_t* data, size_t size, PosixProfileFiles* memory = nullptr,
                       bool everything = true) {
    const IniFile ini{memory, SETTINGS_FILE};
    if (!StoreText(ini, std::string(reinterpret_cast<const char*>(data), size))) return "cannot write the input";

    // Every probe, and with buffers from nothing to roomy: a smaller buffer gets a prefix.
    std::string before[probeCount];
    const size_t cutProbe = size / probeCount % probeCount;
    for (size_t i = 0; i < probeCount; ++i) {
        const char* problem = ReadChecked(probes[i][0], probes[i][1], 256, before[i]);
        if (problem) return problem;
        if (!everything && i != cutProbe) continue;
        for (uint32_t small : {0u, 1u, 2u, 10u, 20u}) {
            std::string cut;
            problem = ReadChecked(probes[i][0], probes[i][1], small, cut);
            if (problem) return problem;
            if (before[i].compare(0, cut.size(), cut) != 0) return "a small buffer is not a prefix";
        }
    }

    // A write changes that key only, and reads back as written.
    size_t written = size % probeCount;
    std::string original = LoadText(ini);
    if (ProfileWriteString(probes[written][0], probes[written][1], "12345", SETTINGS_FILE)) {
        if (!ChangedAtMostOneLine(original, LoadText(ini))) return "a write disturbed other lines";
        for (size_t i = 0; i < probeCount; ++i) {
            std::string after;
            const char* problem = ReadChecked(probes[i][0], probes[i][1], 256, after);
            if (problem) return problem;
            if (i == written ? after != "12345" : after != before[i]) return "a write changed the wrong key";
        }
    } else if (probes[written][1][0] != '\0') {
        return "a well-formed write failed";  // only a key without a name is refused
    }
    // A value taken from the input itself: anything may come back, but safely.
    std::string value(reinterpret_cast<const char*>(data), size < 40 ? size : 40);
    original = LoadText(ini);
    ProfileWriteString("SETTINGS", "Scratch", value.c_str(), SETTINGS_FILE);
    if (!ChangedAtMostOneLine(original, LoadText(ini))) return "a write disturbed other lines";
    std::string ignored;
    if (const char* problem = ReadChecked("SETTINGS", "Scratch", 256, ignored)) return problem;

    return RunRoundTrips(ini, everything ? AllTrips : 1 << (size % 3));
}

}  // namespace profile_exercise
