// The view settings dialog. Steps are shown in feet to a tenth (the VC step,
// 0.2 ft by default, to a hundredth), the tower distance in nautical miles,
// the autozoom limits as magnifications.
#include "views/dialogs/view_settings_dialog.h"

#include <cstddef>
#include <cstdio>

#include "engine/tracks/host_encoding.h"
#include "views/dialogs/view_dialog.h"
#include "views/dialogs/view_resources.h"

namespace {

const double NauticalMilesPerMetre = 0.0005399568;
const double MetresPerNauticalMile = 1852.0;
const float LowestMinimumAutozoom = 16.0f;  // 0.25x

// How each field shows its setting and stores it back.
struct FieldCodec {
    float ViewSettings::*setting;
    double shownPerStored;  // shown = stored x this
    double storedPerShown;  // what OK stores for one shown unit
    const char* format;
};
const FieldCodec codecs[ViewSettingsFieldCount] = {
    {&ViewSettings::TowerStep1, FeetPerMetre, MetresPerFoot, "%.1f"},
    {&ViewSettings::TowerStep2, FeetPerMetre, MetresPerFoot, "%.1f"},
    {&ViewSettings::TowerStep3, FeetPerMetre, MetresPerFoot, "%.1f"},
    {&ViewSettings::SpotStep, FeetPerMetre, MetresPerFoot, "%.1f"},
    {&ViewSettings::VCStep, FeetPerMetre, MetresPerFoot, "%.2f"},
    {&ViewSettings::PanStep, 1.0, 1.0, "%.1f"},  // degrees both ways
    {&ViewSettings::MaxTwrDist, NauticalMilesPerMetre, MetresPerNauticalMile, "%.1f"},
    {&ViewSettings::MaxAutozoom, 1.0 / ZoomNormal, ZoomNormal, "%.1f"},
    {&ViewSettings::MinAutozoom, 1.0 / ZoomNormal, ZoomNormal, "%.2f"},
};

#define FIELD_AT(field) offsetof(ViewSettingsTexts, fields[field]), ViewSettingsTextLimit
const FormText texts[ViewSettingsFieldCount] = {
    {IDC_SETTINGS_TOWER_STEP1, FIELD_AT(FieldTowerStep1)},
    {IDC_SETTINGS_TOWER_STEP2, FIELD_AT(FieldTowerStep2)},
    {IDC_SETTINGS_TOWER_STEP3, FIELD_AT(FieldTowerStep3)},
    {IDC_SETTINGS_SPOT_STEP, FIELD_AT(FieldSpotStep)},
    {IDC_SETTINGS_VC_STEP, FIELD_AT(FieldVcStep)},
    {IDC_SETTINGS_PAN_STEP, FIELD_AT(FieldPanStep)},
    {IDC_SETTINGS_MAX_DISTANCE, FIELD_AT(FieldMaxTowerDistance)},
    {IDC_SETTINGS_MAX_AUTOZOOM, FIELD_AT(FieldMaxAutozoom)},
    {IDC_SETTINGS_MIN_AUTOZOOM, FIELD_AT(FieldMinAutozoom)},
};
#undef FIELD_AT
const FormBox boxes[] = {{IDC_SETTINGS_SHOW_TITLE, offsetof(ViewSettingsTexts, showTitle)}};

const ViewDialogForm settingsForm = {IDD_VIEW_SETTINGS, texts, ViewSettingsFieldCount, boxes, 1, nullptr, nullptr};

}  // namespace

ViewSettingsTexts ViewSettingsTextsOf(const ViewSettings& settings) {
    ViewSettingsTexts shown{};
    for (int i = 0; i < ViewSettingsFieldCount; ++i)
        std::snprintf(shown.fields[i], sizeof shown.fields[i], codecs[i].format,
                      settings.*codecs[i].setting * codecs[i].shownPerStored);
    shown.showTitle = settings.ShowTitle != 0;
    return shown;
}

ViewSettings ViewSettingsFromTexts(const ViewSettingsTexts& shown) {
    ViewSettings stored{};
    for (int i = 0; i < ViewSettingsFieldCount; ++i)
        stored.*codecs[i].setting = NarrowToFloat(ParseSettingNumber(shown.fields[i]) * codecs[i].storedPerShown);
    if (stored.MaxAutozoom > ZoomMaximum) stored.MaxAutozoom = ZoomMaximum;
    if (stored.MinAutozoom < LowestMinimumAutozoom) stored.MinAutozoom = LowestMinimumAutozoom;
    // The minimum wins when the limits cross, so it may pass the maximum, but
    // never the largest zoom a stored view can hold.
    if (stored.MinAutozoom > ZoomMaximum) stored.MinAutozoom = ZoomMaximum;
    stored.ShowTitle = shown.showTitle ? 1 : 0;
    return stored;
}

void RunViewSettingsDialog() {
    ViewSettingsTexts shown = ViewSettingsTextsOf(viewSettings);
    if (!RunViewDialog(settingsForm, &shown)) return;
    viewSettings = ViewSettingsFromTexts(shown);
    SaveViewSettings();
}
