// The advanced views' pictures for the user guide: their four dialogs and
// their three sub-menus, opened on stored views as a user would open them.
#pragma once

#include <string>

// Saves tower-dialog.bmp, spot-dialog.bmp, view-settings-dialog.bmp,
// vc-dialog.bmp and tower-menu.bmp, spot-menu.bmp, vc-menu.bmp in the
// folder (under Windows; the native stand-in draws no windows). The settings
// file holds a stored tower view; the spot and VC views are made here.
void TakeViewPictures(const std::string& folder);
