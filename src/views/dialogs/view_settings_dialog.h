// "Advanced view settings" (dialog 135): the steps and limits of the
// advanced views in the user's units — feet, degrees, nautical miles and
// magnifications — and what OK stores back in metres and sixty-fourths
// before the section is saved whole.
#pragma once

#include "config/settings.h"

// The dialog's fields in the order OK reads them.
enum ViewSettingsField {
    FieldTowerStep1,
    FieldTowerStep2,
    FieldTowerStep3,
    FieldSpotStep,
    FieldVcStep,
    FieldPanStep,
    FieldMaxTowerDistance,
    FieldMaxAutozoom,
    FieldMinAutozoom,
    ViewSettingsFieldCount
};

struct ViewSettingsTexts {
    char fields[ViewSettingsFieldCount][48];
    bool showTitle;
};
enum : int { ViewSettingsTextLimit = 9 };

ViewSettingsTexts ViewSettingsTextsOf(const ViewSettings& settings);
// What OK stores: every field, text that is no number as 0; only the
// autozoom limits are held (at most 512x, at least 0.25x).
ViewSettings ViewSettingsFromTexts(const ViewSettingsTexts& texts);

// "Advanced view settings...": on OK the settings in memory change and the
// VIEWSETTINGS section is written at once.
void RunViewSettingsDialog();
