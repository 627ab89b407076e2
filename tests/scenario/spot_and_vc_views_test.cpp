// Spot and VC views end to end, as the user gets them: stored views chosen
// from the settings file's catalogues ride with the aircraft, the host's own
// spot plane fields and cockpit zoom follow them, their edit dialogs and the
// advanced view settings dialog are filled in through their controls and
// what they store is read back from the settings file. Under Wine the
// camera call with its matrix, the window fields and the dialogs cross the
// real 32-bit interface.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "../unit/attitude_math.h"
#include "dialog_scenario.h"
#include "scenario_support.h"
#include "ui/dialogs/dialog_ids.h"
#include "user_input.h"

namespace {

enum : uint32_t {
    CmdEditSpotView = 43702,
    CmdSelectSpotPlane = 43710,
    CmdSelectSpotView0 = 43711,
    CmdEditVcView = 43802,
    CmdSelectVcView0 = 43811,
    CmdViewSettings = 43573,
};

double Degrees(Angle32 angle) { return static_cast<int32_t>(angle) * 360.0 / 4294967296.0; }

// A key of the settings file as it is now; "(none)" when it is missing.
std::string Setting(const std::string& section, const std::string& key) {
    for (const IniEntry& entry : IniEntries(SettingsFileText()))
        if (entry.section == section && entry.key == key) return entry.value;
    return "(none)";
}

std::vector<IniEntry> SectionOf(const std::string& section) {
    std::vector<IniEntry> entries;
    for (const IniEntry& entry : IniEntries(SettingsFileText()))
        if (entry.section == section) entries.push_back(entry);
    return entries;
}

struct Attitude {
    HostPosition position;
    Angle32 pitch, bank, heading;
};
Attitude UserAircraft() {
    SimAircraftState state;
    EXPECT_TRUE(SimGetAircraftState(1, &state));
    Attitude at;
    std::memcpy(&at.position, state.placement, sizeof at.position);
    std::memcpy(&at.pitch, state.placement + 24, 4);
    std::memcpy(&at.bank, state.placement + 28, 4);
    std::memcpy(&at.heading, state.placement + 32, 4);
    return at;
}

template <typename T>
T WindowField(size_t offset) {
    T value;
    std::memcpy(&value, SimMainViewWindow() + offset, sizeof value);
    return value;
}

class SpotAndVcViews : public DialogScenario {
protected:
    // The module on this catalogue, the main view turned into a window of
    // this kind showing the first stored view.
    void StartShowing(const std::string& catalogue, uint8_t windowKind, uint32_t selectFirst) {
        WriteSettings("[SETTINGS]\nRplyEnabled=0\n" + catalogue);
        Start();
        SimSetViewWindowKind(SimMainViewWindow(), windowKind);
        SimRunFrames(1);
        EXPECT_FALSE(ReachedHost(0x0111, selectFirst, 0));
        SimRunFrames(1);
    }
    // Where the module's camera of this frame stands, east, up and north
    // metres from the user aircraft.
    static Vector3 CameraOffset() {
        const std::vector<SimCameraPlacement>& cameras = SimCameraPlacements();
        EXPECT_FALSE(cameras.empty());
        if (cameras.empty()) return {0, 0, 0};
        EXPECT_EQ(cameras.back().frame, SimFrameNumber());
        double offset[3];
        SimOffsetMetres(UserAircraft().position, cameras.back().position, offset);
        return {offset[0], offset[1], offset[2]};
    }
    // The camera takes the aircraft's own angles and turns from them by the
    // host's matrix of a stored quarter turn (+1 right, -1 left) about the
    // vertical; its offset from the aircraft is `offset` turned by the attitude.
    static void ExpectQuarterTurnFromAttitude(int right, const Vector3& offset) {
        const Attitude at = UserAircraft();
        const SimCameraPlacement camera = SimCameraPlacements().back();
        EXPECT_EQ(camera.pitch, at.pitch);
        EXPECT_EQ(camera.bank, at.bank);
        EXPECT_EQ(camera.heading, at.heading);
        ASSERT_TRUE(camera.hasMatrix);
        EXPECT_NEAR(camera.matrix[0], 0.0f, 1e-6);
        EXPECT_NEAR(camera.matrix[2], right, 1e-6);  // forward becomes that side
        EXPECT_NEAR(camera.matrix[5], 1.0f, 1e-6);
        EXPECT_NEAR(camera.matrix[8], -right, 1e-6);
        EXPECT_EQ(camera.matrix[15], 1.0f);
        ExpectNear(CameraOffset(), Turned(Degrees(at.pitch), Degrees(at.bank), Degrees(at.heading), offset), 1e-3);
    }
    static void ExpectNear(const Vector3& actual, const Vector3& expected, double tolerance) {
        EXPECT_NEAR(actual.x, expected.x, tolerance);
        EXPECT_NEAR(actual.y, expected.y, tolerance);
        EXPECT_NEAR(actual.z, expected.z, tolerance);
    }
};

TEST_F(SpotAndVcViews, ASpotViewRidesBehindTheClimbingAircraftAndKeepsTheHostsSpotPlaneInStep) {
    StartShowing("[SPOTVIEWS]\nnViews=2\nView0Name=Chase\nView0X=0\nView0Y=2\nView0Z=-30\nView0RotH=1\n"
                 "View1Name=Far\nView1X=0\nView1Y=0\nView1Z=-60\nView1RotH=1\n",
                 SimViewSpot, CmdSelectSpotView0);
    SimRunSeconds(160.0);  // in the climbing turn after take-off
    const Attitude at = UserAircraft();
    const double h = Degrees(at.heading) * 3.14159265358979323846 / 180.0;
    ExpectNear(CameraOffset(), {-30 * std::sin(h), 2, -30 * std::cos(h)}, 1e-3);
    const SimCameraPlacement camera = SimCameraPlacements().back();
    EXPECT_EQ(camera.window, SimMainViewWindow());
    EXPECT_EQ(camera.token, SimCameraToken);
    EXPECT_EQ(camera.zoom, 64);
    // It looks at the aircraft: down its own line of sight.
    const Vector3 back = CameraOffset();
    EXPECT_NEAR(std::remainder(Degrees(camera.heading) - std::atan2(-back.x, -back.z) * 180 / 3.14159265358979323846,
                               360.0),
                0.0, 1e-3);
    // Within 50 m the host's own spot distance and height read 0.
    EXPECT_EQ(WindowField<int32_t>(0x40), 0);
    EXPECT_EQ(WindowField<int32_t>(0x48), 0);

    // The rear view key keeps the distance.
    EXPECT_TRUE(SimDispatchKeyEvent(8, 0x1008E, 0));  // rear: (0, 0, -R)
    SimRunFrames(1);
    const double r = std::sqrt(2.0 * 2.0 + 30.0 * 30.0);
    const double h2 = Degrees(UserAircraft().heading) * 3.14159265358979323846 / 180.0;
    ExpectNear(CameraOffset(), {-r * std::sin(h2), 0, -r * std::cos(h2)}, 1e-3);

    // 60 m behind: the host's spot plane is 60 m out at the aircraft's height.
    EXPECT_FALSE(ReachedHost(0x0111, CmdSelectSpotView0 + 1, 0));
    SimRunFrames(1);
    EXPECT_EQ(WindowField<int32_t>(0x40), 60 * 256);
    EXPECT_EQ(WindowField<int32_t>(0x48), 0);
}

TEST_F(SpotAndVcViews, AManualLookWithPitchAndBankGoesToTheHostAsTheAircraftsAnglesAndAMatrix) {
    StartShowing("[SPOTVIEWS]\nnViews=1\nView0Name=Wing\nView0X=12\nView0Y=1\nView0Z=1\nView0Hdg=-90\nView0Pan=1\n"
                 "View0RotH=1\nView0RotPB=1\n",
                 SimViewSpot, CmdSelectSpotView0);
    SimRunSeconds(160.0);
    ExpectQuarterTurnFromAttitude(-1, {12, 1, 1});
}

TEST_F(SpotAndVcViews, AVcViewLooksOutOfTheRightSideThroughTheMatrixAndSetsTheCockpitZoom) {
    StartShowing("[VCVIEWS]\nnViews=1\nView0Name=Right\nView0X=-0.4\nView0Y=1.1\nView0Z=1.5\nView0Hdg=90\n"
                 "View0Zoom=96\n",
                 SimViewVirtualCockpit, CmdSelectVcView0);
    SimRunSeconds(160.0);
    ExpectQuarterTurnFromAttitude(1, {-0.4, 1.1, 1.5});
    EXPECT_EQ(SimCameraPlacements().back().zoom, 96);
    EXPECT_EQ(WindowField<uint16_t>(0x2E), 96);

    // The forward-right-up key turns the stored look, the eyepoint key moves
    // it 0.2 ft forward; both are saved with the view.
    EXPECT_TRUE(SimDispatchKeyEvent(8, 0x1025A, 0));
    EXPECT_TRUE(SimDispatchKeyEvent(8, 0x103E0, 0));
    SimRunFrames(1);
    SimUnloadModule();
    EXPECT_EQ(Setting("VCVIEWS", "View0Z"), "1.561");
    EXPECT_EQ(Setting("VCVIEWS", "View0Pit"), "-45.000");
    EXPECT_EQ(Setting("VCVIEWS", "View0Bnk"), "0.000");
    EXPECT_EQ(Setting("VCVIEWS", "View0Hdg"), "45.000");
    EXPECT_EQ(Setting("VCVIEWS", "View0Zoom"), "96");
}

TEST_F(SpotAndVcViews, TheSpotDialogShowsFeetAndDegreesAndStoresWhatIsTyped) {
    StartShowing("[SPOTVIEWS]\nnViews=1\nView0Name=Behind left\nView0X=-10\nView0Y=3\nView0Z=-10\nView0RotH=1\n",
                 SimViewSpot, CmdSelectSpotView0);
    SimQueueDialogAnswer("Edit spot view", {SimType(1070, "Not this"), SimClick(DIALOG_CANCEL)});
    EXPECT_FALSE(ReachedHost(0x0111, CmdEditSpotView, 0));
    SimQueueDialogAnswer("Edit spot view",
                         {SimClick(1080),  // off: pitch and bank cannot follow
                          SimClick(1080),  // on again
                          SimClick(1081),  // pitch and bank, which needs manual panning
                          SimType(1070, "Above right"), SimType(1071, "100"), SimType(1072, "90"),
                          SimType(1077, "-20"), SimType(1078, "2.0"), SimClick(DIALOG_OK)});
    EXPECT_FALSE(ReachedHost(0x0111, CmdEditSpotView, 0));
    const std::vector<SimDialogShown> shown = SimDialogsShown();
    ASSERT_EQ(shown.size(), 1u);
    ASSERT_GE(shown[0].states.size(), 4u);
    const SimDialogControls& opened = shown[0].states[0];
    EXPECT_EQ(shown[0].caption, "Edit spot view");
    EXPECT_EQ(shown[0].owner, SimMainWindow());
    EXPECT_EQ(SimFindControl(opened, 1070)->text, "Behind left");  // the cancelled edit left it
    EXPECT_EQ(SimFindControl(opened, 1071)->text, "46");
    EXPECT_EQ(SimFindControl(opened, 1072)->text, "225");
    EXPECT_EQ(SimFindControl(opened, 1077)->text, "10");
    EXPECT_EQ(SimFindControl(opened, 1078)->text, "1.0");
    EXPECT_EQ(SimFindControl(opened, 1079)->checked, 0);
    EXPECT_EQ(SimFindControl(opened, 1080)->checked, 1);
    EXPECT_EQ(SimFindControl(opened, 1081)->checked, 0);
    EXPECT_TRUE(SimFindControl(opened, 1081)->enabled);
    EXPECT_FALSE(SimFindControl(shown[0].states[1], 1081)->enabled);
    EXPECT_TRUE(SimFindControl(shown[0].states[2], 1081)->enabled);
    EXPECT_EQ(SimFindControl(shown[0].states[3], 1079)->checked, 1);
    // Both dialogs ran between ModalBegin and ModalEnd.
    EXPECT_EQ(SimLogOf(LogModalBegin).size(), 1u);
    EXPECT_EQ(SimLogOf(LogModalEnd).size(), 1u);

    // 100 ft to the right, 20 ft below, at 2x, looking where it looked last.
    SimRunFrames(1);
    const SimCameraPlacement camera = SimCameraPlacements().back();
    EXPECT_EQ(camera.zoom, 128);
    ASSERT_TRUE(camera.hasMatrix);
    SimUnloadModule();
    const std::pair<const char*, const char*> stored[] = {
        {"View0Name", "Above right"}, {"View0X", "30.480"}, {"View0Y", "-6.096"}, {"View0Z", "0.000"},
        {"View0Zoom", "128"},         {"View0Pan", "1"},    {"View0RotH", "1"},   {"View0RotPB", "1"}};
    for (const auto& key : stored) EXPECT_EQ(Setting("SPOTVIEWS", key.first), key.second) << key.first;
}

TEST_F(SpotAndVcViews, EditIsRefusedOnTheSimulatorsSpotPlane) {
    StartShowing("[SPOTVIEWS]\nnViews=1\nView0Name=Chase\nView0Z=-30\n", SimViewSpot, CmdSelectSpotPlane);
    SimClearLog();
    EXPECT_FALSE(ReachedHost(0x0111, CmdEditSpotView, 0));
    EXPECT_TRUE(SimDialogsShown().empty());
    EXPECT_TRUE(SimLogOf(LogModalBegin).empty());
}

TEST_F(SpotAndVcViews, TheVcDialogShowsHundredthsOfAFootAndStoresMetres) {
    StartShowing("[VCVIEWS]\nnViews=1\nView0Name=Copilot\nView0X=0.4\nView0Y=1.1\nView0Z=1.5\nView0Zoom=64\n",
                 SimViewVirtualCockpit, CmdSelectVcView0);
    SimQueueDialogAnswer("Edit VC view", {SimType(1102, "Flight engineer"), SimType(1103, "2.00"),
                                          SimType(1104, "-1.50"), SimType(1105, "ten"), SimType(1106, "0.5"),
                                          SimClick(DIALOG_OK)});
    EXPECT_FALSE(ReachedHost(0x0111, CmdEditVcView, 0));
    const std::vector<SimDialogShown> shown = SimDialogsShown();
    ASSERT_EQ(shown.size(), 1u);
    const SimDialogControls& opened = shown[0].states.at(0);
    EXPECT_EQ(shown[0].caption, "Edit VC view");
    EXPECT_EQ(SimFindControl(opened, 1102)->text, "Copilot");
    EXPECT_EQ(SimFindControl(opened, 1103)->text, "1.31");
    EXPECT_EQ(SimFindControl(opened, 1104)->text, "3.61");
    EXPECT_EQ(SimFindControl(opened, 1105)->text, "4.92");
    EXPECT_EQ(SimFindControl(opened, 1106)->text, "1.0");
    SimRunFrames(1);
    EXPECT_EQ(SimCameraPlacements().back().zoom, 32);
    EXPECT_EQ(WindowField<uint16_t>(0x2E), 32);
    SimUnloadModule();
    EXPECT_EQ(Setting("VCVIEWS", "View0Name"), "Flight engineer");
    EXPECT_EQ(Setting("VCVIEWS", "View0X"), "0.610");
    EXPECT_EQ(Setting("VCVIEWS", "View0Y"), "-0.457");
    EXPECT_EQ(Setting("VCVIEWS", "View0Z"), "0.000");  // text that is no number stores 0
    EXPECT_EQ(Setting("VCVIEWS", "View0Zoom"), "32");
}

TEST_F(SpotAndVcViews, TheViewSettingsDialogShowsTheUsersUnitsAndSavesTheSectionOnOkOnly) {
    WriteSettings("[SETTINGS]\nRplyEnabled=0\n");
    Start();
    SimQueueDialogAnswer("Advanced view settings", {SimType(1086, "3.0"), SimClick(1107), SimClick(DIALOG_CANCEL)});
    EXPECT_FALSE(ReachedHost(0x0111, CmdViewSettings, 0));
    EXPECT_TRUE(SectionOf("VIEWSETTINGS").empty());
    SimQueueDialogAnswer("Advanced view settings",
                         {SimType(1083, "2"), SimType(1084, "20"), SimType(1085, "100"), SimType(1086, "3.0"),
                          SimType(1091, "0.50"), SimType(1087, "2.5"), SimType(1088, "30"), SimType(1089, "1000"),
                          SimType(1090, "0.1"), SimClick(1107), SimClick(DIALOG_OK)});
    EXPECT_FALSE(ReachedHost(0x0111, CmdViewSettings, 0));
    const std::vector<SimDialogShown> shown = SimDialogsShown();
    ASSERT_EQ(shown.size(), 1u);
    const SimDialogControls& opened = shown[0].states.at(0);
    EXPECT_EQ(shown[0].caption, "Advanced view settings");
    const std::pair<int, const char*> defaults[] = {{1083, "1.0"},  {1084, "10.0"}, {1085, "50.0"},
                                                    {1086, "1.0"},  {1091, "0.20"}, {1087, "1.0"},
                                                    {1088, "30.0"}, {1089, "512.0"}, {1090, "0.25"}};
    for (const auto& field : defaults) EXPECT_EQ(SimFindControl(opened, field.first)->text, field.second);
    EXPECT_EQ(SimFindControl(opened, 1107)->checked, 1);

    EXPECT_EQ(SectionOf("VIEWSETTINGS"),
              (std::vector<IniEntry>{{"VIEWSETTINGS", "TowerStep1", "0.610"},
                                     {"VIEWSETTINGS", "TowerStep2", "6.096"},
                                     {"VIEWSETTINGS", "TowerStep3", "30.480"},
                                     {"VIEWSETTINGS", "SpotStep", "0.914"},
                                     {"VIEWSETTINGS", "VCStep", "0.152"},
                                     {"VIEWSETTINGS", "PanStep", "2.500"},
                                     {"VIEWSETTINGS", "MaxTwrDist", "55560.000"},
                                     {"VIEWSETTINGS", "MaxAutozoom", "32768.000"},
                                     {"VIEWSETTINGS", "MinAutozoom", "16.000"},
                                     {"VIEWSETTINGS", "ShowTitle", "0"}}));

    // The new spot step is in use at once: eyepoint back takes the camera 3 ft nearer.
    SimSetViewWindowKind(SimMainViewWindow(), SimViewSpot);
    SimRunFrames(1);
    EXPECT_FALSE(ReachedHost(0x0111, 43700, 0));  // a spot view from the simulator's spot plane
    SimRunFrames(1);
    const Vector3 before = CameraOffset();
    EXPECT_TRUE(SimDispatchKeyEvent(8, 0x103E1, 0));
    SimRunFrames(1);
    EXPECT_NEAR(Length(CameraOffset()) - Length(before), -0.9144, 1e-3);
}

}  // namespace
