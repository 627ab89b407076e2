// Reading and writing the SETTINGS, WINDOW, RECORD and VIEWSETTINGS keys of
// the settings file. Every value goes through the ini functions one key at a
// time: read as text into a small buffer with a text default, converted as
// the C runtime's atoi/atof would, corrected where a key has a range, and
// written back in decimal (integers) or with three decimals (reals).
#include "config/settings.h"

#include <cfloat>
#include <cstdio>
#include <cstdlib>

#include "platform/platform.h"

Settings settings;
ViewSettings viewSettings;

// Read buffers: most values fit in 9 characters; the flag words and the
// on/off keys added later were given 19.
enum : uint32_t { Narrow = 10, Wide = 20 };

// ---------------------------------------------------------------- conversions

// atoi as the Windows runtime does it: leading blanks, a sign, digits, and
// the nearest 32-bit value when the number does not fit.
int32_t ParseSettingInt(const char* text) {
    long value = std::strtol(text, nullptr, 10);
    if (value > INT32_MAX) return INT32_MAX;
    if (value < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(value);
}

// atof, except that "nan" reads as 0, so that a hand-edited file cannot put
// a non-number into a value.
double ParseSettingNumber(const char* text) {
    double value = std::strtod(text, nullptr);
    return value != value ? 0.0 : value;
}

// ParseSettingNumber narrowed to a float: numbers beyond a float's range saturate.
static float ParseReal(const char* text) {
    double value = ParseSettingNumber(text);
    if (value > FLT_MAX) return FLT_MAX;
    if (value < -FLT_MAX) return -FLT_MAX;
    return static_cast<float>(value);
}

int32_t ReadInt(const char* section, const char* key, const char* defaultValue, uint32_t bufferSize) {
    char text[Wide];
    ProfileGetString(section, key, defaultValue, text, bufferSize, SETTINGS_FILE);
    return ParseSettingInt(text);
}

static float ReadReal(const char* section, const char* key, const char* defaultValue, uint32_t bufferSize) {
    char text[Wide];
    ProfileGetString(section, key, defaultValue, text, bufferSize, SETTINGS_FILE);
    return ParseReal(text);
}

// Write results are not checked: a settings file that cannot be written
// costs the user nothing but the change, and there is nobody to tell.
static void WriteInt(const char* section, const char* key, int32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", static_cast<int>(value));
    ProfileWriteString(section, key, text, SETTINGS_FILE);
}

void WriteUnsigned(const char* section, const char* key, uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "%u", static_cast<unsigned>(value));
    ProfileWriteString(section, key, text, SETTINGS_FILE);
}

static void WriteReal(const char* section, const char* key, float value) {
    char text[64];  // room for the widest float in "%.3f"
    std::snprintf(text, sizeof text, "%.3f", static_cast<double>(value));
    ProfileWriteString(section, key, text, SETTINGS_FILE);
}

// ---------------------------------------------------------------- key tables

// How a key's number is held in memory.
enum ValueKind : uint8_t {
    Signed,      // int32_t, as read
    Flag,        // uint32_t, 1 when the number read is non-zero, else 0
    Unsigned8,   // uint8_t, the number modulo 256, written unsigned
    Unsigned16,  // uint16_t, the number modulo 65536, written unsigned
    Unsigned32,  // uint32_t, written unsigned
    Real,        // float, read with atof, written "%.3f"
};

struct KeyDescriptor {
    const char* section;
    const char* key;
    const char* defaultValue;
    uint32_t bufferSize;
    ValueKind kind;
    void* field;
    int32_t (*correct)(int32_t number);  // range rule for the number read, or null
};

// Only the five intervals the settings dialog offers; anything else is 1/2 s.
static int32_t ReplayIntervalRule(int32_t milliseconds) {
    switch (milliseconds) {
    case 125: case 250: case 500: case 1000: case 2000: return milliseconds;
    default: return 500;
    }
}

static int32_t BufferSizeRule(int32_t samples) {
    if (samples < 120) return 120;
    if (samples > 72000) return 72000;
    return samples;
}

