// The stand-in's aircraft: objects with the host's operation table, kept in
// id order; scripted ones fly the flight script unless the module drives
// them, and what the module writes is kept.
#include <algorithm>
#include <cstring>

#include "sim_internal.h"

void SimScriptedStateOffset(double t, double eastOffset, double northOffset, SimAircraftState* state);

uint64_t SimValueKey(uint32_t variable, uint32_t unit, uint32_t index) {
    return (static_cast<uint64_t>(variable) << 32) | (static_cast<uint64_t>(unit) << 16) | index;
}

static SimAircraft* Self(void* object) { return static_cast<SimAircraft*>(object); }

static bool DrivenNow(SimAircraft* aircraft) { return aircraft->drivenFrame != 0; }

static void MarkDriven(SimAircraft* aircraft) { aircraft->drivenFrame = world.frame; }

// ---- operation table of an aircraft object (byte offsets of the 32-bit host)

static uint32_t HOSTCALL OpId(void* object) { return Self(object)->id; }
static uint32_t HOSTCALL OpActivate(void*) { return 1; }

static void HOSTCALL OpGetBlock(void* object, uint32_t record, void* buffer, uint32_t) {
    SimAircraft* aircraft = Self(object);
    if (record == 533) std::memcpy(buffer, aircraft->state.placement, 36);
    if (record == 536) std::memcpy(buffer, aircraft->state.motion, 24);
}

static void HOSTCALL OpGetValue(void* object, uint32_t variable, uint32_t unit, double* out, uint32_t index) {
    *out = SimValueOf(Self(object), variable, unit, index);
}

static void HOSTCALL OpSetBlock(void* object, uint32_t record, const void* buffer, uint32_t) {
    SimAircraft* aircraft = Self(object);
    if (record == 536) std::memcpy(aircraft->state.motion, buffer, 24);
    MarkDriven(aircraft);
}

static void HOSTCALL OpSetValue(void* object, uint32_t variable, uint32_t unit, double value, uint32_t index) {
    SimAircraft* aircraft = Self(object);
    aircraft->written[SimValueKey(variable, unit, index)] = value;
    MarkDriven(aircraft);
    SimLogEntry& entry = SimAppendLog(LogValueSet);
    entry.a = aircraft->id;
    entry.b = variable;
    entry.c = unit;
    entry.d = index;
    entry.value = value;
}

static void HOSTCALL OpSendEvent(void* object, uint32_t eventId, uint32_t value, uint32_t) {
    SimLogEntry& entry = SimAppendLog(LogAircraftEvent);
    entry.a = Self(object)->id;
    entry.b = eventId;
    entry.c = value;
}

static void HOSTCALL OpSetPosition(void* object, const void* position24, const void* orientation12,
                                   uint32_t onGround, uint32_t) {
    SimAircraft* aircraft = Self(object);
    std::memcpy(aircraft->state.placement, position24, 24);
    std::memcpy(aircraft->state.placement + 24, orientation12, 12);
    aircraft->written[SimValueKey(70, 136, 0)] = onGround ? 1.0 : 0.0;
    MarkDriven(aircraft);
    uint32_t continuous;
    std::memcpy(&continuous, SimHostStateBlock() + 0x624, 4);
    SimLogEntry& entry = SimAppendLog(LogPositionSet);
    entry.a = aircraft->id;
    entry.b = onGround;
    entry.c = continuous;
}

static void* aircraftTable[16];

static void BuildAircraftTable() {
    if (aircraftTable[0]) return;
    HostSlotAs<void*>(aircraftTable, 0x00) = reinterpret_cast<void*>(OpId);
    HostSlotAs<void*>(aircraftTable, 0x08) = reinterpret_cast<void*>(OpGetBlock);
    HostSlotAs<void*>(aircraftTable, 0x10) = reinterpret_cast<void*>(OpGetValue);
    HostSlotAs<void*>(aircraftTable, 0x14) = reinterpret_cast<void*>(OpSetBlock);
    HostSlotAs<void*>(aircraftTable, 0x18) = reinterpret_cast<void*>(OpSetValue);
    HostSlotAs<void*>(aircraftTable, 0x1C) = reinterpret_cast<void*>(OpSendEvent);
    HostSlotAs<void*>(aircraftTable, 0x20) = reinterpret_cast<void*>(OpSetPosition);
    HostSlotAs<void*>(aircraftTable, 0x24) = reinterpret_cast<void*>(OpActivate);
}

// ---- the aircraft list

