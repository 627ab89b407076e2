// The module's dialog templates as its resource script defines them, read
// the way the stand-in reads them for native builds: the five dialogs with
// their captions, sizes and styles, the structure Windows' dialog manager
// relies on (radio groups, the up-down control's buddy), the resource
// compiler's shorthand statements with their default styles, and a script
// the reader does not understand reported with its place.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "sim_dialog_templates.h"
#include "ui/dialogs/dialog_ids.h"

namespace {

const SimDialogTemplate& Template(uint32_t id) {
    std::string problem;
    const SimDialogTemplate* dialog = SimModuleDialogTemplate(id, &problem);
    if (!dialog) {
        ADD_FAILURE() << problem;
        static const SimDialogTemplate none{};
        return none;
    }
    return *dialog;
}

size_t IndexOf(const SimDialogTemplate& dialog, int id) {
    for (size_t i = 0; i < dialog.controls.size(); ++i)
        if (dialog.controls[i].id == id) return i;
    ADD_FAILURE() << "dialog " << dialog.id << " has no control " << id;
    return 0;
}

const uint32_t WsGroup = 0x00020000;

std::string ReadProblem(const std::string& script) {
    const std::string path = testing::TempDir() + "/aerotrace-script-test.rc";
    std::ofstream(path) << script;
    std::vector<SimDialogTemplate> templates;
    std::string problem;
    EXPECT_FALSE(SimReadResourceScript(path, &templates, &problem)) << script;
    std::filesystem::remove(path);
    return problem;
}

}  // namespace

TEST(DialogTemplates, TheFiveDialogsHaveTheirCaptionsSizesAndStyle) {
    struct Expected {
        uint32_t id;
        const char* caption;
        int width, height;
        size_t controls;
    };
    const Expected dialogs[] = {{DIALOG_SETTINGS, "Aerotrace Settings", 284, 349, 75},
                                {DIALOG_RECORD, "Record Flight", 137, 153, 14},
                                {DIALOG_REPLAY, "Replay", 202, 71, 7},
                                {DIALOG_ABOUT, "About Aerotrace", 182, 111, 3},
                                {DIALOG_KEYBOARD, "Keyboard controls", 144, 165, 5}};
    for (const Expected& expected : dialogs) {
        const SimDialogTemplate& dialog = Template(expected.id);
        EXPECT_EQ(dialog.caption, expected.caption);
        EXPECT_EQ(dialog.width, expected.width) << expected.caption;
        EXPECT_EQ(dialog.height, expected.height) << expected.caption;
        // WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT
        EXPECT_EQ(dialog.style, 0x80C800C0u) << expected.caption;
        EXPECT_EQ(dialog.controls.size(), expected.controls) << expected.caption;
    }
}

TEST(DialogTemplates, RadioGroupsAndTheUpDownBuddyAreWhereTheDialogManagerLooks) {
    const SimDialogTemplate& settings = Template(DIALOG_SETTINGS);
    // Each pair of step buttons, and the traffic choice, is a group of its own.
    const int groups[][3] = {{SETTINGS_STEP1_JUMP, SETTINGS_STEP1_SEARCH, 0},
                             {SETTINGS_STEP2_JUMP, SETTINGS_STEP2_SEARCH, 0},
                             {SETTINGS_STEP3_JUMP, SETTINGS_STEP3_SEARCH, 0},
                             {SETTINGS_AI_RECORDED, SETTINGS_AI_NORMAL, SETTINGS_AI_OFF}};
    for (const auto& group : groups) {
        const size_t first = IndexOf(settings, group[0]);
        const size_t last = IndexOf(settings, group[group[2] ? 2 : 1]);
        EXPECT_TRUE(settings.controls[first].style & WsGroup) << group[0];
        for (size_t i = first + 1; i <= last; ++i) {
            EXPECT_FALSE(settings.controls[i].style & WsGroup) << settings.controls[i].id;
            EXPECT_EQ(settings.controls[i].style & 0xF, 9u) << settings.controls[i].id;  // BS_AUTORADIOBUTTON
        }
        ASSERT_LT(last + 1, settings.controls.size());
        EXPECT_TRUE(settings.controls[last + 1].style & WsGroup) << "after " << group[0];
    }
    // The up-down control takes the field before it as its buddy.
    const SimDialogTemplate& replay = Template(DIALOG_REPLAY);
    const size_t spin = IndexOf(replay, REPLAY_SPIN);
    ASSERT_GT(spin, 0u);
    EXPECT_EQ(replay.controls[spin - 1].id, REPLAY_SECONDS);
    EXPECT_EQ(replay.controls[spin].className, "msctls_updown32");
    EXPECT_EQ(replay.controls[spin].style & 0x37, 0x36u);  // buddy int, align right, auto buddy, arrow keys
}

TEST(DialogTemplates, ShorthandStatementsStandForTheirClassAndStyle) {
    const std::string path = testing::TempDir() + "/aerotrace-shorthand-test.rc";
    std::ofstream(path) << "7 DIALOGEX 0, 0, 100, 50\nSTYLE DS_SETFONT | WS_POPUP\nFONT 8, \"MS Shell Dlg\"\nBEGIN\n"
                           "    LTEXT \"Title:\", -1, 1, 2, 3, 4\n"
                           "    EDITTEXT 10, 5, 6, 7, 8, ES_NUMBER | WS_DISABLED\n"
                           "    AUTOCHECKBOX \"Auto\", 11, 9, 10, 11, 12\n"
                           "    DEFPUSHBUTTON \"OK\", IDOK, 13, 14, 15, 16\nEND\n";
    std::vector<SimDialogTemplate> templates;
    std::string problem;
    ASSERT_TRUE(SimReadResourceScript(path, &templates, &problem)) << problem;
    std::filesystem::remove(path);
    ASSERT_EQ(templates.size(), 1u);
    const std::vector<SimTemplateControl>& controls = templates[0].controls;
    ASSERT_EQ(controls.size(), 4u);
    EXPECT_EQ(controls[0].className, "static");
    EXPECT_EQ(controls[0].text, "Title:");
    EXPECT_EQ(controls[0].id, -1);
    EXPECT_EQ(controls[1].className, "edit");
    EXPECT_EQ(controls[1].style, 0x58812000u);  // child, visible, disabled, border, tab stop, digits only
    EXPECT_EQ(controls[1].x, 5);
    EXPECT_EQ(controls[2].style & 0xF, 3u);  // BS_AUTOCHECKBOX
    EXPECT_EQ(controls[3].id, 1);
    EXPECT_EQ(controls[3].height, 16);
}

TEST(DialogTemplates, AScriptTheReaderCannotFollowIsReportedWithItsPlace) {
    EXPECT_NE(ReadProblem("1 DIALOG 0, 0, 10, 10\nSTYLE WS_POPUP | WS_SHINY\nBEGIN\nEND\n")
                  .find(":2: unknown name "
                        "WS_SHINY"),
              std::string::npos);
    EXPECT_NE(ReadProblem("1 DIALOG 0, 0, 10, 10\nBEGIN\n  ICON 7, 1, 0, 0, 5, 5\nEND\n")
                  .find(":3: a control statement expected"),
              std::string::npos);
    EXPECT_NE(ReadProblem("1 DIALOG 0, 0, 10, 10\nCAPTION \"open\nBEGIN\nEND\n").find(":2: a string runs past"),
              std::string::npos);
    EXPECT_NE(ReadProblem("#include \"missing.h\"\n").find("cannot find the included \"missing.h\""),
              std::string::npos);
}
