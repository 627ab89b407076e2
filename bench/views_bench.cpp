// What the advanced views cost per frame: the camera of one view window
// showing a stored view — a tower view with autozoom, a spot view in each of
// its four ways of looking, a VC view — on the stand-in and against a host
// that does nothing (which leaves the module's own time), the host calls of
// those frames issued straight into the stand-in, and the sweep of a full
// table of 30 rows. Every module-only frame is also counted for heap
// allocations and file operations, which must both stay at zero.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <new>

#include "config/settings.h"
#include "core/host/host.h"
#include "core/module.h"
#include "engine/tracks/host_encoding.h"
#include "platform/platform.h"
#include "scratch_folder.h"
#include "sim.h"
#include "views/cameras/view_events.h"
#include "views/state/view_state.h"
#include "views/windows/view_switching.h"
#include "views/windows/view_window_table.h"

// ---------------------------------------------------------------- allocation count

static uint64_t allocations;

// The replacements pair malloc with free; the compiler cannot see that the
// default new is replaced too.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(size_t size) {
    ++allocations;
    if (void* block = std::malloc(size ? size : 1)) return block;
    throw std::bad_alloc();
}
void operator delete(void* block) noexcept { std::free(block); }
void operator delete(void* block, size_t) noexcept { std::free(block); }

