// Tower views end to end, as the user gets them: a window turned into a
// tower window, views made from the simulator's tower, chosen from the
// catalogue in the settings file, steered with the simulator's view events
// and edited in their dialog; what the host receives is checked in its own
// units. The same tests run under Wine against the real DLL, where the
// camera call, the zoom matrix and the host's two zoom words cross the
// 32-bit interface.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "scenario_support.h"
#include "user_input.h"

namespace {

const double Pi = 3.14159265358979323846;
enum : uint32_t {
    CmdNewTowerView = 43600,
    CmdEditTowerView = 43602,
    CmdSelectFsTower = 43610,
    CmdSelectTowerView0 = 43611,
};

double Degrees(Angle32 angle) { return static_cast<int32_t>(angle) * 360.0 / 4294967296.0; }
// b - a, the short way round.
double AngleBetween(double a, double b) { return std::remainder(b - a, 360.0); }
double LatitudeDegrees(int64_t latitude) { return static_cast<double>(latitude) / 477302101697422.25; }
double LongitudeDegrees(int64_t longitude) { return static_cast<double>(longitude) * 360.0 / 18446744073709551616.0; }

std::string IniText() {
    std::ifstream stream("Modules/Aerotrace.ini", std::ios::binary);
    std::ostringstream text;
    text << stream.rdbuf();
    std::string lines = text.str();
    std::string plain;
    for (char c : lines)
        if (c != '\r') plain.push_back(c);
    return plain;
}

HostPosition UserAircraft() {
    SimAircraftState state;
    EXPECT_TRUE(SimGetAircraftState(1, &state));
    HostPosition position;
    std::memcpy(&position, state.placement, sizeof position);
    return position;
}

// A settings file with one tower view this many metres from the airfield.
void WriteTowerCatalogue(const char* name, double east, double north, double altitude, const char* extra) {
    const HostPosition at = SimPositionNearAirfield(east, north, altitude);
    std::ofstream ini("Modules/Aerotrace.ini", std::ios::binary);
    char text[512];
    std::snprintf(text, sizeof text,
                  "[SETTINGS]\nRplyEnabled=0\n[TOWERVIEWS]\nnViews=1\nView0Name=%s\nView0Lat=%.8f\nView0Lon=%.8f\n"
                  "View0Alt=%.2f\n%s",
                  name, LatitudeDegrees(at.latitude), LongitudeDegrees(at.longitude), altitude, extra);
    ini << text;
}

class TowerViewScenario : public Scenario {
protected:
    // The camera looks from where it stands straight at the aircraft.
    static void ExpectLooksAtUserAircraft(const SimCameraPlacement& camera) {
        double toAircraft[3];
        SimOffsetMetres(camera.position, UserAircraft(), toAircraft);
        const double horizontal = std::hypot(toAircraft[0], toAircraft[2]);
        EXPECT_NEAR(AngleBetween(Degrees(camera.heading), std::atan2(toAircraft[0], toAircraft[2]) * 180.0 / Pi), 0.0,
                    0.05);
        EXPECT_NEAR(Degrees(camera.pitch), -std::atan2(toAircraft[1], horizontal) * 180.0 / Pi, 0.05);
    }
    static std::vector<SimLogEntry> Titles() {
        std::vector<SimLogEntry> titles;
        for (const SimLogEntry& entry : SimLogOf(LogStatusLine))
            if (entry.a == 0x0D) titles.push_back(entry);
        return titles;
    }
};

TEST_F(TowerViewScenario, ANewViewFromTheSimulatorsTowerWatchesTheTakeOffRollGoPast) {
    Start();
    SimSetViewWindowKind(SimMainViewWindow(), SimViewTower);
    EXPECT_FALSE(ReachedHost(0x0111, CmdNewTowerView, 0));
    SimRunFrames(1);
    ASSERT_EQ(SimCameraPlacements().size(), 1u);
    SimCameraPlacement camera = SimCameraPlacements().back();
    EXPECT_EQ(camera.window, SimMainViewWindow());
    EXPECT_EQ(camera.token, SimCameraToken);
    const HostPosition tower = SimTowerPosition();
    EXPECT_EQ(camera.position.latitude, tower.latitude);
    EXPECT_EQ(camera.position.longitude, tower.longitude);
    EXPECT_EQ(camera.position.altitude, tower.altitude);
    EXPECT_FALSE(camera.hasMatrix);
    EXPECT_EQ(camera.zoom, 64);
    EXPECT_EQ(SimLastGroundFlags(), 9u);
    ExpectLooksAtUserAircraft(camera);
    ASSERT_FALSE(Titles().empty());
    EXPECT_EQ(Titles().back().text, "Tower view 1");
    EXPECT_EQ(Titles().back().b, 0xFF0000FFu);

    // The take-off roll passes the tower: the camera turns with the aircraft.
    for (int second = 0; second < 100; second += 5) {
        SimRunSeconds(5.0);
        camera = SimCameraPlacements().back();
        ExpectLooksAtUserAircraft(camera);
    }
    EXPECT_EQ(camera.frame, SimFrameNumber());

    // Back to the simulator's tower: the module places nothing any more.
    EXPECT_FALSE(ReachedHost(0x0111, CmdSelectFsTower, 0));
    const size_t placed = SimCameraPlacements().size();
    SimRunFrames(5);
    EXPECT_EQ(SimCameraPlacements().size(), placed);
    EXPECT_EQ(Titles().back().text, "FS Tower");
    SimUnloadModule();
    EXPECT_NE(IniText().find("[TOWERVIEWS]\nnViews=1\nView0Name=Tower view 1\n"), std::string::npos) << IniText();
}

TEST_F(TowerViewScenario, AutozoomGoesThroughTheZoomMatrixAndTheHostsTwoZoomWords) {
    WriteTowerCatalogue("Field", 0, 2000, 160, "View0Zoom=64\nView0AutoZoom=0.05\n");
    Start();
    SimSetViewWindowKind(SimMainViewWindow(), SimViewTower);
    Choose(CmdSelectTowerView0);
    SimRunFrames(1);
    ASSERT_FALSE(SimCameraPlacements().empty());
    const SimCameraPlacement camera = SimCameraPlacements().back();
    double toAircraft[3];
    SimOffsetMetres(camera.position, UserAircraft(), toAircraft);
    const double distance =
        std::sqrt(toAircraft[0] * toAircraft[0] + toAircraft[1] * toAircraft[1] + toAircraft[2] * toAircraft[2]);
    const double zoom = 0.05 * distance;  // about 100 sixty-fourths
    ASSERT_TRUE(camera.hasMatrix);
    EXPECT_NEAR(camera.matrix[0], zoom / 64.0, 1e-4);
    EXPECT_NEAR(camera.matrix[5], zoom / 64.0, 1e-4);
    EXPECT_EQ(camera.matrix[10], 1.0f);
    EXPECT_EQ(camera.matrix[15], 1.0f);
    EXPECT_EQ(camera.matrix[1], 0.0f);
    EXPECT_EQ(camera.zoom, 64);
    EXPECT_EQ(SimAutozoomWord(0), static_cast<uint16_t>(zoom));
    EXPECT_EQ(SimAutozoomWord(1), static_cast<uint16_t>(zoom));
    ExpectLooksAtUserAircraft(camera);
    // The window's own camera fields hold the same placement.
    int64_t latitude, altitude;
    uint32_t heading;
    std::memcpy(&latitude, SimMainViewWindow() + 0xBC, 8);
    std::memcpy(&altitude, SimMainViewWindow() + 0xCC, 8);
    std::memcpy(&heading, SimMainViewWindow() + 0xDC, 4);
    EXPECT_EQ(latitude, camera.position.latitude);
    EXPECT_EQ(altitude, camera.position.altitude);
    EXPECT_EQ(heading, camera.heading);
    SimUnloadModule();
    char zoomKey[32];
    std::snprintf(zoomKey, sizeof zoomKey, "View0Zoom=%d\n", static_cast<int>(zoom));
    EXPECT_NE(IniText().find(zoomKey), std::string::npos) << IniText();
}

TEST_F(TowerViewScenario, TheSimulatorsViewEventsSteerTheStoredView) {
    WriteTowerCatalogue("Field", 0, 2000, 160, "");
    Start();
    SimSetViewWindowKind(SimMainViewWindow(), SimViewTower);
    Choose(CmdSelectTowerView0);
    SimRunFrames(1);
    const Angle32 following = SimCameraPlacements().back().heading;
    SimClearLog();
    EXPECT_TRUE(SimDispatchKeyEvent(8, 0x10088, 0));    // pan right: one degree
    EXPECT_TRUE(SimDispatchKeyEvent(8, 0x10370, 180));  // hat back: pitch down one degree
    EXPECT_FALSE(SimDispatchKeyEvent(9, 0x10077, 0));   // zoom in: the host sees it too
    EXPECT_FALSE(SimDispatchKeyEvent(8, 0x10001, 0));   // not a view event
    std::vector<SimLogEntry> reached = SimLogOf(LogHostInput);
    ASSERT_EQ(reached.size(), 2u);
    EXPECT_EQ(reached[0].b, 0x10077u);
    SimRunFrames(1);
    const SimCameraPlacement panned = SimCameraPlacements().back();
    EXPECT_NEAR(AngleBetween(Degrees(following), Degrees(panned.heading)), 1.0, 1e-5);
    EXPECT_EQ(panned.zoom, static_cast<int32_t>(64 * 1.4142f));
    EXPECT_FALSE(panned.hasMatrix);
    // Eyepoint up by a foot, then following the aircraft again.
    EXPECT_TRUE(SimDispatchKeyEvent(8, 0x103DC, 0));
    EXPECT_TRUE(SimDispatchKeyEvent(8, 0x10153, 0));
    SimRunFrames(1);
    const SimCameraPlacement moved = SimCameraPlacements().back();
    EXPECT_NEAR((moved.position.altitude - panned.position.altitude) / 4294967296.0, 0.3048, 1e-6);
    ExpectLooksAtUserAircraft(moved);
}

TEST_F(TowerViewScenario, EditIsRefusedOnTheSimulatorsTower) {
    WriteTowerCatalogue("Field", 0, 2000, 160, "");
    Start();
    SimSetViewWindowKind(SimMainViewWindow(), SimViewTower);
    SimRunFrames(1);
    SimClearLog();
    EXPECT_FALSE(ReachedHost(0x0111, CmdEditTowerView, 0));
    SimRunFrames(1);
    EXPECT_TRUE(SimLogOf(LogModalBegin).empty());
    EXPECT_TRUE(SimDialogsShown().empty());
}

TEST_F(TowerViewScenario, TheEditDialogShowsTheViewAndStoresWhatIsTyped) {
    WriteTowerCatalogue("Field", 0, 2000, 160, "View0Zoom=96\nView0Pan=1\n");
    Start();
    SimSetViewWindowKind(SimMainViewWindow(), SimViewTower);
    Choose(CmdSelectTowerView0);
    SimRunFrames(1);

    SimQueueDialogAnswer("Edit tower view", {SimType(1059, "Not this"), SimClick(2)});
    Choose(CmdEditTowerView);
    const std::vector<SimDialogShown> cancelled = SimDialogsShown();
    SimQueueDialogAnswer("Edit tower view", {SimType(1059, "Edited tower"), SimType(1060, "S12"), SimType(1061, "30"),
                                             SimType(1062, "00.00"), SimType(1063, "E010"), SimType(1064, "15"),
                                             SimType(1065, "00"), SimType(1066, "1000"), SimType(1067, "2.0"),
                                             SimClick(1068),  // autozoom, which clears manual panning
                                             SimClick(1)});
    Choose(CmdEditTowerView);
    const std::vector<SimDialogShown> edited = SimDialogsShown();

    ASSERT_EQ(cancelled.size(), 1u);
    ASSERT_EQ(edited.size(), 1u);
    const SimDialogControls& opened = cancelled[0].states.at(0);
    EXPECT_EQ(cancelled[0].caption, "Edit tower view");
    EXPECT_EQ(SimFindControl(opened, 1059)->text, "Field");
    EXPECT_EQ(SimFindControl(opened, 1060)->text, "N47");
    EXPECT_EQ(SimFindControl(opened, 1063)->text, "W122");
    EXPECT_EQ(SimFindControl(opened, 1066)->text, "525");  // 160 m
    EXPECT_EQ(SimFindControl(opened, 1067)->text, "1.5");
    EXPECT_EQ(SimFindControl(opened, 1068)->checked, 0);
    EXPECT_EQ(SimFindControl(opened, 1069)->checked, 1);
    // The cancelled edit changed nothing.
    EXPECT_EQ(SimFindControl(edited[0].states.at(0), 1059)->text, "Field");
    // Autozoom cleared manual panning.
    EXPECT_EQ(SimFindControl(edited[0].states.at(10), 1069)->checked, 0);

    SimRunFrames(1);
    SimUnloadModule();
    const std::string ini = IniText();
    EXPECT_NE(ini.find("View0Name=Edited tower\nView0Lat=-12.50000000\nView0Lon=10.25000000\nView0Alt=304.80\n"),
              std::string::npos)
        << ini;
    EXPECT_NE(ini.find("View0Pan=0\n"), std::string::npos);
    EXPECT_EQ(ini.find("View0AutoZoom=0.000000"), std::string::npos);  // started at the distance it had
}

TEST_F(TowerViewScenario, TheEditDialogStartsAutozoomAtTheZoomOverTheDistanceAndManualPanningClearsIt) {
    WriteTowerCatalogue("Field", 0, 2000, 160, "");
    Start();
    SimSetViewWindowKind(SimMainViewWindow(), SimViewTower);
    Choose(CmdSelectTowerView0);
    SimRunFrames(1);

    SimQueueDialogAnswer("Edit tower view", {SimType(1067, "2.0"), SimClick(1068), SimClick(1)});
    Choose(CmdEditTowerView);
    double offset[3];
    SimOffsetMetres(UserAircraft(), SimPositionNearAirfield(0, 2000, 160), offset);
    const double distance = std::sqrt(offset[0] * offset[0] + offset[1] * offset[1] + offset[2] * offset[2]);

    // Opened again with autozoom on, a click on "Manual panning" clears it.
    SimQueueDialogAnswer("Edit tower view", {SimClick(1069), SimClick(2)});
    Choose(CmdEditTowerView);
    const std::vector<SimDialogShown> shown = SimDialogsShown();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(SimFindControl(shown[0].states.at(0), 1068)->checked, 1);
    EXPECT_EQ(SimFindControl(shown[0].states.at(1), 1069)->checked, 1);
    EXPECT_EQ(SimFindControl(shown[0].states.at(1), 1068)->checked, 0);

    SimRunFrames(1);
    SimUnloadModule();
    const std::string ini = IniText();
    const size_t at = ini.find("View0AutoZoom=");
    ASSERT_NE(at, std::string::npos) << ini;
    // Two times magnification is 128 sixty-fourths, over the distance at OK.
    EXPECT_NEAR(std::atof(ini.c_str() + at + 14), 128.0 / distance, 2e-6) << ini;
}

}  // namespace
