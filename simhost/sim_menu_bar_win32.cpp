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

static std::vector<SimMenuItem> MenuItems(HMENU popup) {
    std::vector<SimMenuItem> items;
    int count = popup ? GetMenuItemCount(popup) : 0;
    for (int i = 0; i < count; ++i) {
        UINT state = GetMenuState(popup, static_cast<UINT>(i), MF_BYPOSITION);
        SimMenuItem item;
        item.text = MenuText(popup, i);
        item.separator = (state & MF_SEPARATOR) != 0;
        HMENU sub = GetSubMenu(popup, i);
        item.popup = sub != nullptr;
        item.grayed = (state & (MF_GRAYED | MF_DISABLED)) != 0;
        item.checked = (state & MF_CHECKED) != 0;
        UINT id = GetMenuItemID(popup, i);
        item.id = item.separator || item.popup || id == static_cast<UINT>(-1) ? 0 : id;
        if (sub) item.items = MenuItems(sub);
        items.push_back(item);
    }
    return items;
}

std::vector<SimMenuItem> SimModuleMenuItems() {
    HMENU bar = MenuBar();
    int position = ModuleMenuPosition(bar);
    return position < 0 ? std::vector<SimMenuItem>() : MenuItems(GetSubMenu(bar, position));
}

// The position of the module popup's sub-menu of this title, -1 for none.
static int SubMenuPosition(HMENU popup, const std::string& title) {
    int count = popup ? GetMenuItemCount(popup) : 0;
    for (int i = 0; i < count; ++i)
        if (GetSubMenu(popup, i) && MenuText(popup, i) == title) return i;
    return -1;
}

void SimOpenModuleSubMenu(const std::string& title) {
    HMENU bar = MenuBar();
    int position = ModuleMenuPosition(bar);
    if (position < 0) return;
    HMENU popup = GetSubMenu(bar, position);
    SendMessageA(MainWindow(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), position);
    int sub = SubMenuPosition(popup, title);
    if (sub >= 0) SendMessageA(MainWindow(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(GetSubMenu(popup, sub)), sub);
    SimPlatformPumpMessages();
}

// What the picture of an open sub-menu needs while the menu runs its loop.
static struct {
    HMENU popup;
    int target;  // the sub-menu's position in the popup
    int presses;
    std::string path;
    bool saved;
} menuPicture;

static BOOL CALLBACK AddMenuWindow(HWND window, LPARAM rectangle) {
    char name[16] = "";
    GetClassNameA(window, name, sizeof name);
    if (std::string(name) != "#32768" || !IsWindowVisible(window)) return TRUE;
    RECT frame;
    GetWindowRect(window, &frame);
    UnionRect(reinterpret_cast<RECT*>(rectangle), reinterpret_cast<RECT*>(rectangle), &frame);
    return TRUE;
}

// The main window's top with the menus open below it.
static void CALLBACK PictureMenuLater(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    RECT area;
    GetWindowRect(MainWindow(), &area);
    area.bottom = area.top;
    EnumWindows(AddMenuWindow, reinterpret_cast<LPARAM>(&area));
    menuPicture.saved = SimSaveScreenPicture(area.left, area.top, area.right - area.left, area.bottom - area.top,
                                             menuPicture.path);
    EndMenu();
}

static void PostKey(UINT key) {
    PostMessageA(MainWindow(), WM_KEYDOWN, key, 1);
    PostMessageA(MainWindow(), WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));
}

// A user's walk down to the sub-menu: one press of the down arrow at a
// time until the sub-menu's item is highlighted (the menu decides where the
// first press lands and skips the separators), then the right arrow opens it.
static void CALLBACK WalkToSubMenu(HWND, UINT, UINT_PTR timer, DWORD) {
    const UINT state = GetMenuState(menuPicture.popup, static_cast<UINT>(menuPicture.target), MF_BYPOSITION);
    if (state != static_cast<UINT>(-1) && (state & MF_HILITE)) {
        KillTimer(nullptr, timer);
        PostKey(VK_RIGHT);
        SetTimer(nullptr, 0, 1500, PictureMenuLater);
        return;
    }
    if (++menuPicture.presses > 2 * GetMenuItemCount(menuPicture.popup)) {
        KillTimer(nullptr, timer);
        EndMenu();
        return;
    }
    PostKey(VK_DOWN);
}

bool SimPictureModuleSubMenu(const std::string& title, const std::string& path) {
    HMENU bar = MenuBar();
    int position = ModuleMenuPosition(bar);
    HMENU popup = position < 0 ? nullptr : GetSubMenu(bar, position);
    int sub = SubMenuPosition(popup, title);
    if (sub < 0) return false;
    menuPicture.popup = popup;
    menuPicture.target = sub;
    menuPicture.presses = 0;
    menuPicture.path = path;
    menuPicture.saved = false;
    RECT titleRect = {};
    GetMenuItemRect(MainWindow(), bar, static_cast<UINT>(position), &titleRect);
    SetForegroundWindow(MainWindow());
    HiliteMenuItem(MainWindow(), bar, static_cast<UINT>(position), MF_BYPOSITION | MF_HILITE);
    SetTimer(nullptr, 0, 200, WalkToSubMenu);
    TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_TOPALIGN, titleRect.left, titleRect.bottom, 0, MainWindow(), nullptr);
    HiliteMenuItem(MainWindow(), bar, static_cast<UINT>(position), MF_BYPOSITION | MF_UNHILITE);
    // Keys the menu left unread must not reach the module as the user's.
    MSG message;
    while (PeekMessageA(&message, MainWindow(), WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {
    }
    SimPlatformPumpMessages();
    return menuPicture.saved;
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
