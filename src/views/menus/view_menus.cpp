// The view sub-menus' items. Every kind has the same five commands at its
// hundred (43600, 43700, 43800), then its default view at +10 and its stored
// views from +11; "Edit" is grayed while the default is current, since there
// is nothing to edit then.
#include "views/menus/view_menus.h"

#include <cstring>

#include "views/menus/view_commands.h"
#include "views/windows/view_window_table.h"

namespace {

struct KindMenu {
    ViewKind kind;
    const char* title;
    uint16_t base;
    const char* commands[5];  // by command offset: New, Delete, Edit, Save, Load
    const char* defaultView;
};

const KindMenu kindMenus[3] = {
    {ViewKindTower, "Advanced tower views", TowerCommands,
     {"New tower view", "Delete tower view", "Edit tower view...", "Save tower views...", "Load tower views..."},
     "FS tower"},
    {ViewKindSpot, "Advanced spot views", SpotCommands,
     {"New spot view", "Delete spot view", "Edit spot view...", "Save spot views...", "Load spot views..."},
     "FS spot plane"},
    {ViewKindVirtualCockpit, "Advanced VC views", VcCommands,
     {"New VC view", "Delete VC view", "Edit VC view...", "Save VC views...", "Load VC views..."},
     "Default VC"},
};

// The menu lists Load before Save.
const ViewCommandOffset commandOrder[5] = {CommandNewView, CommandDeleteView, CommandEditView, CommandImportViews,
                                           CommandExportViews};

const KindMenu* MenuOf(ViewKind kind) {
    for (const KindMenu& menu : kindMenus)
        if (menu.kind == kind) return &menu;
    return nullptr;
}

// A menu shows "&" as the underline of the next letter; doubled it shows itself.
void MenuText(char* to, size_t size, const char* text) {
    size_t at = 0;
    for (const char* c = text; *c && at + 1 < size; ++c) {
        if (*c == '&') {
            if (at + 2 >= size) break;
            to[at++] = '&';
        }
        to[at++] = *c;
    }
    to[at] = 0;
}

ViewMenuItem& Append(ViewMenuModel& menu, uint16_t id, const char* text) {
    ViewMenuItem& item = menu.items[menu.count++];
    std::memset(&item, 0, sizeof item);
    item.id = id;
    MenuText(item.text, sizeof item.text, text);
    return item;
}

}  // namespace

ViewMenuModel BuildViewMenuModel(ViewKind kind) {
    ViewMenuModel menu{};
    const KindMenu* kindMenu = MenuOf(kind);
    const int row = ActiveViewRow();
    if (!kindMenu || row < 0) return menu;
    const int32_t current = RowViewIndex(viewState.windows.rows[row], kind);
    const int32_t count = ViewCount(kind);
    // An index left past the end by a deletion elsewhere shows the default.
    const bool onDefault = current < 0 || current >= count;

    for (ViewCommandOffset offset : commandOrder) {
        ViewMenuItem& item = Append(menu, static_cast<uint16_t>(kindMenu->base + offset), kindMenu->commands[offset]);
        item.grayed = offset == CommandEditView && onDefault;
    }
    Append(menu, 0, "").separator = true;
    Append(menu, static_cast<uint16_t>(kindMenu->base + CommandSelectDefault), kindMenu->defaultView).checked =
        onDefault;
    for (int32_t i = 0; i < count; ++i)
        Append(menu, static_cast<uint16_t>(kindMenu->base + CommandSelectDefault + 1 + i), ViewTitle(kind, i))
            .checked = i == current;
    return menu;
}

const char* ViewMenuTitle(ViewKind kind) {
    const KindMenu* menu = MenuOf(kind);
    return menu ? menu->title : "";
}

static const char* PopupTitle(uint8_t kind) { return ViewMenuTitle(static_cast<ViewKind>(kind)); }

const ViewMenuHook viewMenuHook = {{ViewKindTower, ViewKindSpot, ViewKindVirtualCockpit}, PopupTitle, IsViewCommand,
                                   ViewKeyActs};
