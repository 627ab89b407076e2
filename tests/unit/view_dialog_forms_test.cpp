// What the spot, VC and view settings dialogs show for stored values, and
// what their texts store back, in the user's units.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "views/dialogs/spot_dialog.h"
#include "views/dialogs/vc_dialog.h"
#include "views/dialogs/view_settings_dialog.h"

namespace {

SpotView Spot(float x, float y, float z) {
    SpotView view{};
    std::strcpy(view.name, "Chase");
    view.x = x;
    view.y = y;
    view.z = z;
    view.zoom = 96.0f;
    return view;
}

ViewSettings Defaults() {
    return ViewSettings{0.3048f, 3.048f, 15.24f, 0.3048f, 0.06096f, 1.0f, 55560.0f, 32768.0f, 16.0f, 1};
}

TEST(SpotDialogForm, TheOffsetShowsAsWholeFeetAndDegreesAroundTheAircraft) {
    SpotDialogTexts texts = SpotDialogTextsOf(Spot(-10, 10, -10));
    EXPECT_STREQ(texts.title, "Chase");
    EXPECT_STREQ(texts.distance, "46");    // 14.14 m
    EXPECT_STREQ(texts.direction, "225");  // behind on the left
    EXPECT_STREQ(texts.altitude, "33");    // 32.8 ft, rounded
    EXPECT_STREQ(texts.zoom, "1.5");
    EXPECT_STREQ(SpotDialogTextsOf(Spot(0, -10, 30)).direction, "0");
    EXPECT_STREQ(SpotDialogTextsOf(Spot(0, -10, 30)).altitude, "-33");  // rounded up from -32.8
    EXPECT_STREQ(SpotDialogTextsOf(Spot(5, 0, 0)).direction, "90");
    EXPECT_STREQ(SpotDialogTextsOf(Spot(-0.001f, 0, 5)).direction, "360");  // just left of ahead rounds up
    // A hand-edited file's extreme offset shows as the largest number, not as garbage.
    EXPECT_STREQ(SpotDialogTextsOf(Spot(3e38f, 0, 0)).distance, "4294967295");

    SpotView flags = Spot(0, 0, -30);
    flags.manualPan = 1;
    flags.rotatePitchBank = 1;
    texts = SpotDialogTextsOf(flags);
    EXPECT_TRUE(texts.manualPan);
    EXPECT_FALSE(texts.rotateHeading);
    EXPECT_TRUE(texts.rotatePitchBank);
}

TEST(SpotDialogForm, OkStoresTheOffsetInMetresAndLeavesTheLookAlone) {
    SpotView view = Spot(1, 2, 3);
    view.pitch = 123;
    view.heading = 456;
    SpotDialogTexts texts = SpotDialogTextsOf(view);
    std::strcpy(texts.title, "Behind the tail");
    std::strcpy(texts.distance, "100");
    std::strcpy(texts.direction, "90");
    std::strcpy(texts.altitude, "-20");
    std::strcpy(texts.zoom, "2.5");
    texts.rotateHeading = true;
    ApplySpotDialogTexts(texts, &view);
    EXPECT_STREQ(view.name, "Behind the tail");
    EXPECT_NEAR(view.x, 30.48f, 1e-4);
    EXPECT_NEAR(view.z, 0.0f, 1e-4);
    EXPECT_NEAR(view.y, -6.096f, 1e-5);
    EXPECT_EQ(view.zoom, 160.0f);
    EXPECT_EQ(view.rotateHeading, 1u);
    EXPECT_EQ(view.pitch, 123u);
    EXPECT_EQ(view.heading, 456u);

    // Round trip of the example: 46 ft at 225 degrees is (-10, -10) m again, near enough.
    std::strcpy(texts.distance, "46");
    std::strcpy(texts.direction, "225");
    ApplySpotDialogTexts(texts, &view);
    EXPECT_NEAR(view.x, -9.9141f, 1e-3);
    EXPECT_NEAR(view.z, -9.9141f, 1e-3);

    // Text that is no number reads as 0; a zoom of 0 becomes the smallest.
    std::strcpy(texts.distance, "far");
    std::strcpy(texts.zoom, "big");
    ApplySpotDialogTexts(texts, &view);
    EXPECT_EQ(view.x, 0.0f);
    EXPECT_EQ(view.zoom, 4.0f);
    std::strcpy(texts.zoom, "1000");
    ApplySpotDialogTexts(texts, &view);
    EXPECT_EQ(view.zoom, 32768.0f);
}

TEST(VcDialogForm, ThePositionShowsInHundredthsOfAFootAndStoresBackInMetres) {
    VcView view{};
    std::strcpy(view.name, "Pilot");
    view.x = -0.4f;
    view.y = 1.1f;
    view.z = 0.06096f;
    view.zoom = 48.0f;
    view.heading = 99;
    VcDialogTexts texts = VcDialogTextsOf(view);
    EXPECT_STREQ(texts.title, "Pilot");
    EXPECT_STREQ(texts.position[0], "-1.31");
    EXPECT_STREQ(texts.position[1], "3.61");
    EXPECT_STREQ(texts.position[2], "0.20");
    EXPECT_STREQ(texts.zoom, "0.8");  // 0.75, to a tenth

    std::strcpy(texts.position[0], "2");
    std::strcpy(texts.position[1], "-1.5");
    std::strcpy(texts.position[2], "x");
    std::strcpy(texts.zoom, "0");
    ApplyVcDialogTexts(texts, &view);
    EXPECT_NEAR(view.x, 0.6096f, 1e-6);
    EXPECT_NEAR(view.y, -0.4572f, 1e-6);
    EXPECT_EQ(view.z, 0.0f);
    EXPECT_EQ(view.zoom, 4.0f);
    EXPECT_EQ(view.heading, 99u);
}

TEST(ViewSettingsForm, TheDefaultsShowInFeetNauticalMilesAndMagnifications) {
    const ViewSettingsTexts texts = ViewSettingsTextsOf(Defaults());
    const char* expected[ViewSettingsFieldCount] = {"1.0", "10.0", "50.0", "1.0", "0.20",
                                                    "1.0", "30.0", "512.0", "0.25"};
    for (int i = 0; i < ViewSettingsFieldCount; ++i) EXPECT_STREQ(texts.fields[i], expected[i]) << i;
    EXPECT_TRUE(texts.showTitle);
}

TEST(ViewSettingsForm, OkStoresMetresAndSixtyFourthsAndHoldsOnlyTheAutozoomLimits) {
    ViewSettingsTexts texts = ViewSettingsTextsOf(Defaults());
    std::strcpy(texts.fields[FieldTowerStep2], "20");
    std::strcpy(texts.fields[FieldVcStep], "0.5");
    std::strcpy(texts.fields[FieldPanStep], "2.5");
    std::strcpy(texts.fields[FieldMaxTowerDistance], "30");
    std::strcpy(texts.fields[FieldMaxAutozoom], "1000");
    std::strcpy(texts.fields[FieldMinAutozoom], "0.1");
    std::strcpy(texts.fields[FieldSpotStep], "none");
    texts.showTitle = false;
    ViewSettings stored = ViewSettingsFromTexts(texts);
    EXPECT_NEAR(stored.TowerStep1, 0.3048f, 1e-7);
    EXPECT_NEAR(stored.TowerStep2, 6.096f, 1e-6);
    EXPECT_NEAR(stored.TowerStep3, 15.24f, 1e-5);
    EXPECT_EQ(stored.SpotStep, 0.0f);  // no number: 0, and the keys do nothing
    EXPECT_NEAR(stored.VCStep, 0.1524f, 1e-7);
    EXPECT_EQ(stored.PanStep, 2.5f);
    EXPECT_EQ(stored.MaxTwrDist, 55560.0f);
    EXPECT_EQ(stored.MaxAutozoom, 32768.0f);  // 512x at most
    EXPECT_EQ(stored.MinAutozoom, 16.0f);     // 0.25x at least
    EXPECT_EQ(stored.ShowTitle, 0);

    // No other limits: the minimum may pass the maximum, a step may be negative.
    std::strcpy(texts.fields[FieldMaxAutozoom], "0.5");
    std::strcpy(texts.fields[FieldMinAutozoom], "100");
    std::strcpy(texts.fields[FieldTowerStep1], "-2");
    stored = ViewSettingsFromTexts(texts);
    EXPECT_EQ(stored.MaxAutozoom, 32.0f);
    EXPECT_EQ(stored.MinAutozoom, 6400.0f);
    EXPECT_NEAR(stored.TowerStep1, -0.6096f, 1e-7);
    // But not beyond the largest zoom a stored view holds.
    std::strcpy(texts.fields[FieldMinAutozoom], "999999999");
    EXPECT_EQ(ViewSettingsFromTexts(texts).MinAutozoom, 32768.0f);
    // Far beyond a float: the largest float, never infinity.
    std::strcpy(texts.fields[FieldMaxTowerDistance], "1e300");
    EXPECT_TRUE(std::isfinite(ViewSettingsFromTexts(texts).MaxTwrDist));
}

}  // namespace
