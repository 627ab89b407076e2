// The view catalogues in the settings file and in export files: what Save
// writes key by key, what Load reads back (defaults, cut names, clamped
// counts, stale keys), the start-up and shut-down hooks, and the export and
// import dialogs with their remembered names.
#include <cmath>

#include "views/catalogue/view_catalogue.h"
#include "views/catalogue/view_files.h"
#include "views/menus/view_commands.h"
#include "views_fixture.h"

namespace {

const char* const Ini = "Modules/Aerotrace.ini";

class ViewCatalogue : public ViewsTest {};

TEST_F(ViewCatalogue, TowerViewsRoundTripThroughTheSettingsFile) {
    Start();
    TowerView& a = AddTowerView("A name of twenty ch.", 0, 0, 0);
    a.position.latitude = EncodeLatitude(47.5);
    a.position.longitude = EncodeLongitude(-122.25);
    a.position.altitude = EncodeAltitude(152.25);
    a.pitch = EncodeAngle(-12.5);
    a.bank = EncodeAngle(3.0);
    a.heading = EncodeAngle(270.0);
    a.zoom = 32768.0f;
    a.manualPan = 1;
    a.autoZoom = 0.125f;
    TowerView& b = AddTowerView("Runway end", 0, 0, 0);
    b.position.longitude = EncodeLongitude(179.99999);
    b.zoom = 100.75f;
    // A zoom past what the file's whole number holds is saved as the largest.
    AddTowerView("Far", 0, 0, 0).zoom = 6.4e10f;
    SaveViewCatalogue(ViewKindTower, "modules\\Aerotrace.ini");

    const std::string text = FileText(Ini);
    EXPECT_NE(text.find("[TOWERVIEWS]\nnViews=3\nView0Name=A name of twenty ch.\nView0Lat=47.50000000\n"
                        "View0Lon=-122.25000000\nView0Alt=152.25\nView0Pit=-12.500\nView0Bnk=3.000\n"
                        "View0Hdg=-90.000\nView0Zoom=32768\nView0Pan=1\nView0AutoZoom=0.125000\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("View1Zoom=100\n"), std::string::npos);
    EXPECT_NE(text.find("View2Zoom=2147483647\n"), std::string::npos) << text;

    viewState.tower = TowerViewList{};
    LoadViewCatalogue(ViewKindTower, "modules\\Aerotrace.ini");
    ASSERT_EQ(viewState.tower.count, 3);
    EXPECT_EQ(viewState.tower.entries[2].zoom, ZoomMaximum);
    const TowerView& read = viewState.tower.entries[0];
    EXPECT_STREQ(read.name, "A name of twenty ch.");
    EXPECT_NEAR(DecodeLatitude(read.position.latitude), 47.5, 1e-9);
    EXPECT_NEAR(DecodeLongitude(read.position.longitude), -122.25, 1e-9);
    EXPECT_NEAR(DecodeAltitude(read.position.altitude), 152.25, 1e-6);
    EXPECT_NEAR(DecodeAngle(read.pitch), -12.5, 1e-6);
    EXPECT_NEAR(DecodeAngle(read.heading), -90.0, 1e-6);
    EXPECT_EQ(read.zoom, 32768.0f);  // 512x
    EXPECT_EQ(read.manualPan, 1u);
    EXPECT_FLOAT_EQ(read.autoZoom, 0.125f);
    EXPECT_NEAR(DecodeLongitude(viewState.tower.entries[1].position.longitude), 179.99999, 1e-8);
    EXPECT_EQ(viewState.tower.entries[1].zoom, 100.0f);
}

TEST_F(ViewCatalogue, SpotAndVcViewsRoundTripInAnExportFile) {
    Start();
    SpotView& spot = viewState.spot.entries[viewState.spot.count++];
    spot = SpotView{"Chase", -10.5f, 2.25f, -30.0f, EncodeAngle(5), 0, EncodeAngle(45), 128.0f, 1, 0, 1};
    VcView& vc = viewState.vc.entries[viewState.vc.count++];
    vc = VcView{"Copilot", 0.4f, 1.1f, 1.5f, 0, 0, EncodeAngle(-30), 64.0f};
    SaveViewCatalogue(ViewKindSpot, "views.spt");
    SaveViewCatalogue(ViewKindVirtualCockpit, "views.vc");
    EXPECT_NE(FileText("views.spt").find("[SPOTVIEWS]\nnViews=1\nView0Name=Chase\nView0X=-10.500\nView0Y=2.250\n"
                                         "View0Z=-30.000\nView0Pit=5.000\nView0Bnk=0.000\nView0Hdg=45.000\n"
                                         "View0Zoom=128\nView0Pan=1\nView0RotH=0\nView0RotPB=1\n"),
              std::string::npos)
        << FileText("views.spt");
    EXPECT_NE(FileText("views.vc").find("[VCVIEWS]\nnViews=1\nView0Name=Copilot\nView0X=0.400\nView0Y=1.100\n"
                                        "View0Z=1.500\nView0Pit=0.000\nView0Bnk=0.000\nView0Hdg=-30.000\n"
                                        "View0Zoom=64\n"),
              std::string::npos)
        << FileText("views.vc");

    viewState.spot = SpotViewList{};
    viewState.vc = VcViewList{};
    LoadViewCatalogue(ViewKindSpot, "views.spt");
    LoadViewCatalogue(ViewKindVirtualCockpit, "views.vc");
    ASSERT_EQ(viewState.spot.count, 1);
    ASSERT_EQ(viewState.vc.count, 1);
    EXPECT_FLOAT_EQ(viewState.spot.entries[0].x, -10.5f);
    EXPECT_FLOAT_EQ(viewState.spot.entries[0].z, -30.0f);
    EXPECT_EQ(viewState.spot.entries[0].rotateHeading, 0u);
    EXPECT_EQ(viewState.spot.entries[0].rotatePitchBank, 1u);
    EXPECT_NEAR(DecodeAngle(viewState.vc.entries[0].heading), -30.0, 1e-6);
    EXPECT_STREQ(viewState.vc.entries[0].name, "Copilot");
}

TEST_F(ViewCatalogue, MissingKeysTakeTheirDefaultsAndNonNumbersReadAsZero) {
    WriteFile(Ini,
              "[TOWERVIEWS]\nnViews=2\nView0Lat=abc\nView1Name=Twenty-one characters!\n[SPOTVIEWS]\nnViews=1\n[VCVIEWS]\nnViews=1\nView0Zoom=0\n");
    Start();
    ASSERT_EQ(viewState.tower.count, 2);
    EXPECT_STREQ(viewState.tower.entries[0].name, "Tower view");
    EXPECT_STREQ(viewState.tower.entries[1].name, "Twenty-one character");
    EXPECT_EQ(viewState.tower.entries[0].position.latitude, 0);
    EXPECT_EQ(viewState.tower.entries[0].zoom, 64.0f);
    EXPECT_EQ(viewState.tower.entries[0].autoZoom, 0.0f);
    const SpotView& spot = viewState.spot.entries[0];
    EXPECT_STREQ(spot.name, "Spot view");
    EXPECT_EQ(spot.y, 100.0f);
    EXPECT_EQ(spot.rotateHeading, 1u);
    EXPECT_EQ(spot.rotatePitchBank, 0u);
    EXPECT_STREQ(viewState.vc.entries[0].name, "VC view");
    // A zoom of 0 would divide the pan steps by zero: the nearest limit.
    EXPECT_EQ(viewState.vc.entries[0].zoom, ZoomMinimum);
}

TEST_F(ViewCatalogue, CountsOutsideTheListAreClamped) {
    std::string text = "[TOWERVIEWS]\nnViews=31\n";
    for (int i = 0; i < 31; ++i) text += "View" + std::to_string(i) + "Name=T" + std::to_string(i) + "\n";
    text += "[SPOTVIEWS]\nnViews=-3\n[VCVIEWS]\nnViews=99999999999\n";
    WriteFile(Ini, text);
    Start();
    EXPECT_EQ(viewState.tower.count, 30);
    EXPECT_STREQ(viewState.tower.entries[29].name, "T29");
    EXPECT_EQ(viewState.spot.count, 0);
    EXPECT_EQ(viewState.vc.count, 30);
}

TEST_F(ViewCatalogue, SavingFewerViewsLeavesTheOlderKeysInPlace) {
    Start();
    for (int i = 0; i < 8; ++i) AddTowerView(("View " + std::to_string(i)).c_str(), 0, 0, 0);
    SaveViewCatalogue(ViewKindTower, "modules\\Aerotrace.ini");
    viewState.tower.count = 5;
    SaveViewCatalogue(ViewKindTower, "modules\\Aerotrace.ini");
    const std::string text = FileText(Ini);
    EXPECT_NE(text.find("nViews=5\n"), std::string::npos);
    EXPECT_NE(text.find("View5Name=View 5\n"), std::string::npos);
    EXPECT_NE(text.find("View7AutoZoom="), std::string::npos);
    viewState.tower = TowerViewList{};
    LoadViewCatalogue(ViewKindTower, "modules\\Aerotrace.ini");
    EXPECT_EQ(viewState.tower.count, 5);
}

TEST_F(ViewCatalogue, StartUpLoadsAndShutDownSavesAllThreeInTheirSections) {
    WriteFile(Ini, "[SETTINGS]\nRplyEnabled=0\n[TOWERVIEWS]\nnViews=1\nView0Name=Tower one\n"
                   "[SPOTVIEWS]\nnViews=1\nView0Name=Spot one\n[VCVIEWS]\nnViews=1\nView0Name=VC one\n");
    Start();
    EXPECT_STREQ(viewState.tower.entries[0].name, "Tower one");
    EXPECT_STREQ(viewState.spot.entries[0].name, "Spot one");
    EXPECT_STREQ(viewState.vc.entries[0].name, "VC one");
    EXPECT_EQ(viewState.MinCameraHeight, int64_t{1} << 32);
    EXPECT_EQ(viewState.windows.count, 0);
    std::strcpy(viewState.tower.entries[0].name, "Renamed");
    AddTowerView("Second", 0, 0, 0);
    SimUnloadModule();
    const std::string text = FileText(Ini);
    EXPECT_LT(text.find("[TOWERVIEWS]"), text.find("[SPOTVIEWS]"));
    EXPECT_NE(text.find("nViews=2\nView0Name=Renamed\n"), std::string::npos) << text;
    EXPECT_NE(text.find("View1Name=Second\n"), std::string::npos);
    EXPECT_NE(text.find("View0Name=Spot one\nView0X=0.000\nView0Y=100.000\n"), std::string::npos) << text;
}

TEST_F(ViewCatalogue, AModuleThatFailedToStartLeavesTheCataloguesAlone) {
    const std::string original = "[TOWERVIEWS]\nnViews=1\nView0Name=Keep me\n";
    WriteFile(Ini, original);
    SimConfig config;
    config.missingInterface = 3;
    SimReset(config);
    ASSERT_TRUE(SimLoadModule());
    SimUnloadModule();
    EXPECT_EQ(FileText(Ini), original);
}

TEST_F(ViewCatalogue, ExportAndImportRunTheirDialogsAndRememberTheirNames) {
    Start();
    AddTowerView("Exported", 0, 0, 0);
    const std::string before = SimCurrentDirectory();
    std::filesystem::create_directory("elsewhere");
    const std::string chosen = before + "/elsewhere/mine.twr";  // the dialogs answer with full paths
    SimQueueFileDialogAnswer({chosen});
    SimSendMainWindowMessage(0x0111, TowerCommands + CommandExportViews, 0);
    EXPECT_EQ(SimCurrentDirectory(), before);  // the dialog's folder change is undone
    EXPECT_NE(FileText(chosen).find("View0Name=Exported"), std::string::npos);
    std::vector<SimLogEntry> dialogs = SimLogOf(LogFileDialog);
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].caption, "Save tower views");
    EXPECT_EQ(dialogs[0].owner, SimMainWindow());

    // The window showed the exported view; importing puts it back on the
    // simulator's tower and shows that title.
    const int row = ShowTowerView(0);
    Row(row).TitleCountdown = 0;
    Row(row).towerTarget = 555;  // looking at an AI aircraft
    Row(row).spotTarget = 7;
    viewState.tower.count = 0;
    SimQueueFileDialogAnswer({chosen});
    SimSendMainWindowMessage(0x0111, TowerCommands + CommandImportViews, 0);
    ASSERT_EQ(viewState.tower.count, 1);
    EXPECT_STREQ(viewState.tower.entries[0].name, "Exported");
    EXPECT_EQ(Row(row).towerIndex, -1);
    EXPECT_EQ(Row(row).TitleCountdown, 50);
    EXPECT_EQ(Row(row).towerTarget, 1);  // the user aircraft again, for this kind only
    EXPECT_EQ(Row(row).spotTarget, 7);

    // Each of the six dialogs keeps its own name.
    EXPECT_EQ(viewState.fileNames[0][ExportDialog], chosen);
    EXPECT_EQ(viewState.fileNames[0][ImportDialog], chosen);
    EXPECT_STREQ(viewState.fileNames[1][ExportDialog], "");
    SimQueueFileDialogAnswer({""});  // cancelled: nothing changes
    SimSendMainWindowMessage(0x0111, TowerCommands + CommandImportViews, 0);
    EXPECT_EQ(viewState.tower.count, 1);
    EXPECT_EQ(viewState.fileNames[0][ImportDialog], chosen);
    int begins = 0, ends = 0;
    for (const SimLogEntry& entry : SimLog()) {
        begins += entry.kind == LogModalBegin;
        ends += entry.kind == LogModalEnd;
    }
    EXPECT_EQ(begins, 3);
    EXPECT_EQ(ends, 3);
}

TEST_F(ViewCatalogue, ImportingAFileWithoutViewsOfTheKindKeepsTheList) {
    Start();
    AddTowerView("Mine", 0, 0, 0);
    WriteFile("spots.spt", "[SPOTVIEWS]\nnViews=1\nView0Name=Chase\n");
    SimQueueFileDialogAnswer({"spots.spt"});
    SimSendMainWindowMessage(0x0111, TowerCommands + CommandImportViews, 0);
    EXPECT_EQ(viewState.tower.count, 1);
    EXPECT_STREQ(viewState.tower.entries[0].name, "Mine");
    std::vector<SimLogEntry> boxes = SimLogOf(LogMessageBox);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Aerotrace");
    EXPECT_NE(boxes[0].text.find("no tower views"), std::string::npos);
    // The spot import takes it.
    SimQueueFileDialogAnswer({"spots.spt"});
    SimSendMainWindowMessage(0x0111, SpotCommands + CommandImportViews, 0);
    ASSERT_EQ(viewState.spot.count, 1);
    EXPECT_STREQ(viewState.spot.entries[0].name, "Chase");
}

}  // namespace
