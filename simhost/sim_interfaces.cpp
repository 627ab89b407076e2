// The stand-in's eleven interfaces, laid out as the module expects them:
// operation tables with each operation at the host's byte offset (scaled to
// pointer slots on 64-bit builds), the state block, and DrawText 0x64A0
// bytes before interface 0x0A: code there on i686, as in the host, and a
// pointer slot in the x86_64 test layout.
#include <cmath>
#include <cstring>

#include "sim_internal.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <sys/mman.h>
#endif

namespace {

const size_t TableSlots = 0x800;  // covers offsets up to 0x1FFC

void* tables[6][TableSlots];  // interfaces 1, 0x0F, 0x19, 0x37, 0x0D, 0x17
void* terrainTable[TableSlots];
void* geometryTable[TableSlots];
void* reservedTable[4];
// Interface 0x0A with room for DrawText before it: DrawTextDistance bytes
// (scaled on x86_64) and then the operation table.
const size_t ViewsAreaSlots = DrawTextDistance / 4 + TableSlots + 16;
void** viewsArea;
uint8_t hostState[0x2000];
void* activeViewPointer;  // HostState 0x1190 points here

template <typename Fn>
void Put(void* table, ptrdiff_t offset, Fn function) {
    HostSlotAs<void*>(table, offset) = reinterpret_cast<void*>(function);
}

void* ViewsInterface() { return viewsArea + DrawTextDistance / 4; }

SimLogEntry& Log(SimLogKind kind) { return SimAppendLog(kind); }

// ---- interface 1
// Boxes and dialogs answered under Windows are logged when collected: what
// was shown before these calls goes into the log before them, so that the
// log keeps the order in which the module did things.
void HOSTCALL ModalBegin() {
    ++world.modalDepth;
    SimPlatformCollect();
    Log(LogModalBegin);
}
void HOSTCALL ModalEnd() {
    --world.modalDepth;
    SimPlatformCollect();
    Log(LogModalEnd);
}
void HOSTCALL RegisterHandler(uint32_t eventId, EventHandler handler) {
    world.handlers.emplace_back(eventId, handler);
    Log(LogRegister).a = eventId;
}
void HOSTCALL UnregisterHandler(uint32_t eventId, EventHandler handler) {
    for (auto it = world.handlers.begin(); it != world.handlers.end(); ++it)
        if (it->first == eventId && it->second == handler) {
            world.handlers.erase(it);
            break;
        }
    Log(LogUnregister).a = eventId;
}
double HOSTCALL StepSeconds() {
    world.x87ControlWordSeen = SimReadX87ControlWord();
    return world.stepSeconds;
}
uint32_t HOSTCALL HostOwnDispatch(uint32_t type, uint32_t eventId, void*) {
    if (type == 8 || type == 9) {
        SimLogEntry& entry = Log(LogHostInput);
        entry.a = type;
        entry.b = eventId;
    }
    return world.hostDispatchResult;
}

// ---- interface 0x19
void* HOSTCALL UserAircraft() { return SimFindAircraft(1); }
void* HOSTCALL AircraftById(uint32_t id) { return SimFindAircraft(id); }

// ---- interface 0x17
void* HOSTCALL CreateAiAircraft(const char* title, uint32_t, uint32_t, uint32_t) {
    if (world.aiCreationFails) return nullptr;
    uint32_t id = world.nextAiId++;
    SimAircraft* aircraft = SimAddAircraft(id, title ? title : "", false);
    std::memcpy(aircraft->elevationBlock + 0x121, &world.config.createdAiReferenceElevation, 4);
    SimLogEntry& entry = Log(LogAiCreated);
    entry.a = id;
    entry.text = aircraft->title;
    return aircraft;
}
void HOSTCALL RemoveAiAircraft(uint32_t id, uint32_t) {
    SimRemoveAircraft(id);
    Log(LogAiRemoved).a = id;
}

// The aircraft list and its entries.
struct ListEntry {
    void* table;
    uint32_t id;
};
void* listEntryTable[4];
ListEntry listEntry = {listEntryTable, 0};
uint32_t HOSTCALL EntryId(void* entry) { return static_cast<ListEntry*>(entry)->id; }

uint32_t Neighbour(uint32_t id, int direction) {
    std::vector<uint32_t> ids = SimAircraftIds();
    if (world.userMissing) ids.erase(ids.begin());
    if (ids.empty()) return 1;
    size_t at = 0;
    while (at < ids.size() && ids[at] != id) ++at;
    if (at == ids.size()) return direction > 0 ? ids.front() : ids.back();
    size_t next = (at + ids.size() + direction) % ids.size();
    return ids[next];
}
void* HOSTCALL ListNext(void*, uint32_t id) {
    listEntry.id = Neighbour(id, 1);
    return &listEntry;
}
void* HOSTCALL ListPrev(void*, uint32_t id) {
    listEntry.id = Neighbour(id, -1);
    return &listEntry;
}
void* listTable[8];
struct {
    void* table;
} aircraftList = {listTable};
void* HOSTCALL AircraftListObject() { return &aircraftList; }

struct TitleInfo {
    void* table;
    std::string title;
};
void* titleTable[4];
TitleInfo titleInfo = {titleTable, std::string()};
const char* HOSTCALL TitleText(void* info) { return static_cast<TitleInfo*>(info)->title.c_str(); }
void* HOSTCALL AircraftTitleInfo(uint32_t id) {
    SimAircraft* aircraft = SimFindAircraft(id);
    if (!aircraft) return nullptr;
    titleInfo.title = aircraft->title;
    return &titleInfo;
}

// ---- interface 0x0F
uint32_t HOSTCALL LookupVariable(const char* name) {
    std::string key(name ? name : "");
    for (size_t i = 0; i < world.variableNames.size(); ++i)
        if (world.variableNames[i] == key) return static_cast<uint32_t>(i + 1);
    world.variableNames.push_back(key);
    world.variableValues.push_back(0.0);
    return static_cast<uint32_t>(world.variableNames.size());
}
double HOSTCALL GetVariable(uint32_t handle) {
    return handle >= 1 && handle <= world.variableValues.size() ? world.variableValues[handle - 1] : 0.0;
}
void HOSTCALL SetVariable(uint32_t handle, double value) {
    if (handle < 1 || handle > world.variableValues.size()) return;
    world.variableValues[handle - 1] = value;
    SimLogEntry& entry = Log(LogVariableSet);
    entry.text = world.variableNames[handle - 1];
    entry.value = value;
}
void HOSTCALL SendKeyEvent(uint32_t eventId, uint32_t value) {
    SimLogEntry& entry = Log(LogKeyEvent);
    entry.a = eventId;
    entry.b = value;
}

// ---- interface 0x37
void HOSTCALL GetTraffic(uint32_t* record) {
    std::memset(record, 0, 16);
    record[0] = world.trafficLevel;
    record[1] = 0x5A5A5A5A;  // the host's own fields; the module must carry them back
}
void HOSTCALL SetTraffic(const uint32_t* record) {
    world.trafficLevel = record[0];
    Log(LogTrafficSet).a = record[0];
}

// ---- interfaces 0x0A and 0x0D
void DrawTextImplementation(uint32_t style, void*, uint32_t colour1, uint32_t colour2, const char* text) {
    SimLogEntry& entry = Log(LogStatusLine);
    entry.text = text ? text : "";
    entry.a = style;
    entry.b = colour1;
    entry.c = colour2;
    entry.d = world.drawing ? 1 : 0;
}
void HOSTCALL BeginDraw(void*) { world.drawing = true; }
void HOSTCALL EndDraw() { world.drawing = false; }
void HOSTCALL SetViewCamera(uint32_t token, const HostPosition* position, Angle32 pitch, Angle32 bank,
                            Angle32 heading, const float* matrix, int32_t zoom) {
    SimLogEntry& entry = Log(LogCamera);
    entry.a = token;
    entry.value = zoom;
    SimCameraPlacement placement{};
    placement.frame = world.frame;
    placement.window = world.processingWindow;
    placement.token = token;
    if (position) placement.position = *position;
    placement.pitch = pitch;
    placement.bank = bank;
    placement.heading = heading;
    placement.hasMatrix = matrix != nullptr;
    if (matrix) std::memcpy(placement.matrix, matrix, sizeof placement.matrix);
    placement.zoom = zoom;
    world.cameras.push_back(placement);
}

// ---- interfaces 0x0E and 0x14: terrain and geometry with real math
const double Pi = 3.14159265358979323846;
const double MetresPerTurnEast = 40075000.0;

void HOSTCALL GroundElevation(const HostPosition* position, double* metres, uint32_t, uint32_t, uint32_t flags) {
    world.lastGroundFlags = flags;
    *metres = SimGroundElevation(*position);
}

void Offset(const HostPosition* a, const HostPosition* b, double out[3]) { SimOffsetMetres(*a, *b, out); }

}  // namespace

