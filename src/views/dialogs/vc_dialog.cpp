// The VC dialog's conversions: metres to feet with hundredths (a key step is
// 0.2 ft), the zoom to a tenth.
#include "views/dialogs/vc_dialog.h"

#include <cstddef>
#include <cstdio>

#include "config/settings.h"
#include "core/host/host.h"
#include "engine/tracks/host_encoding.h"
#include "views/dialogs/view_dialog.h"
#include "views/dialogs/view_resources.h"
#include "views/windows/view_window_table.h"

namespace {

#define TEXT_AT(member) offsetof(VcDialogTexts, member)
const FormText vcTexts[] = {
    {IDC_VC_TITLE, TEXT_AT(title), ViewNameLength},
    {IDC_VC_X, TEXT_AT(position[0]), VcNumberTextLimit},
    {IDC_VC_Y, TEXT_AT(position[1]), VcNumberTextLimit},
    {IDC_VC_Z, TEXT_AT(position[2]), VcNumberTextLimit},
    {IDC_VC_ZOOM, TEXT_AT(zoom), VcNumberTextLimit},
};
#undef TEXT_AT

const ViewDialogForm vcForm = {IDD_EDIT_VC_VIEW, vcTexts, sizeof vcTexts / sizeof vcTexts[0], nullptr, 0, nullptr,
                               nullptr};

}  // namespace

VcDialogTexts VcDialogTextsOf(const VcView& view) {
    VcDialogTexts texts{};
    CopyLimited(texts.title, view.name, ViewNameLength);
    const float position[3] = {view.x, view.y, view.z};
    for (int axis = 0; axis < 3; ++axis)
        std::snprintf(texts.position[axis], sizeof texts.position[axis], "%.2f", position[axis] * FeetPerMetre);
    std::snprintf(texts.zoom, sizeof texts.zoom, "%.1f", static_cast<double>(view.zoom / ZoomNormal));
    return texts;
}

void ApplyVcDialogTexts(const VcDialogTexts& texts, VcView* view) {
    CopyLimited(view->name, texts.title, ViewNameLength);
    float* position[3] = {&view->x, &view->y, &view->z};
    for (int axis = 0; axis < 3; ++axis)
        *position[axis] = NarrowToFloat(ParseSettingNumber(texts.position[axis]) * MetresPerFoot);
    view->zoom = ClampZoom(NarrowToFloat(ParseSettingNumber(texts.zoom) * ZoomNormal));
}

bool RunVcDialog(VcDialogTexts* texts) { return RunViewDialog(vcForm, texts); }

void EditVcView() {
    ViewWindowRow* row = nullptr;
    const int32_t index = EditedStoredView(ViewKindVirtualCockpit, &row);
    if (index < 0) return;
    VcView& view = viewState.vc.entries[index];
    VcDialogTexts texts = VcDialogTextsOf(view);
    HostModalBegin();
    const bool confirmed = RunVcDialog(&texts);
    HostModalEnd();
    if (confirmed) ApplyVcDialogTexts(texts, &view);
}
