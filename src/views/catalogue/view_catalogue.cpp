// Each kind's keys as a table of fields: the key's suffix after "View%d",
// how the value is written and read, and the default for a missing key. The
// tables list the keys in the order Save writes them.
#include "views/catalogue/view_catalogue.h"

#include <cstddef>
#include <cstdio>
#include <cstring>

#include "config/settings.h"
#include "engine/tracks/host_encoding.h"
#include "platform/platform.h"
#include "views/state/view_state.h"
#include "views/windows/view_switching.h"
#include "views/windows/view_window_table.h"

namespace {

enum FieldCodec : uint8_t {
    CodecName,       // text, at most 20 characters
    CodecLatitude,   // degrees "%.8f"
    CodecLongitude,  // degrees "%.8f"
    CodecAltitude,   // metres "%.2f"
    CodecMetres,     // float metres "%.3f"
    CodecAngle,      // degrees "%.3f"
    CodecZoom,       // whole sixty-fourths "%d"
    CodecFlag,       // "%d", 1 if not 0
    CodecReal,       // float "%f"
};

struct CatalogueField {
    const char* suffix;
    FieldCodec codec;
    size_t offset;
    const char* defaultText;
};

struct CatalogueLayout {
    const char* section;
    const CatalogueField* fields;
    size_t fieldCount;
    size_t stride;  // bytes of one entry
};

#define FIELD(View, suffix, codec, member, defaultText) {suffix, codec, offsetof(View, member), defaultText}

const CatalogueField towerFields[] = {
    FIELD(TowerView, "Name", CodecName, name, "Tower view"),
    FIELD(TowerView, "Lat", CodecLatitude, position.latitude, "0"),
    FIELD(TowerView, "Lon", CodecLongitude, position.longitude, "0"),
    FIELD(TowerView, "Alt", CodecAltitude, position.altitude, "0"),
    FIELD(TowerView, "Pit", CodecAngle, pitch, "0"),
    FIELD(TowerView, "Bnk", CodecAngle, bank, "0"),
    FIELD(TowerView, "Hdg", CodecAngle, heading, "0"),
    FIELD(TowerView, "Zoom", CodecZoom, zoom, "64"),
    FIELD(TowerView, "Pan", CodecFlag, manualPan, "0"),
    FIELD(TowerView, "AutoZoom", CodecReal, autoZoom, "0"),
};

const CatalogueField spotFields[] = {
    FIELD(SpotView, "Name", CodecName, name, "Spot view"),
    FIELD(SpotView, "X", CodecMetres, x, "0"),
    FIELD(SpotView, "Y", CodecMetres, y, "100"),
    FIELD(SpotView, "Z", CodecMetres, z, "0"),
    FIELD(SpotView, "Pit", CodecAngle, pitch, "0"),
    FIELD(SpotView, "Bnk", CodecAngle, bank, "0"),
    FIELD(SpotView, "Hdg", CodecAngle, heading, "0"),
    FIELD(SpotView, "Zoom", CodecZoom, zoom, "64"),
    FIELD(SpotView, "Pan", CodecFlag, manualPan, "0"),
    FIELD(SpotView, "RotH", CodecFlag, rotateHeading, "1"),
    FIELD(SpotView, "RotPB", CodecFlag, rotatePitchBank, "0"),
};

const CatalogueField vcFields[] = {
    FIELD(VcView, "Name", CodecName, name, "VC view"),
    FIELD(VcView, "X", CodecMetres, x, "0"),
    FIELD(VcView, "Y", CodecMetres, y, "100"),
    FIELD(VcView, "Z", CodecMetres, z, "0"),
    FIELD(VcView, "Pit", CodecAngle, pitch, "0"),
    FIELD(VcView, "Bnk", CodecAngle, bank, "0"),
    FIELD(VcView, "Hdg", CodecAngle, heading, "0"),
    FIELD(VcView, "Zoom", CodecZoom, zoom, "64"),
};

#undef FIELD

// The layout of a kind and the list it fills.
bool LayoutOf(ViewKind kind, CatalogueLayout* layout, char** entries, int32_t** count) {
    switch (kind) {
        case ViewKindTower:
            *layout = {"TOWERVIEWS", towerFields, sizeof towerFields / sizeof towerFields[0], sizeof(TowerView)};
            *entries = reinterpret_cast<char*>(viewState.tower.entries);
            *count = &viewState.tower.count;
            return true;
        case ViewKindSpot:
            *layout = {"SPOTVIEWS", spotFields, sizeof spotFields / sizeof spotFields[0], sizeof(SpotView)};
            *entries = reinterpret_cast<char*>(viewState.spot.entries);
            *count = &viewState.spot.count;
            return true;
        case ViewKindVirtualCockpit:
            *layout = {"VCVIEWS", vcFields, sizeof vcFields / sizeof vcFields[0], sizeof(VcView)};
            *entries = reinterpret_cast<char*>(viewState.vc.entries);
            *count = &viewState.vc.count;
            return true;
    }
    return false;
}

// Names are read into 21 bytes. Numbers are read whole: a float that Save
// writes "%f" or "%.3f" takes up to 47 characters, and one cut short would
// load as another number than the one saved.
const uint32_t NumberBuffer = 64;
const uint32_t NameBuffer = ViewNameLength + 1;

template <typename T>
void Put(char* field, T value) {
    std::memcpy(field, &value, sizeof value);
}

template <typename T>
T Get(const char* field) {
    T value;
    std::memcpy(&value, field, sizeof value);
    return value;
}

bool IsIniBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

// The ini functions trim blanks around a value and drop one pair of quotes
// around it; a name that would lose either is written inside quotes.
bool NameNeedsQuotes(const char* name, size_t length) {
    if (length == 0) return false;
    const char first = name[0], last = name[length - 1];
    return IsIniBlank(first) || IsIniBlank(last) || (length >= 2 && (first == '"' || first == '\'') && last == first);
}

void WriteName(const char* section, const char* key, const char* name, const char* path) {
    const void* end = std::memchr(name, '\0', ViewNameLength);
    const size_t length = end ? static_cast<size_t>(static_cast<const char*>(end) - name) : ViewNameLength;
    char text[ViewNameLength + 3];
    if (NameNeedsQuotes(name, length))
        std::snprintf(text, sizeof text, "\"%.*s\"", static_cast<int>(length), name);
    else
        std::snprintf(text, sizeof text, "%.*s", static_cast<int>(length), name);
    ProfileWriteString(section, key, text, path);
}

void ReadField(const char* section, const char* key, const CatalogueField& descriptor, char* field,
               const char* path) {
    if (descriptor.codec == CodecName) {
        ProfileGetString(section, key, descriptor.defaultText, field, NameBuffer, path);
        // A name is one line of the file when it is saved again.
        for (char* c = field; *c; ++c)
            if (*c == '\r') *c = ' ';
        return;
    }
    char text[NumberBuffer];
    ProfileGetString(section, key, descriptor.defaultText, text, sizeof text, path);
    const double number = ParseSettingNumber(text);
    switch (descriptor.codec) {
        case CodecName: break;
        case CodecLatitude: Put(field, EncodeLatitude(number)); break;
        case CodecLongitude: Put(field, EncodeLongitude(number)); break;
        case CodecAltitude: Put(field, EncodeAltitude(number)); break;
        case CodecMetres: Put(field, NarrowToFloat(number)); break;
        case CodecAngle: Put(field, EncodeAngle(number)); break;
        // A zoom outside 1/16x .. 512x would divide the pan steps by nothing
        // or blow them up: a hand-edited file gets the nearest limit.
        case CodecZoom: Put(field, ClampZoom(static_cast<float>(ParseSettingInt(text)))); break;
        case CodecFlag: Put(field, static_cast<uint32_t>(ParseSettingInt(text) != 0 ? 1 : 0)); break;
        case CodecReal: Put(field, NarrowToFloat(number)); break;
    }
}

void WriteField(const char* section, const char* key, const CatalogueField& descriptor, const char* field,
                const char* path) {
    char text[384];  // the widest "%f" of a float
    switch (descriptor.codec) {
        case CodecName:
            WriteName(section, key, field, path);
            return;
        case CodecLatitude: std::snprintf(text, sizeof text, "%.8f", DecodeLatitude(Get<int64_t>(field))); break;
        case CodecLongitude: std::snprintf(text, sizeof text, "%.8f", DecodeLongitude(Get<int64_t>(field))); break;
        case CodecAltitude: std::snprintf(text, sizeof text, "%.2f", DecodeAltitude(Get<int64_t>(field))); break;
        case CodecMetres: std::snprintf(text, sizeof text, "%.3f", static_cast<double>(Get<float>(field))); break;
        case CodecAngle: std::snprintf(text, sizeof text, "%.3f", DecodeAngle(Get<Angle32>(field))); break;
        case CodecZoom: std::snprintf(text, sizeof text, "%d", static_cast<int>(TruncateToInt32(Get<float>(field)))); break;
        case CodecFlag: std::snprintf(text, sizeof text, "%d", static_cast<int>(Get<uint32_t>(field))); break;
        case CodecReal: std::snprintf(text, sizeof text, "%f", static_cast<double>(Get<float>(field))); break;
    }
    ProfileWriteString(section, key, text, path);
}

void EntryKey(char* key, size_t size, int entry, const char* suffix) {
    std::snprintf(key, size, "View%d%s", entry, suffix);
}

}  // namespace