SimAircraft* SimFindAircraft(uint32_t id) {
    if (id == 1 && world.userMissing) return nullptr;
    for (auto& aircraft : world.aircraft)
        if (aircraft->id == id) return aircraft.get();
    return nullptr;
}

SimAircraft* SimAddAircraft(uint32_t id, const std::string& title, bool scripted) {
    BuildAircraftTable();
    auto aircraft = std::make_unique<SimAircraft>();
    std::memset(aircraft->slots, 0, sizeof aircraft->slots);
    std::memset(aircraft->elevationBlock, 0, sizeof aircraft->elevationBlock);
    aircraft->slots[0] = aircraftTable;
    aircraft->elevationBlockPointer = aircraft->elevationBlock;
    HostSlotAs<void*>(aircraft->slots, 0x28) = &aircraft->elevationBlockPointer;
    aircraft->id = id;
    aircraft->title = title;
    aircraft->scripted = scripted;
    aircraft->timeOffset = 0;
    aircraft->eastOffset = aircraft->northOffset = 0;
    aircraft->leaveSeconds = -1;
    aircraft->drivenFrame = 0;
    std::memset(&aircraft->state, 0, sizeof aircraft->state);
    SimAircraft* added = aircraft.get();
    auto at = std::find_if(world.aircraft.begin(), world.aircraft.end(),
                           [id](const std::unique_ptr<SimAircraft>& other) { return other->id > id; });
    world.aircraft.insert(at, std::move(aircraft));
    return added;
}

void SimRemoveAircraft(uint32_t id) {
    world.aircraft.erase(std::remove_if(world.aircraft.begin(), world.aircraft.end(),
                                        [id](const std::unique_ptr<SimAircraft>& a) { return a->id == id; }),
                         world.aircraft.end());
}

double SimValueOf(SimAircraft* aircraft, uint32_t variable, uint32_t unit, uint32_t index) {
    auto written = aircraft->written.find(SimValueKey(variable, unit, index));
    if (written != aircraft->written.end()) return written->second;
    if (!aircraft->scripted) return 0.0;
    return SimScriptedValue(world.worldSeconds + aircraft->timeOffset, variable, unit, index);
}

// Scripted aircraft that the module did not drive in the previous frame fly
// on; AI aircraft whose time has come appear or leave.
void SimUpdateScriptedAircraft() {
    for (auto it = world.pendingAi.begin(); it != world.pendingAi.end();) {
        if (world.worldSeconds >= it->appearSeconds) {
            SimAircraft* ai = SimAddAircraft(it->id, it->title, true);
            ai->timeOffset = it->timeOffset;
            ai->eastOffset = it->eastOffsetMetres;
            ai->northOffset = it->northOffsetMetres;
            ai->leaveSeconds = it->leaveSeconds;
            float elevation = 10.0f * static_cast<float>(it->id % 7);
            std::memcpy(ai->elevationBlock + 0x121, &elevation, 4);
            it = world.pendingAi.erase(it);
        } else {
            ++it;
        }
    }
    for (size_t i = 0; i < world.aircraft.size();) {
        SimAircraft* aircraft = world.aircraft[i].get();
        if (aircraft->leaveSeconds >= 0 && world.worldSeconds >= aircraft->leaveSeconds) {
            SimRemoveAircraft(aircraft->id);
            continue;
        }
        bool drivenLastFrame = DrivenNow(aircraft) && aircraft->drivenFrame + 1 >= world.frame;
        if (aircraft->scripted && !drivenLastFrame) {
            aircraft->written.clear();
            SimScriptedStateOffset(world.worldSeconds + aircraft->timeOffset, aircraft->eastOffset,
                                   aircraft->northOffset, &aircraft->state);
        }
        ++i;
    }
}

bool SimAircraftExists(uint32_t id) { return SimFindAircraft(id) != nullptr; }

std::vector<uint32_t> SimAircraftIds() {
    std::vector<uint32_t> ids;
    for (auto& aircraft : world.aircraft) ids.push_back(aircraft->id);
    return ids;
}

bool SimGetAircraftState(uint32_t id, SimAircraftState* state) {
    SimAircraft* aircraft = SimFindAircraft(id);
    if (!aircraft) return false;
    *state = aircraft->state;
    return true;
}

double SimAircraftValue(uint32_t id, uint32_t variable, uint32_t unit, uint32_t index) {
    SimAircraft* aircraft = SimFindAircraft(id);
    return aircraft ? SimValueOf(aircraft, variable, unit, index) : 0.0;
}

std::string SimAircraftTitle(uint32_t id) {
    SimAircraft* aircraft = SimFindAircraft(id);
    return aircraft ? aircraft->title : std::string();
}
