// The tower dialog's conversions. Positions are shown to a hundredth of an
// arc second (about 30 cm), altitudes to a foot, zooms to a tenth.
#include "views/dialogs/tower_dialog.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "config/settings.h"
#include "core/host/host.h"
#include "engine/tracks/host_encoding.h"
#include "views/cameras/tower_controls.h"
#include "views/dialogs/view_dialog.h"
#include "views/windows/view_window_table.h"

namespace {

// Degrees per unit of the host's latitude and longitude, as the dialog converts.
const double LatitudeDegreesPerUnit = 2.0951091487837895e-15;
const double LongitudeDegreesPerUnit = 1.951563910473908e-17;
const int64_t HundredthsPerDegree = 360000;
const int64_t HundredthsPerMinute = 6000;

}  // namespace

DmsText FormatDms(double degrees, char positive, char negative, int degreeDigits) {
    const int64_t hundredths = TruncateToInt64(std::floor(degrees * HundredthsPerDegree + 0.5));
    const char letter = hundredths < 0 ? negative : positive;
    const int64_t d = hundredths < 0 ? -hundredths : hundredths;
    const int64_t withinDegree = d % HundredthsPerDegree;
    DmsText text;
    std::snprintf(text.degrees, sizeof text.degrees, "%c%0*d", letter, degreeDigits,
                  static_cast<int>(d / HundredthsPerDegree));
    std::snprintf(text.minutes, sizeof text.minutes, "%02d", static_cast<int>(withinDegree / HundredthsPerMinute));
    std::snprintf(text.seconds, sizeof text.seconds, "%05.2f",
                  static_cast<double>(withinDegree % HundredthsPerMinute) * 0.01);
    return text;
}

double ParseDms(const char* degrees, const char* minutes, const char* seconds, char positive, char negative) {
    const double fraction = ParseSettingNumber(seconds) / 3600.0 + ParseSettingInt(minutes) / 60.0;
    if (degrees[0] == positive) return ParseSettingInt(degrees + 1) + fraction;
    if (degrees[0] == negative) return -ParseSettingInt(degrees + 1) - fraction;
    const int32_t whole = ParseSettingInt(degrees);
    return whole < 0 ? whole - fraction : whole + fraction;
}

TowerDialogTexts TowerDialogTextsOf(const TowerView& view) {
    TowerDialogTexts texts{};
    CopyLimited(texts.title, view.name, TitleTextLimit);
    texts.latitude = FormatDms(static_cast<double>(view.position.latitude) * LatitudeDegreesPerUnit, 'N', 'S', 2);
    texts.longitude = FormatDms(static_cast<double>(view.position.longitude) * LongitudeDegreesPerUnit, 'E', 'W', 3);
    const int64_t feet = TruncateToInt64(DecodeAltitude(view.position.altitude) * FeetPerMetre + 0.5);
    std::snprintf(texts.altitude, sizeof texts.altitude, "%lld", static_cast<long long>(feet));
    std::snprintf(texts.zoom, sizeof texts.zoom, "%.1f", static_cast<double>(view.zoom / ZoomNormal));
    texts.autoZoom = view.autoZoom > 0.0f;
    texts.manualPan = view.manualPan == 1;
    return texts;
}

void ApplyTowerDialogTexts(const TowerDialogTexts& texts, TowerView* view) {
    CopyLimited(view->name, texts.title, ViewNameLength);
    const DmsText& lat = texts.latitude;
    const DmsText& lon = texts.longitude;
    view->position.latitude = EncodeLatitude(ParseDms(lat.degrees, lat.minutes, lat.seconds, 'N', 'S'));
    view->position.longitude = EncodeLongitude(ParseDms(lon.degrees, lon.minutes, lon.seconds, 'E', 'W'));
    view->position.altitude = TruncateToInt64(ParseSettingInt(texts.altitude) * FixedOne * MetresPerFoot);
    view->manualPan = texts.manualPan ? 1 : 0;
    view->zoom = ClampZoom(NarrowToFloat(ParseSettingNumber(texts.zoom) * ZoomNormal));
    view->autoZoom = 0.0f;
}

void EditTowerView() {
    ViewWindowRow* row = nullptr;
    const int32_t index = EditedStoredView(ViewKindTower, &row);
    if (index < 0) return;
    TowerView& view = viewState.tower.entries[index];
    TowerDialogTexts texts = TowerDialogTextsOf(view);
    HostModalBegin();
    const bool confirmed = RunTowerDialog(&texts);
    HostModalEnd();
    if (!confirmed) return;
    ApplyTowerDialogTexts(texts, &view);
    // Autozoom starts from the entered zoom at the distance the view has now.
    if (texts.autoZoom) ToggleAutozoom(&view, row->towerTarget);
}
