// Dialog 133 as a window: the texts go into the controls when it opens and
// come back out on OK. "Autozoom" and "Manual panning" exclude each other.
#include <cstddef>

#include "ui/dialogs/dialog_controls.h"
#include "views/dialogs/tower_dialog.h"
#include "views/dialogs/view_dialog.h"
#include "views/dialogs/view_resources.h"

namespace {

#define TEXT_AT(member) offsetof(TowerDialogTexts, member)
const FormText towerTexts[] = {
    {IDC_TOWER_TITLE, TEXT_AT(title), TitleTextLimit},
    {IDC_TOWER_LATITUDE_DEGREES, TEXT_AT(latitude.degrees), DegreesTextLimit},
    {IDC_TOWER_LATITUDE_MINUTES, TEXT_AT(latitude.minutes), MinutesTextLimit},
    {IDC_TOWER_LATITUDE_SECONDS, TEXT_AT(latitude.seconds), SecondsTextLimit},
    {IDC_TOWER_LONGITUDE_DEGREES, TEXT_AT(longitude.degrees), DegreesTextLimit},
    {IDC_TOWER_LONGITUDE_MINUTES, TEXT_AT(longitude.minutes), MinutesTextLimit},
    {IDC_TOWER_LONGITUDE_SECONDS, TEXT_AT(longitude.seconds), SecondsTextLimit},
    {IDC_TOWER_ALTITUDE, TEXT_AT(altitude), AltitudeTextLimit},
    {IDC_TOWER_ZOOM, TEXT_AT(zoom), ZoomTextLimit},
};
const FormBox towerBoxes[] = {
    {IDC_TOWER_AUTOZOOM, TEXT_AT(autoZoom)},
    {IDC_TOWER_MANUAL_PAN, TEXT_AT(manualPan)},
};
#undef TEXT_AT

void Clicked(WindowHandle dialog, int control) {
    if (control != IDC_TOWER_AUTOZOOM && control != IDC_TOWER_MANUAL_PAN) return;
    const int other = control == IDC_TOWER_AUTOZOOM ? IDC_TOWER_MANUAL_PAN : IDC_TOWER_AUTOZOOM;
    if (ControlChecked(dialog, control)) SetControlChecked(dialog, other, false);
}

const ViewDialogForm towerForm = {
    IDD_EDIT_TOWER_VIEW, towerTexts, sizeof towerTexts / sizeof towerTexts[0],
    towerBoxes,          sizeof towerBoxes / sizeof towerBoxes[0], nullptr, Clicked,
};

}  // namespace

bool RunTowerDialog(TowerDialogTexts* texts) { return RunViewDialog(towerForm, texts); }
