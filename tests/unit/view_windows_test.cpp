// The view-window table and the switching rule: rows for up to 30 windows,
// the sweep, New, Delete, Next, Previous and Select with the host's own view
// values kept and given back, and the title shown after each change.
#include "views/cameras/view_events.h"
#include "views/menus/view_commands.h"
#include "views_fixture.h"

namespace {

class ViewWindows : public ViewsTest {
protected:
    void SetUp() override {
        ViewsTest::SetUp();
        SimConfig config;
        Start(config);
    }
};

TEST_F(ViewWindows, ThirtyWindowsGetRowsAndTheThirtyFirstKeepsTheSimulatorsViews) {
    std::vector<uint8_t*> windows;
    for (int i = 0; i < 30; ++i) windows.push_back(SimOpenViewWindow(SimViewTower));  // with the main view: 31
    AddTowerView("Only", 0, 5000, 200);
    SimRunFrames(1);
    EXPECT_EQ(viewState.windows.count, 30);
    EXPECT_EQ(Row(0).hostWindow, SimMainViewWindow());
    EXPECT_EQ(Row(6).hostWindow, windows[5]);  // the seventh window
    EXPECT_EQ(Row(6).towerIndex, -1);
    EXPECT_EQ(FindOrAddViewWindow(windows[29]), -1);
    // The thirty-first shows only the simulator's views: no camera, no title.
    SimFocusViewWindow(windows[29]);
    SimSendMainWindowMessage(0x0111, TowerCommands + 11, 0);
    SimRunFrames(1);
    for (const SimCameraPlacement& camera : SimCameraPlacements()) EXPECT_NE(camera.window, windows[29]);
    EXPECT_EQ(ActiveViewRow(), -1);
}

TEST_F(ViewWindows, TheSweepDropsRowsOfWindowsThatNeverDrew) {
    uint8_t never[0x400] = {};
    never[0x20] = SimViewTower;
    uint8_t* drawn = SimOpenViewWindow(SimViewSpot);
    SimFocusViewWindow(never);
    ASSERT_EQ(ActiveViewRow(), 0);  // a command would make this row
    SimRunFrames(1);                // Idle: no sweep yet
    EXPECT_EQ(viewState.windows.count, 3);
    SimFireEvent(38, 0, 1);  // a flight load starts the replay buffer
    SimSetPaused(true);      // nor while the simulator is paused
    SimRunFrames(1);
    EXPECT_EQ(viewState.windows.count, 3);
    SimSetPaused(false);
    SimRunFrames(1);
    ASSERT_EQ(viewState.windows.count, 2);
    EXPECT_EQ(Row(0).hostWindow, drawn);  // the last row took the dropped one's place
    EXPECT_EQ(Row(1).hostWindow, SimMainViewWindow());
    // A closed window keeps its row: it has drawn once.
    SimCloseViewWindow(drawn);
    SimRunFrames(3);
    EXPECT_EQ(viewState.windows.count, 2);
}

TEST_F(ViewWindows, NextAndPreviousCycleThroughTheDefaultAndGiveTheHostItsZoomBack) {
    for (const char* name : {"A", "B", "C"}) AddTowerView(name, 0, 1000, 200);
    uint8_t* window = SimMainViewWindow();
    SimSetViewWindowKind(window, SimViewTower);
    SetWindowField<uint16_t>(window, 0x30, 90);
    const int row = FindOrAddViewWindow(window);
    ChangeView(row, ViewKindTower, ChangePrevious, 0);
    EXPECT_EQ(Row(row).towerIndex, 2);
    EXPECT_EQ(Row(row).savedTowerZoom, 90);
    SetWindowField<uint16_t>(window, 0x30, 300);  // the host's zoom keys acted meanwhile
    ChangeView(row, ViewKindTower, ChangeNext, 0);
    EXPECT_EQ(Row(row).towerIndex, -1);
    EXPECT_EQ(WindowField<uint16_t>(window, 0x30), 90);
    ChangeView(row, ViewKindTower, ChangeNext, 0);
    ChangeView(row, ViewKindTower, ChangeNext, 0);
    EXPECT_EQ(Row(row).towerIndex, 1);
    ChangeView(row, ViewKindTower, ChangePrevious, 0);
    ChangeView(row, ViewKindTower, ChangePrevious, 0);
    EXPECT_EQ(Row(row).towerIndex, -1);
    EXPECT_EQ(Row(row).TitleCountdown, 50);
}

TEST_F(ViewWindows, SpotAndCockpitValuesAreKeptAndGivenBackLikewise) {
    viewState.spot.count = 1;
    viewState.vc.count = 1;
    uint8_t* window = SimOpenViewWindow(SimViewSpot);
    SetWindowField<int32_t>(window, 0x1D0, 107);
    const int row = FindOrAddViewWindow(window);
    ChangeView(row, ViewKindSpot, ChangeSelect, 0);
    ChangeView(row, ViewKindVirtualCockpit, ChangeSelect, 0);
    SetWindowField<uint16_t>(window, 0x34, 1);
    SetWindowField<int32_t>(window, 0x40, 0);
    SetWindowField<int32_t>(window, 0x48, 0);
    SetWindowField<uint16_t>(window, 0x2E, 1);
    SetWindowField<int32_t>(window, 0x1D0, 1);
    ChangeView(row, ViewKindSpot, ChangeSelect, -1);
    ChangeView(row, ViewKindVirtualCockpit, ChangeSelect, -5);
    EXPECT_EQ(WindowField<uint16_t>(window, 0x34), 64);
    EXPECT_EQ(WindowField<int32_t>(window, 0x40), 60 * 256);
    EXPECT_EQ(WindowField<int32_t>(window, 0x48), 8 * 256);
    EXPECT_EQ(WindowField<int32_t>(window, 0x1D0), 107);
    EXPECT_EQ(WindowField<uint16_t>(window, 0x2E), 64);
    EXPECT_EQ(Row(row).vcIndex, -1);
}

TEST_F(ViewWindows, DeleteInTheMiddleKeepsTheIndexAndAtTheEndReturnsToTheDefault) {
    for (const char* name : {"A", "B", "C"}) AddTowerView(name, 0, 1000, 200);
    const int row = ShowTowerView(1);
    SetWindowField<uint16_t>(SimMainViewWindow(), 0x30, 500);
    ChangeView(row, ViewKindTower, ChangeDelete, 0);
    ASSERT_EQ(viewState.tower.count, 2);
    EXPECT_EQ(Row(row).towerIndex, 1);
    EXPECT_STREQ(viewState.tower.entries[1].name, "C");
    EXPECT_EQ(WindowField<uint16_t>(SimMainViewWindow(), 0x30), 500);  // still a stored view
    ChangeView(row, ViewKindTower, ChangeDelete, 0);
    EXPECT_EQ(viewState.tower.count, 1);
    EXPECT_EQ(Row(row).towerIndex, -1);
    EXPECT_EQ(WindowField<uint16_t>(SimMainViewWindow(), 0x30), 64);  // the zoom it had before
    Row(row).TitleCountdown = 0;
    ChangeView(row, ViewKindTower, ChangeDelete, 0);  // on the default: nothing at all
    EXPECT_EQ(viewState.tower.count, 1);
    EXPECT_EQ(Row(row).TitleCountdown, 0);
}

TEST_F(ViewWindows, DeleteOnAnIndexThatFellOffTheEndRemovesNothing) {
    for (const char* name : {"A", "B", "C"}) AddTowerView(name, 0, 1000, 200);
    uint8_t* other = SimOpenViewWindow(SimViewTower);
    const int mine = ShowTowerView(2);
    const int theirs = FindOrAddViewWindow(other);
    ChangeView(theirs, ViewKindTower, ChangeSelect, 0);
    ChangeView(theirs, ViewKindTower, ChangeDelete, 0);  // my index 2 now points past the end
    ASSERT_EQ(viewState.tower.count, 2);
    ChangeView(mine, ViewKindTower, ChangeDelete, 0);
    EXPECT_EQ(viewState.tower.count, 2);
    EXPECT_STREQ(viewState.tower.entries[1].name, "C");
    EXPECT_EQ(Row(mine).towerIndex, -1);

    // Next from an index past the end comes round to the simulator's view,
    // as it does from the last entry, not to the first stored view.
    ChangeView(mine, ViewKindTower, ChangeSelect, 1);
    ChangeView(theirs, ViewKindTower, ChangeDelete, 0);
    ASSERT_EQ(viewState.tower.count, 1);
    ChangeView(mine, ViewKindTower, ChangeNext, 0);
    EXPECT_EQ(Row(mine).towerIndex, -1);
}

TEST_F(ViewWindows, NewTakesTheSimulatorsTowerOrCopiesTheCurrentView) {
    uint8_t* window = SimMainViewWindow();
    SimSetViewWindowKind(window, SimViewTower);
    SetWindowField<uint16_t>(window, 0x30, 128);
    const int row = FindOrAddViewWindow(window);
    ChangeView(row, ViewKindTower, ChangeNew, 0);
    ASSERT_EQ(viewState.tower.count, 1);
    const TowerView& first = viewState.tower.entries[0];
    EXPECT_STREQ(first.name, "Tower view 1");
    const HostPosition tower = SimTowerPosition();
    EXPECT_EQ(first.position.latitude, tower.latitude);
    EXPECT_EQ(first.position.longitude, tower.longitude);
    EXPECT_EQ(first.position.altitude, tower.altitude);
    EXPECT_EQ(first.zoom, 128.0f);
    EXPECT_EQ(first.pitch | first.bank | first.heading | first.manualPan, 0u);
    EXPECT_EQ(first.autoZoom, 0.0f);
    EXPECT_EQ(Row(row).towerIndex, 0);
    EXPECT_EQ(Row(row).savedTowerZoom, 128);

    for (const char* name : {"B", "C", "D", "E", "F"}) AddTowerView(name, 0, 1000, 200);
    viewState.tower.entries[4].autoZoom = 0.5f;
    ChangeView(row, ViewKindTower, ChangeSelect, 4);
    ChangeView(row, ViewKindTower, ChangeNew, 0);
    ASSERT_EQ(viewState.tower.count, 7);
    EXPECT_STREQ(viewState.tower.entries[6].name, "Tower view 7");
    EXPECT_EQ(viewState.tower.entries[6].autoZoom, 0.5f);
    EXPECT_EQ(viewState.tower.entries[6].position.latitude, viewState.tower.entries[4].position.latitude);
    EXPECT_EQ(Row(row).towerIndex, 6);
    EXPECT_EQ(Row(row).savedTowerZoom, 128);  // kept from when the default was left

    while (viewState.tower.count < 30) ChangeView(row, ViewKindTower, ChangeNew, 0);
    EXPECT_STREQ(viewState.tower.entries[29].name, "Tower view 30");
    Row(row).TitleCountdown = 0;
    ChangeView(row, ViewKindTower, ChangeNew, 0);  // the list is full
    EXPECT_EQ(viewState.tower.count, 30);
    EXPECT_EQ(Row(row).TitleCountdown, 0);
}

TEST_F(ViewWindows, NewSpotAndCockpitViewsComeFromTheSimulatorsOwn) {
    uint8_t* window = SimOpenViewWindow(SimViewSpot);
    SetWindowField<uint16_t>(window, 0x3C, 0x4000);  // to the right of the aircraft
    SetWindowField<int32_t>(window, 0x40, 40 * 256);
    SetWindowField<int32_t>(window, 0x48, 5 * 256);
    window[0x44] = 2;
    const int row = FindOrAddViewWindow(window);
    ChangeView(row, ViewKindSpot, ChangeNew, 0);
    const SpotView& spot = viewState.spot.entries[0];
    EXPECT_STREQ(spot.name, "Spot view 1");
    EXPECT_NEAR(spot.x, 40.0f, 1e-4);
    EXPECT_NEAR(spot.z, 0.0f, 1e-4);
    EXPECT_EQ(spot.y, 5.0f);
    EXPECT_EQ(spot.rotateHeading, 0u);
    EXPECT_EQ(spot.zoom, 64.0f);
    ChangeView(row, ViewKindVirtualCockpit, ChangeNew, 0);
    const VcView& vc = viewState.vc.entries[0];
    EXPECT_STREQ(vc.name, "VC view 1");
    EXPECT_NEAR(vc.x, -0.4f, 0.01f);
    EXPECT_NEAR(vc.y, 1.1f, 0.01f);
    EXPECT_NEAR(vc.z, 1.5f, 0.01f);
}

TEST_F(ViewWindows, MenuCommandsSelectOnTheFocusedWindowAndIgnoreIdsPastTheList) {
    for (const char* name : {"A", "B"}) AddTowerView(name, 0, 1000, 200);
    uint8_t* window = SimOpenViewWindow(SimViewTower);
    SimFocusViewWindow(window);
    SimSendMainWindowMessage(0x0111, TowerCommands + 12, 0);
    const int row = FindOrAddViewWindow(window);
    EXPECT_EQ(Row(row).towerIndex, 1);
    Row(row).TitleCountdown = 0;
    SimSendMainWindowMessage(0x0111, TowerCommands + 13, 0);  // beyond the list: ignored entirely
    EXPECT_EQ(Row(row).towerIndex, 1);
    EXPECT_EQ(Row(row).TitleCountdown, 0);
    SimSendMainWindowMessage(0x0111, TowerCommands + 10, 0);
    EXPECT_EQ(Row(row).towerIndex, -1);
    SimSendMainWindowMessage(0x0111, TowerCommands + CommandNewView, 0);
    EXPECT_EQ(viewState.tower.count, 3);
    EXPECT_EQ(Row(row).towerIndex, 2);
    SimSendMainWindowMessage(0x0111, TowerCommands + CommandDeleteView, 0);
    EXPECT_EQ(viewState.tower.count, 2);
    // None of them reaches the simulator; ids between the groups do.
    EXPECT_TRUE(SimLogOf(LogHostMessage).empty());
    SimSendMainWindowMessage(0x0111, TowerCommands + 5, 0);
    SimSendMainWindowMessage(0x0111, TowerCommands + 41, 0);
    EXPECT_EQ(SimLogOf(LogHostMessage).size(), 2u);
}

TEST_F(ViewWindows, TitlesShowForFiftyTimerTicksAfterAChange) {
    AddTowerView("Runway 16", 0, 1000, 200);
    uint8_t* window = SimOpenViewWindow(SimViewTower);
    const int row = FindOrAddViewWindow(window);
    ChangeView(row, ViewKindTower, ChangeSelect, 0);
    SimClearLog();
    SimRunFrames(50);
    std::vector<SimLogEntry> titles;
    for (const SimLogEntry& entry : SimLogOf(LogStatusLine))
        if (entry.a == 0x0D) titles.push_back(entry);
    // Drawn in each of the 50 frames, before that frame's timer tick takes
    // the countdown to 0.
    ASSERT_EQ(titles.size(), 50u);
    EXPECT_EQ(titles[0].text, "Runway 16");
    EXPECT_EQ(titles[0].b, 0xFF0000FFu);
    EXPECT_EQ(titles[0].c, 0u);
    EXPECT_EQ(Row(row).TitleCountdown, 0);
    ChangeView(row, ViewKindTower, ChangeNext, 0);
    SimClearLog();
    viewSettings.ShowTitle = 0;
    SimRunFrames(1);
    EXPECT_TRUE(SimLogOf(LogStatusLine).empty());
    viewSettings.ShowTitle = 1;
    SimRunFrames(1);
    ASSERT_EQ(SimLogOf(LogStatusLine).size(), 1u);
    EXPECT_EQ(SimLogOf(LogStatusLine)[0].text, "FS Tower");
    // Windows of other kinds draw no title, and spot and cockpit windows
    // name the simulator's own views.
    EXPECT_STREQ(ViewTitle(ViewKindSpot, -1), "FS Spot Plane");
    EXPECT_STREQ(ViewTitle(ViewKindVirtualCockpit, -1), "Default VC");
    SimSetViewWindowKind(window, SimViewMap);
    SimClearLog();
    SimRunFrames(1);
    EXPECT_TRUE(SimLogOf(LogStatusLine).empty());
}

}  // namespace
