// The commands of the three view sub-menus (ids 43600 to 43840): New,
// Delete, Edit, Save (export), Load (import) and the selection of a view,
// for the tower, spot and VC lists, on the window that has the focus.
#pragma once

#include <cstdint>

enum ViewCommandBase : uint16_t {
    TowerCommands = 43600,
    SpotCommands = 43700,
    VcCommands = 43800,
};
// Offsets from a kind's base.
enum ViewCommandOffset : uint16_t {
    CommandNewView = 0,
    CommandDeleteView = 1,
    CommandEditView = 2,
    CommandExportViews = 3,
    CommandImportViews = 4,
    CommandSelectDefault = 10,  // 11 + i selects stored view i
    CommandSelectLast = 40,
};

bool IsViewCommand(uint32_t commandId);
void ViewMenuCommand(uint32_t commandId);