namespace {

// A tower view 20 km north of the parked user aircraft, with autozoom, shown
// in the main view. Returns the main view window.
uint8_t* ShowAutozoomTowerView() {
    SimReset(SimConfig());
    if (!SimLoadModule()) return nullptr;
    TowerView& view = viewState.tower.entries[0];
    std::memset(&view, 0, sizeof view);
    std::strcpy(view.name, "Bench");
    view.position = SimPositionNearAirfield(0, 20000, 400);
    view.zoom = ZoomNormal;
    view.autoZoom = 0.02f;
    viewState.tower.count = 1;
    uint8_t* window = SimMainViewWindow();
    SimSetViewWindowKind(window, SimViewTower);
    ChangeView(FindOrAddViewWindow(window), ViewKindTower, ChangeSelect, 0);
    return window;
}

// The spot view's four ways of looking: at the aircraft, or in a stored
// direction fixed to the compass, turned by the heading, or turned by the
// whole attitude through the host's matrix.
enum SpotLook { LookAtAircraft, LookFixed, LookWithHeading, LookWithAttitude };

// A spot view 30 m behind and 5 m above the user aircraft, looking its way,
// shown in the main view. Returns the main view window.
uint8_t* ShowSpotView(SpotLook look) {
    SimReset(SimConfig());
    if (!SimLoadModule()) return nullptr;
    SpotView& view = viewState.spot.entries[0];
    std::memset(&view, 0, sizeof view);
    std::strcpy(view.name, "Bench");
    view.y = 5.0f;
    view.z = -30.0f;
    view.heading = 0x10000000u;
    view.zoom = ZoomNormal;
    view.manualPan = look != LookAtAircraft;
    view.rotateHeading = look != LookFixed;
    view.rotatePitchBank = look == LookWithAttitude;
    viewState.spot.count = 1;
    uint8_t* window = SimMainViewWindow();
    SimSetViewWindowKind(window, SimViewSpot);
    ChangeView(FindOrAddViewWindow(window), ViewKindSpot, ChangeSelect, 0);
    return window;
}

// A VC view at the copilot's seat looking in its stored direction.
uint8_t* ShowVcView() {
    SimReset(SimConfig());
    if (!SimLoadModule()) return nullptr;
    VcView& view = viewState.vc.entries[0];
    std::memset(&view, 0, sizeof view);
    std::strcpy(view.name, "Bench");
    view.x = 0.4f;
    view.y = 1.1f;
    view.z = 1.5f;
    view.heading = 0xF0000000u;
    view.zoom = ZoomNormal;
    viewState.vc.count = 1;
    uint8_t* window = SimMainViewWindow();
    SimSetViewWindowKind(window, SimViewVirtualCockpit);
    ChangeView(FindOrAddViewWindow(window), ViewKindVirtualCockpit, ChangeSelect, 0);
    return window;
}

void Counters(benchmark::State& state, uint64_t allocated, uint64_t fileOperations) {
    state.counters["allocations_per_frame"] =
        benchmark::Counter(static_cast<double>(allocated) / static_cast<double>(state.iterations()));
    state.counters["file_ops_per_frame"] =
        benchmark::Counter(static_cast<double>(fileOperations) / static_cast<double>(state.iterations()));
}

// An aircraft's position, read as the cameras read it (record 533).
HostPosition PositionOf(AircraftObject* aircraft) {
    uint8_t block[36];
    AircraftGetBlock(aircraft, BlockPlacement, block);
    HostPosition at;
    std::memcpy(&at, block, sizeof at);
    return at;
}

// The stand-in logs every call; emptied now and then (untimed) so that the
// log does not grow through a run.
void ClearLogNowAndThen(benchmark::State& state, uint64_t* frames) {
    if (++*frames % 1024 != 0) return;
    state.PauseTiming();
    SimClearLog();
    state.ResumeTiming();
}

// The calls that frame makes, issued straight into the stand-in.
void BM_StandInCallsOfTowerFrame(benchmark::State& state) {
    if (!ShowAutozoomTowerView()) {
        state.SkipWithError("no module");
        return;
    }
    const HostPosition tower = SimPositionNearAirfield(0, 20000, 400);
    float matrix[16] = {};
    uint64_t frames = 0;
    for (auto _ : state) {
        const HostPosition at = PositionOf(HostAircraftById(1));
        benchmark::DoNotOptimize(HostGroundElevation(&tower));
        benchmark::DoNotOptimize(HostPositionDistance(&at, &tower));
        double vector[3], angles[3];
        HostPositionVector(&at, &tower, vector);
        HostVectorAngles(vector, angles);
        HostSetViewCamera(&tower, 1, 2, 3, matrix, 64);
        ClearLogNowAndThen(state, &frames);
    }
    SimUnloadModule();
}
BENCHMARK(BM_StandInCallsOfTowerFrame);

// A host whose operations answer at once with fixed values.
namespace quiet {
void* objectTable[8];
struct Object {
    void* table;
} object = {objectTable};
// An aircraft 1000 m up in a climbing turn.
void HOSTCALL GetBlock(void*, uint32_t, void* buffer, uint32_t) {
    const int64_t place[3] = {int64_t{5200000} << 32, int64_t{1} << 60, int64_t{1000} << 32};
    const Angle32 attitude[3] = {0xFBBBBBBBu, 0x0E38E38Eu, 0x40000000u};
    std::memcpy(buffer, place, sizeof place);
    std::memcpy(static_cast<uint8_t*>(buffer) + sizeof place, attitude, sizeof attitude);
}
void* HOSTCALL AircraftById(uint32_t) { return &object; }
void* HOSTCALL UserAircraft() { return &object; }
void HOSTCALL SetViewCamera(uint32_t, const HostPosition*, Angle32, Angle32, Angle32, const float*, int32_t) {}
void HOSTCALL GroundElevation(const HostPosition*, double* metres, uint32_t, uint32_t, uint32_t) { *metres = 130.0; }
double HOSTCALL PositionDistance(const HostPosition*, const HostPosition*) { return 20000.0; }
void HOSTCALL PositionVector(const HostPosition*, const HostPosition*, double* out) {
    out[0] = 0.0;
    out[1] = -270.0;
    out[2] = -20000.0;
}
void HOSTCALL VectorAngles(const double*, double* angles) {
    angles[0] = 0.0135;
    angles[1] = 0.0;
    angles[2] = 3.14159;
}
void HOSTCALL AnglesMatrix(float* m, Angle32, Angle32, Angle32) {
    for (int i = 0; i < 16; ++i) m[i] = i % 5 == 0 ? 1.0f : 0.0f;
}
void* aircraftInterface[0x100];
void* viewsInterface[0x100];
void* terrainInterface[0x100];
void* geometryInterface[0x100];

template <typename Fn>
void Put(void* table, ptrdiff_t offset, Fn function) {
    HostSlotAs<void*>(table, offset) = reinterpret_cast<void*>(function);
}

void Install() {
    Put(objectTable, 0x08, GetBlock);
    Put(aircraftInterface, 0x70, UserAircraft);
    Put(aircraftInterface, 0x74, AircraftById);
    Put(viewsInterface, 0x50, SetViewCamera);
    Put(terrainInterface, 0x48, GroundElevation);
    Put(geometryInterface, 0x184, PositionDistance);
    Put(geometryInterface, 0xB4, PositionVector);
    Put(geometryInterface, 0xD4, VectorAngles);
    Put(geometryInterface, 0x118, AnglesMatrix);
    for (int i = 0; i < HostInterfaceCount; ++i) {
        void*& pointer = ImportTable[i].interfacePointer;
        switch (ImportTable[i].moduleId) {
            case InterfaceAircraft: pointer = aircraftInterface; break;
            case InterfaceViews: pointer = viewsInterface; break;
            case InterfaceTerrain: pointer = terrainInterface; break;
            case InterfaceGeometry: pointer = geometryInterface; break;
            default: break;
        }
    }
}
}  // namespace quiet

// One window's camera event on the stand-in, its log emptied now and then.
void CameraFramesOnStandIn(benchmark::State& state, uint8_t* window) {
    if (!window) {
        state.SkipWithError("no module");
        return;
    }
    uint64_t frames = 0;
    for (auto _ : state) {
        ViewCameraEvent(window);
        ClearLogNowAndThen(state, &frames);
    }
    SimUnloadModule();
}

// The module's own time for one window's camera event, with its count of
// allocations and file operations.
void CameraFramesModuleOnly(benchmark::State& state, uint8_t* window) {
    if (!window) {
        state.SkipWithError("no module");
        return;
    }
    quiet::Install();
    const uint64_t allocatedBefore = allocations;
    FileOperationCountReset();
    for (auto _ : state) ViewCameraEvent(window);
    Counters(state, allocations - allocatedBefore, FileOperationCount());
    SimUnloadModule();
}

// A tower window with autozoom: find the row, read the aircraft, keep above
// the ground, measure, aim, zoom, place with the zoom matrix, write the
// host's two zoom words.
void BM_TowerCameraAutozoomModuleOnly(benchmark::State& state) {
    CameraFramesModuleOnly(state, ShowAutozoomTowerView());
}
void BM_TowerCameraAutozoomOnStandIn(benchmark::State& state) { CameraFramesOnStandIn(state, ShowAutozoomTowerView()); }
BENCHMARK(BM_TowerCameraAutozoomModuleOnly);
BENCHMARK(BM_TowerCameraAutozoomOnStandIn);

void BM_SpotCameraModuleOnly(benchmark::State& state) {
    CameraFramesModuleOnly(state, ShowSpotView(static_cast<SpotLook>(state.range(0))));
}
void BM_SpotCameraOnStandIn(benchmark::State& state) {
    CameraFramesOnStandIn(state, ShowSpotView(static_cast<SpotLook>(state.range(0))));
}
// Arguments: 0 looking at the aircraft, 1 a fixed direction, 2 turned by the
// heading, 3 turned by the attitude through the matrix.
BENCHMARK(BM_SpotCameraModuleOnly)->DenseRange(LookAtAircraft, LookWithAttitude);
BENCHMARK(BM_SpotCameraOnStandIn)->DenseRange(LookAtAircraft, LookWithAttitude);

// The calls of the spot frame that looks at the aircraft (the most any spot
// frame makes), issued straight into the stand-in.
void BM_StandInCallsOfSpotFrame(benchmark::State& state) {
    if (!ShowSpotView(LookAtAircraft)) {
        state.SkipWithError("no module");
        return;
    }
    float matrix[16] = {};
    uint64_t frames = 0;
    for (auto _ : state) {
        const HostPosition at = PositionOf(HostAircraftById(1));
        HostPosition camera = at;
        camera.latitude -= 30ll << 32;
        benchmark::DoNotOptimize(HostGroundElevation(&camera));
        double vector[3], angles[3];
        HostPositionVector(&at, &camera, vector);
        HostVectorAngles(vector, angles);
        HostSetViewCamera(&camera, 1, 2, 3, matrix, 64);
        ClearLogNowAndThen(state, &frames);
    }
    SimUnloadModule();
}
BENCHMARK(BM_StandInCallsOfSpotFrame);

void BM_VcCameraModuleOnly(benchmark::State& state) { CameraFramesModuleOnly(state, ShowVcView()); }
void BM_VcCameraOnStandIn(benchmark::State& state) { CameraFramesOnStandIn(state, ShowVcView()); }
BENCHMARK(BM_VcCameraModuleOnly);
BENCHMARK(BM_VcCameraOnStandIn);

// The calls of the VC frame, issued straight into the stand-in.
void BM_StandInCallsOfVcFrame(benchmark::State& state) {
    if (!ShowVcView()) {
        state.SkipWithError("no module");
        return;
    }
    float matrix[16];
    uint64_t frames = 0;
    for (auto _ : state) {
        const HostPosition at = PositionOf(HostUserAircraft());
        benchmark::DoNotOptimize(HostGroundElevation(&at));
        HostAnglesMatrix(matrix, 0, 0, 0xF0000000u);
        HostSetViewCamera(&at, 1, 2, 3, matrix, 64);
        ClearLogNowAndThen(state, &frames);
    }
    SimUnloadModule();
}
BENCHMARK(BM_StandInCallsOfVcFrame);

// The capture tick's sweep over a full table whose rows have all drawn.
void BM_SweepThirtyRows(benchmark::State& state) {
    SimReset(SimConfig());
    if (!SimLoadModule()) {
        state.SkipWithError("no module");
        return;
    }
    static uint8_t windows[ViewWindowCapacity][0x200];
    for (auto& window : windows) viewState.windows.rows[FindOrAddViewWindow(window)].seen = 1;
    const uint64_t allocatedBefore = allocations;
    FileOperationCountReset();
    for (auto _ : state) {
        SweepViewWindows();
        benchmark::DoNotOptimize(viewState.windows.count);
    }
    Counters(state, allocations - allocatedBefore, FileOperationCount());
    state.counters["rows"] = viewState.windows.count;
    SimUnloadModule();
}
BENCHMARK(BM_SweepThirtyRows);

}  // namespace

int main(int argc, char** argv) { return RunBenchmarksInScratchFolder(argc, argv, "views"); }
