// The stand-in's view windows and what the host keeps about its views: each
// window's record with the host's own view values at their offsets, the draw
// record of its title event, the focused window, the simulator's tower, the
// ground under any place, and every camera the module placed.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "sim_internal.h"

namespace {

const double Pi = 3.14159265358979323846;

template <typename T>
void Put(uint8_t* bytes, size_t offset, T value) {
    std::memcpy(bytes + offset, &value, sizeof value);
}

}  // namespace

// What a new window shows of each kind before anyone changes it: 1x zooms,
// the spot plane 60 m behind and 8 m above the user aircraft, turning with
// it, and the pilot's eyepoint.
void SimInitViewWindow(SimViewWindow* window, uint8_t kind) {
    std::memset(window->bytes, 0, sizeof window->bytes);
    std::memset(window->drawRecord, 0, sizeof window->drawRecord);
    window->bytes[0x20] = kind;
    Put<uint16_t>(window->bytes, 0x2E, 64);
    Put<uint16_t>(window->bytes, 0x30, 64);
    Put<uint16_t>(window->bytes, 0x34, 64);
    Put<uint16_t>(window->bytes, 0x3C, 0x8000);
    Put<int32_t>(window->bytes, 0x40, 60 * 256);
    window->bytes[0x44] = 0;
    Put<int32_t>(window->bytes, 0x48, 8 * 256);
    Put<int16_t>(window->bytes, 0x11C, static_cast<int16_t>(-0.4 * 256));
    Put<int16_t>(window->bytes, 0x11E, static_cast<int16_t>(1.1 * 256));
    Put<int16_t>(window->bytes, 0x120, static_cast<int16_t>(1.5 * 256));
    Put<int32_t>(window->bytes, 0x1D0, 1);
    uint8_t* self = window->bytes;
    std::memcpy(window->drawRecord + 0x18, &self, sizeof self);
}

// The tower stands west of the runway, 20 m above the field.
void SimResetViews() {
    SimInitViewWindow(&world.mainView, SimViewCockpit2d);
    SimSetActiveViewWindow(world.mainView.bytes);
    SimSetTowerPosition(SimPositionNearAirfield(150.0, 600.0, 150.0));
    std::memcpy(SimHostStateBlock() + 0x1184, &SimCameraToken, 4);
}

SimViewWindow* SimViewWindowOf(uint8_t* bytes) {
    if (bytes == world.mainView.bytes) return &world.mainView;
    for (auto& window : world.viewWindows)
        if (window->bytes == bytes) return window.get();
    return nullptr;
}

uint8_t* SimMainViewWindow() { return world.mainView.bytes; }

uint8_t* SimOpenViewWindow(uint8_t kind) {
    world.viewWindows.push_back(std::make_unique<SimViewWindow>());
    SimInitViewWindow(world.viewWindows.back().get(), kind);
    return world.viewWindows.back()->bytes;
}

// The record stays allocated: the module may still hold its address as a
// key, as it would with the real host's reused memory.
void SimCloseViewWindow(uint8_t* window) {
    static std::vector<std::unique_ptr<SimViewWindow>> closed;
    for (auto it = world.viewWindows.begin(); it != world.viewWindows.end(); ++it)
        if ((*it)->bytes == window) {
            closed.push_back(std::move(*it));
            world.viewWindows.erase(it);
            return;
        }
}

void SimSetViewWindowKind(uint8_t* window, uint8_t kind) { window[0x20] = kind; }
void SimFocusViewWindow(uint8_t* window) { SimSetActiveViewWindow(window); }

uint8_t* SimViewWindowDrawRecord(uint8_t* window) {
    SimViewWindow* found = SimViewWindowOf(window);
    return found ? found->drawRecord : nullptr;
}

const std::vector<SimCameraPlacement>& SimCameraPlacements() { return world.cameras; }

uint16_t SimAutozoomWord(int which) {
    const volatile uint16_t* words = reinterpret_cast<const volatile uint16_t*>(static_cast<uintptr_t>(0x20CE32B0u));
    return words[which];
}

HostPosition SimTowerPosition() {
    HostPosition position;
    std::memcpy(&position, SimHostStateBlock() + 0xD50, sizeof position);
    return position;
}

void SimSetTowerPosition(const HostPosition& position) {
    std::memcpy(SimHostStateBlock() + 0xD50, &position, sizeof position);
}

double SimGroundElevation(const HostPosition& position) {
    const HostPosition hillTop = SimPositionNearAirfield(-6000.0, 0.0, 0.0);
    double offset[3];
    SimOffsetMetres(hillTop, position, offset);
    const double fromTop = std::sqrt(offset[0] * offset[0] + offset[2] * offset[2]);
    const double radius = 2000.0;
    const double hill = fromTop < radius ? 150.0 * (1.0 + std::cos(Pi * fromTop / radius)) : 0.0;
    return 130.0 + hill;
}

uint32_t SimLastGroundFlags() { return world.lastGroundFlags; }

bool SimDispatchKeyEvent(uint32_t type, uint32_t eventId, int32_t parameter) {
    uint8_t record[0x20] = {};
    std::memcpy(record + 0x0C, &parameter, sizeof parameter);
    return SimDispatchInput(type, eventId, record);
}
