// Each picture is taken with the main view switched to the window kind it
// belongs to, so that the dialog edits a stored view and the sub-menu shows
// a stored view checked, as the user would see them.
#include "view_pictures.h"

#include <cstdio>

#include "sim.h"
#include "ui/dialogs/dialog_ids.h"

namespace {

const uint32_t CommandMessage = 0x0111;
enum : uintptr_t {
    CmdFirstTowerView = 43611,
    CmdEditTowerView = 43602,
    CmdNewSpotView = 43700,
    CmdEditSpotView = 43702,
    CmdNewVcView = 43800,
    CmdEditVcView = 43802,
    CmdViewSettings = 43573,
};

void Choose(uintptr_t command) { SimSendMainWindowMessage(CommandMessage, command, 0); }

void Say(bool saved, const std::string& path) {
    std::printf(saved ? "Picture saved: %s\n" : "No picture of %s here (no windows are drawn).\n", path.c_str());
}

void DialogPicture(const char* caption, uintptr_t command, const std::string& path) {
    SimQueueDialogAnswer(caption, {SimCaptureDialog(path), SimClick(DIALOG_CANCEL)});
    Choose(command);
    SimRunFrames(1);
    FILE* picture = std::fopen(path.c_str(), "rb");
    Say(picture != nullptr, path);
    if (picture) std::fclose(picture);
}

void MenuPicture(const char* title, const std::string& path) {
    SimRepaintFrame();
    Say(SimPictureModuleSubMenu(title, path), path);
}

void Show(uint8_t kind) {
    SimSetViewWindowKind(SimMainViewWindow(), kind);
    SimRunFrames(1);
}

}  // namespace

void TakeViewPictures(const std::string& folder) {
    Show(SimViewTower);
    Choose(CmdFirstTowerView);
    SimRunFrames(1);
    DialogPicture("Edit tower view", CmdEditTowerView, folder + "/tower-dialog.bmp");

    // Two spot views from the simulator's spot plane, the second a copy.
    Show(SimViewSpot);
    Choose(CmdNewSpotView);
    Choose(CmdNewSpotView);
    SimRunFrames(1);
    DialogPicture("Edit spot view", CmdEditSpotView, folder + "/spot-dialog.bmp");

    Show(SimViewVirtualCockpit);
    Choose(CmdNewVcView);
    SimRunFrames(1);
    DialogPicture("Edit VC view", CmdEditVcView, folder + "/vc-dialog.bmp");
    DialogPicture("Advanced view settings", CmdViewSettings, folder + "/view-settings-dialog.bmp");

    // The window keeps the view of each kind it showed last.
    Show(SimViewTower);
    MenuPicture("Advanced tower views", folder + "/tower-menu.bmp");
    Show(SimViewSpot);
    MenuPicture("Advanced spot views", folder + "/spot-menu.bmp");
    Show(SimViewVirtualCockpit);
    MenuPicture("Advanced VC views", folder + "/vc-menu.bmp");
    SimSetViewWindowKind(SimMainViewWindow(), SimViewCockpit2d);
}
