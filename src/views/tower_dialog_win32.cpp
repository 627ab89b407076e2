// Dialog 133 as a window: the texts go into the controls when it opens and
// come back out on OK. "Autozoom" and "Manual panning" exclude each other.
#include <windows.h>

#include "core/module.h"
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

void Show(HWND dialog, TowerDialogTexts* texts) {
    for (const TextControl& control : textControls) {
        SendDlgItemMessageA(dialog, control.id, EM_LIMITTEXT, control.limit, 0);
        SetDlgItemTextA(dialog, control.id, TextOf(texts, control));
    }
    CheckDlgButton(dialog, IDC_TOWER_AUTOZOOM, texts->autoZoom ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(dialog, IDC_TOWER_MANUAL_PAN, texts->manualPan ? BST_CHECKED : BST_UNCHECKED);
}

void Read(HWND dialog, TowerDialogTexts* texts) {
    for (const TextControl& control : textControls)
        GetDlgItemTextA(dialog, control.id, TextOf(texts, control), control.limit + 1);
    texts->autoZoom = IsDlgButtonChecked(dialog, IDC_TOWER_AUTOZOOM) == BST_CHECKED;
    texts->manualPan = IsDlgButtonChecked(dialog, IDC_TOWER_MANUAL_PAN) == BST_CHECKED;
}

INT_PTR CALLBACK TowerDialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    TowerDialogTexts* texts = reinterpret_cast<TowerDialogTexts*>(GetWindowLongPtrA(dialog, DWLP_USER));
    switch (message) {
        case WM_INITDIALOG:
            SetWindowLongPtrA(dialog, DWLP_USER, lParam);
            Show(dialog, reinterpret_cast<TowerDialogTexts*>(lParam));
            return TRUE;
        case WM_COMMAND: {
            const int id = LOWORD(wParam);
            if (HIWORD(wParam) == BN_CLICKED && (id == IDC_TOWER_AUTOZOOM || id == IDC_TOWER_MANUAL_PAN)) {
                const int other = id == IDC_TOWER_AUTOZOOM ? IDC_TOWER_MANUAL_PAN : IDC_TOWER_AUTOZOOM;
                if (IsDlgButtonChecked(dialog, id) == BST_CHECKED) CheckDlgButton(dialog, other, BST_UNCHECKED);
                return TRUE;
            }
            if (id == IDOK && texts) {
                Read(dialog, texts);
                EndDialog(dialog, IDOK);
                return TRUE;
            }
            if (id == IDCANCEL) {
                EndDialog(dialog, IDCANCEL);
                return TRUE;
            }
            break;
        }
    }
    return FALSE;
}

}  // namespace

bool RunTowerDialog(TowerDialogTexts* texts) {
    TowerDialogTexts edited = *texts;
    const INT_PTR result =
        DialogBoxParamA(static_cast<HINSTANCE>(module.instance), MAKEINTRESOURCEA(IDD_EDIT_TOWER_VIEW),
                        static_cast<HWND>(module.mainWindow), TowerDialogProcedure, reinterpret_cast<LPARAM>(&edited));
    if (result != IDOK) return false;
    *texts = edited;
    return true;
}
