// The commands of the three view sub-menus (ids 43600 to 43840): New,
// Delete, Edit, Save (export), Load (import) and the selection of a view,
// for the tower, spot and VC lists, on the window that has the focus.
#pragma once

#include <cstdint>

#include "config/keys.h"

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

// The module's view keys: New, Delete, Next and Previous act on the views of
// the focused window's kind, Autozoom on tower windows only. Whether a key
// acts on a window of this kind (any other key, or window, goes on to the
// simulator), and the key's action on the focused window.
bool ViewKeyActs(KeyCommand key, uint8_t windowKind);
void ViewKeyCommand(KeyCommand key);
// The kind of the window that has the focus; 0 when there is none.
uint8_t ActiveViewWindowKind();
