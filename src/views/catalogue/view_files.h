// Export and import of a view catalogue through the save and open file
// dialogs ("Save tower views", "Load tower views" and so on). Each of the six
// dialogs opens with the name last chosen in it.
#pragma once

#include "core/host/host_view_window.h"
#include "views/state/view_state.h"

// Runs the dialog and, if the user chose a file, saves or loads the catalogue
// of the kind there. The current directory is the same afterwards.
void RunViewFileDialog(ViewKind kind, ViewFileDialog dialog);
