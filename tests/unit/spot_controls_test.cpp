// The simulator's events on a stored spot view: orbiting and translating,
// panning with and without manual panning, the placement on each side of the
// aircraft, aircraft stepping and zoom; and that nothing is taken while the
// window shows the simulator's own spot plane.
#include <cmath>

#include "views/cameras/spot_controls.h"
#include "views_fixture.h"

namespace {

const double Pi = 3.14159265358979323846;

// A difference of two directions, the short way round.
double AngleOf(double degrees) { return std::remainder(degrees, 360.0); }
double Degrees(Angle32 angle) { return static_cast<int32_t>(angle) * 360.0 / 4294967296.0; }

class SpotControls : public ViewsTest {
protected:
    void SetUp() override {
        ViewsTest::SetUp();
        Start(SimStandardConfig(2));
        view = &AddSpotView("Keys", 0, 10, -30, 1, 0);
        row = ShowStoredView(SimViewSpot, ViewKindSpot, 0);
        SimClearLog();
    }
    double Distance() const { return std::sqrt(view->x * view->x + view->y * view->y + view->z * view->z); }
    double AroundDegrees() const { return std::atan2(view->x, view->z) * 180 / Pi; }
    double ElevationDegrees() const { return std::atan2(view->y, std::hypot(view->x, view->z)) * 180 / Pi; }
    void ExpectOffset(double x, double y, double z) const {
        EXPECT_NEAR(view->x, x, 1e-4);
        EXPECT_NEAR(view->y, y, 1e-4);
        EXPECT_NEAR(view->z, z, 1e-4);
    }
    SpotView* view;
    int row;
};

TEST_F(SpotControls, OrbitKeysKeepTheDistanceAndEyepointKeysChangeItByTheSpotStep) {
    const double distance = Distance();
    const double around = AroundDegrees(), elevation = ElevationDegrees();
    EXPECT_TRUE(SimDispatchKeyEvent(8, 0x10087, 0));  // pan left: a degree round, clockwise
    EXPECT_NEAR(AngleOf(AroundDegrees() - around), 1.0, 1e-3);
    EXPECT_TRUE(SimDispatchKeyEvent(8, 0x100C6, 0));  // pan up: a degree higher
    EXPECT_NEAR(ElevationDegrees() - elevation, 1.0, 1e-3);
    EXPECT_TRUE(SimDispatchKeyEvent(8, 0x1013E, 0));  // diagonal: 0.7 of each
    EXPECT_NEAR(AngleOf(AroundDegrees() - around), 1.7, 1e-3);
    EXPECT_NEAR(ElevationDegrees() - elevation, 1.7, 1e-3);
    EXPECT_TRUE(SimDispatchKeyEvent(8, 0x10370, 90));  // hat right: round the other way
    EXPECT_NEAR(AngleOf(AroundDegrees() - around), 0.7, 1e-3);
    EXPECT_NEAR(Distance(), distance, 1e-3);

    const float x = view->x, y = view->y, z = view->z;
    EXPECT_TRUE(SimDispatchKeyEvent(8, 0x10151, 0));  // tilt: nothing to turn, but taken
    EXPECT_TRUE(SimDispatchKeyEvent(8, 0x103C7, 100));  // pan axis: likewise
    EXPECT_TRUE(SimDispatchKeyEvent(8, 0x10370, -1));  // centred hat
    EXPECT_EQ(view->x, x);
    EXPECT_EQ(view->y, y);
    EXPECT_EQ(view->z, z);

    const double aroundNow = AroundDegrees();
    EXPECT_TRUE(SimDispatchKeyEvent(8, 0x103E0, 0));  // eyepoint forward: a foot farther out
    EXPECT_NEAR(Distance(), distance + 0.3048, 1e-4);
    EXPECT_TRUE(SimDispatchKeyEvent(8, 0x103E1, 0));  // back
    EXPECT_TRUE(SimDispatchKeyEvent(8, 0x103E1, 0));
    EXPECT_NEAR(Distance(), distance - 0.3048, 1e-4);
    EXPECT_NEAR(AroundDegrees(), aroundNow, 1e-3);
    EXPECT_TRUE(SimLogOf(LogHostInput).empty());

    // The other three diagonals, and eyepoint left and down, which orbit by a pan step.
    const struct {
        uint32_t event;
        double around, elevation;
    } orbits[] = {{0x1013F, 0.7, -0.7}, {0x10140, -0.7, 0.7}, {0x10141, -0.7, -0.7}, {0x103DF, 1, 0}, {0x103DD, 0, -1}};
    for (const auto& orbit : orbits) {
        const double aroundBefore = AroundDegrees(), elevationBefore = ElevationDegrees(), radius = Distance();
        EXPECT_TRUE(SimDispatchKeyEvent(8, orbit.event, 0));
        EXPECT_NEAR(AngleOf(AroundDegrees() - aroundBefore), orbit.around, 1e-3) << std::hex << orbit.event;
        EXPECT_NEAR(ElevationDegrees() - elevationBefore, orbit.elevation, 1e-3) << std::hex << orbit.event;
        EXPECT_NEAR(Distance(), radius, 1e-3) << std::hex << orbit.event;
    }
}

TEST_F(SpotControls, WithManualPanningThePanKeysTurnTheLookAndTheEyepointKeysSlide) {
    EXPECT_TRUE(SimDispatchKeyEvent(8, 0x10153, 0));
    ASSERT_EQ(view->manualPan, 1u);
    view->zoom = 128.0f;  // 2x: half a degree per pan step
    EXPECT_TRUE(SimDispatchKeyEvent(8, 0x10088, 0));  // pan right
    EXPECT_NEAR(DecodeAngle(view->heading), 0.5, 1e-6);
    EXPECT_TRUE(SimDispatchKeyEvent(8, 0x100C6, 0));  // pan up
    EXPECT_NEAR(DecodeAngle(view->pitch), -0.5, 1e-6);
    EXPECT_TRUE(SimDispatchKeyEvent(8, 0x10152, 0));  // tilt: a whole degree
    EXPECT_NEAR(DecodeAngle(view->bank), 1.0, 1e-6);
    EXPECT_TRUE(SimDispatchKeyEvent(8, 0x10370, 180));  // hat back: pitch down
    EXPECT_NEAR(DecodeAngle(view->pitch), 0.0, 1e-6);
    EXPECT_TRUE(SimDispatchKeyEvent(8, 0x103C8, 10));  // the heading axis
    EXPECT_NEAR(DecodeAngle(view->heading), -10.0 * 131072 * 360 / 4294967296.0, 1e-6);
    EXPECT_EQ(view->manualPan, 1u);  // the axes leave the mode alone

    EXPECT_TRUE(SimDispatchKeyEvent(8, 0x103DE, 0));  // eyepoint right
    EXPECT_TRUE(SimDispatchKeyEvent(8, 0x103DC, 0));  // up
    EXPECT_TRUE(SimDispatchKeyEvent(8, 0x103E0, 0));  // forward
    ExpectOffset(0.3048, 10.3048, -29.6952);
    EXPECT_TRUE(SimDispatchKeyEvent(8, 0x103DF, 0));  // left
    EXPECT_TRUE(SimDispatchKeyEvent(8, 0x103DD, 0));  // down
    ExpectOffset(0, 10, -29.6952);
    // Manual panning turns the look by the diagonals too, 0.35 degree each way at 2x.
    const double pitchBefore = DecodeAngle(view->pitch), headingBefore = DecodeAngle(view->heading);
    EXPECT_TRUE(SimDispatchKeyEvent(8, 0x1013F, 0));  // down-left
    EXPECT_NEAR(DecodeAngle(view->pitch) - pitchBefore, 0.35, 1e-6);
    EXPECT_NEAR(DecodeAngle(view->heading) - headingBefore, -0.35, 1e-6);
    EXPECT_TRUE(SimDispatchKeyEvent(8, 0x10140, 0));  // up-right
    EXPECT_TRUE(SimDispatchKeyEvent(8, 0x10140, 0));
    EXPECT_TRUE(SimDispatchKeyEvent(8, 0x10141, 0));  // down-right
    EXPECT_NEAR(DecodeAngle(view->pitch) - pitchBefore, 0.0, 1e-6);
    EXPECT_NEAR(DecodeAngle(view->heading) - headingBefore, 0.7, 1e-6);
    EXPECT_TRUE(SimDispatchKeyEvent(8, 0x10153, 0));
    EXPECT_EQ(view->manualPan, 0u);
}

TEST_F(SpotControls, ViewDirectionKeysPutTheCameraOnThatSideAtTheSameDistance) {
    view->x = 30;
    view->y = 0;
    view->z = 40;  // 50 m out
    const double R = 50.0, q = R * 0.7071067811865475, h = R * 0.5;
    struct Case {
        uint32_t eventId;
        double x, y, z;
    } cases[] = {
        {0x1008A, 0, 0, R},   {0x1008B, q, 0, q},   {0x1008C, R, 0, 0},   {0x1008D, q, 0, -q},
        {0x1008E, 0, 0, -R},  {0x1008F, -q, 0, -q}, {0x10090, -R, 0, 0},  {0x10091, -q, 0, q},
        {0x10092, 0, R, -0.01},
        {0x10259, 0, q, q},   {0x1025A, h, q, h},   {0x1025B, q, q, 0},   {0x1025C, h, q, -h},
        {0x1025D, 0, q, -q},  {0x1025E, -h, q, -h}, {0x1025F, -q, q, 0},  {0x10260, -h, q, h},
        {0x10261, 0, -R, -0.01},
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(SimDispatchKeyEvent(8, c.eventId, 0)) << std::hex << c.eventId;
        ExpectOffset(c.x, c.y, c.z);
        // Each place is again R from the aircraft (a centimetre more above and below).
        EXPECT_NEAR(Distance(), R, 1e-3) << std::hex << c.eventId;
    }
}

TEST_F(SpotControls, LookDownPutsTheCameraOverTheAircraftAndLookUpUnderItAboveTheGround) {
    const HostPosition parked = SimPositionNearAirfield(0, 0, 130);
    PinUserAircraft(parked, 0, 0, 90);
    EXPECT_TRUE(SimDispatchKeyEvent(8, 0x10092, 0));
    RunFrames(1);
    double offset[3];
    SimOffsetMetres(parked, LastCamera().position, offset);
    EXPECT_NEAR(offset[1], Distance(), 1e-3);
    EXPECT_NEAR(offset[0], -0.01, 1e-4);  // a centimetre behind, to the west
    EXPECT_NEAR(Degrees(LastCamera().pitch), 90.0, 0.1);  // straight down at it

    EXPECT_TRUE(SimDispatchKeyEvent(8, 0x10261, 0));
    RunFrames(1);
    const SimCameraPlacement camera = LastCamera();
    EXPECT_NEAR(camera.position.altitude / 4294967296.0, SimGroundElevation(camera.position) + 1.0, 1e-6);
    EXPECT_LT(view->y, -30.0f);  // the stored place stays under the aircraft
}

TEST_F(SpotControls, AircraftKeysStepTheTargetAndZoomKeysReachTheHostToo) {
    const std::vector<uint32_t> ids = SimAircraftIds();
    ASSERT_GE(ids.size(), 3u);
    EXPECT_TRUE(SimDispatchKeyEvent(8, 0x103C4, 0));
    EXPECT_EQ(Row(row).spotTarget, static_cast<int32_t>(ids[1]));
    EXPECT_TRUE(SimDispatchKeyEvent(8, 0x103C5, 0));
    EXPECT_TRUE(SimDispatchKeyEvent(8, 0x103C5, 0));
    EXPECT_EQ(Row(row).spotTarget, static_cast<int32_t>(ids.back()));

    EXPECT_FALSE(SimDispatchKeyEvent(9, 0x10077, 0));  // zoom in
    EXPECT_FLOAT_EQ(view->zoom, 64 * 1.4142f);
    EXPECT_FALSE(SimDispatchKeyEvent(9, 0x10089, 0));  // fine zoom out
    EXPECT_FLOAT_EQ(view->zoom, 64 * 1.4142f * 0.9892175f);
    view->zoom = 30000;
    EXPECT_FALSE(SimDispatchKeyEvent(9, 0x100B7, 0));
    EXPECT_EQ(view->zoom, 32768.0f);
    view->zoom = 5;
    EXPECT_FALSE(SimDispatchKeyEvent(9, 0x10078, 0));
    EXPECT_EQ(view->zoom, 4.0f);
    EXPECT_FALSE(SimDispatchKeyEvent(9, 0x1000E, 0));
    EXPECT_EQ(view->zoom, 64.0f);
    EXPECT_EQ(SimLogOf(LogHostInput).size(), 5u);
    EXPECT_FALSE(SimDispatchKeyEvent(8, 0x10001, 0));  // not a view event
}

TEST_F(SpotControls, TheSimulatorsOwnSpotPlaneKeepsItsKeys) {
    ChangeView(row, ViewKindSpot, ChangeSelect, -1);
    const float x = view->x;
    EXPECT_FALSE(SimDispatchKeyEvent(8, 0x10087, 0));
    EXPECT_FALSE(SimDispatchKeyEvent(8, 0x1008C, 0));
    EXPECT_EQ(view->x, x);
    EXPECT_EQ(SimLogOf(LogHostInput).size(), 2u);
}

}  // namespace
