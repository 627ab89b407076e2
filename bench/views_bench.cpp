// What the advanced views cost per frame: the tower camera of one view
// window showing a stored view with autozoom (on the stand-in, and against a
// host that does nothing, which leaves the module's own time), the same host
// calls issued straight into the stand-in, and the sweep of a full table of
// 30 rows. Every frame is also counted for heap allocations and file
// operations, which must both stay at zero.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <new>

#include "config/settings.h"
#include "core/host.h"
#include "core/module.h"
#include "platform/platform.h"
#include "scratch_folder.h"
#include "sim.h"
#include "views/view_encoding.h"
#include "views/view_events.h"
#include "views/view_state.h"
#include "views/view_switching.h"
#include "views/view_window_table.h"

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

void Counters(benchmark::State& state, uint64_t allocated, uint64_t fileOperations) {
    state.counters["allocations_per_frame"] =
        benchmark::Counter(static_cast<double>(allocated) / static_cast<double>(state.iterations()));
    state.counters["file_ops_per_frame"] =
        benchmark::Counter(static_cast<double>(fileOperations) / static_cast<double>(state.iterations()));
}

// One view window's camera event on the stand-in: the module's work and the
// stand-in's geometry, terrain and camera log.
void BM_TowerCameraAutozoomOnStandIn(benchmark::State& state) {
    uint8_t* window = ShowAutozoomTowerView();
    if (!window) {
        state.SkipWithError("no module");
        return;
    }
    uint64_t frames = 0;
    for (auto _ : state) {
        ViewCameraEvent(window);
        if (++frames % 1024 == 0) {
            state.PauseTiming();
            SimClearLog();
            state.ResumeTiming();
        }
    }
    SimUnloadModule();
}
BENCHMARK(BM_TowerCameraAutozoomOnStandIn);

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
        AircraftObject* aircraft = HostAircraftById(1);
        uint8_t block[36];
        AircraftGetBlock(aircraft, BlockPlacement, block);
        HostPosition at;
        std::memcpy(&at, block, sizeof at);
        benchmark::DoNotOptimize(HostGroundElevation(&tower));
        benchmark::DoNotOptimize(HostPositionDistance(&at, &tower));
        double vector[3], angles[3];
        HostPositionVector(&at, &tower, vector);
        HostVectorAngles(vector, angles);
        HostSetViewCamera(&tower, 1, 2, 3, matrix, 64);
        if (++frames % 1024 == 0) {
            state.PauseTiming();
            SimClearLog();
            state.ResumeTiming();
        }
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
void HOSTCALL GetBlock(void*, uint32_t, void* buffer, uint32_t) { std::memset(buffer, 0, 36); }
void* HOSTCALL AircraftById(uint32_t) { return &object; }
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
    Put(aircraftInterface, 0x74, AircraftById);
    Put(viewsInterface, 0x50, SetViewCamera);
    Put(terrainInterface, 0x48, GroundElevation);
    Put(geometryInterface, 0x184, PositionDistance);
    Put(geometryInterface, 0xB4, PositionVector);
    Put(geometryInterface, 0xD4, VectorAngles);
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

// The module's own time for one view window's camera with autozoom.
void BM_TowerCameraAutozoomModuleOnly(benchmark::State& state) {
    uint8_t* window = ShowAutozoomTowerView();
    if (!window) {
        state.SkipWithError("no module");
        return;
    }
    quiet::Install();
    const uint64_t allocatedBefore = allocations;
    FileOperationCountReset();
    for (auto _ : state) ViewCameraEvent(window);
    Counters(state, allocations - allocatedBefore, FileOperationCount());
    SimUnloadModule();  // puts the stand-in's interfaces back on the next load
}
BENCHMARK(BM_TowerCameraAutozoomModuleOnly);

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
