// The record dialog's decisions: what it shows for the stored recording
// defaults (a file without them included), and the defaults and recording
// parameters OK makes of its controls.
#include "ui/dialogs/record_form.h"

#include <gtest/gtest.h>

#include "engine/record/recording_start_stop.h"
#include "engine/session/session.h"
#include "ini_folder.h"

using RecordFormTest = IniFolderTest;

TEST_F(RecordFormTest, AFileWithoutRecordDefaultsOpensAndStoresTheDefaults) {
    const RecordForm form = RecordFormFor(ReadRecordDefaults(AI_FACTOR_DEFAULT_DIALOG));
    EXPECT_EQ(form.intervalItem, 1);  // 1/4 sec
    EXPECT_FALSE(form.autostop);
    EXPECT_EQ(form.autostopSeconds, 60u);
    EXPECT_EQ(form.autostopItem, 0);  // after touchdown
    EXPECT_FALSE(form.recordAi);
    EXPECT_EQ(form.aiFactor, 10);

    const RecordChoice choice = RecordChoiceFromForm(form, AutostopAfterShutdown);
    EXPECT_EQ(choice.defaults.DfltItvlIdx, 1);
    EXPECT_EQ(choice.defaults.DfltAutostop, -1);
    EXPECT_EQ(choice.defaults.DfltAutostopTime, 60);
    EXPECT_EQ(choice.defaults.RecAI, 0);
    EXPECT_EQ(choice.defaults.AIItvlFactor, 10);
    EXPECT_EQ(choice.parameters.recordInterval, 250u);
    EXPECT_EQ(choice.parameters.autostopKind, AutostopNone);
    EXPECT_EQ(choice.parameters.autostopDelay, 600000u);
    EXPECT_EQ(choice.parameters.aiSampleFactor, 0);
}

TEST(RecordForm, StoredValuesTheListsDoNotHaveShowTheFirstChoice) {
    const RecordForm form = RecordFormFor(RecordDefaults{9, 7, -5, 3, -2});
    EXPECT_EQ(form.intervalItem, 1);
    EXPECT_TRUE(form.autostop);
    EXPECT_EQ(form.autostopItem, 0);
    EXPECT_EQ(form.autostopSeconds, 0u);  // as a recording would count it
    EXPECT_TRUE(form.recordAi);
    EXPECT_EQ(form.aiFactor, -2);
    EXPECT_EQ(RecordFormFor(RecordDefaults{4, 2, 999999, 0, 10}).autostopSeconds, 429496u);
}

TEST(RecordForm, OkMapsTheChoicesAndKeepsTheNumbersInRange) {
    RecordForm form{3, true, 30, 2, true, 5};
    RecordChoice choice = RecordChoiceFromForm(form, AutostopNone);
    EXPECT_EQ(choice.parameters.recordInterval, 1000u);
    EXPECT_EQ(choice.parameters.autostopKind, AutostopAfterStart);
    EXPECT_EQ(choice.parameters.autostopDelay, 300000u);
    EXPECT_EQ(choice.parameters.aiSampleFactor, 5);
    form.autostopItem = 0;
    EXPECT_EQ(RecordChoiceFromForm(form, AutostopNone).parameters.autostopKind, AutostopAfterTouchdown);
    form.autostopItem = 1;
    EXPECT_EQ(RecordChoiceFromForm(form, AutostopNone).parameters.autostopKind, AutostopAfterShutdown);

    // The AI factor stays within 1 to 64, and counts only with its box.
    for (const auto& typed : {std::pair<int32_t, int32_t>{0, 1}, {-3, 1}, {1, 1}, {64, 64}, {100, 64}}) {
        form.aiFactor = typed.first;
        choice = RecordChoiceFromForm(form, AutostopNone);
        EXPECT_EQ(choice.defaults.AIItvlFactor, typed.second) << typed.first;
        EXPECT_EQ(choice.parameters.aiSampleFactor, typed.second) << typed.first;
    }
    form.recordAi = false;
    choice = RecordChoiceFromForm(form, AutostopNone);
    EXPECT_EQ(choice.defaults.RecAI, 0);
    EXPECT_EQ(choice.defaults.AIItvlFactor, 64);
    EXPECT_EQ(choice.parameters.aiSampleFactor, 0);

    // Unchecked, the autostop is stored as -1 with its seconds kept.
    form.autostop = false;
    form.autostopSeconds = 45;
    choice = RecordChoiceFromForm(form, AutostopAfterShutdown);
    EXPECT_EQ(choice.defaults.DfltAutostop, -1);
    EXPECT_EQ(choice.defaults.DfltAutostopTime, 45);
    EXPECT_EQ(choice.parameters.autostopKind, AutostopNone);
}

TEST(RecordForm, ALongAutostopDelayNeverWrapsToAShortOne) {
    // 429497 s would be 4,294,970,000 ticks: past 32 bits, a stop after 0.27 s.
    RecordForm form{1, true, 429497, 2, false, 10};
    RecordChoice choice = RecordChoiceFromForm(form, AutostopNone);
    EXPECT_EQ(choice.defaults.DfltAutostopTime, 429496);
    EXPECT_EQ(choice.parameters.autostopDelay, 4294960000u);
    form.autostopSeconds = 4294967295u;
    EXPECT_EQ(RecordChoiceFromForm(form, AutostopNone).defaults.DfltAutostopTime, 429496);
    EXPECT_EQ(AutostopDelayForSeconds(-1), 0u);
    EXPECT_EQ(AutostopDelayForSeconds(30), 300000u);
}
