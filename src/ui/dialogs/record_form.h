// The record dialog's decisions, apart from its controls: what it shows for
// the stored recording defaults, and what OK makes of its controls — the
// defaults to store and the parameters of the recording to start.
#pragma once

#include <cstdint>

#include "config/settings.h"

constexpr int AutostopItemCount = 3;
// "after touchdown", "after engine shutdown", "after start of recording".
extern const char* const AutostopItemTexts[AutostopItemCount];

// What the dialog's controls hold.
struct RecordForm {
    int intervalItem;          // "Recording interval:" (-1: none)
    bool autostop;             // "Auto stop recording"
    uint32_t autostopSeconds;  // the number in "seconds"
    int autostopItem;          // the autostop list (-1: none)
    bool recordAi;             // "Record AI traffic"
    int32_t aiFactor;          // the number in "Record every ... th sample", signed
};

// The parameters a recording started after the dialog uses.
struct RecordParameters {
    uint32_t recordInterval;  // ms
    uint32_t autostopKind;
    uint32_t autostopDelay;  // TimeStamp units
    uint8_t aiSampleFactor;  // 0: AI traffic not recorded
};

struct RecordChoice {
    RecordDefaults defaults;  // written to the RECORD section
    RecordParameters parameters;
};

// The dialog as it opens for the stored defaults (read with the dialog's
// AIItvlFactor default of 10).
RecordForm RecordFormFor(const RecordDefaults& defaults);
// OK: the defaults to store and the parameters to record with. currentKind
// is the autostop kind now, which an unknown choice keeps.
RecordChoice RecordChoiceFromForm(const RecordForm& form, uint32_t currentKind);
