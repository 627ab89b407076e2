// The tower camera on the stand-in, checked against the stand-in's own
// geometry: where the camera stands, where it looks, how autozoom scales,
// and what reaches the host (camera call, zoom matrix, the host's two zoom
// words at their fixed addresses).
#include <cmath>
#include <cstdint>

#include "views/cameras/tower_camera.h"
#include "views_fixture.h"

namespace {

class TowerCamera : public ViewsTest {
protected:
    void SetUp() override {
        ViewsTest::SetUp();
        Start();
    }
    static double Length(const double v[3]) { return std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]); }
};

TEST_F(TowerCamera, AFarAircraftPullsTheCameraAlongTheLineToTheLargestDistance) {
    TowerView& view = AddTowerView("Far", 0, 60000, 430);
    view.autoZoom = 0.01f;
    const HostPosition stored = view.position;
    ShowTowerView(0);
    SimRunFrames(1);
    const SimCameraPlacement camera = LastCamera();
    EXPECT_EQ(camera.window, SimMainViewWindow());
    EXPECT_EQ(camera.token, SimCameraToken);

    const HostPosition aircraft = UserAircraftPosition();
    double toCamera[3], toTower[3];
    SimOffsetMetres(aircraft, camera.position, toCamera);
    SimOffsetMetres(aircraft, stored, toTower);
    EXPECT_NEAR(Length(toCamera), 55560.0, 0.5);
    for (int axis = 0; axis < 3; ++axis)
        EXPECT_NEAR(toCamera[axis] / Length(toCamera), toTower[axis] / Length(toTower), 1e-6) << axis;
    EXPECT_EQ(view.position.altitude, stored.altitude);  // the stored view stays where it is

    // Looking back south and down at the aircraft.
    EXPECT_NEAR(std::fabs(DecodeAngle(camera.heading)), 180.0, 1e-3);
    EXPECT_NEAR(DecodeAngle(camera.pitch), std::atan2(-toCamera[1], 55560.0) * -180.0 / 3.14159265358979, 1e-3);
    EXPECT_EQ(view.heading, camera.heading);  // kept in the stored view

    // Autozoom at 55,560 m, through the matrix; the host's zoom words follow.
    EXPECT_NEAR(view.zoom, 0.01f * 55560.0f, 0.01f);
    ASSERT_TRUE(camera.hasMatrix);
    EXPECT_FLOAT_EQ(camera.matrix[0], view.zoom / 64.0f);
    EXPECT_FLOAT_EQ(camera.matrix[5], view.zoom / 64.0f);
    for (int i : {1, 2, 3, 4, 6, 7, 8, 9, 11, 12, 13, 14}) EXPECT_EQ(camera.matrix[i], 0.0f) << i;
    EXPECT_EQ(camera.matrix[10], 1.0f);
    EXPECT_EQ(camera.matrix[15], 1.0f);
    EXPECT_EQ(camera.zoom, 64);
    EXPECT_EQ(SimAutozoomWord(0), 555);
    EXPECT_EQ(SimAutozoomWord(1), 555);
    // The window carries the camera too.
    EXPECT_EQ(WindowField<int64_t>(SimMainViewWindow(), 0xBC), camera.position.latitude);
    EXPECT_EQ(WindowField<int64_t>(SimMainViewWindow(), 0xCC), camera.position.altitude);
    EXPECT_EQ(WindowField<uint32_t>(SimMainViewWindow(), 0xDC), camera.heading);
    EXPECT_EQ(SimLastGroundFlags(), 9u);
}

TEST_F(TowerCamera, ThePullInCrossesTheDateLineTheShortWayRound) {
    // The aircraft 2 km west of 180 degrees, the tower 8 km east of it, both
    // at the airfield's latitude and 500 m up; the camera comes to 5 km.
    viewSettings.MaxTwrDist = 5000.0f;
    const HostPosition airfield = SimPositionNearAirfield(0, 0, 500);
    const double latitude = airfield.latitude / 4294967296.0 / (10001750.0 / 90.0) * 3.14159265358979 / 180.0;
    const double unitsPerMetre = 18446744073709551616.0 / (40075000.0 * std::cos(latitude));
    HostPosition aircraft = airfield, tower = airfield;
    aircraft.longitude = INT64_MAX - static_cast<int64_t>(2000.0 * unitsPerMetre);
    tower.longitude = INT64_MIN + static_cast<int64_t>(6000.0 * unitsPerMetre);
    TowerView& view = AddTowerView("Date line", 0, 0, 500);
    view.position = tower;
    ShowTowerView(0);
    PinUserAircraft(aircraft, 0, 0, 90);
    RunFrames(1);

    const SimCameraPlacement camera = LastCamera();
    double toCamera[3];
    SimOffsetMetres(aircraft, camera.position, toCamera);
    EXPECT_NEAR(toCamera[0], 5000.0, 0.5);  // east, over the line
    EXPECT_NEAR(toCamera[1], 0.0, 1e-3);
    EXPECT_NEAR(toCamera[2], 0.0, 0.5);
    EXPECT_LT(camera.position.longitude, 0);  // 3 km into the western half
    EXPECT_NEAR(DecodeAngle(camera.heading), -90.0, 1e-3);  // looking back west at the aircraft
}