void LoadViewCatalogue(ViewKind kind, const char* path) {
    CatalogueLayout layout;
    char* entries;
    int32_t* count;
    if (!LayoutOf(kind, &layout, &entries, &count)) return;
    char text[NumberBuffer];
    ProfileGetString(layout.section, "nViews", "0", text, sizeof text, path);
    // The list holds 30 views; a count beyond that (or below 0) in a file
    // would read or index past it.
    int32_t wanted = ParseSettingInt(text);
    if (wanted < 0) wanted = 0;
    if (wanted > ViewListCapacity) wanted = ViewListCapacity;
    for (int32_t i = 0; i < wanted; ++i) {
        char* entry = entries + static_cast<size_t>(i) * layout.stride;
        for (size_t f = 0; f < layout.fieldCount; ++f) {
            char key[48];
            EntryKey(key, sizeof key, i, layout.fields[f].suffix);
            ReadField(layout.section, key, layout.fields[f], entry + layout.fields[f].offset, path);
        }
    }
    *count = wanted;
    ResetViewWindowsOfKind(kind);
}

void SaveViewCatalogue(ViewKind kind, const char* path) {
    CatalogueLayout layout;
    char* entries;
    int32_t* count;
    if (!LayoutOf(kind, &layout, &entries, &count)) return;
    char text[16];
    std::snprintf(text, sizeof text, "%d", static_cast<int>(*count));
    ProfileWriteString(layout.section, "nViews", text, path);
    for (int32_t i = 0; i < *count; ++i) {
        const char* entry = entries + static_cast<size_t>(i) * layout.stride;
        for (size_t f = 0; f < layout.fieldCount; ++f) {
            char key[48];
            EntryKey(key, sizeof key, i, layout.fields[f].suffix);
            WriteField(layout.section, key, layout.fields[f], entry + layout.fields[f].offset, path);
        }
    }
}

bool ViewCatalogueInFile(ViewKind kind, const char* path) {
    CatalogueLayout layout;
    char* entries;
    int32_t* count;
    if (!LayoutOf(kind, &layout, &entries, &count)) return false;
    // No count a file can hold reads as this default.
    char text[NumberBuffer];
    ProfileGetString(layout.section, "nViews", "?", text, sizeof text, path);
    return std::strcmp(text, "?") != 0;
}

void LoadViewCatalogues() {
    for (ViewKind kind : CatalogueKinds) LoadViewCatalogue(kind, SETTINGS_FILE);
}

void SaveViewCatalogues() {
    for (ViewKind kind : CatalogueKinds) SaveViewCatalogue(kind, SETTINGS_FILE);
}
