// The VC camera and its keys on the stand-in, against the tests' own
// rotation: the eyepoint in the aircraft's axes, the stored direction turned
// by the host with the aircraft, looking at another aircraft and back, the
// view-direction, pan, eyepoint and zoom keys, and New from the cockpit.
#include <cmath>

#include "attitude_math.h"
#include "views/dialogs/vc_dialog.h"
#include "views_fixture.h"

namespace {

const double Pi = 3.14159265358979323846;

double Degrees(Angle32 angle) { return static_cast<int32_t>(angle) * 360.0 / 4294967296.0; }

class VcViews : public ViewsTest {
protected:
    void SetUp() override {
        ViewsTest::SetUp();
        Start(SimStandardConfig(2));
        view = &AddVcView("Seat", -0.4f, 1.1f, 1.5f);
        row = ShowStoredView(SimViewVirtualCockpit, ViewKindVirtualCockpit, 0);
        aloft = SimPositionNearAirfield(0, 0, 1000);
        SimClearLog();
    }
    // The direction the host shows: the camera's angles turned further by
    // the matrix's forward column.
    static Vector3 ShownDirection(const SimCameraPlacement& camera) {
        const Vector3 inCamera = {camera.matrix[2], camera.matrix[6], camera.matrix[10]};
        return Turned(Degrees(camera.pitch), Degrees(camera.bank), Degrees(camera.heading), inCamera);
    }
    VcView* view;
    int row;
    HostPosition aloft;
};

TEST_F(VcViews, TheEyepointSitsInTheAircraftsAxesAndAStoredQuarterTurnLooksOutOfTheRightSide) {
    view->heading = EncodeAngle(90.0);
    view->zoom = 96.5f;
    const double attitudes[][3] = {{0, 0, 0}, {-12, 30, 75}, {8, -45, 200}, {-60, 170, 310}};
    for (const auto& a : attitudes) {
        PinUserAircraft(aloft, a[0], a[1], a[2]);
        RunFrames(1);
        const SimCameraPlacement camera = LastCamera();
        double offset[3];
        SimOffsetMetres(aloft, camera.position, offset);
        const Vector3 eyepoint = Turned(a[0], a[1], a[2], {-0.4, 1.1, 1.5});
        EXPECT_NEAR(offset[0], eyepoint.x, 1e-4);
        EXPECT_NEAR(offset[1], eyepoint.y, 1e-4);
        EXPECT_NEAR(offset[2], eyepoint.z, 1e-4);
        ASSERT_TRUE(camera.hasMatrix);
        const Vector3 shown = ShownDirection(camera);
        const Vector3 rightWing = Turned(a[0], a[1], a[2], {1, 0, 0});
        EXPECT_NEAR(shown.x, rightWing.x, 1e-5) << a[2];
        EXPECT_NEAR(shown.y, rightWing.y, 1e-5) << a[2];
        EXPECT_NEAR(shown.z, rightWing.z, 1e-5) << a[2];
        EXPECT_EQ(camera.zoom, 96);
        EXPECT_EQ(WindowField<uint16_t>(SimMainViewWindow(), 0x2E), 96);
    }
    EXPECT_EQ(view->heading, EncodeAngle(90.0));  // never changed by the camera
}

TEST_F(VcViews, TheAircraftKeysLookAtAnotherAircraftUntilTheLookIsReset) {
    PinUserAircraft(aloft, 0, 0, 0);
    view->heading = EncodeAngle(30.0);
    const std::vector<uint32_t> ids = SimAircraftIds();
    ASSERT_GE(ids.size(), 2u);
    EXPECT_TRUE(SimDispatchKeyEvent(8, 0x103C4, 0));
    EXPECT_EQ(Row(row).vcTarget, static_cast<int32_t>(ids[1]));
    for (int frame = 0; frame < 3; ++frame) {
        RunFrames(1);
        const SimCameraPlacement camera = LastCamera();
        SimAircraftState ai;
        ASSERT_TRUE(SimGetAircraftState(ids[1], &ai));
        HostPosition aiAt;
        std::memcpy(&aiAt, ai.placement, sizeof aiAt);
        double toAi[3];
        SimOffsetMetres(camera.position, aiAt, toAi);
        EXPECT_NEAR(std::remainder(Degrees(camera.heading) - std::atan2(toAi[0], toAi[2]) * 180 / Pi, 360.0), 0,
                    1e-4);
        EXPECT_NEAR(Degrees(camera.pitch), -std::atan2(toAi[1], std::hypot(toAi[0], toAi[2])) * 180 / Pi, 1e-4);
        for (int i = 0; i < 16; ++i) EXPECT_EQ(camera.matrix[i], i % 5 == 0 ? 1.0f : 0.0f);
    }
    EXPECT_EQ(view->heading, EncodeAngle(30.0));
    EXPECT_TRUE(SimDispatchKeyEvent(8, 0x10153, 0));  // back to the stored direction
    EXPECT_EQ(Row(row).vcTarget, 1);
    RunFrames(1);
    EXPECT_NEAR(ShownDirection(LastCamera()).x, std::sin(30 * Pi / 180), 1e-5);

    // An aircraft that is gone: no camera this frame, the stored direction from the next.
    Row(row).vcTarget = 4242;
    const size_t placed = SimCameraPlacements().size();
    RunFrames(1);
    EXPECT_EQ(SimCameraPlacements().size(), placed);
    EXPECT_EQ(Row(row).vcTarget, 1);
    RunFrames(1);
    EXPECT_EQ(SimCameraPlacements().size(), placed + 1);
}

TEST_F(VcViews, ViewDirectionKeysOverwriteTheStoredDirection) {
    view->bank = EncodeAngle(7.0);
    const struct {
        uint32_t eventId;
        double pitch, heading;
    } cases[] = {
        {0x1008A, 0, 0},     {0x1008B, 0, 45},    {0x1008C, 0, 90},    {0x1008F, 0, -135},  {0x10091, 0, -45},
        {0x10092, 90, 0},    {0x10259, -45, 0},   {0x1025A, -45, 45},  {0x1025D, -45, 180}, {0x10260, -45, -45},
        {0x10261, -90, 0},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(SimDispatchKeyEvent(8, c.eventId, 0));
        EXPECT_NEAR(Degrees(view->pitch), c.pitch, 1e-9) << std::hex << c.eventId;
        EXPECT_NEAR(std::fabs(std::remainder(Degrees(view->heading) - c.heading, 360.0)), 0, 1e-9)
            << std::hex << c.eventId;
        EXPECT_EQ(view->bank, 0u);
    }
    EXPECT_TRUE(SimDispatchKeyEvent(8, 0x1025A, 0));  // forward-right, up
    EXPECT_EQ(view->pitch, 0xE0000000u);             // -45 degrees
    EXPECT_EQ(view->heading, 0x20000000u);           // 45 degrees
    EXPECT_TRUE(SimLogOf(LogHostInput).empty());
}

TEST_F(VcViews, PanEyepointAndZoomKeys) {
    view->zoom = 128.0f;
    EXPECT_TRUE(SimDispatchKeyEvent(8, 0x10087, 0));  // pan left, half a degree at 2x
    EXPECT_NEAR(Degrees(view->heading), -0.5, 1e-6);
    EXPECT_TRUE(SimDispatchKeyEvent(8, 0x10151, 0));  // tilt
    EXPECT_NEAR(Degrees(view->bank), -1.0, 1e-6);
    EXPECT_TRUE(SimDispatchKeyEvent(8, 0x103C7, -100));  // pitch axis
    EXPECT_EQ(view->pitch, static_cast<Angle32>(-100 * 65536));

    // A step of 0.2 ft, shown in the dialog to the hundredth.
    EXPECT_TRUE(SimDispatchKeyEvent(8, 0x103DE, 0));  // right
    EXPECT_TRUE(SimDispatchKeyEvent(8, 0x103DC, 0));  // up
    EXPECT_TRUE(SimDispatchKeyEvent(8, 0x103E1, 0));  // back
    EXPECT_NEAR(view->x, -0.4 + 0.06096, 1e-6);
    EXPECT_NEAR(view->y, 1.1 + 0.06096, 1e-6);
    EXPECT_NEAR(view->z, 1.5 - 0.06096, 1e-6);
    const VcDialogTexts texts = VcDialogTextsOf(*view);
    EXPECT_STREQ(texts.position[0], "-1.11");  // -0.33904 m
    EXPECT_STREQ(texts.position[1], "3.81");   // 1.16096 m
    EXPECT_STREQ(texts.position[2], "4.72");   // 1.43904 m
    EXPECT_TRUE(SimDispatchKeyEvent(8, 0x103DF, 0));  // left
    EXPECT_TRUE(SimDispatchKeyEvent(8, 0x103DD, 0));  // down
    EXPECT_NEAR(view->x, -0.4, 1e-6);
    EXPECT_NEAR(view->y, 1.1, 1e-6);

    // The four diagonals turn by 0.7 of a step both ways, half a degree each at 2x.
    const struct {
        uint32_t event;
        double pitch, heading;
    } diagonals[] = {{0x1013E, -0.35, -0.35}, {0x1013F, 0.35, -0.35}, {0x10140, -0.35, 0.35}, {0x10141, 0.35, 0.35}};
    for (const auto& diagonal : diagonals) {
        const double pitchBefore = Degrees(view->pitch), headingBefore = Degrees(view->heading);
        EXPECT_TRUE(SimDispatchKeyEvent(8, diagonal.event, 0));
        EXPECT_NEAR(Degrees(view->pitch) - pitchBefore, diagonal.pitch, 1e-6) << std::hex << diagonal.event;
        EXPECT_NEAR(Degrees(view->heading) - headingBefore, diagonal.heading, 1e-6) << std::hex << diagonal.event;
    }

    EXPECT_FALSE(SimDispatchKeyEvent(9, 0x10086, 0));  // fine zoom in; the host sees it too
    EXPECT_FLOAT_EQ(view->zoom, 128 * 1.0109f);
    EXPECT_EQ(SimLogOf(LogHostInput).size(), 1u);
}

TEST_F(VcViews, NewTakesTheSimulatorsCockpitEyepoint) {
    ChangeView(row, ViewKindVirtualCockpit, ChangeSelect, -1);
    uint8_t* window = SimMainViewWindow();
    SetWindowField<int16_t>(window, 0x11C, static_cast<int16_t>(-0.5 * 256));
    SetWindowField<int16_t>(window, 0x11E, static_cast<int16_t>(1.25 * 256));
    SetWindowField<int16_t>(window, 0x120, static_cast<int16_t>(2 * 256));
    SetWindowField<uint16_t>(window, 0x2E, 80);
    ChangeView(row, ViewKindVirtualCockpit, ChangeNew, 0);
    ASSERT_EQ(viewState.vc.count, 2);
    const VcView& made = viewState.vc.entries[1];
    EXPECT_STREQ(made.name, "VC view 2");
    EXPECT_EQ(made.x, -0.5f);
    EXPECT_EQ(made.y, 1.25f);
    EXPECT_EQ(made.z, 2.0f);
    EXPECT_EQ(made.zoom, 80.0f);
    EXPECT_EQ(made.pitch | made.bank | made.heading, 0u);
}

TEST_F(VcViews, AnEyepointBelowTheGroundIsLiftedForTheFrameOnly) {
    PinUserAircraft(SimPositionNearAirfield(0, 0, 131), 0, 0, 0);
    view->y = -5.0f;
    RunFrames(1);
    const SimCameraPlacement camera = LastCamera();
    EXPECT_NEAR(camera.position.altitude / 4294967296.0, SimGroundElevation(camera.position) + 1.0, 1e-6);
    EXPECT_EQ(view->y, -5.0f);
}

}  // namespace
