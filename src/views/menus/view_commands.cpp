// Each view menu command names its kind by its hundred and its action by the
// rest; the actions are the catalogue's switching rule, the file dialogs and
// the edit dialogs.
#include "views/menus/view_commands.h"

#include "core/host/host.h"
#include "views/cameras/tower_controls.h"
#include "views/catalogue/view_files.h"
#include "views/dialogs/spot_dialog.h"
#include "views/dialogs/tower_dialog.h"
#include "views/dialogs/vc_dialog.h"
#include "views/windows/view_switching.h"

static bool KindOfCommand(uint32_t commandId, ViewKind* kind, uint32_t* offset) {
    static const struct {
        uint16_t base;
        ViewKind kind;
    } kinds[] = {{TowerCommands, ViewKindTower}, {SpotCommands, ViewKindSpot}, {VcCommands, ViewKindVirtualCockpit}};
    for (const auto& entry : kinds) {
        if (commandId < entry.base || commandId > uint32_t{entry.base} + CommandSelectLast) continue;
        *kind = entry.kind;
        *offset = commandId - entry.base;
        return *offset <= CommandImportViews || *offset >= CommandSelectDefault;
    }
    return false;
}

bool IsViewCommand(uint32_t commandId) {
    ViewKind kind;
    uint32_t offset;
    return KindOfCommand(commandId, &kind, &offset);
}

void ViewMenuCommand(uint32_t commandId) {
    ViewKind kind;
    uint32_t offset;
    if (!KindOfCommand(commandId, &kind, &offset)) return;
    switch (offset) {
        case CommandNewView: ChangeActiveView(kind, ChangeNew, 0); return;
        case CommandDeleteView: ChangeActiveView(kind, ChangeDelete, 0); return;
        case CommandExportViews: RunViewFileDialog(kind, ExportDialog); return;
        case CommandImportViews: RunViewFileDialog(kind, ImportDialog); return;
        case CommandEditView:
            if (kind == ViewKindTower) EditTowerView();
            if (kind == ViewKindSpot) EditSpotView();
            if (kind == ViewKindVirtualCockpit) EditVcView();
            return;
    }
    ChangeActiveView(kind, ChangeSelect, static_cast<int32_t>(offset) - (CommandSelectDefault + 1));
}

bool ViewKeyActs(KeyCommand key, uint8_t windowKind) {
    if (ViewKindSlot(static_cast<ViewKind>(windowKind)) < 0) return false;
    switch (key) {
        case KeyNewView: case KeyDelView: case KeyNextView: case KeyPrevView: return true;
        case KeyAutozoom: return windowKind == ViewKindTower;
        default: return false;
    }
}

void ViewKeyCommand(KeyCommand key) {
    const uint8_t windowKind = ActiveViewWindowKind();
    if (!ViewKeyActs(key, windowKind)) return;
    const ViewKind kind = static_cast<ViewKind>(windowKind);
    switch (key) {
        case KeyNewView: ChangeActiveView(kind, ChangeNew, 0); break;
        case KeyDelView: ChangeActiveView(kind, ChangeDelete, 0); break;
        case KeyNextView: ChangeActiveView(kind, ChangeNext, 0); break;
        case KeyPrevView: ChangeActiveView(kind, ChangePrevious, 0); break;
        case KeyAutozoom: TowerAutozoomToggle(); break;
        default: break;
    }
}

uint8_t ActiveViewWindowKind() {
    void* window = HostActiveViewWindow();
    return window ? ViewWindowKind(window) : 0;
}