TEST_F(TowerCamera, AutozoomIsHeldBetweenItsLimitsAndTheMinimumWinsWhenTheyCross) {
    TowerView& view = AddTowerView("Near", 0, 1000, 140);
    view.autoZoom = 1.0f;  // 1000 sixty-fourths at 1 km, above the limit
    ShowTowerView(0);
    viewSettings.MaxAutozoom = 640.0f;
    SimRunFrames(1);
    EXPECT_EQ(view.zoom, 640.0f);
    view.autoZoom = 0.001f;  // 1 at 1 km, below the limit of 16
    SimRunFrames(1);
    EXPECT_EQ(view.zoom, 16.0f);
    viewSettings.MinAutozoom = 2000.0f;
    viewSettings.MaxAutozoom = 1000.0f;
    view.autoZoom = 1.0f;
    SimRunFrames(1);
    EXPECT_EQ(view.zoom, 2000.0f);
    EXPECT_EQ(SimAutozoomWord(0), 2000);
}

TEST_F(TowerCamera, APlaceBelowTheGroundIsLiftedForGoodToOneMetreAboveIt) {
    TowerView& low = AddTowerView("In the hill", -6000, 0, 200);  // the hilltop stands at 430 m
    ShowTowerView(0);
    SimRunFrames(1);
    EXPECT_EQ(low.position.altitude, EncodeAltitude(SimGroundElevation(low.position)) + (int64_t{1} << 32));
    EXPECT_NEAR(DecodeAltitude(low.position.altitude), 431.0, 1e-6);
    EXPECT_EQ(LastCamera().position.altitude, low.position.altitude);

    // Far away and just above the field: the pulled-in camera would be below
    // it and is lifted for this frame only.
    TowerView& far = AddTowerView("Far and low", 0, 70000, 131.2);
    ShowTowerView(1);
    SimRunFrames(1);
    EXPECT_NEAR(DecodeAltitude(far.position.altitude), 131.2, 1e-6);
    EXPECT_NEAR(DecodeAltitude(LastCamera().position.altitude), 131.0, 1e-6);
}

TEST_F(TowerCamera, WithoutAutozoomOrWithManualPanTheZoomGoesStraightToTheHost) {
    TowerView& view = AddTowerView("Plain", 300, 300, 160);
    view.zoom = 200.7f;
    ShowTowerView(0);
    SimRunFrames(1);
    EXPECT_FALSE(LastCamera().hasMatrix);
    EXPECT_EQ(LastCamera().zoom, 200);
    view.manualPan = 1;
    view.autoZoom = 0.5f;
    view.heading = EncodeAngle(33.0);
    SimRunFrames(1);
    EXPECT_FALSE(LastCamera().hasMatrix);
    EXPECT_EQ(LastCamera().heading, EncodeAngle(33.0));
    EXPECT_EQ(view.zoom, 200.7f);
}

TEST_F(TowerCamera, AGoneTargetFallsBackToTheUserAndNoUserAtAllEndsTheView) {
    AddTowerView("Watch", 300, 300, 160);
    const int row = ShowTowerView(0);
    Row(row).towerTarget = 555;
    SimRunFrames(1);
    EXPECT_EQ(Row(row).towerTarget, 1);
    const size_t placed = SimCameraPlacements().size();
    EXPECT_GE(placed, 1u);

    SimSetUserAircraftMissing(true);
    SimRunFrames(1);
    EXPECT_EQ(Row(row).towerIndex, -1);
    EXPECT_EQ(SimCameraPlacements().size(), placed);
    std::vector<SimLogEntry> boxes = SimLogOf(LogMessageBox);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Aerotrace Module");
    EXPECT_EQ(boxes[0].text.rfind("An unexpected error occured! Please report this to ", 0), 0u);
    EXPECT_EQ(boxes[0].a & 0xF0u, 0x10u);
    EXPECT_EQ(SimLogOf(LogModalBegin).size(), 1u);
    SimRunFrames(1);  // the simulator's tower again: no second message
    EXPECT_EQ(SimLogOf(LogMessageBox).size(), 1u);
}

TEST_F(TowerCamera, OnlyTowerWindowsOnAStoredViewGetACamera) {
    AddTowerView("Watch", 300, 300, 160);
    const int row = ShowTowerView(0);
    SimSetViewWindowKind(SimMainViewWindow(), SimViewSpot);  // the user changed the window's kind
    SimRunFrames(1);
    EXPECT_TRUE(SimCameraPlacements().empty());
    SimSetViewWindowKind(SimMainViewWindow(), SimViewTower);
    viewState.tower.count = 0;  // deleted through another window
    SimRunFrames(1);
    EXPECT_TRUE(SimCameraPlacements().empty());
    EXPECT_EQ(Row(row).towerIndex, -1);
}

}  // namespace
