// The spot dialog's conversions: metres to whole feet (rounded), the
// direction to whole degrees 0..359 from atan2 of right over forward, the
// zoom to a tenth. "Pitch and bank with aircraft" needs "Turn with aircraft"
// and looks in a stored direction, so checking it also checks "Manual panning".
#include "views/dialogs/spot_dialog.h"

#include <cmath>
#include <cstddef>
#include <cstdio>

#include "config/settings.h"
#include "core/host/host.h"
#include "engine/tracks/host_encoding.h"
#include "ui/dialogs/dialog_controls.h"
#include "views/dialogs/view_dialog.h"
#include "views/dialogs/view_resources.h"
#include "views/windows/view_window_table.h"

namespace {

const double DegreesPerRadian = 57.29577951308232;
const double RadiansPerDegree = 0.017453292519943295;

#define TEXT_AT(member) offsetof(SpotDialogTexts, member)
const FormText spotTexts[] = {
    {IDC_SPOT_TITLE, TEXT_AT(title), ViewNameLength},
    {IDC_SPOT_DISTANCE, TEXT_AT(distance), SpotNumberTextLimit},
    {IDC_SPOT_DIRECTION, TEXT_AT(direction), SpotNumberTextLimit},
    {IDC_SPOT_ALTITUDE, TEXT_AT(altitude), SpotNumberTextLimit},
    {IDC_SPOT_ZOOM, TEXT_AT(zoom), SpotZoomTextLimit},
};
const FormBox spotBoxes[] = {
    {IDC_SPOT_MANUAL_PAN, TEXT_AT(manualPan)},
    {IDC_SPOT_TURN, TEXT_AT(rotateHeading)},
    {IDC_SPOT_PITCH_BANK, TEXT_AT(rotatePitchBank)},
};
#undef TEXT_AT

void EnablePitchBank(WindowHandle dialog) {
    DialogItemEnable(dialog, IDC_SPOT_PITCH_BANK, ControlChecked(dialog, IDC_SPOT_TURN));
}

void Clicked(WindowHandle dialog, int control) {
    if (control == IDC_SPOT_TURN) EnablePitchBank(dialog);
    if (control == IDC_SPOT_PITCH_BANK && ControlChecked(dialog, IDC_SPOT_PITCH_BANK))
        SetControlChecked(dialog, IDC_SPOT_MANUAL_PAN, true);
}

const ViewDialogForm spotForm = {
    IDD_EDIT_SPOT_VIEW, spotTexts,       sizeof spotTexts / sizeof spotTexts[0],
    spotBoxes,          sizeof spotBoxes / sizeof spotBoxes[0], EnablePitchBank, Clicked,
};

uint32_t WholeFeet(double metres) {
    const int64_t feet = TruncateToInt64(metres * FeetPerMetre + 0.5);
    if (feet < 0) return 0;
    return feet > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(feet);
}

}  // namespace

SpotDialogTexts SpotDialogTextsOf(const SpotView& view) {
    SpotDialogTexts texts{};
    CopyLimited(texts.title, view.name, ViewNameLength);
    const double x = view.x, y = view.y, z = view.z;
    std::snprintf(texts.distance, sizeof texts.distance, "%u", static_cast<unsigned>(WholeFeet(std::hypot(x, z))));
    double direction = std::atan2(x, z) * DegreesPerRadian;
    if (direction < 0) direction += 360.0;
    std::snprintf(texts.direction, sizeof texts.direction, "%d", TruncateToInt32(direction + 0.5));
    std::snprintf(texts.altitude, sizeof texts.altitude, "%d", TruncateToInt32(std::floor(y * FeetPerMetre + 0.5)));
    std::snprintf(texts.zoom, sizeof texts.zoom, "%.1f", static_cast<double>(view.zoom / ZoomNormal));
    texts.manualPan = view.manualPan != 0;
    texts.rotateHeading = view.rotateHeading != 0;
    texts.rotatePitchBank = view.rotatePitchBank != 0;
    return texts;
}

void ApplySpotDialogTexts(const SpotDialogTexts& texts, SpotView* view) {
    CopyLimited(view->name, texts.title, ViewNameLength);
    const double direction = ParseSettingInt(texts.direction) * RadiansPerDegree;
    const double distance = FieldNumber(texts.distance);
    view->x = NarrowToFloat(distance * std::sin(direction) * MetresPerFoot);
    view->z = NarrowToFloat(distance * std::cos(direction) * MetresPerFoot);
    view->y = NarrowToFloat(ParseSettingInt(texts.altitude) * MetresPerFoot);
    view->zoom = ClampZoom(NarrowToFloat(ParseSettingNumber(texts.zoom) * ZoomNormal));
    view->manualPan = texts.manualPan ? 1 : 0;
    view->rotateHeading = texts.rotateHeading ? 1 : 0;
    view->rotatePitchBank = texts.rotatePitchBank ? 1 : 0;
}

bool RunSpotDialog(SpotDialogTexts* texts) { return RunViewDialog(spotForm, texts); }

void EditSpotView() {
    ViewWindowRow* row = nullptr;
    const int32_t index = EditedStoredView(ViewKindSpot, &row);
    if (index < 0) return;
    SpotView& view = viewState.spot.entries[index];
    SpotDialogTexts texts = SpotDialogTextsOf(view);
    HostModalBegin();
    const bool confirmed = RunSpotDialog(&texts);
    HostModalEnd();
    if (confirmed) ApplySpotDialogTexts(texts, &view);
}
