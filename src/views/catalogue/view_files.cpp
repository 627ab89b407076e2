// The file dialogs of the view catalogues. The dialogs may leave the folder
// the user browsed to as the current directory, and every path of the module
// is relative to the simulator's folder, so that folder is put back.
#include "views/catalogue/view_files.h"

#include "core/host/host.h"
#include "core/host/module_state.h"
#include "platform/platform.h"
#include "views/catalogue/view_catalogue.h"

namespace {

struct KindFiles {
    const char* filterDescription;
    const char* filterPattern;
    const char* extension;
    const char* saveTitle;
    const char* loadTitle;
    const char* missingText;
};

const KindFiles kindFiles[3] = {
    {"Tower views (*.twr)", "*.twr", "twr", "Save tower views", "Load tower views",
     "This file holds no tower views. Your tower views are unchanged."},
    {"Spot views (*.spt)", "*.spt", "spt", "Save spot views", "Load spot views",
     "This file holds no spot views. Your spot views are unchanged."},
    {"VC views (*.vc)", "*.vc", "vc", "Save VC views", "Load VC views",
     "This file holds no VC views. Your VC views are unchanged."},
};

}  // namespace

void RunViewFileDialog(ViewKind kind, ViewFileDialog dialog) {
    const int slot = ViewKindSlot(kind);
    if (slot < 0) return;
    const KindFiles& files = kindFiles[slot];
    const bool exporting = dialog == ExportDialog;
    FileDialogRequest request{};
    request.owner = module.mainWindow;
    request.title = exporting ? files.saveTitle : files.loadTitle;
    request.filterDescription = files.filterDescription;
    request.filterPattern = files.filterPattern;
    request.defaultExtension = files.extension;
    request.promptOverwrite = exporting ? 1 : 0;
    char* fileName = viewState.fileNames[slot][dialog];

    char folder[1024];
    const bool folderKnown = CurrentDirectoryGet(folder, sizeof folder) != 0;
    HostModalBegin();
    const uint32_t size = sizeof viewState.fileNames[slot][dialog];
    const int chosen = exporting ? ChooseSaveFile(&request, fileName, size) : ChooseOpenFile(&request, fileName, size);
    if (chosen && exporting) {
        SaveViewCatalogue(kind, fileName);
    } else if (chosen && ViewCatalogueInFile(kind, fileName)) {
        LoadViewCatalogue(kind, fileName);
    } else if (chosen) {
        // Loading a file without views of this kind would empty the list the
        // user has, and the empty list would be saved at shut-down.
        ShowMessageBox(module.mainWindow, files.missingText, "Aerotrace", BoxOk | BoxIconWarning);
    }
    if (folderKnown) CurrentDirectorySet(folder);
    HostModalEnd();
}
