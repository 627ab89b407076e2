// The Windows stand-in's menu bar: the simulator's own popups, built and
// rebuilt as the simulator does, and what tests read of the bar and of the
// module's popup on it.
#include <string>
#include <vector>

#include "sim_internal.h"
#include "sim_win32.h"

namespace {

HWND MainWindow() { return static_cast<HWND>(SimMainWindow()); }
HMENU MenuBar() { return MainWindow() ? GetMenu(MainWindow()) : nullptr; }

HMENU HostMenu() {
    HMENU popup = CreatePopupMenu();
    AppendMenuA(popup, MF_STRING, 40000, "(stand-in)");
    return popup;
}

std::string MenuText(HMENU menu, int position) {
    char text[256] = "";
    GetMenuStringA(menu, static_cast<UINT>(position), text, sizeof text, MF_BYPOSITION);
    return text;
}

// Position of the module's popup on the bar, -1 when there is none.
int ModuleMenuPosition(HMENU bar) {
    int count = bar ? GetMenuItemCount(bar) : 0;
    for (int position = 0; position < count; ++position)
        if (MenuText(bar, position) == "Aerotrace") return position;
    return -1;
}

void CALLBACK CloseMenuLater(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    EndMenu();
}

}  // namespace

HMENU SimBuildHostMenuBar() {
    HMENU bar = CreateMenu();
    const char* const titles[] = {"Flights", "World", "Aircraft", "Views", "Options", "Help"};
    for (const char* title : titles) AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(HostMenu()), title);
    return bar;
}

bool SimHasMenuBar() { return MenuBar() != nullptr; }

std::vector<std::string> SimMenuBarTitles() {
    std::vector<std::string> titles;
    HMENU bar = MenuBar();
    int count = bar ? GetMenuItemCount(bar) : 0;
    for (int position = 0; position < count; ++position) titles.push_back(MenuText(bar, position));
    return titles;
}

std::vector<SimMenuItem> SimModuleMenuItems() {
    std::vector<SimMenuItem> items;
    HMENU bar = MenuBar();
    int position = ModuleMenuPosition(bar);
    if (position < 0) return items;
    HMENU popup = GetSubMenu(bar, position);
    int count = popup ? GetMenuItemCount(popup) : 0;
    for (int i = 0; i < count; ++i) {
        UINT state = GetMenuState(popup, static_cast<UINT>(i), MF_BYPOSITION);
        SimMenuItem item;
        item.text = MenuText(popup, i);
        item.separator = (state & MF_SEPARATOR) != 0;
        item.popup = GetSubMenu(popup, i) != nullptr;
        item.grayed = (state & (MF_GRAYED | MF_DISABLED)) != 0;
        UINT id = GetMenuItemID(popup, i);
        item.id = item.separator || item.popup || id == static_cast<UINT>(-1) ? 0 : id;
        items.push_back(item);
    }
    return items;
}

void SimAddMenuBarItem(const std::string& title) {
    HMENU bar = MenuBar();
    if (!bar) return;
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(HostMenu()), title.c_str());
    DrawMenuBar(MainWindow());
    SimPlatformPumpMessages();
}

// As the simulator changes its menus: a new bar, set and drawn.
void SimRebuildMenuBar() {
    if (!MainWindow()) return;
    HMENU old = GetMenu(MainWindow());
    SetMenu(MainWindow(), SimBuildHostMenuBar());
    if (old) DestroyMenu(old);
    DrawMenuBar(MainWindow());
    SimPlatformPumpMessages();
}

void SimRepaintFrame() {
    if (!MainWindow()) return;
    RedrawWindow(MainWindow(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    SimPlatformPumpMessages();
}

bool SimShowModuleMenu(double seconds) {
    HMENU bar = MenuBar();
    int position = ModuleMenuPosition(bar);
    if (position < 0) return false;
    RECT title = {};
    GetMenuItemRect(MainWindow(), bar, static_cast<UINT>(position), &title);
    SetForegroundWindow(MainWindow());
    HiliteMenuItem(MainWindow(), bar, static_cast<UINT>(position), MF_BYPOSITION | MF_HILITE);
    SetTimer(nullptr, 0, static_cast<UINT>(seconds * 1000.0), CloseMenuLater);
    TrackPopupMenu(GetSubMenu(bar, position), TPM_LEFTALIGN | TPM_TOPALIGN, title.left, title.bottom, 0,
                   MainWindow(), nullptr);
    HiliteMenuItem(MainWindow(), bar, static_cast<UINT>(position), MF_BYPOSITION | MF_UNHILITE);
    SimPlatformPumpMessages();
    return true;
}