// SETTINGS in reading order (WINDOW Show sits between the search speeds and Pause).
static const KeyDescriptor settingsKeys[] = {
    {"SETTINGS", "RplyItvl", "500", Narrow, Signed, &settings.RplyItvl, ReplayIntervalRule},
    {"SETTINGS", "RplyEnabled", "1", Narrow, Flag, &settings.RplyEnabled, nullptr},
    {"SETTINGS", "RplyClear", "1", Narrow, Flag, &settings.RplyClear, nullptr},
    {"SETTINGS", "Search1", "0", Narrow, Flag, &settings.Search1, nullptr},
    {"SETTINGS", "Search2", "0", Narrow, Flag, &settings.Search2, nullptr},
    {"SETTINGS", "Search3", "0", Narrow, Flag, &settings.Search3, nullptr},
    {"SETTINGS", "JumpSize1", "15", Narrow, Unsigned16, &settings.JumpSize1, nullptr},
    {"SETTINGS", "JumpSize2", "60", Narrow, Unsigned16, &settings.JumpSize2, nullptr},
    {"SETTINGS", "JumpSize3", "300", Narrow, Unsigned16, &settings.JumpSize3, nullptr},
    {"SETTINGS", "SearchSpeed1", "5", Narrow, Unsigned8, &settings.SearchSpeed1, nullptr},
    {"SETTINGS", "SearchSpeed2", "15", Narrow, Unsigned8, &settings.SearchSpeed2, nullptr},
    {"SETTINGS", "SearchSpeed3", "50", Narrow, Unsigned8, &settings.SearchSpeed3, nullptr},
    {"WINDOW", "Show", "0", Narrow, Flag, &settings.Show, nullptr},
    {"SETTINGS", "Pause", "1", Narrow, Flag, &settings.Pause, nullptr},
    {"SETTINGS", "PlayAIMode", "0", Narrow, Signed, &settings.PlayAIMode, nullptr},
    {"SETTINGS", "MaxAIAcft", "0", Narrow, Unsigned16, &settings.MaxAIAcft, nullptr},
    {"SETTINGS", "BufferSize", "3600", Narrow, Unsigned32, &settings.BufferSize, BufferSizeRule},
    {"SETTINGS", "RecFlags", "127", Wide, Signed, &settings.RecFlags, nullptr},
    {"SETTINGS", "PlayFlags", "127", Wide, Signed, &settings.PlayFlags, nullptr},
    {"SETTINGS", "ShowRec", "1", Wide, Signed, &settings.ShowRec, nullptr},
    {"SETTINGS", "ShowPlay", "1", Wide, Signed, &settings.ShowPlay, nullptr},
    {"SETTINGS", "SetSimRate", "1", Wide, Signed, &settings.SetSimRate, nullptr},
    {"SETTINGS", "SetSimRateSrch", "0", Wide, Signed, &settings.SetSimRateSrch, nullptr},
    {"SETTINGS", "LimSimRate", "0", Wide, Signed, &settings.LimSimRate, nullptr},
    {"SETTINGS", "ContrAiPlay", "0", Wide, Signed, &settings.ContrAiPlay, nullptr},
    {"SETTINGS", "WindAiPlay", "0", Wide, Signed, &settings.WindAiPlay, nullptr},
    {"SETTINGS", "NoRecDlg", "0", Wide, Signed, &settings.NoRecDlg, nullptr},
};
static const size_t SettingsKeyCount = sizeof settingsKeys / sizeof settingsKeys[0];

// Writing order, as indexes into settingsKeys: the step flags Search1..3
// follow the search speeds instead of preceding the jump sizes.
static const uint8_t settingsSaveOrder[] = {
    0, 1, 2,             // RplyItvl, RplyEnabled, RplyClear
    6, 7, 8,             // JumpSize1..3
    9, 10, 11,           // SearchSpeed1..3
    3, 4, 5,             // Search1..3
    12, 13, 14, 15, 16,  // Show, Pause, PlayAIMode, MaxAIAcft, BufferSize
    17, 18, 19, 20, 21,  // RecFlags, PlayFlags, ShowRec, ShowPlay, SetSimRate
    22, 23, 24, 25, 26,  // SetSimRateSrch, LimSimRate, ContrAiPlay, WindAiPlay, NoRecDlg
};
static_assert(sizeof settingsSaveOrder == SettingsKeyCount, "every SETTINGS key is written once");

static const KeyDescriptor viewSettingsKeys[] = {
    {"VIEWSETTINGS", "TowerStep1", "0.3048", Narrow, Real, &viewSettings.TowerStep1, nullptr},
    {"VIEWSETTINGS", "TowerStep2", "3.048", Narrow, Real, &viewSettings.TowerStep2, nullptr},
    {"VIEWSETTINGS", "TowerStep3", "15.24", Narrow, Real, &viewSettings.TowerStep3, nullptr},
    {"VIEWSETTINGS", "SpotStep", "0.3048", Narrow, Real, &viewSettings.SpotStep, nullptr},
    {"VIEWSETTINGS", "VCStep", "0.06096", Narrow, Real, &viewSettings.VCStep, nullptr},
    {"VIEWSETTINGS", "PanStep", "1", Narrow, Real, &viewSettings.PanStep, nullptr},
    {"VIEWSETTINGS", "MaxTwrDist", "55560", Narrow, Real, &viewSettings.MaxTwrDist, nullptr},
    {"VIEWSETTINGS", "MaxAutozoom", "32768", Narrow, Real, &viewSettings.MaxAutozoom, nullptr},
    {"VIEWSETTINGS", "MinAutozoom", "16", Narrow, Real, &viewSettings.MinAutozoom, nullptr},
    {"VIEWSETTINGS", "ShowTitle", "1", Wide, Signed, &viewSettings.ShowTitle, nullptr},
};

