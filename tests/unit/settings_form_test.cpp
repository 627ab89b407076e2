// The settings dialog's decisions: the memory label, what a step's field
// shows for its choice, and what OK stores for the controls' values — the
// clamps and the rules for options that depend on others.
#include "ui/dialogs/settings_form.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "ini_folder.h"

namespace {

std::string Label(uint32_t bufferSize, uint32_t flags, uint32_t milliseconds) {
    char text[128];
    MemoryLabelText(bufferSize, flags, milliseconds, text, sizeof text);
    return text;
}

// The settings as a fresh file gives them.
class SettingsFormTest : public IniFolderTest {
protected:
    void SetUp() override {
        IniFolderTest::SetUp();
        LoadSettings();
        defaults = settings;
    }
    Settings defaults;
};

bool SameSettings(const Settings& a, const Settings& b) {
    return a.RplyItvl == b.RplyItvl && a.RplyEnabled == b.RplyEnabled && a.RplyClear == b.RplyClear &&
           a.Search1 == b.Search1 && a.Search2 == b.Search2 && a.Search3 == b.Search3 && a.JumpSize1 == b.JumpSize1 &&
           a.JumpSize2 == b.JumpSize2 && a.JumpSize3 == b.JumpSize3 && a.SearchSpeed1 == b.SearchSpeed1 &&
           a.SearchSpeed2 == b.SearchSpeed2 && a.SearchSpeed3 == b.SearchSpeed3 && a.Show == b.Show &&
           a.Pause == b.Pause && a.PlayAIMode == b.PlayAIMode && a.MaxAIAcft == b.MaxAIAcft &&
           a.BufferSize == b.BufferSize && a.RecFlags == b.RecFlags && a.PlayFlags == b.PlayFlags &&
           a.ShowRec == b.ShowRec && a.ShowPlay == b.ShowPlay && a.SetSimRate == b.SetSimRate &&
           a.SetSimRateSrch == b.SetSimRateSrch && a.LimSimRate == b.LimSimRate && a.ContrAiPlay == b.ContrAiPlay &&
           a.WindAiPlay == b.WindAiPlay && a.NoRecDlg == b.NoRecDlg;
}

}  // namespace

TEST(MemoryLabel, ShowsTheBufferAsTypedForTheRecordedGroups) {
    // 1000 samples of all twelve groups (132 bytes) at 1/4 s.
    EXPECT_EQ(Label(1000, 0xFFF, 250), "Used memory: 128kb\nMaximum replay time: 250 seconds");
    // Without smoke the sample is a byte shorter.
    EXPECT_EQ(Label(1000, 0x7FF, 250), "Used memory: 127kb\nMaximum replay time: 250 seconds");
    // Unclamped while editing: an empty field, and far more than the buffer
    // takes — without wrapping round to a small figure.
    EXPECT_EQ(Label(0, 0xFFF, 2000), "Used memory: 0kb\nMaximum replay time: 0 seconds");
    EXPECT_EQ(Label(4294967295u, 0xFFF, 2000), "Used memory: 553648127kb\nMaximum replay time: 8589934590 seconds");
}

TEST_F(SettingsFormTest, TheFormShowsTheSettingsAndOkWithoutEditsKeepsThem) {
    const SettingsForm form = SettingsFormFor(defaults);
    EXPECT_EQ(form.intervalItem, 2);  // 1/2 s
    EXPECT_EQ(form.bufferSize, 3600u);
    EXPECT_EQ(form.stepField[0], 15u);
    EXPECT_EQ(form.stepField[2], 300u);
    EXPECT_TRUE(form.aiMode[0] && !form.aiMode[1] && !form.aiMode[2]);
    EXPECT_EQ(form.recordedFlags, 127u);
    EXPECT_TRUE(SameSettings(SettingsFromForm(form, defaults), defaults));

    // Every setting away from its default comes back unchanged as well.
    Settings edited = defaults;
    edited.RplyItvl = 2000;
    edited.RplyEnabled = 0;
    edited.Search1 = edited.Search3 = 1;
    edited.JumpSize2 = 7;
    edited.SearchSpeed1 = 99;
    edited.SearchSpeed3 = 3;
    edited.Show = 1;
    edited.Pause = 0;
    edited.PlayAIMode = 1;
    edited.MaxAIAcft = 500;
    edited.BufferSize = 72000;
    edited.RecFlags = 0xA5A;
    edited.PlayFlags = 0x5A5;
    edited.ShowRec = edited.ShowPlay = 0;
    edited.SetSimRateSrch = edited.LimSimRate = 1;
    edited.ContrAiPlay = edited.WindAiPlay = edited.NoRecDlg = 1;
    EXPECT_TRUE(SameSettings(SettingsFromForm(SettingsFormFor(edited), edited), edited));
}

