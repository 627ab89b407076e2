// The spot camera on the stand-in, against the tests' own rotation and the
// stand-in's geometry: where the camera rides for each pair of rotation
// flags, where it looks in each of the four look-direction cases, the host's
// own spot distance and height, the ground rule, the target falling back to
// the user aircraft, and what New takes from the simulator's spot plane.
#include <cmath>

#include "attitude_math.h"
#include "views/catalogue/view_catalogue.h"
#include "views_fixture.h"

namespace {

const double Pi = 3.14159265358979323846;

double Degrees(Angle32 angle) { return static_cast<int32_t>(angle) * 360.0 / 4294967296.0; }
double AngleBetween(double a, double b) { return std::remainder(b - a, 360.0); }

class SpotCamera : public ViewsTest {
protected:
    void SetUp() override {
        ViewsTest::SetUp();
        Start(SimStandardConfig(2));
        aloft = SimPositionNearAirfield(0, 0, 1000);
    }
    // Where the camera stands, east, up and north metres from the user aircraft.
    Vector3 CameraOffset() {
        double offset[3];
        SimOffsetMetres(UserAircraftPosition(), LastCamera().position, offset);
        return {offset[0], offset[1], offset[2]};
    }
    static void ExpectNear(const Vector3& actual, const Vector3& expected, double tolerance) {
        EXPECT_NEAR(actual.x, expected.x, tolerance);
        EXPECT_NEAR(actual.y, expected.y, tolerance);
        EXPECT_NEAR(actual.z, expected.z, tolerance);
    }
    // The camera looks from where it stands at the user aircraft.
    void ExpectLooksAtUserAircraft(const SimCameraPlacement& camera) {
        double toAircraft[3];
        SimOffsetMetres(camera.position, UserAircraftPosition(), toAircraft);
        const double level = std::hypot(toAircraft[0], toAircraft[2]);
        EXPECT_NEAR(AngleBetween(Degrees(camera.heading), std::atan2(toAircraft[0], toAircraft[2]) * 180 / Pi), 0,
                    1e-4);
        EXPECT_NEAR(Degrees(camera.pitch), -std::atan2(toAircraft[1], level) * 180 / Pi, 1e-4);
    }
    static bool IsIdentity(const SimCameraPlacement& camera) {
        if (!camera.hasMatrix) return false;
        for (int i = 0; i < 16; ++i)
            if (camera.matrix[i] != (i % 5 == 0 ? 1.0f : 0.0f)) return false;
        return true;
    }
    HostPosition aloft;
};

TEST_F(SpotCamera, TheOffsetStaysOnTheCompassOrTurnsWithTheAircraftAsTheFlagsSay) {
    SpotView& view = AddSpotView("Chase", 0, 2, -30, 0, 0);
    ShowStoredView(SimViewSpot, ViewKindSpot, 0);
    for (double heading : {0.0, 90.0, 200.0}) {
        // Pitch and bank are left out unless the view asks for them.
        PinUserAircraft(aloft, -8.0, 15.0, heading);
        view.rotateHeading = 0;
        view.rotatePitchBank = 1;  // means nothing without turning
        RunFrames(1);
        ExpectNear(CameraOffset(), {0, 2, -30}, 1e-3);  // 30 m south whatever the heading

        view.rotateHeading = 1;
        view.rotatePitchBank = 0;
        RunFrames(1);
        const double h = heading * Pi / 180;
        ExpectNear(CameraOffset(), {-30 * std::sin(h), 2, -30 * std::cos(h)}, 1e-3);  // 30 m behind
    }

    view.rotatePitchBank = 1;
    PinUserAircraft(aloft, -10.0, 25.0, 60.0);
    RunFrames(1);
    ExpectNear(CameraOffset(), Turned(-10.0, 25.0, 60.0, {0, 2, -30}), 1e-3);
    EXPECT_EQ(LastCamera().window, SimMainViewWindow());
    EXPECT_EQ(LastCamera().token, SimCameraToken);
    EXPECT_EQ(SimLastGroundFlags(), 9u);
}

TEST_F(SpotCamera, TheHostsOwnSpotDistanceAndHeightFollowTheOffsetBeyondFiftyMetres) {
    SpotView& view = AddSpotView("Near", 0, 2, -30, 1, 0);
    ShowStoredView(SimViewSpot, ViewKindSpot, 0);
    PinUserAircraft(aloft, 0, 0, 0);
    uint8_t* window = SimMainViewWindow();
    struct Case {
        float x, y, z;
        int32_t distance, height;
    } cases[] = {
        {0, 2, -30, 0, 0},
        {49.9f, -49.9f, 49.9f, 0, 0},
        {0, 0, -60, 60 * 256, 0},
        {30, 55, 40, 50 * 256, 55 * 256},
        {0, -50, 0, 0, -50 * 256},
    };
    for (const Case& c : cases) {
        view.x = c.x;
        view.y = c.y;
        view.z = c.z;
        RunFrames(1);
        EXPECT_EQ(WindowField<int32_t>(window, 0x40), c.distance) << c.x << " " << c.y << " " << c.z;
        EXPECT_EQ(WindowField<int32_t>(window, 0x48), c.height) << c.x << " " << c.y << " " << c.z;
    }
}

TEST_F(SpotCamera, EachLookDirectionCaseAimsTheCameraItsOwnWay) {
    SpotView& view = AddSpotView("Look", 10, 5, -30, 1, 0);
    view.zoom = 100.7f;
    ShowStoredView(SimViewSpot, ViewKindSpot, 0);
    PinUserAircraft(aloft, -5.0, 10.0, 60.0);

    // Looking at the aircraft: the direction is kept, relative to its heading.
    RunFrames(1);
    SimCameraPlacement camera = LastCamera();
    ExpectLooksAtUserAircraft(camera);
    EXPECT_TRUE(IsIdentity(camera));
    EXPECT_EQ(camera.zoom, 100);
    EXPECT_EQ(view.pitch, camera.pitch);
    EXPECT_NEAR(AngleBetween(60.0 + Degrees(view.heading), Degrees(camera.heading)), 0.0, 1e-6);
    view.rotateHeading = 0;
    RunFrames(1);
    EXPECT_EQ(view.heading, LastCamera().heading);  // fixed to the compass: absolute

    // A stored direction on the compass.
    view.manualPan = 1;
    view.pitch = EncodeAngle(12.0);
    view.bank = EncodeAngle(3.0);
    view.heading = EncodeAngle(-40.0);
    RunFrames(1);
    camera = LastCamera();
    EXPECT_EQ(camera.pitch, view.pitch);
    EXPECT_EQ(camera.bank, view.bank);
    EXPECT_EQ(camera.heading, view.heading);
    EXPECT_TRUE(IsIdentity(camera));

    // Turning with the aircraft: the stored heading counts from the aircraft's.
    view.rotateHeading = 1;
    RunFrames(1);
    camera = LastCamera();
    EXPECT_EQ(camera.pitch, view.pitch);
    EXPECT_EQ(camera.bank, view.bank);
    EXPECT_NEAR(AngleBetween(20.0, Degrees(camera.heading)), 0.0, 1e-6);
    EXPECT_TRUE(IsIdentity(camera));

    // With its pitch and bank too: the camera takes the aircraft's attitude and
    // the host turns it further by the stored angles' matrix.
    view.rotatePitchBank = 1;
    RunFrames(1);
    camera = LastCamera();
    EXPECT_EQ(camera.pitch, EncodeAngle(-5.0));
    EXPECT_EQ(camera.bank, EncodeAngle(10.0));
    EXPECT_EQ(camera.heading, EncodeAngle(60.0));
    ASSERT_TRUE(camera.hasMatrix);
    const Vector3 ahead = Turned(12.0, 3.0, -40.0, {0, 0, 1});
    const Vector3 right = Turned(12.0, 3.0, -40.0, {1, 0, 0});
    ExpectNear({camera.matrix[2], camera.matrix[6], camera.matrix[10]}, ahead, 1e-6);
    ExpectNear({camera.matrix[0], camera.matrix[4], camera.matrix[8]}, right, 1e-6);
    // The stored direction is the user's: the camera never overwrote it.
    EXPECT_EQ(view.heading, EncodeAngle(-40.0));
}

TEST_F(SpotCamera, AGoneTargetHandsTheCameraToTheUserAircraftInTheSameFrame) {
    AddSpotView("Wing", 0, 0, -40, 0, 0);
    const int row = ShowStoredView(SimViewSpot, ViewKindSpot, 0);
    PinUserAircraft(aloft, 0, 0, 0);
    const std::vector<uint32_t> ids = SimAircraftIds();
    ASSERT_GE(ids.size(), 2u);
    Row(row).spotTarget = static_cast<int32_t>(ids[1]);
    RunFrames(1);
    SimAircraftState ai;
    ASSERT_TRUE(SimGetAircraftState(ids[1], &ai));
    HostPosition aiAt;
    std::memcpy(&aiAt, ai.placement, sizeof aiAt);
    double offset[3];
    SimOffsetMetres(aiAt, LastCamera().position, offset);
    EXPECT_NEAR(offset[2], -40.0, 1e-3);  // rides with the AI aircraft

    Row(row).spotTarget = 4242;  // no such aircraft
    const size_t placed = SimCameraPlacements().size();
    RunFrames(1);
    EXPECT_EQ(Row(row).spotTarget, 1);
    ASSERT_EQ(SimCameraPlacements().size(), placed + 1);
    ExpectNear(CameraOffset(), {0, 0, -40}, 1e-3);
}

TEST_F(SpotCamera, BelowTheGroundTheCameraIsLiftedForTheFrameOnly) {
    SpotView& view = AddSpotView("Low", 0, -20, -10, 0, 0);
    ShowStoredView(SimViewSpot, ViewKindSpot, 0);
    const HostPosition parked = SimPositionNearAirfield(0, 0, 130);  // on the ground
    PinUserAircraft(parked, 0, 0, 0);
    RunFrames(1);
    const SimCameraPlacement camera = LastCamera();
    EXPECT_NEAR(camera.position.altitude / 4294967296.0, SimGroundElevation(camera.position) + 1.0, 1e-6);
    EXPECT_NEAR(CameraOffset().z, -10.0, 1e-3);
    EXPECT_EQ(view.y, -20.0f);
}

TEST_F(SpotCamera, NewTakesTheSimulatorsSpotPlaneAsTheOffset) {
    uint8_t* window = SimMainViewWindow();
    SimSetViewWindowKind(window, SimViewSpot);
    SetWindowField<uint16_t>(window, 0x3C, 0x4000);  // a quarter turn: to the right
    SetWindowField<int32_t>(window, 0x40, 40 * 256);
    SetWindowField<int32_t>(window, 0x48, -5 * 256);  // below the aircraft
    SetWindowField<uint16_t>(window, 0x34, 128);
    window[0x44] = 2;  // fixed to the compass
    const int row = FindOrAddViewWindow(window);
    ChangeView(row, ViewKindSpot, ChangeNew, 0);
    ASSERT_EQ(viewState.spot.count, 1);
    const SpotView& made = viewState.spot.entries[0];
    EXPECT_STREQ(made.name, "Spot view 1");
    EXPECT_NEAR(made.x, 40.0f, 1e-4);
    EXPECT_NEAR(made.z, 0.0f, 1e-4);
    // The height is signed: a plane below the aircraft stays below it rather
    // than 16,777 km up.
    EXPECT_EQ(made.y, -5.0f);
    EXPECT_EQ(made.zoom, 128.0f);
    EXPECT_EQ(made.rotateHeading, 0u);
    EXPECT_EQ(made.rotatePitchBank, 0u);
    EXPECT_EQ(made.manualPan, 0u);
    EXPECT_EQ(made.heading, 0u);

    window[0x44] = 0;  // turning with the aircraft
    ChangeView(row, ViewKindSpot, ChangeSelect, -1);
    ChangeView(row, ViewKindSpot, ChangeNew, 0);
    EXPECT_EQ(viewState.spot.entries[1].rotateHeading, 1u);
}

TEST_F(SpotCamera, TheSimulatorsSpotPlaneComesBackAsItWasAfterAnImportOrADeletionElsewhere) {
    uint8_t* window = SimMainViewWindow();
    AddSpotView("Near", 0, 2, -30, 1, 0);
    AddSpotView("Far", 0, 20, -200, 1, 0);
    ShowStoredView(SimViewSpot, ViewKindSpot, 1);
    RunFrames(1);
    EXPECT_EQ(WindowField<int32_t>(window, 0x40), 200 * 256);  // the camera's own
    SaveViewCatalogue(ViewKindSpot, "views.spt");

    // A view deleted through another window: this one falls back to the
    // simulator's plane, 60 m behind and 8 m up as the window had it.
    uint8_t* other = SimOpenViewWindow(SimViewSpot);
    SimFocusViewWindow(other);
    const int otherRow = FindOrAddViewWindow(other);
    ChangeView(otherRow, ViewKindSpot, ChangeSelect, 0);
    ChangeView(otherRow, ViewKindSpot, ChangeDelete, 0);
    RunFrames(1);
    EXPECT_EQ(Row(FindOrAddViewWindow(window)).spotIndex, -1);
    EXPECT_EQ(WindowField<int32_t>(window, 0x40), 60 * 256);
    EXPECT_EQ(WindowField<int32_t>(window, 0x48), 8 * 256);

    // An import puts every window back on the simulator's plane as it was.
    SimFocusViewWindow(window);
    ChangeView(FindOrAddViewWindow(window), ViewKindSpot, ChangeSelect, 0);
    RunFrames(1);
    EXPECT_EQ(WindowField<int32_t>(window, 0x40), 200 * 256);  // "Far" moved up to entry 0
    LoadViewCatalogue(ViewKindSpot, "views.spt");
    EXPECT_EQ(viewState.spot.count, 2);
    EXPECT_EQ(Row(FindOrAddViewWindow(window)).spotIndex, -1);
    EXPECT_EQ(WindowField<int32_t>(window, 0x40), 60 * 256);
    EXPECT_EQ(WindowField<int32_t>(window, 0x48), 8 * 256);
}

}  // namespace
