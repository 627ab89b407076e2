// The advanced views' sub-menus on the real menu bar, and the module's view
// keys, as the user meets them: the items and states each sub-menu shows for
// empty, small and full catalogues, the sub-menu showing what is current each
// time it opens, and which of the view keys the module takes by the kind of
// the window that has the focus. The menu tests need the Windows stand-in's
// menu bar; the keys run on both stand-ins.
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "dialog_scenario.h"
#include "scenario_support.h"
#include "user_input.h"

namespace {

enum : uint32_t {
    CmdSelectFsTower = 43610,
    CmdSelectTowerView0 = 43611,
    CmdNewSpotView = 43700,
    CmdSelectSpotView0 = 43711,
};
enum : int { KeyV = 'V', KeyZ = 'Z' };

// A settings file with `count` stored views of a kind named "<name> 1", ... .
std::string Catalogue(const char* section, const char* name, int count, const char* values) {
    std::string text = std::string("[") + section + "]\r\nnViews=" + std::to_string(count) + "\r\n";
    for (int i = 0; i < count; ++i) {
        char line[160];
        std::snprintf(line, sizeof line, "View%dName=%s %d\r\n", i, name, i + 1);
        text += line;
        // Every key of a view but its name, for view i.
        std::string rest = values;
        for (size_t at = rest.find('#'); at != std::string::npos; at = rest.find('#'))
            rest.replace(at, 1, std::to_string(i));
        text += rest;
    }
    return text;
}

void WriteSettingsFile(const std::string& text) {
    std::ofstream("Modules/Aerotrace.ini", std::ios::binary) << "[SETTINGS]\r\nRplyEnabled=0\r\n" << text;
}

// Each item as one line: text, id and state; a separator as "-".
std::vector<std::string> Lines(const std::vector<SimMenuItem>& items) {
    std::vector<std::string> lines;
    for (const SimMenuItem& item : items) {
        if (item.separator) {
            lines.push_back("-");
            continue;
        }
        std::string line = item.text + " " + std::to_string(item.id);
        if (item.grayed) line += " (grayed)";
        if (item.checked) line += " (checked)";
        lines.push_back(line);
    }
    return lines;
}

class ViewMenus : public Scenario {
protected:
    // The module menu on the bar, the focused main view turned into a
    // window of this kind.
    void StartOn(uint8_t windowKind) {
        Start();
        SimSetViewWindowKind(SimMainViewWindow(), windowKind);
        SimRunFrames(1);
        SimRepaintFrame();
    }
    // The sub-menu as the user sees it on opening it.
    static std::vector<std::string> Opened(const std::string& title) {
        SimOpenModuleSubMenu(title);
        for (const SimMenuItem& item : SimModuleMenuItems())
            if (item.popup && item.text == title) return Lines(item.items);
        ADD_FAILURE() << "no sub-menu \"" << title << "\"";
        return {};
    }
};

TEST_F(ViewMenus, EmptyCataloguesOfferOnlyTheSimulatorsViewsWithEditGrayed) {
    WriteSettingsFile("");
    StartOn(SimViewTower);
    if (!SimHasMenuBar()) GTEST_SKIP() << "the native stand-in has no menu bar";
    EXPECT_EQ(Opened("Advanced tower views"),
              (std::vector<std::string>{"New tower view 43600", "Delete tower view 43601",
                                        "Edit tower view... 43602 (grayed)", "Load tower views... 43604",
                                        "Save tower views... 43603", "-", "FS tower 43610 (checked)"}));
    EXPECT_EQ(Opened("Advanced spot views"),
              (std::vector<std::string>{"New spot view 43700", "Delete spot view 43701",
                                        "Edit spot view... 43702 (grayed)", "Load spot views... 43704",
                                        "Save spot views... 43703", "-", "FS spot plane 43710 (checked)"}));
    EXPECT_EQ(Opened("Advanced VC views"),
              (std::vector<std::string>{"New VC view 43800", "Delete VC view 43801", "Edit VC view... 43802 (grayed)",
                                        "Load VC views... 43804", "Save VC views... 43803", "-",
                                        "Default VC 43810 (checked)"}));
    // The three sub-menus sit between "Settings..." and "Advanced view settings...".
    std::vector<std::string> titles;
    for (const SimMenuItem& item : SimModuleMenuItems())
        titles.push_back(item.separator ? "-" : item.popup ? "> " + item.text : item.text);
    EXPECT_EQ(std::vector<std::string>(titles.begin() + 5, titles.begin() + 10),
              (std::vector<std::string>{"-", "> Advanced tower views", "> Advanced spot views", "> Advanced VC views",
                                        "Advanced view settings..."}));
}

TEST_F(ViewMenus, ThreeStoredViewsAreListedWithTheCurrentOneCheckedEachTimeTheMenuOpens) {
    WriteSettingsFile(Catalogue("SPOTVIEWS", "Chase", 3, "View#X=0\r\nView#Y=2\r\nView#Z=-30\r\n") +
                      Catalogue("TOWERVIEWS", "Field", 3, ""));
    StartOn(SimViewSpot);
    if (!SimHasMenuBar()) GTEST_SKIP() << "the native stand-in has no menu bar";
    const std::vector<std::string> commands = {"New spot view 43700", "Delete spot view 43701",
                                               "Edit spot view... 43702 (grayed)", "Load spot views... 43704",
                                               "Save spot views... 43703", "-"};
    std::vector<std::string> expected = commands;
    for (const char* line : {"FS spot plane 43710 (checked)", "Chase 1 43711", "Chase 2 43712", "Chase 3 43713"})
        expected.push_back(line);
    EXPECT_EQ(Opened("Advanced spot views"), expected);

    // The second view chosen from the menu: the next time it opens it says so
    // and "Edit" can be chosen, though the module menu stayed on the bar.
    EXPECT_FALSE(ReachedHost(0x0111, CmdSelectSpotView0 + 1, 0));
    SimRunFrames(1);
    expected = commands;
    expected[2] = "Edit spot view... 43702";
    for (const char* line : {"FS spot plane 43710", "Chase 1 43711", "Chase 2 43712 (checked)", "Chase 3 43713"})
        expected.push_back(line);
    EXPECT_EQ(Opened("Advanced spot views"), expected);

    // The "NextView" key (V) moves on, and a new view joins the list.
    EXPECT_FALSE(Stroke(KeyV));
    EXPECT_FALSE(ReachedHost(0x0111, CmdNewSpotView, 0));
    std::vector<std::string> after = Opened("Advanced spot views");
    ASSERT_EQ(after.size(), 11u);
    EXPECT_EQ(after[9], "Chase 3 43713");
    EXPECT_EQ(after[10], "Spot view 4 43714 (checked)");

    // The tower catalogue is there for this window too, on its default.
    EXPECT_EQ(Opened("Advanced tower views").back(), "Field 3 43613");
}

TEST_F(ViewMenus, ThirtyStoredViewsAreAllListedAndTheThirtiethCanBeChosen) {
    WriteSettingsFile(Catalogue("TOWERVIEWS", "Tower", 30, "View#Lat=47.45\r\nView#Lon=-122.3\r\nView#Alt=200\r\n"));
    StartOn(SimViewTower);
    if (!SimHasMenuBar()) GTEST_SKIP() << "the native stand-in has no menu bar";
    std::vector<std::string> items = Opened("Advanced tower views");
    ASSERT_EQ(items.size(), 37u);
    EXPECT_EQ(items[6], "FS tower 43610 (checked)");
    EXPECT_EQ(items[7], "Tower 1 43611");
    EXPECT_EQ(items[36], "Tower 30 43640");

    EXPECT_FALSE(ReachedHost(0x0111, 43640, 0));
    SimRunFrames(1);
    items = Opened("Advanced tower views");
    EXPECT_EQ(items[2], "Edit tower view... 43602");
    EXPECT_EQ(items[6], "FS tower 43610");
    EXPECT_EQ(items[36], "Tower 30 43640 (checked)");
    ASSERT_FALSE(SimCameraPlacements().empty());
    EXPECT_EQ(SimCameraPlacements().back().frame, SimFrameNumber());

    // Back on the simulator's tower, Delete is offered but takes nothing away.
    EXPECT_FALSE(ReachedHost(0x0111, CmdSelectFsTower, 0));
    EXPECT_FALSE(ReachedHost(0x0111, 43601, 0));
    EXPECT_EQ(Opened("Advanced tower views").size(), 37u);
}

// The title the main window drew last.
std::string LastTitle() {
    std::string title = "(none)";
    for (const SimLogEntry& entry : SimLogOf(LogStatusLine))
        if (entry.a == 0x0D) title = entry.text;
    return title;
}

// The common dialogs' OFN_ flags: explorer style without the read-only box.
const uint64_t ExplorerFlags = 0x80000 | 0x4, OverwritePrompt = 0x2, FileMustExist = 0x1000, PathMustExist = 0x800;

TEST_F(ViewMenus, SaveAndLoadWriteAndReadTheKindsOwnFile) {
    WriteSettingsFile(Catalogue("SPOTVIEWS", "Chase", 2, "View#Z=-30\r\nView#RotH=1\r\n"));
    StartOn(SimViewSpot);
    EXPECT_FALSE(ReachedHost(0x0111, CmdSelectSpotView0 + 1, 0));

    // "Save spot views...": the file holds both views.
    SimQueueFileDialogAnswer({"views.spt"});
    EXPECT_FALSE(ReachedHost(0x0111, 43703, 0));
    const std::vector<SimLogEntry> saveDialog = SimLogOf(LogFileDialog);
    ASSERT_EQ(saveDialog.size(), 1u);
    EXPECT_EQ(saveDialog[0].caption, "Save spot views");
    EXPECT_EQ(saveDialog[0].filter, "Spot views (*.spt)|*.spt|");
    EXPECT_EQ(saveDialog[0].defaultExtension, "spt");
    EXPECT_EQ(saveDialog[0].a, ExplorerFlags | OverwritePrompt);
    std::ifstream saved("views.spt", std::ios::binary);
    std::ostringstream text;
    text << saved.rdbuf();
    std::vector<std::string> names;
    for (const IniEntry& entry : IniEntries(text.str()))
        if (entry.section == "SPOTVIEWS" && (entry.key == "nViews" || entry.key.find("Name") != std::string::npos))
            names.push_back(entry.key + "=" + entry.value);
    EXPECT_EQ(names, (std::vector<std::string>{"nViews=2", "View0Name=Chase 1", "View1Name=Chase 2"}));

    // Both deleted ("Delete spot view" on each in turn), then loaded back:
    // the window is on the simulator's spot plane until one is chosen.
    EXPECT_FALSE(ReachedHost(0x0111, 43701, 0));
    EXPECT_FALSE(ReachedHost(0x0111, CmdSelectSpotView0, 0));
    EXPECT_FALSE(ReachedHost(0x0111, 43701, 0));
    SimRunFrames(1);
    EXPECT_EQ(LastTitle(), "FS Spot Plane") << "after deleting both";
    SimClearLog();
    SimQueueFileDialogAnswer({"views.spt"});
    EXPECT_FALSE(ReachedHost(0x0111, 43704, 0));
    const std::vector<SimLogEntry> loadDialog = SimLogOf(LogFileDialog);
    ASSERT_EQ(loadDialog.size(), 1u);
    EXPECT_EQ(loadDialog[0].caption, "Load spot views");
    EXPECT_EQ(loadDialog[0].filter, "Spot views (*.spt)|*.spt|");
    EXPECT_EQ(loadDialog[0].defaultExtension, "spt");
    EXPECT_EQ(loadDialog[0].a, ExplorerFlags | FileMustExist | PathMustExist);  // one file, which is there
    EXPECT_FALSE(ReachedHost(0x0111, CmdSelectSpotView0 + 1, 0));
    SimRunFrames(1);
    EXPECT_EQ(LastTitle(), "Chase 2");
    ASSERT_FALSE(SimCameraPlacements().empty());
    EXPECT_EQ(SimCameraPlacements().back().frame, SimFrameNumber());
}

// The view keys with their default bindings: V next view, Ctrl+Z autozoom.
using ViewKeys = DialogScenario;

TEST_F(ViewKeys, AutozoomIsTheModulesOnlyInATowerWindow) {
    WriteSettingsFile(Catalogue("TOWERVIEWS", "Field", 1, "View#Lat=47.45\r\nView#Lon=-122.3\r\nView#Alt=200\r\n") +
                      Catalogue("SPOTVIEWS", "Chase", 2, "View#Z=-30\r\n"));
    Start();
    uint8_t* window = SimMainViewWindow();

    // A spot window showing a stored view: the simulator gets the key.
    SimSetViewWindowKind(window, SimViewSpot);
    EXPECT_FALSE(ReachedHost(0x0111, CmdSelectSpotView0, 0));
    SimRunFrames(1);
    EXPECT_FALSE(PressWithControl(KeyZ));
    // V is the module's in the same window: on to the second spot view.
    EXPECT_FALSE(Stroke(KeyV));
    SimRunFrames(1);
    EXPECT_EQ(LastTitle(), "Chase 2");

    // A tower window: the module takes it and the view zooms with the distance.
    SimSetViewWindowKind(window, SimViewTower);
    EXPECT_FALSE(ReachedHost(0x0111, CmdSelectTowerView0, 0));
    SimRunFrames(1);
    ASSERT_FALSE(SimCameraPlacements().empty());
    EXPECT_FALSE(SimCameraPlacements().back().hasMatrix);
    EXPECT_TRUE(PressWithControl(KeyZ));
    SimRunFrames(1);
    EXPECT_TRUE(SimCameraPlacements().back().hasMatrix);

    // Any other window (the 2D cockpit): every view key is the simulator's.
    SimSetViewWindowKind(window, SimViewCockpit2d);
    SimRunFrames(1);
    EXPECT_FALSE(PressWithControl(KeyZ));
    EXPECT_TRUE(Stroke(KeyV));
}

}  // namespace
