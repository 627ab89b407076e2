// The private-profile (ini) functions for native builds, on plain files.
// Reading behaves as GetPrivateProfileString does for the settings and the
// view catalogues; writing changes one key and keeps every other byte of the
// file (lines, comments, other sections, their order). There is no cache:
// every call reads the file afresh, as the module expects. The files may
// also be kept in memory (see posix_hooks.h).
#include "platform/platform.h"

#include "platform/native_path.h"
#include "platform/posix/posix_hooks.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

// An ini file is a few kilobytes; anything beyond this is not one of ours and
// is neither read (the defaults apply) nor rewritten (the write fails).
static const size_t MaxProfileBytes = 4u << 20;

enum LoadResult { LoadMissing, LoadDone, LoadFailed };

static PosixProfileFiles* memoryFiles;

void PosixKeepProfilesInMemory(PosixProfileFiles* files) { memoryFiles = files; }

// Where a profile named as the module names it lives: its key in the memory
// table, or the file on this platform.
static std::string ProfileLocation(const char* path) { return memoryFiles ? std::string(path) : NativePath(path); }

// Reads the whole file into text. A file that does not exist is LoadMissing;
// one that cannot be read, or is too large, is LoadFailed.
static LoadResult LoadProfile(const std::string& path, std::string& text) {
    text.clear();
    FILE* stream = std::fopen(path.c_str(), "rb");
    if (!stream) return errno == ENOENT ? LoadMissing : LoadFailed;
    LoadResult result = LoadDone;
    char chunk[4096];
    for (;;) {
        size_t got = std::fread(chunk, 1, sizeof chunk, stream);
        if (got == 0) break;
        if (text.size() + got > MaxProfileBytes) {
            result = LoadFailed;
            break;
        }
        text.append(chunk, got);
    }
    if (std::ferror(stream)) result = LoadFailed;
    std::fclose(stream);
    if (result != LoadDone) text.clear();
    return result;
}

// The text of a profile: the memory table's own string (edited in place),
// or the file read into scratch. Null when it is missing or unreadable,
// *result telling which.
static std::string* OpenProfile(const std::string& location, std::string& scratch, LoadResult* result) {
    if (!memoryFiles) {
        *result = LoadProfile(location, scratch);
        return *result == LoadDone ? &scratch : nullptr;
    }
    auto found = memoryFiles->find(location);
    *result = found == memoryFiles->end() ? LoadMissing : found->second.size() > MaxProfileBytes ? LoadFailed : LoadDone;
    return *result == LoadDone ? &found->second : nullptr;
}

// Replaces the file in one step: a failed write leaves the old file whole.
static int StoreProfile(const std::string& path, const std::string& text) {
    std::string temporary = path + ".tmp";
    FILE* stream = std::fopen(temporary.c_str(), "wb");
    if (!stream) return 0;
    bool written = std::fwrite(text.data(), 1, text.size(), stream) == text.size();
    written = std::fflush(stream) == 0 && written;
    written = std::fclose(stream) == 0 && written;
    if (written && std::rename(temporary.c_str(), path.c_str()) == 0) return 1;
    std::remove(temporary.c_str());
    return 0;
}

// ---------------------------------------------------------------- parsing

static bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

