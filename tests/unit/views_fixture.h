// Advanced-view tests on the stand-in: a fresh simulator folder (with the
// settings file a test may write first), the module loaded, and helpers
// that put stored views into the catalogues and windows onto them.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "config/settings.h"
#include "core/host/host.h"
#include "core/host/host_view_window.h"
#include "engine/tracks/host_encoding.h"
#include "sim.h"
#include "views/state/view_state.h"
#include "views/windows/view_switching.h"
#include "views/windows/view_window_table.h"

class ViewsTest : public testing::Test {
protected:
    void SetUp() override {
        home = SimCurrentDirectory();
        const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
        // The process id keeps two runs on one machine (two builds, two
        // engineers) out of each other's folders.
        folder = testing::TempDir() + "aerotrace-views-" + std::to_string(getpid()) + "-" + info->test_suite_name() +
                 "-" + info->name();
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
        SimEnterDirectory(folder);
    }
    void TearDown() override {
        if (SimModuleLoaded()) SimUnloadModule();
        SimChangeDirectory(home);
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }

    void Start(const SimConfig& config = SimConfig()) {
        SimReset(config);
        ASSERT_TRUE(SimLoadModule());
    }

    static void WriteFile(const std::string& path, const std::string& text) {
        std::ofstream(path, std::ios::binary) << text;
    }
    // The file's text with its line breaks as "\n" (the ini functions write "\r\n").
    static std::string FileText(const std::string& path) {
        std::ifstream stream(path, std::ios::binary);
        std::ostringstream text;
        text << stream.rdbuf();
        std::string lines = text.str();
        lines.erase(std::remove(lines.begin(), lines.end(), '\r'), lines.end());
        return lines;
    }

    // Appends a tower view at so many metres from the airfield's origin
    // (where the user aircraft is parked when the world starts).
    static TowerView& AddTowerView(const char* name, double east, double north, double altitude) {
        TowerView& view = viewState.tower.entries[viewState.tower.count++];
        std::memset(&view, 0, sizeof view);
        std::snprintf(view.name, sizeof view.name, "%.20s", name);
        view.position = SimPositionNearAirfield(east, north, altitude);
        view.zoom = ZoomNormal;
        return view;
    }

    static SpotView& AddSpotView(const char* name, float x, float y, float z, uint32_t rotateHeading,
                                 uint32_t rotatePitchBank) {
        SpotView& view = viewState.spot.entries[viewState.spot.count++];
        std::memset(&view, 0, sizeof view);
        std::snprintf(view.name, sizeof view.name, "%.20s", name);
        view.x = x;
        view.y = y;
        view.z = z;
        view.zoom = ZoomNormal;
        view.rotateHeading = rotateHeading;
        view.rotatePitchBank = rotatePitchBank;
        return view;
    }
    static VcView& AddVcView(const char* name, float x, float y, float z) {
        VcView& view = viewState.vc.entries[viewState.vc.count++];
        std::memset(&view, 0, sizeof view);
        std::snprintf(view.name, sizeof view.name, "%.20s", name);
        view.x = x;
        view.y = y;
        view.z = z;
        view.zoom = ZoomNormal;
        return view;
    }

    // The main view turned into a tower window showing stored view `index`.
    static int ShowTowerView(int32_t index) {
        uint8_t* window = SimMainViewWindow();
        SimSetViewWindowKind(window, SimViewTower);
        const int row = FindOrAddViewWindow(window);
        ChangeView(row, ViewKindTower, ChangeSelect, index);
        return row;
    }

    // The main view turned into a window of this kind showing stored view
    // `index` of the kind.
    static int ShowStoredView(uint8_t windowKind, ViewKind kind, int32_t index) {
        uint8_t* window = SimMainViewWindow();
        SimSetViewWindowKind(window, windowKind);
        const int row = FindOrAddViewWindow(window);
        ChangeView(row, kind, ChangeSelect, index);
        return row;
    }

    // Holds the user aircraft at a place and attitude (degrees; pitch
    // positive nose-down, as the host has it) in the frames RunFrames runs:
    // the stand-in leaves an aircraft where it was put only for the frame
    // after its position is written.
    void PinUserAircraft(const HostPosition& at, double pitch, double bank, double heading) {
        // The stand-in counts frames from 1: a write before the first frame holds for none.
        if (SimFrameNumber() == 0) SimRunFrames(1);
        pinned = true;
        pinnedAt = at;
        pinnedAttitude[0] = EncodeAngle(pitch);
        pinnedAttitude[1] = EncodeAngle(bank);
        pinnedAttitude[2] = EncodeAngle(heading);
        AircraftSetPosition(HostUserAircraft(), &pinnedAt, pinnedAttitude, 0);
    }
    void RunFrames(int count) {
        for (int i = 0; i < count; ++i) {
            if (pinned) AircraftSetPosition(HostUserAircraft(), &pinnedAt, pinnedAttitude, 0);
            SimRunFrames(1);
        }
    }
    static HostPosition UserAircraftPosition() {
        SimAircraftState state;
        EXPECT_TRUE(SimGetAircraftState(1, &state));
        HostPosition position;
        std::memcpy(&position, state.placement, sizeof position);
        return position;
    }
    static SimCameraPlacement LastCamera() {
        const std::vector<SimCameraPlacement>& cameras = SimCameraPlacements();
        EXPECT_FALSE(cameras.empty());
        return cameras.empty() ? SimCameraPlacement{} : cameras.back();
    }

    static ViewWindowRow& Row(int row) { return viewState.windows.rows[row]; }

    template <typename T>
    static T WindowField(uint8_t* window, size_t offset) {
        T value;
        std::memcpy(&value, window + offset, sizeof value);
        return value;
    }
    template <typename T>
    static void SetWindowField(uint8_t* window, size_t offset, T value) {
        std::memcpy(window + offset, &value, sizeof value);
    }

    std::string home;
    std::string folder;
    bool pinned = false;
    HostPosition pinnedAt{};
    Angle32 pinnedAttitude[3] = {};
};
