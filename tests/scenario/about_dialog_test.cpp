// "About Aerotrace": open in every mode, even while recording, with the
// product, version and support lines.
#include <algorithm>

#include "core/host/support.h"
#include "dialog_scenario.h"

using AboutDialog = DialogScenario;

TEST_F(AboutDialog, OpensWhileRecordingAndShowsTheProductAndVersion) {
    StartWithSettings("[SETTINGS]\r\nNoRecDlg=1\r\n");
    Choose(CmdRecord);
    SimClearLog();
    SimQueueDialogAnswer("About Aerotrace", {SimClick(DIALOG_OK)});
    Choose(CmdAbout);
    const SimDialogShown dialog = OnlyDialog();
    EXPECT_EQ(dialog.owner, SimMainWindow());
    EXPECT_EQ(SimLogOf(LogModalBegin).size(), 1u);
    EXPECT_EQ(SimLogOf(LogModalEnd).size(), 1u);
    std::string text;
    for (const SimControlState& control : dialog.states.at(0))
        if (control.className == "static") text = control.text;
    // Eight lines: product, version, blank, two of rights, blank, support.
    // The version is the one the release is named for (under Windows, the
    // DLL's own text against the version this test was built with).
    EXPECT_EQ(text.rfind("Aerotrace Module for FS2004\nVersion " AEROTRACE_VERSION "\n\n", 0), 0u) << text;
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 7);
    // The recording went on meanwhile.
    SimRunFrames(1);
    ASSERT_FALSE(StatusTexts().empty());
    EXPECT_EQ(StatusTexts().back().rfind("RECORDING [", 0), 0u);
}
