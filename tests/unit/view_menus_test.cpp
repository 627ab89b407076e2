// The three view sub-menus as the module builds them for the focused
// window: their items in order, which is grayed and which checked, for
// empty, partly filled and full catalogues, and nothing without a row.
#include <string>
#include <vector>

#include "views/menus/view_menus.h"
#include "views_fixture.h"

namespace {

class ViewMenus : public ViewsTest {
protected:
    void SetUp() override {
        ViewsTest::SetUp();
        Start();
    }
    // One line per item: "-" for the separator, else the text and id, with
    // " (grayed)" and " (checked)".
    static std::vector<std::string> Lines(ViewKind kind) {
        const ViewMenuModel menu = BuildViewMenuModel(kind);
        std::vector<std::string> lines;
        for (int i = 0; i < menu.count; ++i) {
            const ViewMenuItem& item = menu.items[i];
            if (item.separator) {
                lines.push_back("-");
                continue;
            }
            lines.push_back(std::string(item.text) + " " + std::to_string(item.id) + (item.grayed ? " (grayed)" : "") +
                            (item.checked ? " (checked)" : ""));
        }
        return lines;
    }
};

TEST_F(ViewMenus, EmptyCataloguesOfferTheSimulatorsViewsCheckedAndNoEdit) {
    EXPECT_EQ(Lines(ViewKindTower),
              (std::vector<std::string>{"New tower view 43600", "Delete tower view 43601",
                                        "Edit tower view... 43602 (grayed)", "Load tower views... 43604",
                                        "Save tower views... 43603", "-", "FS tower 43610 (checked)"}));
    EXPECT_EQ(Lines(ViewKindSpot),
              (std::vector<std::string>{"New spot view 43700", "Delete spot view 43701",
                                        "Edit spot view... 43702 (grayed)", "Load spot views... 43704",
                                        "Save spot views... 43703", "-", "FS spot plane 43710 (checked)"}));
    EXPECT_EQ(Lines(ViewKindVirtualCockpit),
              (std::vector<std::string>{"New VC view 43800", "Delete VC view 43801", "Edit VC view... 43802 (grayed)",
                                        "Load VC views... 43804", "Save VC views... 43803", "-",
                                        "Default VC 43810 (checked)"}));
    EXPECT_STREQ(ViewMenuTitle(ViewKindTower), "Advanced tower views");
    EXPECT_STREQ(ViewMenuTitle(ViewKindSpot), "Advanced spot views");
    EXPECT_STREQ(ViewMenuTitle(ViewKindVirtualCockpit), "Advanced VC views");
}

TEST_F(ViewMenus, TheCurrentStoredViewIsCheckedAndCanBeEdited) {
    AddSpotView("Chase", 0, 2, -30, 1, 0);
    AddSpotView("Wing & tail", 20, 0, 0, 1, 0);
    AddSpotView("Above", 0, 50, -1, 1, 0);
    ShowStoredView(SimViewSpot, ViewKindSpot, 1);
    const std::vector<std::string> lines = Lines(ViewKindSpot);
    ASSERT_EQ(lines.size(), 10u);
    EXPECT_EQ(lines[2], "Edit spot view... 43702");
    EXPECT_EQ(lines[6], "FS spot plane 43710");
    EXPECT_EQ(lines[7], "Chase 43711");
    EXPECT_EQ(lines[8], "Wing && tail 43712 (checked)");  // shown as typed, not as a shortcut
    EXPECT_EQ(lines[9], "Above 43713");
    // The other kinds of the same window are on their defaults.
    EXPECT_EQ(Lines(ViewKindTower).back(), "FS tower 43610 (checked)");
}

TEST_F(ViewMenus, AFullCatalogueListsAllThirtyAndAnIndexPastTheEndShowsTheDefault) {
    for (int i = 0; i < ViewListCapacity; ++i) AddTowerView(("Tower " + std::to_string(i + 1)).c_str(), 0, 100, 150);
    const int row = ShowTowerView(29);
    std::vector<std::string> lines = Lines(ViewKindTower);
    ASSERT_EQ(lines.size(), 37u);
    EXPECT_EQ(lines.back(), "Tower 30 43640 (checked)");
    EXPECT_EQ(lines[6], "FS tower 43610");

    viewState.tower.count = 10;  // deleted through another window
    lines = Lines(ViewKindTower);
    EXPECT_EQ(lines.size(), 17u);
    EXPECT_EQ(lines[2], "Edit tower view... 43602 (grayed)");
    EXPECT_EQ(lines[6], "FS tower 43610 (checked)");
    EXPECT_EQ(Row(row).towerIndex, 29);  // the menu only shows; the camera resets it
}

TEST_F(ViewMenus, WithoutARowForTheFocusedWindowTheMenusAreEmpty) {
    static uint8_t windows[ViewWindowCapacity][0x200];
    for (auto& window : windows) FindOrAddViewWindow(window);  // the table is full
    AddTowerView("Field", 0, 100, 150);
    EXPECT_EQ(BuildViewMenuModel(ViewKindTower).count, 0);
    EXPECT_EQ(BuildViewMenuModel(ViewKindVirtualCockpit).count, 0);
    SimFocusViewWindow(nullptr);
    EXPECT_EQ(BuildViewMenuModel(ViewKindSpot).count, 0);
}

}  // namespace
