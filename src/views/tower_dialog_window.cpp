// Dialog 133 as a window: the texts go into the controls when it opens and
// come back out on OK. "Autozoom" and "Manual panning" exclude each other.
#include <cstddef>

#include "core/module.h"
#include "ui/dialog_controls.h"
#include "ui/dialog_ids.h"
#include "views/tower_dialog.h"
#include "views/view_resources.h"

namespace {

struct TextControl {
    int id;
    size_t offset;  // of the text in TowerDialogTexts
    int limit;
};

#define TEXT_AT(member) offsetof(TowerDialogTexts, member)
const TextControl textControls[] = {
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
#undef TEXT_AT

char* TextOf(TowerDialogTexts* texts, const TextControl& control) {
    return reinterpret_cast<char*>(texts) + control.offset;
}

void Show(WindowHandle dialog, TowerDialogTexts* texts) {
    for (const TextControl& control : textControls) {
        DialogItemMessage(dialog, control.id, EditLimitText, static_cast<uintptr_t>(control.limit), 0);
        SetControlText(dialog, control.id, TextOf(texts, control));
    }
    SetControlChecked(dialog, IDC_TOWER_AUTOZOOM, texts->autoZoom);
    SetControlChecked(dialog, IDC_TOWER_MANUAL_PAN, texts->manualPan);
}

void Read(WindowHandle dialog, TowerDialogTexts* texts) {
    for (const TextControl& control : textControls)
        ControlText(dialog, control.id, TextOf(texts, control), static_cast<size_t>(control.limit) + 1);
    texts->autoZoom = ControlChecked(dialog, IDC_TOWER_AUTOZOOM);
    texts->manualPan = ControlChecked(dialog, IDC_TOWER_MANUAL_PAN);
}

intptr_t TowerDialogProcedure(WindowHandle dialog, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    if (message == MessageInitDialog) {
        Show(dialog, static_cast<TowerDialogTexts*>(reinterpret_cast<void*>(lParam)));
        return 1;
    }
    if (message != MessageDialogCommand) return 0;
    TowerDialogTexts* texts = static_cast<TowerDialogTexts*>(DialogState(dialog));
    const int id = CommandControl(wParam);
    if (CommandNotification(wParam) == NotifyClicked && (id == IDC_TOWER_AUTOZOOM || id == IDC_TOWER_MANUAL_PAN)) {
        const int other = id == IDC_TOWER_AUTOZOOM ? IDC_TOWER_MANUAL_PAN : IDC_TOWER_AUTOZOOM;
        if (ControlChecked(dialog, id)) SetControlChecked(dialog, other, false);
        return 1;
    }
    if (id == DIALOG_OK && texts) {
        Read(dialog, texts);
        return EndWith(dialog, DIALOG_OK);
    }
    if (id == DIALOG_CANCEL) return EndWith(dialog, DIALOG_CANCEL);
    return 0;
}

}  // namespace

bool RunTowerDialog(TowerDialogTexts* texts) {
    TowerDialogTexts edited = *texts;
    if (DialogRun(IDD_EDIT_TOWER_VIEW, module.mainWindow, TowerDialogProcedure, &edited) != DIALOG_OK) return false;
    *texts = edited;
    return true;
}
