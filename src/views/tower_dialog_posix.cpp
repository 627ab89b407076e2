// Native builds have no dialog windows: the tower dialog is closed at once,
// as a user who cancels it; its conversions are tested on their own.
#include "views/tower_dialog.h"

bool RunTowerDialog(TowerDialogTexts*) { return false; }
