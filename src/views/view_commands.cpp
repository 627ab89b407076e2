// Each view menu command names its kind by its hundred and its action by the
// rest; the actions are the catalogue's switching rule, the file dialogs and
// the edit dialogs.
#include "views/view_commands.h"

#include "views/tower_dialog.h"
#include "views/view_files.h"
#include "views/view_switching.h"

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
            // The spot and cockpit edit dialogs come with their cameras.
            if (kind == ViewKindTower) EditTowerView();
            return;
    }
    ChangeActiveView(kind, ChangeSelect, static_cast<int32_t>(offset) - (CommandSelectDefault + 1));
}
