// The simulator's events on a stored tower view (pans, eyepoint and view-
// direction moves, axes, hat, aircraft stepping, zoom), the autozoom switch,
// and dialog 133's texts: degrees, minutes and seconds both ways.
#include <cmath>

#include "views/cameras/tower_controls.h"
#include "views/dialogs/tower_dialog.h"
#include "views_fixture.h"

namespace {

const double Pi = 3.14159265358979323846;

class TowerControls : public ViewsTest {
protected:
    void SetUp() override {
        ViewsTest::SetUp();
        Start(SimStandardConfig(2));
        view = &AddTowerView("Keys", 0, 2000, 200);
        row = ShowTowerView(0);
    }
    // Metres east, up, north that the view's eyepoint moved since `from`.
    void MovedSince(const HostPosition& from, double* east, double* up, double* north) const {
        double offset[3];
        SimOffsetMetres(from, view->position, offset);
        *east = offset[0];
        *up = offset[1];
        *north = offset[2];
    }
    TowerView* view;
    int row;
};

TEST_F(TowerControls, PanKeysTurnByTheStepOverTheMagnificationAndStopFollowing) {
    view->zoom = 128.0f;  // 2x: half a degree per step
    view->autoZoom = 0.3f;
    view->heading = EncodeAngle(10.0);
    EXPECT_TRUE(SimDispatchKeyEvent(8, 0x10088, 0));  // pan right
    EXPECT_NEAR(DecodeAngle(view->heading), 10.5, 1e-6);
    EXPECT_EQ(view->manualPan, 1u);
    EXPECT_EQ(view->autoZoom, 0.0f);
    EXPECT_TRUE(SimDispatchKeyEvent(8, 0x100C6, 0));  // pan up: the pitch goes up, less nose-down
    EXPECT_NEAR(DecodeAngle(view->pitch), -0.5, 1e-6);
    EXPECT_TRUE(SimDispatchKeyEvent(8, 0x10151, 0));  // tilt: a full degree whatever the zoom
    EXPECT_NEAR(DecodeAngle(view->bank), -1.0, 1e-6);
    EXPECT_TRUE(SimDispatchKeyEvent(8, 0x1013E, 0));  // up-left: 0.7 of each
    EXPECT_NEAR(DecodeAngle(view->heading), 10.5 - 0.35, 1e-6);
    EXPECT_NEAR(DecodeAngle(view->pitch), -0.5 - 0.35, 1e-6);
    EXPECT_TRUE(SimDispatchKeyEvent(8, 0x10370, 90));  // hat to the right
    EXPECT_NEAR(DecodeAngle(view->heading), 10.15 + 0.5, 1e-6);
    const Angle32 heading = view->heading;
    EXPECT_TRUE(SimDispatchKeyEvent(8, 0x10370, -1));  // centred: nothing, but taken
    EXPECT_EQ(view->heading, heading);
    EXPECT_TRUE(SimLogOf(LogHostInput).empty());
    // The other three diagonals: down-left, up-right, down-right.
    const struct {
        uint32_t event;
        double pitch, heading;
    } diagonals[] = {{0x1013F, 0.35, -0.35}, {0x10140, -0.35, 0.35}, {0x10141, 0.35, 0.35}};
    for (const auto& diagonal : diagonals) {
        const double pitchBefore = DecodeAngle(view->pitch), headingBefore = DecodeAngle(view->heading);
        EXPECT_TRUE(SimDispatchKeyEvent(8, diagonal.event, 0));
        EXPECT_NEAR(DecodeAngle(view->pitch) - pitchBefore, diagonal.pitch, 1e-6) << std::hex << diagonal.event;
        EXPECT_NEAR(DecodeAngle(view->heading) - headingBefore, diagonal.heading, 1e-6) << std::hex << diagonal.event;
    }

    // Following again: the next frame aims at the aircraft.
    EXPECT_TRUE(SimDispatchKeyEvent(8, 0x10153, 0));
    EXPECT_EQ(view->manualPan, 0u);
    SimRunFrames(1);
    EXPECT_NEAR(std::fabs(DecodeAngle(view->heading)), 180.0, 0.01);  // south, to the parked aircraft

    // The step over the magnification is worked out in double: at 7/64x and
    // ten-degree steps a quotient in single precision is some 60 units off.
    viewSettings.PanStep = 10.0f;
    view->zoom = 7.0f;
    view->heading = 0;
    EXPECT_TRUE(SimDispatchKeyEvent(8, 0x10088, 0));
    EXPECT_EQ(view->heading, static_cast<Angle32>(static_cast<int64_t>(64.0 / 7.0 * 10.0 * AngleUnitsPerDegree)));
}

TEST_F(TowerControls, EyepointAndDirectionKeysWalkAlongTheViewsHeading) {
    view->manualPan = 1;
    view->heading = EncodeAngle(90.0);  // looking east
    HostPosition from = view->position;
    double east, up, north;
    EXPECT_TRUE(SimDispatchKeyEvent(8, 0x103E0, 0));  // eyepoint forward: 1 ft east
    MovedSince(from, &east, &up, &north);
    EXPECT_NEAR(east, 0.3048, 1e-4);
    EXPECT_NEAR(north, 0.0, 1e-6);
    from = view->position;
    EXPECT_TRUE(SimDispatchKeyEvent(8, 0x103DE, 0));  // eyepoint right: south
    MovedSince(from, &east, &up, &north);
    EXPECT_NEAR(north, -0.3048, 1e-6);
    from = view->position;
    EXPECT_TRUE(SimDispatchKeyEvent(8, 0x103DC, 0));  // up
    MovedSince(from, &east, &up, &north);
    EXPECT_NEAR(up, 0.3048, 1e-6);
    // At 30 degrees both terms of the heading count.
    view->heading = EncodeAngle(30.0);
    const double sine = 0.5, cosine = std::sqrt(3.0) / 2;
    from = view->position;
    EXPECT_TRUE(SimDispatchKeyEvent(8, 0x103E0, 0));  // forward
    MovedSince(from, &east, &up, &north);
    EXPECT_NEAR(east, 0.3048 * sine, 1e-4);
    EXPECT_NEAR(north, 0.3048 * cosine, 1e-4);
    from = view->position;
    EXPECT_TRUE(SimDispatchKeyEvent(8, 0x103DF, 0));  // left
    MovedSince(from, &east, &up, &north);
    EXPECT_NEAR(east, -0.3048 * cosine, 1e-4);
    EXPECT_NEAR(north, 0.3048 * sine, 1e-4);
    from = view->position;
    EXPECT_TRUE(SimDispatchKeyEvent(8, 0x103DD, 0));  // down
    MovedSince(from, &east, &up, &north);
    EXPECT_NEAR(up, -0.3048, 1e-6);
    // Looking east, each view direction walks that way: 10 ft level, 50 ft
    // looking up, 0.7 of each part on a diagonal; look down and up lower and
    // raise the eyepoint by 10 ft.
    view->heading = EncodeAngle(90.0);
    const double S = 3.048, L = 15.24, D = 0.699999988;
    const struct {
        uint32_t event;
        double east, up, north;
    } walks[] = {
        {0x1008A, S, 0, 0},      {0x1008B, D * S, 0, -D * S},   {0x1008C, 0, 0, -S},      {0x1008D, -D * S, 0, -D * S},
        {0x1008E, -S, 0, 0},     {0x1008F, -D * S, 0, D * S},   {0x10090, 0, 0, S},       {0x10091, D * S, 0, D * S},
        {0x10259, L, 0, 0},      {0x1025A, D * L, 0, -D * L},   {0x1025B, 0, 0, -L},      {0x1025C, -D * L, 0, -D * L},
        {0x1025D, -L, 0, 0},     {0x1025E, -D * L, 0, D * L},   {0x1025F, 0, 0, L},       {0x10260, D * L, 0, D * L},
        {0x10092, 0, -S, 0},     {0x10261, 0, S, 0},
    };
    for (const auto& walk : walks) {
        from = view->position;
        EXPECT_TRUE(SimDispatchKeyEvent(8, walk.event, 0));
        MovedSince(from, &east, &up, &north);
        EXPECT_NEAR(east, walk.east, 1e-3) << std::hex << walk.event;
        EXPECT_NEAR(up, walk.up, 1e-6) << std::hex << walk.event;
        EXPECT_NEAR(north, walk.north, 1e-3) << std::hex << walk.event;
    }
    EXPECT_EQ(view->heading, EncodeAngle(90.0));  // moves never turn the view
}

TEST_F(TowerControls, AxisEventsSetTheDirectionAndAircraftKeysStepTheTarget) {
    EXPECT_TRUE(SimDispatchKeyEvent(8, 0x103C7, 100));
    EXPECT_EQ(view->pitch, 100u * 65536u);
    EXPECT_TRUE(SimDispatchKeyEvent(8, 0x103C8, 100));
    EXPECT_EQ(view->heading, 0u - 100u * 131072u);
    EXPECT_TRUE(SimDispatchKeyEvent(8, 0x103C9, -2));
    EXPECT_EQ(view->bank, 0u - 2u * 131072u);
    EXPECT_EQ(view->manualPan, 0u);

    const std::vector<uint32_t> ids = SimAircraftIds();
    ASSERT_EQ(ids.size(), 3u);
    EXPECT_TRUE(SimDispatchKeyEvent(8, 0x103C4, 0));
    EXPECT_EQ(Row(row).towerTarget, static_cast<int32_t>(ids[1]));
    EXPECT_TRUE(SimDispatchKeyEvent(8, 0x103C5, 0));
    EXPECT_TRUE(SimDispatchKeyEvent(8, 0x103C5, 0));
    EXPECT_EQ(Row(row).towerTarget, static_cast<int32_t>(ids[2]));
}

TEST_F(TowerControls, ZoomKeysScaleTheZoomOrTheAutozoomFactorAndStillReachTheHost) {
    view->zoom = 30000.0f;
    EXPECT_FALSE(SimDispatchKeyEvent(9, 0x10077, 0));
    EXPECT_EQ(view->zoom, 32768.0f);
    view->zoom = 5.0f;
    SimDispatchKeyEvent(9, 0x100B6, 0);
    EXPECT_EQ(view->zoom, 4.0f);
    SimDispatchKeyEvent(9, 0x100DA, 0);
    EXPECT_FLOAT_EQ(view->zoom, 4.0f * 1.0109f);
    view->autoZoom = 100.0f;
    SimDispatchKeyEvent(9, 0x10077, 0);
    EXPECT_FLOAT_EQ(view->autoZoom, 141.42f);  // no limit on the factor
    SimDispatchKeyEvent(9, 0x10089, 0);
    EXPECT_FLOAT_EQ(view->autoZoom, 141.42f * 0.9892175f);
    SimDispatchKeyEvent(9, 0x1000E, 0);
    EXPECT_EQ(view->zoom, 64.0f);
    EXPECT_EQ(view->autoZoom, 0.0f);
    EXPECT_EQ(SimLogOf(LogHostInput).size(), 6u);
}

TEST_F(TowerControls, EventsReachTheHostWhenTheyAreNotTheViewsOwn) {
    EXPECT_FALSE(SimDispatchKeyEvent(8, 0x10001, 0));  // not a view event
    ChangeView(row, ViewKindTower, ChangeSelect, -1);
    EXPECT_FALSE(SimDispatchKeyEvent(8, 0x10088, 0));  // the simulator's tower pans itself
    ChangeView(row, ViewKindTower, ChangeSelect, 0);
    SimSetViewWindowKind(SimMainViewWindow(), SimViewSpot);
    EXPECT_FALSE(SimDispatchKeyEvent(8, 0x10088, 0));
    EXPECT_EQ(SimLogOf(LogHostInput).size(), 3u);
    EXPECT_EQ(view->manualPan, 0u);
}

TEST_F(TowerControls, TheAutozoomSwitchStartsFromTheCurrentMagnification) {
    view->zoom = 256.0f;
    TowerAutozoomToggle();
    const double distance = 2000.0;  // the parked aircraft is 2 km south, 70 m below
    EXPECT_NEAR(view->autoZoom, 256.0 / std::sqrt(distance * distance + 70.0 * 70.0), 1e-5);
    SimRunFrames(1);
    EXPECT_NEAR(view->zoom, 256.0f, 0.01f);
    TowerAutozoomToggle();
    EXPECT_EQ(view->autoZoom, 0.0f);
    EXPECT_NEAR(view->zoom, 256.0f, 0.01f);
    view->manualPan = 1;
    TowerAutozoomToggle();
    EXPECT_EQ(view->autoZoom, 0.0f);
    // Watching an aircraft that has gone, there is no distance to start from.
    view->manualPan = 0;
    Row(row).towerTarget = 555;
    TowerAutozoomToggle();
    EXPECT_EQ(view->autoZoom, 0.0f);
    EXPECT_EQ(view->zoom, 256.0f);
}

TEST(TowerDialogTexts, DegreesMinutesAndSecondsBothWays) {
    DmsText t = FormatDms(47.5, 'N', 'S', 2);
    EXPECT_STREQ(t.degrees, "N47");
    EXPECT_STREQ(t.minutes, "30");
    EXPECT_STREQ(t.seconds, "00.00");
    t = FormatDms(-0.5, 'N', 'S', 2);
    EXPECT_STREQ(t.degrees, "S00");
    EXPECT_STREQ(t.minutes, "30");
    t = FormatDms(-122.3099, 'E', 'W', 3);
    EXPECT_STREQ(t.degrees, "W122");
    EXPECT_STREQ(t.minutes, "18");
    EXPECT_STREQ(t.seconds, "35.64");
    t = FormatDms(8.0 + 59.0 / 60 + 59.996 / 3600, 'E', 'W', 3);  // rounds up into the next degree
    EXPECT_STREQ(t.degrees, "E009");
    EXPECT_STREQ(t.minutes, "00");
    EXPECT_STREQ(t.seconds, "00.00");

    EXPECT_DOUBLE_EQ(ParseDms("S12", "30", "00.00", 'N', 'S'), -12.5);
    EXPECT_DOUBLE_EQ(ParseDms("-12", "30", "00.00", 'N', 'S'), -12.5);
    EXPECT_DOUBLE_EQ(ParseDms("12", "30", "00.00", 'N', 'S'), 12.5);
    EXPECT_DOUBLE_EQ(ParseDms("N47", "30", "36", 'N', 'S'), 47.51);
    EXPECT_DOUBLE_EQ(ParseDms("W122", "15", "", 'E', 'W'), -122.25);
    EXPECT_DOUBLE_EQ(ParseDms("xyz", "ab", "cd", 'N', 'S'), 0.0);
}

TEST(TowerDialogTexts, WhatTheDialogShowsAndStoresBack) {
    TowerView view{};
    std::strcpy(view.name, "Runway 34R");
    view.position = {EncodeLatitude(47.5), EncodeLongitude(-122.3099), EncodeAltitude(100.0)};
    view.zoom = 96.0f;
    view.autoZoom = 0.2f;
    TowerDialogTexts texts = TowerDialogTextsOf(view);
    EXPECT_STREQ(texts.title, "Runway 34R");
    EXPECT_STREQ(texts.latitude.degrees, "N47");
    EXPECT_STREQ(texts.longitude.degrees, "W122");
    EXPECT_STREQ(texts.altitude, "328");
    EXPECT_STREQ(texts.zoom, "1.5");
    EXPECT_TRUE(texts.autoZoom);
    EXPECT_FALSE(texts.manualPan);

    std::strcpy(texts.latitude.degrees, "S12");
    std::strcpy(texts.latitude.minutes, "30");
    std::strcpy(texts.latitude.seconds, "00.00");
    std::strcpy(texts.longitude.degrees, "E180");  // 18' 35.64" past the date line: wraps west
    std::strcpy(texts.altitude, "-20");
    std::strcpy(texts.zoom, "0");
    texts.manualPan = true;
    ApplyTowerDialogTexts(texts, &view);
    EXPECT_EQ(view.position.latitude, EncodeLatitude(-12.5));
    EXPECT_EQ(view.position.latitude, static_cast<int64_t>(-12.5 * 477302101697422.25));
    EXPECT_NEAR(DecodeLongitude(view.position.longitude), -180.0 + 18.0 / 60 + 35.64 / 3600, 1e-9);
    EXPECT_NEAR(DecodeAltitude(view.position.altitude), -20 * 0.3048, 1e-6);
    EXPECT_EQ(view.zoom, 4.0f);  // 0x becomes the smallest zoom
    EXPECT_EQ(view.autoZoom, 0.0f);
    EXPECT_EQ(view.manualPan, 1u);
    std::strcpy(texts.zoom, "1000");
    ApplyTowerDialogTexts(texts, &view);
    EXPECT_EQ(view.zoom, 32768.0f);
}

class TowerEdit : public TowerControls {};

TEST_F(TowerEdit, EditOpensOnlyOnAStoredView) {
    SimSendMainWindowMessage(0x0111, 43602, 0);  // "Edit tower view..." on view 0
    EXPECT_EQ(SimLogOf(LogModalBegin).size(), 1u);
    EXPECT_EQ(SimLogOf(LogModalEnd).size(), 1u);
    ChangeView(row, ViewKindTower, ChangeSelect, -1);
    SimClearLog();
    SimSendMainWindowMessage(0x0111, 43602, 0);  // from a menu built before the change
    EXPECT_TRUE(SimLog().empty());
}

}  // namespace
