// The module's view keys: which of them are the module's in which window
// (all five in a tower window, all but Autozoom in spot and cockpit windows,
// none elsewhere), that they come after the recording keys, and what each
// does to the focused window's views.
#include "ui/menu/key_dispatch.h"
#include "views/cameras/tower_controls.h"
#include "views/menus/view_commands.h"
#include "views/menus/view_menus.h"
#include "views_fixture.h"

namespace {

const Mode AllModes[] = {Idle, Recording, Playback, ReplayBuffer, Replay, TrafficPlayback, RecordingWithTraffic};
const KeyCode ControlV = KeyCodeControl | 'V', ControlShiftV = KeyCodeControl | KeyCodeShift | 'V',
              PlainV = 'V', ShiftV = KeyCodeShift | 'V', ControlZ = KeyCodeControl | 'Z';

KeyTable DefaultKeys() {
    KeyTable keys;
    for (int row = 0; row < KeyCommandCount; ++row) keys.codes[row] = KeyCommands[row].defaultCode;
    return keys;
}

TEST(ViewKeyDecision, TheViewKeysAreTheModulesByTheFocusedWindowsKind) {
    const KeyTable keys = DefaultKeys();
    const Settings settings{};
    const struct {
        KeyCode code;
        KeyCommand key;
    } viewKeys[] = {{ControlV, KeyNewView}, {ControlShiftV, KeyDelView}, {PlainV, KeyNextView},
                    {ShiftV, KeyPrevView},  {ControlZ, KeyAutozoom}};
    for (Mode mode : AllModes) {
        for (const auto& k : viewKeys) {
            for (uint8_t kind : {uint8_t{2}, uint8_t{3}, uint8_t{4}}) {
                const UiDecision decision = KeyDownDecision(mode, settings, keys, k.code, &viewMenuHook, kind);
                const bool acts = k.key != KeyAutozoom || kind == 3;
                EXPECT_EQ(decision.consumed, acts) << mode << " " << k.key << " " << int(kind);
                if (acts) {
                    EXPECT_EQ(decision.action, ActionViewKey);
                    EXPECT_EQ(decision.argument, k.key);
                }
            }
            for (uint8_t kind : {uint8_t{0}, uint8_t{1}, uint8_t{6}})
                EXPECT_FALSE(KeyDownDecision(mode, settings, keys, k.code, &viewMenuHook, kind).consumed) << int(kind);
        }
    }
}

TEST(ViewKeyDecision, TheRecordingAndTransportKeysComeFirst) {
    KeyTable keys = DefaultKeys();
    keys.codes[KeyRecord] = PlainV;  // the same key as "Next advanced view"
    const UiDecision decision = KeyDownDecision(Idle, Settings{}, keys, PlainV, &viewMenuHook, 3);
    EXPECT_EQ(decision.action, ActionRecordDialog);
    keys.codes[KeyEnd] = ControlZ;
    EXPECT_EQ(KeyDownDecision(Playback, Settings{}, keys, ControlZ, &viewMenuHook, 3).action, ActionTransport);
    // A view key bound twice: the one compared first wins.
    keys.codes[KeyPrevView] = PlainV;
    keys.codes[KeyRecord] = 0;
    EXPECT_EQ(KeyDownDecision(Idle, Settings{}, keys, PlainV, &viewMenuHook, 4).argument, KeyNextView);
    EXPECT_FALSE(KeyUpDecision(Idle, Settings{}, keys, PlainV).consumed);
}

class ViewKeys : public ViewsTest {
protected:
    void SetUp() override {
        ViewsTest::SetUp();
        Start();
        SimRunFrames(1);  // the main view has its row
    }
};

TEST_F(ViewKeys, NewDeleteNextAndPreviousActOnTheFocusedWindowsKind) {
    uint8_t* window = SimMainViewWindow();
    SimSetViewWindowKind(window, SimViewSpot);
    const int row = FindOrAddViewWindow(window);
    ViewKeyCommand(KeyNewView);
    ViewKeyCommand(KeyNewView);  // a copy of the first
    EXPECT_EQ(viewState.spot.count, 2);
    EXPECT_EQ(Row(row).spotIndex, 1);
    EXPECT_STREQ(viewState.spot.entries[1].name, "Spot view 2");
    EXPECT_EQ(viewState.tower.count, 0);
    ViewKeyCommand(KeyNextView);
    EXPECT_EQ(Row(row).spotIndex, -1);
    ViewKeyCommand(KeyPrevView);
    EXPECT_EQ(Row(row).spotIndex, 1);
    ViewKeyCommand(KeyDelView);
    EXPECT_EQ(viewState.spot.count, 1);
    EXPECT_EQ(Row(row).spotIndex, -1);

    SimSetViewWindowKind(window, SimViewVirtualCockpit);
    ViewKeyCommand(KeyNewView);
    EXPECT_EQ(viewState.vc.count, 1);
    EXPECT_EQ(Row(row).vcIndex, 0);
    EXPECT_EQ(Row(row).spotIndex, -1);

    SimSetViewWindowKind(window, SimViewCockpit2d);  // no views here
    ViewKeyCommand(KeyNewView);
    EXPECT_EQ(viewState.vc.count + viewState.spot.count + viewState.tower.count, 2);
}

TEST_F(ViewKeys, AutozoomActsOnTowerWindowsOnly) {
    TowerView& tower = AddTowerView("Field", 0, 2000, 160);
    ShowTowerView(0);
    ViewKeyCommand(KeyAutozoom);
    EXPECT_GT(tower.autoZoom, 0.0f);
    ViewKeyCommand(KeyAutozoom);
    EXPECT_EQ(tower.autoZoom, 0.0f);
    SimSetViewWindowKind(SimMainViewWindow(), SimViewSpot);  // the same row, now a spot window
    ViewKeyCommand(KeyAutozoom);
    EXPECT_EQ(tower.autoZoom, 0.0f);
}

}  // namespace