// East, up, north metres from a to b.
void SimOffsetMetres(const HostPosition& from, const HostPosition& to, double out[3]) {
    const HostPosition* a = &from;
    const HostPosition* b = &to;
    double latitudeRadians = static_cast<double>(a->latitude) / 4294967296.0 / (10001750.0 / 90.0) * Pi / 180.0;
    int64_t longitudeDelta = static_cast<int64_t>(static_cast<uint64_t>(b->longitude) - static_cast<uint64_t>(a->longitude));
    out[0] = static_cast<double>(longitudeDelta) / 18446744073709551616.0 * MetresPerTurnEast * std::cos(latitudeRadians);
    out[1] = static_cast<double>(b->altitude - a->altitude) / 4294967296.0;
    out[2] = static_cast<double>(b->latitude - a->latitude) / 4294967296.0;
}

namespace {

double HOSTCALL PositionDistance(const HostPosition* a, const HostPosition* b) {
    double v[3];
    Offset(a, b, v);
    return std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
}
void HOSTCALL PositionVector(const HostPosition* aircraft, const HostPosition* camera, double* out) {
    Offset(camera, aircraft, out);  // from the camera towards the aircraft
}
void HOSTCALL VectorAngles(const double* v, double* angles) {
    double horizontal = std::sqrt(v[0] * v[0] + v[2] * v[2]);
    angles[0] = -std::atan2(v[1], horizontal);  // pitch, positive nose-down
    angles[1] = 0.0;
    angles[2] = std::atan2(v[0], v[2]);         // heading, clockwise from north
}
void HOSTCALL AnglesMatrix(float* m, Angle32 pitch, Angle32 bank, Angle32 heading) {
    double p = pitch * 2.0 * Pi / 4294967296.0, b = bank * 2.0 * Pi / 4294967296.0,
           h = heading * 2.0 * Pi / 4294967296.0;
    double cp = std::cos(p), sp = std::sin(p), cb = std::cos(b), sb = std::sin(b), ch = std::cos(h),
           sh = std::sin(h);
    double r[3][3] = {{ch * cb + sh * sp * sb, -ch * sb + sh * sp * cb, sh * cp},
                      {cp * sb, cp * cb, -sp},
                      {-sh * cb + ch * sp * sb, sh * sb + ch * sp * cb, ch * cp}};
    for (int i = 0; i < 16; ++i) m[i] = 0.0f;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) m[i * 4 + j] = static_cast<float>(r[i][j]);
    m[15] = 1.0f;
}

