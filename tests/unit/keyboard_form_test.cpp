// The keyboard dialog's working copy: a key typed for a row is kept when the
// selection moves on or OK is pressed, a cleared row loses its key only by
// moving on, "Default key" brings a command's own key back.
#include "ui/dialogs/keyboard_form.h"

#include <gtest/gtest.h>

namespace {

const int RowBeginning = 0, RowBack3 = 1, RowRecord = 16, RowPlay = 17, RowStopHere = 21;

KeyTable DefaultTable() {
    KeyTable table;
    for (int row = 0; row < KeyCommandCount; ++row) table.codes[row] = KeyCommands[row].defaultCode;
    return table;
}

}  // namespace

TEST(KeyboardForm, CtrlPTypedForPlayIsKeptWhenTheSelectionMovesOn) {
    KeyboardForm form = KeyboardFormFor(DefaultTable());
    EXPECT_EQ(form.selectedRow, -1);
    EXPECT_EQ(KeyboardRowChosen(&form, 0, RowPlay), 0);  // Play has no key
    // Ctrl+P in the control, then the first row: Play keeps 0x2050 and the
    // control shows Home.
    EXPECT_EQ(KeyboardRowChosen(&form, 0x0250, RowBeginning), 0x0024);
    EXPECT_EQ(form.working.codes[RowPlay], 0x2050);
    const KeyTable kept = KeyboardTableOnOk(form, 0x0024);
    EXPECT_EQ(kept.codes[RowPlay], 0x2050);
    EXPECT_EQ(kept.codes[RowBeginning], 36);
    EXPECT_EQ(kept.codes[RowStopHere], 0x101B);
}

TEST(KeyboardForm, OkTakesTheKeyOfTheSelectedRowButNotAnEmptyControl) {
    KeyboardForm form = KeyboardFormFor(DefaultTable());
    KeyboardRowChosen(&form, 0, RowRecord);
    EXPECT_EQ(KeyboardTableOnOk(form, 0x0352).codes[RowRecord], 0x3052);  // Ctrl+Shift+R
    EXPECT_EQ(KeyboardTableOnOk(form, 0x0452).codes[RowRecord], 0x0052);  // with Alt: R alone
    KeyboardRowChosen(&form, 0, RowBeginning);
    EXPECT_EQ(KeyboardTableOnOk(form, 0).codes[RowBeginning], 36);
    // Moving on from a cleared row is what clears it.
    KeyboardRowChosen(&form, 0, RowBack3);
    EXPECT_EQ(form.working.codes[RowBeginning], 0);
    EXPECT_EQ(KeyboardTableOnOk(form, 0).codes[RowBack3], 33);
}

TEST(KeyboardForm, DefaultKeyReplacesWhatWasTyped) {
    KeyTable live = DefaultTable();
    live.codes[RowStopHere] = 0;
    KeyboardForm form = KeyboardFormFor(live);
    KeyboardRowChosen(&form, 0, RowStopHere);
    EXPECT_EQ(KeyboardDefaultKey(&form, RowStopHere, 0x0241), 0x011B);  // Shift+Escape, not the typed Ctrl+A
    EXPECT_EQ(form.working.codes[RowStopHere], 0x101B);
    EXPECT_EQ(KeyboardDefaultKey(&form, RowRecord, 0x011B), 0);  // Record has none
    EXPECT_EQ(form.selectedRow, RowRecord);
    EXPECT_EQ(live.codes[RowStopHere], 0);  // the live table is not the working copy
}

TEST(KeyboardForm, APositionOutsideTheListEditsNoRow) {
    KeyboardForm form = KeyboardFormFor(DefaultTable());
    KeyboardRowChosen(&form, 0, RowPlay);
    EXPECT_EQ(KeyboardRowChosen(&form, 0x0250, KeyCommandCount), 0);
    EXPECT_EQ(form.working.codes[RowPlay], 0x2050);
    EXPECT_EQ(form.selectedRow, -1);
    EXPECT_EQ(KeyboardDefaultKey(&form, -1, 0x0250), 0x0250);
    const KeyTable kept = KeyboardTableOnOk(form, 0x0241);
    for (int row = 0; row < KeyCommandCount; ++row)
        EXPECT_EQ(kept.codes[row], row == RowPlay ? 0x2050 : KeyCommands[row].defaultCode) << row;
}
