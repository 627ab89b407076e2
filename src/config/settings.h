// The options kept in "modules\Aerotrace.ini": sections SETTINGS, WINDOW,
// RECORD and VIEWSETTINGS — each key's default, how it is read and corrected,
// and how it is written back. The keyboard bindings and the view catalogues
// keep their own sections in the same file and are read elsewhere.
#pragma once

#include <cstdint>

// The settings file, relative to the simulator's current directory.
#define SETTINGS_FILE "modules\\Aerotrace.ini"

// Section SETTINGS (and WINDOW Show, which is read and written with it).
// Read at start-up, written when the settings dialog is closed with OK.
struct Settings {
    int32_t RplyItvl;          // replay buffer interval, ms: 125, 250, 500, 1000 or 2000
    uint32_t RplyEnabled;      // replay buffer on (0/1)
    uint32_t RplyClear;        // clear the replay buffer on flight or aircraft change (0/1)
    uint32_t Search1;          // step level 1 searches (1) instead of jumping (0)
    uint32_t Search2;
    uint32_t Search3;
    uint16_t JumpSize1;        // jump distance of step level 1, seconds
    uint16_t JumpSize2;
    uint16_t JumpSize3;
    uint8_t SearchSpeed1;      // search speed of step level 1, multiples of normal speed
    uint8_t SearchSpeed2;
    uint8_t SearchSpeed3;
    uint32_t Show;             // WINDOW: show the control window when playback starts (0/1)
    uint32_t Pause;            // pause at the end of a playback (0/1)
    int32_t PlayAIMode;        // during playback: 0 recorded traffic, 1 normal traffic, 2 none
    uint16_t MaxAIAcft;        // most AI aircraft recorded or played, 0 = no limit
    uint32_t BufferSize;       // replay buffer capacity, samples, 120..72000
    int32_t RecFlags;          // sample groups recorded
    int32_t PlayFlags;         // sample groups played
    int32_t ShowRec;           // status line while recording (non-zero = on)
    int32_t ShowPlay;          // status line during playback and replay
    int32_t SetSimRate;        // follow the playback speed with the simulation rate
    int32_t SetSimRateSrch;    // ... also while searching
    int32_t LimSimRate;        // ... at most 4x
    int32_t ContrAiPlay;       // control keys work while playing as traffic
    int32_t WindAiPlay;        // control window shown while playing as traffic
    int32_t NoRecDlg;          // start recordings without the record dialog
};
extern Settings settings;

// Section VIEWSETTINGS: the advanced views' steps and limits. Read at
// start-up after the view catalogues, written by the view settings dialog.
struct ViewSettings {
    float TowerStep1;   // tower eyepoint move steps, metres
    float TowerStep2;
    float TowerStep3;
    float SpotStep;     // spot view move step, metres
    float VCStep;       // virtual cockpit eyepoint move step, metres
    float PanStep;      // panning step, degrees
    float MaxTwrDist;   // farthest tower distance, metres
    float MaxAutozoom;  // automatic zoom limits, zoom x 64
    float MinAutozoom;
    int32_t ShowTitle;  // show the view title on change (non-zero = on)
};
extern ViewSettings viewSettings;

// Section RECORD: the record dialog's choices. Not kept in memory; read
// whenever a recording starts, written when the record dialog is closed.
struct RecordDefaults {
    int32_t DfltItvlIdx;       // interval index 0..4 (anything else counts as 1)
    int32_t DfltAutostop;      // -1 off, 0 touchdown, 1 engine shutdown, 2 start of recording
    int32_t DfltAutostopTime;  // autostop delay, seconds
    int32_t RecAI;             // record AI traffic (non-zero = on)
    int32_t AIItvlFactor;      // AI aircraft sampled every this many user samples
};

// Defaults of AIItvlFactor: a recording started without dialog, and the
// record dialog when it opens.
#define AI_FACTOR_DEFAULT_NO_DIALOG "4"
#define AI_FACTOR_DEFAULT_DIALOG "10"

void LoadSettings();
void SaveSettings();
void LoadViewSettings();
void SaveViewSettings();

RecordDefaults ReadRecordDefaults(const char* aiFactorDefault);
void WriteRecordDefaults(const RecordDefaults& defaults);

// The control window's top-left corner (WINDOW XPos, YPos; 5 and 25 when unset).
void ReadWindowPosition(int32_t* x, int32_t* y);
void WriteWindowPosition(int32_t x, int32_t y);

// Recording interval in ms for an interval index; indexes outside 0..4
// count as 1 (250 ms).
uint32_t RecordIntervalForIndex(int32_t index);

// One key of the settings file, for the sections kept elsewhere (KEYBOARD):
// read as text into a buffer of bufferSize characters with a text default
// and converted as atoi does; written in decimal.
int32_t ReadInt(const char* section, const char* key, const char* defaultValue, uint32_t bufferSize);
void WriteUnsigned(const char* section, const char* key, uint32_t value);

// Text of a settings value as the C runtime's atoi and atof read it (the
// nearest 32-bit value for an integer that does not fit; "nan" reads as 0).
int32_t ParseSettingInt(const char* text);
double ParseSettingNumber(const char* text);