#if HOST_DRAWTEXT_IS_CODE
// DrawText as the host has it: code at its address, taking the style in EAX.
// These bytes move EAX onto the stack in front of the other four arguments
// and jump to the stand-in's __stdcall implementation, which pops all five:
//   59              pop  ecx          ; return address
//   50              push eax          ; the style, now the first argument
//   51              push ecx
//   B9 xx xx xx xx  mov  ecx, SimDrawTextStd
//   FF E1           jmp  ecx
void __stdcall SimDrawTextStd(uint32_t style, void* object, uint32_t colour1, uint32_t colour2, const char* text) {
    DrawTextImplementation(style, object, colour1, colour2, text);
}

void PlaceDrawTextCode(void* at) {
    uint8_t* code = static_cast<uint8_t*>(at);
    const uint32_t target = reinterpret_cast<uint32_t>(&SimDrawTextStd);
    const uint8_t head[] = {0x59, 0x50, 0x51, 0xB9};
    std::memcpy(code, head, sizeof head);
    std::memcpy(code + 4, &target, 4);
    code[8] = 0xFF;
    code[9] = 0xE1;
    FlushInstructionCache(GetCurrentProcess(), code, 10);
}

// The area lives in executable memory: its first bytes are run.
void** AllocateViewsArea() {
    return static_cast<void**>(
        VirtualAlloc(nullptr, ViewsAreaSlots * sizeof(void*), MEM_RESERVE | MEM_COMMIT, PAGE_EXECUTE_READWRITE));
}
#else
void** AllocateViewsArea() {
    static void* area[ViewsAreaSlots];
    return area;
}
#endif

}  // namespace

// The two fixed host addresses written under tower autozoom: map a page there.
static void MapAutozoomPage() {
    static bool mapped;
    if (mapped) return;
    void* want = reinterpret_cast<void*>(static_cast<uintptr_t>(0x20CE3000u));
#if defined(_WIN32)
    mapped = VirtualAlloc(want, 0x1000, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE) != nullptr;
#else
    void* got = mmap(want, 0x1000, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED_NOREPLACE, -1, 0);
    mapped = got == want;
#endif
}

