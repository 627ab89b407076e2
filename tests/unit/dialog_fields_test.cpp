// Numbers read from the dialogs' fields, and the seconds the replay dialog
// asks for: whatever a field holds, the dialogs get a number in range.
#include <gtest/gtest.h>

#include <cstdint>

#include "ui/dialogs/dialog_controls.h"
#include "ui/dialogs/replay_form.h"

TEST(FieldNumbers, ReadDigitsWithTheSeparatorsAnUpDownControlWrites) {
    EXPECT_EQ(FieldNumber(""), 0u);
    EXPECT_EQ(FieldNumber("  42"), 42u);
    EXPECT_EQ(FieldNumber("144,000"), 144000u);  // an up-down control's thousands
    EXPECT_EQ(FieldNumber("1.234"), 1234u);
    EXPECT_EQ(FieldNumber("12 345"), 12345u);
    EXPECT_EQ(FieldNumber("12abc"), 12u);
    EXPECT_EQ(FieldNumber("abc"), 0u);
    EXPECT_EQ(FieldNumber(",5"), 0u);
    EXPECT_EQ(FieldNumber("1,,2"), 1u);
    EXPECT_EQ(FieldNumber("4294967295"), 4294967295u);
    EXPECT_EQ(FieldNumber("99999999999999999999"), 4294967295u);  // the largest, not what wraps
}

TEST(FieldNumbers, SignedFieldsKeepTheirSignWithinRange) {
    EXPECT_EQ(FieldSignedNumber("-5"), -5);
    EXPECT_EQ(FieldSignedNumber("10"), 10);
    EXPECT_EQ(FieldSignedNumber("2147483648"), INT32_MAX);
    EXPECT_EQ(FieldSignedNumber("-99999999999"), INT32_MIN);
    EXPECT_EQ(FieldSignedNumber("-"), 0);
}

TEST(ReplaySeconds, ATypedNumberStaysBetweenFiveAndWhatTheBufferHolds) {
    EXPECT_FALSE(ReplayOffered(4));
    EXPECT_TRUE(ReplayOffered(5));
    EXPECT_EQ(ReplaySecondsFor(3, 100), 5u);
    EXPECT_EQ(ReplaySecondsFor(0, 100), 5u);
    EXPECT_EQ(ReplaySecondsFor(20, 100), 20u);
    EXPECT_EQ(ReplaySecondsFor(101, 100), 100u);
    // A 72,000-sample buffer at 2 s holds 144,000 s, past 16 bits.
    EXPECT_EQ(ReplaySecondsFor(99999, 144000), 99999u);
    EXPECT_EQ(ReplaySecondsFor(4294967295u, 144000), 144000u);
}