static void ReadKey(const KeyDescriptor& descriptor) {
    if (descriptor.kind == Real) {
        *static_cast<float*>(descriptor.field) =
            ReadReal(descriptor.section, descriptor.key, descriptor.defaultValue, descriptor.bufferSize);
        return;
    }
    int32_t number = ReadInt(descriptor.section, descriptor.key, descriptor.defaultValue, descriptor.bufferSize);
    if (descriptor.correct) number = descriptor.correct(number);
    switch (descriptor.kind) {
    case Signed: *static_cast<int32_t*>(descriptor.field) = number; break;
    case Flag: *static_cast<uint32_t*>(descriptor.field) = number != 0 ? 1 : 0; break;
    case Unsigned8: *static_cast<uint8_t*>(descriptor.field) = static_cast<uint8_t>(number); break;
    case Unsigned16: *static_cast<uint16_t*>(descriptor.field) = static_cast<uint16_t>(number); break;
    case Unsigned32: *static_cast<uint32_t*>(descriptor.field) = static_cast<uint32_t>(number); break;
    case Real: break;
    }
}

static void WriteKey(const KeyDescriptor& descriptor) {
    const char* section = descriptor.section;
    const char* key = descriptor.key;
    switch (descriptor.kind) {
    case Signed: WriteInt(section, key, *static_cast<const int32_t*>(descriptor.field)); break;
    case Flag: WriteUnsigned(section, key, *static_cast<const uint32_t*>(descriptor.field)); break;
    case Unsigned8: WriteUnsigned(section, key, *static_cast<const uint8_t*>(descriptor.field)); break;
    case Unsigned16: WriteUnsigned(section, key, *static_cast<const uint16_t*>(descriptor.field)); break;
    case Unsigned32: WriteUnsigned(section, key, *static_cast<const uint32_t*>(descriptor.field)); break;
    case Real: WriteReal(section, key, *static_cast<const float*>(descriptor.field)); break;
    }
}

// ---------------------------------------------------------------- operations

void LoadSettings() {
    for (const KeyDescriptor& descriptor : settingsKeys) ReadKey(descriptor);
}

void SaveSettings() {
    for (uint8_t index : settingsSaveOrder) WriteKey(settingsKeys[index]);
}

void LoadViewSettings() {
    for (const KeyDescriptor& descriptor : viewSettingsKeys) ReadKey(descriptor);
}

void SaveViewSettings() {
    for (const KeyDescriptor& descriptor : viewSettingsKeys) WriteKey(descriptor);
}

RecordDefaults ReadRecordDefaults(const char* aiFactorDefault) {
    RecordDefaults defaults;
    defaults.DfltItvlIdx = ReadInt("RECORD", "DfltItvlIdx", "1", Narrow);
    defaults.DfltAutostop = ReadInt("RECORD", "DfltAutostop", "-1", Narrow);
    defaults.DfltAutostopTime = ReadInt("RECORD", "DfltAutostopTime", "60", Narrow);
    defaults.RecAI = ReadInt("RECORD", "RecAI", "0", Narrow);
    defaults.AIItvlFactor = ReadInt("RECORD", "AIItvlFactor", aiFactorDefault, Narrow);
    return defaults;
}

void WriteRecordDefaults(const RecordDefaults& defaults) {
    WriteInt("RECORD", "DfltItvlIdx", defaults.DfltItvlIdx);
    WriteInt("RECORD", "DfltAutostop", defaults.DfltAutostop);
    WriteInt("RECORD", "DfltAutostopTime", defaults.DfltAutostopTime);
    WriteInt("RECORD", "RecAI", defaults.RecAI);
    WriteInt("RECORD", "AIItvlFactor", defaults.AIItvlFactor);
}

void ReadWindowPosition(int32_t* x, int32_t* y) {
    *x = ReadInt("WINDOW", "XPos", "5", Narrow);
    *y = ReadInt("WINDOW", "YPos", "25", Narrow);
}

void WriteWindowPosition(int32_t x, int32_t y) {
    WriteInt("WINDOW", "XPos", x);
    WriteInt("WINDOW", "YPos", y);
}

uint32_t RecordIntervalForIndex(int32_t index) {
    static const uint32_t intervals[] = {125, 250, 500, 1000, 2000};
    if (index < 0 || index > 4) index = 1;
    return intervals[index];
}