TEST_F(SettingsFormTest, AStepFieldShowsTheStoredValueOfItsChoice) {
    EXPECT_EQ(StepFieldValue(defaults, 1, true), 15u);   // search speed 2
    EXPECT_EQ(StepFieldValue(defaults, 1, false), 60u);  // jump size 2
    EXPECT_EQ(StepFieldValue(defaults, 2, true), 50u);
    EXPECT_STREQ(StepFieldUnit(true), "x");
    EXPECT_STREQ(StepFieldUnit(false), "sec");

    // Switched to "Search" with whatever was typed before: OK stores the
    // field as the search speed and keeps the jump size.
    SettingsForm form = SettingsFormFor(defaults);
    form.stepSearches[1] = true;
    form.stepField[1] = StepFieldValue(defaults, 1, true);
    Settings stored = SettingsFromForm(form, defaults);
    EXPECT_EQ(stored.Search2, 1u);
    EXPECT_EQ(stored.SearchSpeed2, 15);
    EXPECT_EQ(stored.JumpSize2, 60);
}

TEST_F(SettingsFormTest, OkBringsNumbersIntoTheirRanges) {
    SettingsForm form = SettingsFormFor(defaults);
    form.stepSearches[0] = form.stepSearches[1] = form.stepSearches[2] = true;
    form.stepField[0] = 101;  // search speeds stop at 100
    form.stepField[1] = 100;
    form.stepField[2] = 4294967295u;
    Settings stored = SettingsFromForm(form, defaults);
    EXPECT_EQ(stored.SearchSpeed1, 100);
    EXPECT_EQ(stored.SearchSpeed2, 100);
    EXPECT_EQ(stored.SearchSpeed3, 100);
    EXPECT_EQ(stored.JumpSize1, 15);  // the jump sizes stay

    form = SettingsFormFor(defaults);
    form.stepField[0] = 70000;  // jump sizes are 16 bits
    form.maxAiAircraft = 65537;
    stored = SettingsFromForm(form, defaults);
    EXPECT_EQ(stored.JumpSize1, 4464);
    EXPECT_EQ(stored.SearchSpeed1, 5);
    EXPECT_EQ(stored.MaxAIAcft, 1);

    for (const auto& typed : {std::pair<uint32_t, uint32_t>{0, 120},
                              {119, 120},
                              {120, 120},
                              {1000, 1000},
                              {72000, 72000},
                              {72001, 72000},
                              {4294967295u, 72000}}) {
        form.bufferSize = typed.first;
        EXPECT_EQ(SettingsFromForm(form, defaults).BufferSize, typed.second) << typed.first;
    }
}

TEST_F(SettingsFormTest, OkStoresTheRulesBetweenTheBoxes) {
    // The two simulation-rate options count only under their box.
    SettingsForm form = SettingsFormFor(defaults);
    form.simRate = false;
    form.simRateOnSearch = form.simRateLimit = true;
    Settings stored = SettingsFromForm(form, defaults);
    EXPECT_EQ(stored.SetSimRate, 0);
    EXPECT_EQ(stored.SetSimRateSrch, 0);
    EXPECT_EQ(stored.LimSimRate, 0);

    // The traffic choice: the last checked button wins, none keeps the mode.
    form = SettingsFormFor(defaults);
    form.aiMode[0] = form.aiMode[1] = true;
    EXPECT_EQ(SettingsFromForm(form, defaults).PlayAIMode, 1);
    form.aiMode[0] = form.aiMode[1] = form.aiMode[2] = false;
    Settings before = defaults;
    before.PlayAIMode = 2;
    EXPECT_EQ(SettingsFromForm(form, before).PlayAIMode, 2);

    // Only the twelve groups of the boxes; no interval chosen keeps it.
    form = SettingsFormFor(defaults);
    form.recordedFlags = 0xFFFFF;
    form.intervalItem = -1;
    stored = SettingsFromForm(form, defaults);
    EXPECT_EQ(stored.RecFlags, 0xFFF);
    EXPECT_EQ(stored.RplyItvl, 500);
}
