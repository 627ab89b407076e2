// "Keyboard controls" as a user meets it: the 27 commands listed, a key
// assigned by pressing it in the hot-key control (never with Alt), a row
// cleared, "Default key", and OK keeping the table — and using it at once —
// where Cancel drops every edit.
#include "dialog_scenario.h"

namespace {

using KeyboardDialog = DialogScenario;

const char Caption[] = "Keyboard controls";
const int RowBeginning = 0, RowBack3 = 1, RowRecord = 16, RowPlay = 17, RowStopHere = 21;

std::string KeyboardValue(const std::string& key) {
    for (const IniEntry& entry : IniEntries(SettingsFileText()))
        if (entry.section == "KEYBOARD" && entry.key == key) return entry.value;
    return "";
}

// Ctrl+P pressed on the simulator's window: true when it played (asked
// for recordings, here cancelled). Unbound, it reaches the simulator.
bool ControlPPlays() {
    SimQueueFileDialogAnswer({""});
    const bool taken = PressWithControl('P');
    const bool asked = !SimLogOf(LogFileDialog).empty();
    EXPECT_EQ(taken, asked);
    return asked;
}

}  // namespace

TEST_F(KeyboardDialog, CtrlPAssignedToPlayIsStoredAndWorksAtOnce) {
    StartWithSettings("");
    SimClearLog();
    SimQueueDialogAnswer(Caption, {
                                      SimChoose(KEYBOARD_LIST, RowPlay),
                                      SimPressHotKey(KEYBOARD_HOT_KEY, HotControl | 'P'),
                                      SimChoose(KEYBOARD_LIST, RowBeginning),
                                      SimClick(DIALOG_OK),
                                  });
    Choose(CmdKeyboard);
    const SimDialogShown dialog = OnlyDialog();
    EXPECT_EQ(dialog.owner, SimMainWindow());
    EXPECT_EQ(SimLogOf(LogModalBegin).size(), 1u);
    const SimControlState list = Control(dialog, 0, KEYBOARD_LIST);
    ASSERT_EQ(list.items.size(), 27u);
    EXPECT_EQ(list.items[0], "Jump to beginning");
    EXPECT_EQ(list.items[RowStopHere], "Stop playback at current position");
    EXPECT_EQ(list.items[26], "Autozoom");
    EXPECT_EQ(list.selection, -1);
    EXPECT_EQ(Control(dialog, 1, KEYBOARD_HOT_KEY).hotKey, 0);       // Play has no key yet
    EXPECT_EQ(Control(dialog, 2, KEYBOARD_HOT_KEY).hotKey, 0x0250);  // Ctrl+P
    EXPECT_EQ(Control(dialog, 3, KEYBOARD_HOT_KEY).hotKey, 36);      // Home, for "Jump to beginning"

    // Every row is written, in table order.
    std::vector<IniEntry> entries = IniEntries(SettingsFileText());
    ASSERT_EQ(entries.size(), 27u);
    EXPECT_EQ(entries[0], (IniEntry{"KEYBOARD", "Beginning", "36"}));
    EXPECT_EQ(entries[RowPlay], (IniEntry{"KEYBOARD", "Play", "8272"}));  // 0x2050
    EXPECT_EQ(entries[RowStopHere], (IniEntry{"KEYBOARD", "StopHere", "4123"}));
    EXPECT_EQ(entries[26], (IniEntry{"KEYBOARD", "Autozoom", "8282"}));
    EXPECT_TRUE(ControlPPlays());
}

TEST_F(KeyboardDialog, CancelDropsEveryEdit) {
    const std::string file = "[KEYBOARD]\r\nBeginning=72\r\n";
    StartWithSettings(file);
    SimQueueDialogAnswer(Caption, {
                                      SimChoose(KEYBOARD_LIST, RowPlay),
                                      SimPressHotKey(KEYBOARD_HOT_KEY, HotControl | 'P'),
                                      SimChoose(KEYBOARD_LIST, RowBeginning),
                                      SimClick(KEYBOARD_DEFAULT),
                                      SimClick(DIALOG_CANCEL),
                                  });
    Choose(CmdKeyboard);
    EXPECT_EQ(SettingsFileText(), file);
    EXPECT_FALSE(ControlPPlays());
    // The table in memory is unchanged too: the next opening shows H for row 0.
    SimClearLog();
    SimQueueDialogAnswer(Caption, {SimChoose(KEYBOARD_LIST, RowBeginning), SimClick(DIALOG_CANCEL)});
    Choose(CmdKeyboard);
    EXPECT_EQ(Control(OnlyDialog(), 1, KEYBOARD_HOT_KEY).hotKey, 'H');
}

TEST_F(KeyboardDialog, AClearedKeyIsClearedByMovingOnButNotByOk) {
    StartWithSettings("");
    SimQueueDialogAnswer(Caption, {
                                      SimChoose(KEYBOARD_LIST, RowBeginning),
                                      SimPressHotKey(KEYBOARD_HOT_KEY, 0),  // cleared
                                      SimChoose(KEYBOARD_LIST, RowBack3),
                                      SimPressHotKey(KEYBOARD_HOT_KEY, 0),  // cleared, then OK
                                      SimClick(DIALOG_OK),
                                  });
    Choose(CmdKeyboard);
    EXPECT_EQ(KeyboardValue("Beginning"), "0");
    EXPECT_EQ(KeyboardValue("Back3"), "33");
}

TEST_F(KeyboardDialog, DefaultKeysComeBackAndAltIsNeverPartOfAKey) {
    StartWithSettings("[KEYBOARD]\r\nBeginning=72\r\nStopHere=0\r\n");
    SimClearLog();
    SimQueueDialogAnswer(Caption, {
                                      SimChoose(KEYBOARD_LIST, RowBeginning),
                                      SimClick(KEYBOARD_DEFAULT),
                                      SimChoose(KEYBOARD_LIST, RowStopHere),
                                      SimClick(KEYBOARD_DEFAULT),
                                      SimChoose(KEYBOARD_LIST, RowRecord),
                                      SimPressHotKey(KEYBOARD_HOT_KEY, HotAlt | 'R'),
                                      SimClick(DIALOG_OK),
                                  });
    Choose(CmdKeyboard);
    const SimDialogShown dialog = OnlyDialog();
    EXPECT_EQ(Control(dialog, 1, KEYBOARD_HOT_KEY).hotKey, 'H');
    EXPECT_EQ(Control(dialog, 2, KEYBOARD_HOT_KEY).hotKey, 36);             // Home
    EXPECT_EQ(Control(dialog, 4, KEYBOARD_HOT_KEY).hotKey, HotShift | 27);  // Shift+Escape
    EXPECT_EQ(Control(dialog, 6, KEYBOARD_HOT_KEY).hotKey, 'R');            // Alt+R shows as R
    // The choice of a row and "Default key" each leave the focus in the key
    // field, ready for the next key, though the click took it to the list or button.
    for (size_t step : {1, 2, 3, 4}) EXPECT_TRUE(Control(dialog, step, KEYBOARD_HOT_KEY).focused) << step;
    EXPECT_FALSE(Control(dialog, 2, KEYBOARD_DEFAULT).focused);
    EXPECT_FALSE(Control(dialog, 1, KEYBOARD_LIST).focused);
    EXPECT_EQ(KeyboardValue("Beginning"), "36");
    EXPECT_EQ(KeyboardValue("StopHere"), "4123");
    EXPECT_EQ(KeyboardValue("Record"), "82");
}