static char FoldCase(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// A stretch of bytes inside the profile text or a caller's string.
struct Span {
    const char* data;
    size_t length;
};

// Trailing blanks go first, so that a blank stretch leaves an empty span at
// its start (an empty value sits right after its '=', before any '\r').
static Span Trimmed(const char* data, size_t length) {
    while (length > 0 && IsBlank(data[length - 1])) --length;
    while (length > 0 && IsBlank(*data)) {
        ++data;
        --length;
    }
    return Span{data, length};
}

static bool SameName(Span a, Span b) {
    if (a.length != b.length) return false;
    for (size_t i = 0; i < a.length; ++i)
        if (FoldCase(a.data[i]) != FoldCase(b.data[i])) return false;
    return true;
}

// One line of the text: [start, end) is its content without the line break,
// next is where the following line begins (text size at the end).
struct Line {
    size_t start;
    size_t end;
    size_t next;
};

static bool NextLine(const std::string& text, size_t position, Line& line) {
    if (position >= text.size()) return false;
    line.start = position;
    // A UTF-8 byte order mark written by an editor is not part of the first name.
    if (position == 0 && text.compare(0, 3, "\xEF\xBB\xBF") == 0) line.start = 3;
    const void* lineBreak = std::memchr(text.data() + position, '\n', text.size() - position);
    if (lineBreak) {
        line.end = static_cast<size_t>(static_cast<const char*>(lineBreak) - text.data());
        line.next = line.end + 1;
    } else {
        line.end = line.next = text.size();
    }
    if (line.end < line.start) line.end = line.start;
    return true;
}

// A "[name]" line gives the name between the bracket and the last closing
// bracket, trimmed. Lines that are not headers return false.
static bool SectionHeader(const std::string& text, const Line& line, Span& name) {
    Span content = Trimmed(text.data() + line.start, line.end - line.start);
    if (content.length == 0 || content.data[0] != '[') return false;
    size_t close = content.length - 1;
    while (close > 0 && content.data[close] != ']') --close;
    if (close == 0) return false;
    name = Trimmed(content.data + 1, close - 1);
    return true;
}

// A "name = value" line. Lines without '=' define nothing.
struct Entry {
    Span name;
    size_t valueStart;  // offsets into the text of the trimmed value
    size_t valueEnd;
};

static bool KeyEntry(const std::string& text, const Line& line, Entry& entry) {
    const char* base = text.data();
    const void* equals = std::memchr(base + line.start, '=', line.end - line.start);
    if (!equals) return false;
    size_t equalsAt = static_cast<size_t>(static_cast<const char*>(equals) - base);
    entry.name = Trimmed(base + line.start, equalsAt - line.start);
    Span value = Trimmed(base + equalsAt + 1, line.end - equalsAt - 1);
    entry.valueStart = static_cast<size_t>(value.data - base);
    entry.valueEnd = entry.valueStart + value.length;
    return true;
}

// Where a key lives, or where it would go. Only the first section of a name
// counts, and within it the first line of the key, as on Windows.
struct KeyLocation {
    bool sectionFound;
    bool keyFound;
    Entry entry;              // the key's line, when found
    size_t sectionEnd;        // after the section's header or its last key; blank lines
                              // and comments after it stay with the next section
    bool sectionEndHasBreak;  // that line ends with a line break
};

static KeyLocation LocateKey(const std::string& text, Span section, Span key) {
    KeyLocation location = {};
    Line line;
    size_t position = 0;
    bool inSection = false;
    while (NextLine(text, position, line)) {
        position = line.next;
        Span name;
        if (SectionHeader(text, line, name)) {
            if (inSection) break;
            inSection = SameName(name, section);
            if (inSection) {
                location.sectionFound = true;
                location.sectionEnd = line.next;
                location.sectionEndHasBreak = line.next > line.end;
            }
            continue;
        }
        Entry entry;
        if (!inSection || !KeyEntry(text, line, entry)) continue;
        if (SameName(entry.name, key)) {
            location.keyFound = true;
            location.entry = entry;
            return location;
        }
        location.sectionEnd = line.next;
        location.sectionEndHasBreak = line.next > line.end;
    }
    return location;
}

static Span NameOf(const char* name) { return Trimmed(name, std::strlen(name)); }

// ---------------------------------------------------------------- interface

uint32_t ProfileGetString(const char* section, const char* key, const char* defaultValue,
                          char* buffer, uint32_t size, const char* path) {
    if (!buffer || size == 0) return 0;
    // Windows drops trailing blanks of the default; quotes in it are kept.
    const char* fallback = defaultValue ? defaultValue : "";
    size_t fallbackLength = std::strlen(fallback);
    while (fallbackLength > 0 && fallback[fallbackLength - 1] == ' ') --fallbackLength;
    Span value = {fallback, fallbackLength};

    std::string scratch;
    LoadResult loaded;
    const std::string* text = section && key ? OpenProfile(ProfileLocation(path), scratch, &loaded) : nullptr;
    if (text) {
        KeyLocation location = LocateKey(*text, NameOf(section), NameOf(key));
        if (location.keyFound) {
            value.data = text->data() + location.entry.valueStart;
            value.length = location.entry.valueEnd - location.entry.valueStart;
            // One pair of matching double quotes around the value is dropped.
            if (value.length >= 2 && value.data[0] == '"' && value.data[value.length - 1] == '"') {
                value.data += 1;
                value.length -= 2;
            }
            // A stray NUL byte ends the value, as it would end any C string.
            const void* nul = std::memchr(value.data, '\0', value.length);
            if (nul) value.length = static_cast<size_t>(static_cast<const char*>(nul) - value.data);
        }
    }
    size_t copied = value.length < size - 1 ? value.length : size - 1;
    std::memcpy(buffer, value.data, copied);
    buffer[copied] = '\0';
    return static_cast<uint32_t>(copied);
}

int ProfileWriteString(const char* section, const char* key, const char* value, const char* path) {
    // The module only ever sets values; the Windows forms that delete a key
    // (no value) or a section (no key) are refused rather than guessed at.
    if (!section || !key || !value) return 0;
    Span sectionName = NameOf(section);
    Span keyName = NameOf(key);
    // Names that could not be read back as written would corrupt the file.
    if (std::strpbrk(section, "\r\n") || std::strpbrk(key, "=\r\n") || keyName.length == 0 ||
        keyName.data[0] == '[') {
        return 0;
    }
    // A value is one line: a line break in it would start a new key.
    std::string newValue(value, std::strcspn(value, "\r\n"));

    const std::string location = ProfileLocation(path);
    std::string scratch;
    LoadResult loaded;
    std::string* found = OpenProfile(location, scratch, &loaded);
    if (loaded == LoadFailed) return 0;
    std::string& text = found ? *found : memoryFiles ? (*memoryFiles)[location] : scratch;

    KeyLocation place = LocateKey(text, sectionName, keyName);
    if (place.keyFound) {
        size_t start = place.entry.valueStart;
        size_t length = place.entry.valueEnd - start;
        if (text.compare(start, length, newValue) == 0) return 1;
        text.replace(start, length, newValue);
    } else if (place.sectionFound) {
        std::string addition;
        if (!place.sectionEndHasBreak) addition += "\r\n";
        addition.append(keyName.data, keyName.length).append("=").append(newValue).append("\r\n");
        text.insert(place.sectionEnd, addition);
    } else {
        if (!text.empty() && text.back() != '\n') text += "\r\n";
        text.append("[").append(sectionName.data, sectionName.length).append("]\r\n");
        text.append(keyName.data, keyName.length).append("=").append(newValue).append("\r\n");
    }
    return memoryFiles ? 1 : StoreProfile(location, text);
}