void SimBuildInterfaces() {
    if (!viewsArea) viewsArea = AllocateViewsArea();
    std::memset(tables, 0, sizeof tables);
    std::memset(viewsArea, 0, ViewsAreaSlots * sizeof(void*));
    std::memset(hostState, 0, sizeof hostState);
    void* core = tables[0];
    Put(core, 0x3D4, ModalBegin);
    Put(core, 0x3D8, ModalEnd);
    Put(core, 0x438, RegisterHandler);
    Put(core, 0x43C, UnregisterHandler);
    Put(core, 0x440, HostOwnDispatch);
    Put(core, 0x49C, StepSeconds);
    void* variables = tables[1];
    Put(variables, 0xCC, LookupVariable);
    Put(variables, 0xD4, GetVariable);
    Put(variables, 0xDC, SetVariable);
    Put(variables, 0x90, SendKeyEvent);
    void* aircraft = tables[2];
    Put(aircraft, 0x70, UserAircraft);
    Put(aircraft, 0x74, AircraftById);
    void* traffic = tables[3];
    Put(traffic, 0x24, GetTraffic);
    Put(traffic, 0x20, SetTraffic);
    void* drawing = tables[4];
    Put(drawing, 0x7C, BeginDraw);
    Put(drawing, 0x84, EndDraw);
    void* ai = tables[5];
    Put(ai, 0x20, CreateAiAircraft);
    Put(ai, 0x28, RemoveAiAircraft);
    Put(ai, 0x4C, AircraftListObject);
    Put(ai, 0x50, AircraftTitleInfo);
    Put(listTable, 0x0C, ListNext);
    Put(listTable, 0x10, ListPrev);
    Put(listEntryTable, 0, EntryId);
    Put(titleTable, 4, TitleText);
    void* views = ViewsInterface();
    Put(views, 0x50, SetViewCamera);
#if HOST_DRAWTEXT_IS_CODE
    PlaceDrawTextCode(HostDrawTextCode(views));
#else
    HostDrawTextSlot(views) = reinterpret_cast<void*>(DrawTextImplementation);
#endif
    HostSlotAs<void*>(views, 0x7DC) = &world.mainView;
    Put(terrainTable, 0x48, GroundElevation);
    Put(geometryTable, 0x184, PositionDistance);
    Put(geometryTable, 0xB4, PositionVector);
    Put(geometryTable, 0xD4, VectorAngles);
    Put(geometryTable, 0x118, AnglesMatrix);
    activeViewPointer = nullptr;
    void** pointerField = &activeViewPointer;
    std::memcpy(hostState + 0x1190, &pointerField, sizeof pointerField);
    uint16_t rate = 256;
    std::memcpy(hostState + 0xC12, &rate, 2);
    MapAutozoomPage();
}

void* SimInterfacePointer(uint32_t id) {
    switch (id) {
    case 0x01: return tables[0];
    case 0x0F: return tables[1];
    case 0x19: return tables[2];
    case 0x02: return hostState;
    case 0x37: return tables[3];
    case 0x0A: return ViewsInterface();
    case 0x2C: return reservedTable;
    case 0x0E: return terrainTable;
    case 0x14: return geometryTable;
    case 0x17: return tables[5];
    case 0x0D: return tables[4];
    default: return nullptr;
    }
}

DispatchFunction SimCurrentDispatch() { return HostSlotAs<DispatchFunction>(tables[0], 0x440); }

uint8_t* SimHostStateBlock() { return hostState; }

// The host's clock runs on from whatever its fields hold, so a date the
// module writes is kept and carries on.
void SimAdvanceHostClock(double seconds) {
    static double fraction;
    if (seconds < 0) {  // start of a world: the configured time of day
        const SimConfig& c = world.config;
        fraction = 0;
        hostState[0x23A] = c.second;
        std::memcpy(hostState + 0x23C, &c.hour, 4);
        std::memcpy(hostState + 0x240, &c.minute, 4);
        std::memcpy(hostState + 0x244, &c.dayOfYear, 2);
        std::memcpy(hostState + 0x246, &c.year, 2);
        return;
    }
    fraction += seconds;
    while (fraction >= 1.0) {
        fraction -= 1.0;
        uint32_t hour, minute;
        uint16_t day;
        std::memcpy(&hour, hostState + 0x23C, 4);
        std::memcpy(&minute, hostState + 0x240, 4);
        std::memcpy(&day, hostState + 0x244, 2);
        if (++hostState[0x23A] >= 60) {
            hostState[0x23A] = 0;
            if (++minute >= 60) {
                minute = 0;
                if (++hour >= 24) {
                    hour = 0;
                    ++day;
                }
            }
        }
        std::memcpy(hostState + 0x23C, &hour, 4);
        std::memcpy(hostState + 0x240, &minute, 4);
        std::memcpy(hostState + 0x244, &day, 2);
    }
}

void SimSetActiveViewWindow(void* window) { activeViewPointer = window; }
