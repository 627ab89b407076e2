// The host binding: each operation reads its interface pointer from
// ImportTable and calls through the slot at the host's byte offset with the
// host's calling convention. Objects the host returns begin with a pointer to
// their own operation table and take themselves as first argument.
#include "core/host/host.h"

#include <cstring>

#include "core/host/entry_records.h"

// The table the host fills with its interfaces when it loads the module.
extern "C" {
ImportEntry ImportTable[HostInterfaceCount + 1] = {
    {InterfaceCore, nullptr},     {InterfaceVariables, nullptr}, {InterfaceAircraft, nullptr},
    {InterfaceState, nullptr},    {InterfaceTraffic, nullptr},   {InterfaceViews, nullptr},
    {InterfaceReserved, nullptr}, {InterfaceTerrain, nullptr},   {InterfaceGeometry, nullptr},
    {InterfaceAi, nullptr},       {InterfaceDrawing, nullptr},   {0, nullptr},
};
}

#if defined(_WIN32) && !defined(_WIN64)
static_assert(sizeof(ImportTable) == 96, "twelve entries of two 32-bit fields");
#endif

// ---------------------------------------------------------------- lookup

static void* Interface(uint32_t id) {
    for (int i = 0; i < HostInterfaceCount; ++i)
        if (ImportTable[i].moduleId == id) return ImportTable[i].interfacePointer;
    return nullptr;
}

bool HostInterfacesPresent() {
    for (int i = 0; i < HostInterfaceCount; ++i)
        if (!ImportTable[i].interfacePointer) return false;
    return true;
}

// Operation at byteOffset of interface id.
template <typename Fn>
static Fn Operation(uint32_t id, ptrdiff_t byteOffset) {
    return HostSlotAs<Fn>(Interface(id), byteOffset);
}

// Operation at byteOffset of a host object's own table.
template <typename Fn>
static Fn ObjectOperation(void* object, ptrdiff_t byteOffset) {
    void* table = HostSlotAs<void*>(object, 0);
    return HostSlotAs<Fn>(table, byteOffset);
}

// ---------------------------------------------------------------- interface 1

void HostModalBegin() { Operation<void(HOSTCALL*)()>(InterfaceCore, 0x3D4)(); }
void HostModalEnd() { Operation<void(HOSTCALL*)()>(InterfaceCore, 0x3D8)(); }

void HostRegisterHandler(uint32_t eventId, EventHandler handler) {
    Operation<void(HOSTCALL*)(uint32_t, EventHandler)>(InterfaceCore, 0x438)(eventId, handler);
}

void HostUnregisterHandler(uint32_t eventId, EventHandler handler) {
    Operation<void(HOSTCALL*)(uint32_t, EventHandler)>(InterfaceCore, 0x43C)(eventId, handler);
}

DispatchFunction HostDispatchFunction() { return HostSlotAs<DispatchFunction>(Interface(InterfaceCore), 0x440); }

void HostSetDispatchFunction(DispatchFunction function) {
    HostSlotAs<DispatchFunction>(Interface(InterfaceCore), 0x440) = function;
}

double HostStepSeconds() { return Operation<double(HOSTCALL*)()>(InterfaceCore, 0x49C)(); }

// ---------------------------------------------------------------- interface 0x19

AircraftObject* HostUserAircraft() {
    return Operation<AircraftObject*(HOSTCALL*)()>(InterfaceAircraft, 0x70)();
}

AircraftObject* HostAircraftById(uint32_t aircraftId) {
    return Operation<AircraftObject*(HOSTCALL*)(uint32_t)>(InterfaceAircraft, 0x74)(aircraftId);
}

// ---------------------------------------------------------------- interface 0x17

uint32_t HostCreateAiAircraft(const char* title) {
    void* created = Operation<void*(HOSTCALL*)(const char*, uint32_t, uint32_t, uint32_t)>(InterfaceAi, 0x20)(
        title, 1, 0, 0);
    if (!created) return 0;
    ObjectOperation<uint32_t(HOSTCALL*)(void*)>(created, 0x24)(created);
    return ObjectOperation<uint32_t(HOSTCALL*)(void*)>(created, 0)(created);
}

void HostRemoveAiAircraft(uint32_t aircraftId) {
    Operation<void(HOSTCALL*)(uint32_t, uint32_t)>(InterfaceAi, 0x28)(aircraftId, 0);
}

// The aircraft list: its operation 0x0C (next) or 0x10 (previous) gives an
// entry whose operation 0 is the neighbouring id.
static uint32_t NeighbourAircraft(uint32_t aircraftId, ptrdiff_t direction) {
    void* list = Operation<void*(HOSTCALL*)()>(InterfaceAi, 0x4C)();
    void* entry = ObjectOperation<void*(HOSTCALL*)(void*, uint32_t)>(list, direction)(list, aircraftId);
    return ObjectOperation<uint32_t(HOSTCALL*)(void*)>(entry, 0)(entry);
}

uint32_t HostNextAircraft(uint32_t aircraftId) { return NeighbourAircraft(aircraftId, 0x0C); }
uint32_t HostPrevAircraft(uint32_t aircraftId) { return NeighbourAircraft(aircraftId, 0x10); }

const char* HostAircraftTitle(uint32_t aircraftId) {
    // Without the host's AI interface there is no title to give.
    if (!Interface(InterfaceAi)) return nullptr;
    void* info = Operation<void*(HOSTCALL*)(uint32_t)>(InterfaceAi, 0x50)(aircraftId);
    if (!info) return nullptr;
    return ObjectOperation<const char*(HOSTCALL*)(void*)>(info, 4)(info);
}

float HostReferenceElevation(uint32_t aircraftId) {
    AircraftObject* aircraft = HostAircraftById(aircraftId);
    if (!aircraft) return 0.0f;
    // Field 0x28 of the object points to a pointer to a block holding the
    // elevation in feet at byte 0x121.
    void** indirect = HostSlotAs<void**>(aircraft, 0x28);
    const char* block = static_cast<const char*>(*indirect);
    float feet;
    std::memcpy(&feet, block + 0x121, sizeof feet);
    return feet;
}

// ---------------------------------------------------------------- interface 0x0F

uint32_t HostLookupVariable(const char* name) {
    return Operation<uint32_t(HOSTCALL*)(const char*)>(InterfaceVariables, 0xCC)(name);
}

double HostGetVariable(uint32_t handle) {
    return Operation<double(HOSTCALL*)(uint32_t)>(InterfaceVariables, 0xD4)(handle);
}

void HostSetVariable(uint32_t handle, double value) {
    Operation<void(HOSTCALL*)(uint32_t, double)>(InterfaceVariables, 0xDC)(handle, value);
}

void HostSendKeyEvent(uint32_t eventId, uint32_t value) {
    Operation<void(HOSTCALL*)(uint32_t, uint32_t)>(InterfaceVariables, 0x90)(eventId, value);
}

// ---------------------------------------------------------------- interface 0x37

void HostGetTraffic(TrafficRecord* record) {
    Operation<void(HOSTCALL*)(TrafficRecord*)>(InterfaceTraffic, 0x24)(record);
}

void HostSetTraffic(TrafficRecord* record) {
    Operation<void(HOSTCALL*)(TrafficRecord*)>(InterfaceTraffic, 0x20)(record);
}

// ---------------------------------------------------------------- interfaces 0x0A, 0x0D

void* HostMainView() { return HostSlotAs<void*>(Interface(InterfaceViews), 0x7DC); }

void HostRequestMainViewRedraw() {
    char* view = static_cast<char*>(HostMainView());
    if (!view) return;
    uint32_t flags;
    std::memcpy(&flags, view + 8, sizeof flags);
    flags |= 0x80000000u;
    std::memcpy(view + 8, &flags, sizeof flags);
}

// DrawText takes its style in EAX and the drawing object, the two colours
// and the text on the stack. On the 32-bit host the function is the code at
// 0x64A0 bytes before interface 0x0A, called at that address.
#if HOST_DRAWTEXT_IS_CODE
void HostDrawText(uint32_t style, void* drawObject, uint32_t colour1, uint32_t colour2, const char* text) {
    struct {
        void* function;
        uint32_t style;
        void* drawObject;
        uint32_t colour1;
        uint32_t colour2;
        const char* text;
    } call = {HostDrawTextCode(Interface(InterfaceViews)), style, drawObject, colour1, colour2, text};
    // The stack pointer is restored from ESI afterwards, so it does not matter
    // whether the host pops its arguments or leaves them.
    __asm__ volatile(
        "movl %%esp, %%esi\n\t"
        "pushl 20(%0)\n\t"
        "pushl 16(%0)\n\t"
        "pushl 12(%0)\n\t"
        "pushl 8(%0)\n\t"
        "movl 4(%0), %%eax\n\t"
        "call *(%0)\n\t"
        "movl %%esi, %%esp\n\t"
        :
        : "r"(&call)
        : "eax", "ecx", "edx", "esi", "memory", "cc");
}
#else
void HostDrawText(uint32_t style, void* drawObject, uint32_t colour1, uint32_t colour2, const char* text) {
    typedef void (*DrawTextFunction)(uint32_t, void*, uint32_t, uint32_t, const char*);
    reinterpret_cast<DrawTextFunction>(HostDrawTextSlot(Interface(InterfaceViews)))(style, drawObject, colour1,
                                                                                     colour2, text);
}
#endif

void HostBeginDraw(void* drawObject) { Operation<void(HOSTCALL*)(void*)>(InterfaceDrawing, 0x7C)(drawObject); }
void HostEndDraw() { Operation<void(HOSTCALL*)()>(InterfaceDrawing, 0x84)(); }

// ---------------------------------------------------------------- cameras and geometry

static char* hostState;  // interface 2, the host's state block

template <typename T>
static T StateField(ptrdiff_t offset) {
    T value;
    std::memcpy(&value, hostState + offset, sizeof value);
    return value;
}

template <typename T>
static void SetStateField(ptrdiff_t offset, T value) {
    std::memcpy(hostState + offset, &value, sizeof value);
}

void HostSetViewCamera(const HostPosition* camera, Angle32 pitch, Angle32 bank, Angle32 heading,
                       const float* matrix4x4, int32_t zoom) {
    typedef void(HOSTCALL * SetViewCameraFunction)(uint32_t, const HostPosition*, Angle32, Angle32, Angle32,
                                                   const float*, int32_t);
    uint32_t token = StateField<uint32_t>(0x1184);
    Operation<SetViewCameraFunction>(InterfaceViews, 0x50)(token, camera, pitch, bank, heading, matrix4x4, zoom);
}

double HostGroundElevation(const HostPosition* position) {
    double metres = 0.0;
    Operation<void(HOSTCALL*)(const HostPosition*, double*, uint32_t, uint32_t, uint32_t)>(InterfaceTerrain, 0x48)(
        position, &metres, 0, 0, 9);
    return metres;
}

double HostPositionDistance(const HostPosition* first, const HostPosition* second) {
    return Operation<double(HOSTCALL*)(const HostPosition*, const HostPosition*)>(InterfaceGeometry, 0x184)(first,
                                                                                                          second);
}

void HostPositionVector(const HostPosition* aircraft, const HostPosition* camera, double out[3]) {
    Operation<void(HOSTCALL*)(const HostPosition*, const HostPosition*, double*)>(InterfaceGeometry, 0xB4)(
        aircraft, camera, out);
}

void HostVectorAngles(const double vector[3], double angles[3]) {
    Operation<void(HOSTCALL*)(const double*, double*)>(InterfaceGeometry, 0xD4)(vector, angles);
}

void HostAnglesMatrix(float matrix[16], Angle32 pitch, Angle32 bank, Angle32 heading) {
    Operation<void(HOSTCALL*)(float*, Angle32, Angle32, Angle32)>(InterfaceGeometry, 0x118)(matrix, pitch, bank,
                                                                                           heading);
}

// ---------------------------------------------------------------- AircraftObject

void AircraftGetBlock(AircraftObject* aircraft, uint32_t record, void* buffer) {
    ObjectOperation<void(HOSTCALL*)(AircraftObject*, uint32_t, void*, uint32_t)>(aircraft, 0x08)(aircraft, record,
                                                                                                buffer, 0);
}

double AircraftGetValue(AircraftObject* aircraft, uint32_t variable, uint32_t unit, uint32_t index) {
    double value = 0.0;
    ObjectOperation<void(HOSTCALL*)(AircraftObject*, uint32_t, uint32_t, double*, uint32_t)>(aircraft, 0x10)(
        aircraft, variable, unit, &value, index);
    return value;
}

void AircraftSetBlock(AircraftObject* aircraft, uint32_t record, const void* buffer) {
    ObjectOperation<void(HOSTCALL*)(AircraftObject*, uint32_t, const void*, uint32_t)>(aircraft, 0x14)(
        aircraft, record, buffer, 0);
}

void AircraftSetValue(AircraftObject* aircraft, uint32_t variable, uint32_t unit, double value, uint32_t index) {
    ObjectOperation<void(HOSTCALL*)(AircraftObject*, uint32_t, uint32_t, double, uint32_t)>(aircraft, 0x18)(
        aircraft, variable, unit, value, index);
}

void AircraftSendEvent(AircraftObject* aircraft, uint32_t eventId, uint32_t value) {
    ObjectOperation<void(HOSTCALL*)(AircraftObject*, uint32_t, uint32_t, uint32_t)>(aircraft, 0x1C)(
        aircraft, eventId, value, 0);
}

void AircraftSetPosition(AircraftObject* aircraft, const void* position24, const void* orientation12,
                         uint32_t onGround) {
    ObjectOperation<void(HOSTCALL*)(AircraftObject*, const void*, const void*, uint32_t, uint32_t)>(aircraft, 0x20)(
        aircraft, position24, orientation12, onGround, 0);
}

// ---------------------------------------------------------------- HostState

void HostCacheState() { hostState = static_cast<char*>(Interface(InterfaceState)); }

HostDateTime HostGetDateTime() {
    HostDateTime now;
    now.second = StateField<uint8_t>(0x23A);
    now.hour = StateField<uint32_t>(0x23C);
    now.minute = StateField<uint32_t>(0x240);
    now.dayOfYear = StateField<uint16_t>(0x244);
    now.year = StateField<int16_t>(0x246);
    return now;
}

void HostSetDate(int16_t year, uint16_t dayOfYear, uint32_t hour, uint32_t minute) {
    SetStateField<int16_t>(0x246, year);
    SetStateField<uint16_t>(0x244, dayOfYear);
    SetStateField<uint32_t>(0x23C, hour);
    SetStateField<uint32_t>(0x240, minute);
}

void HostSetSecond(uint8_t second) { SetStateField<uint8_t>(0x23A, second); }
void HostSetPauseRequest(uint32_t pause) { SetStateField<uint32_t>(0x268, pause); }
bool HostPaused() { return StateField<uint32_t>(0x26C) != 0; }
void HostSetContinuousMove(uint32_t value) { SetStateField<uint32_t>(0x624, value); }
uint16_t HostPlaybackWord() { return StateField<uint16_t>(0x82C); }
void HostSetPlaybackWord(uint16_t value) { SetStateField<uint16_t>(0x82C, value); }
uint16_t HostSimulationRate() { return StateField<uint16_t>(0xC12); }
void HostSetSimulationRate(uint16_t rate) { SetStateField<uint16_t>(0xC12, rate); }

void* HostActiveViewWindow() {
    void** current = StateField<void**>(0x1190);
    return current ? *current : nullptr;
}

HostPosition* HostTowerPosition() { return reinterpret_cast<HostPosition*>(hostState + 0xD50); }

// ---------------------------------------------------------------- view windows

uint8_t ViewWindowKind(void* viewWindow) { return static_cast<uint8_t*>(viewWindow)[0x20]; }
uint8_t ViewWindowHeldByte(void* viewWindow) { return static_cast<uint8_t*>(viewWindow)[0x45]; }
void ViewWindowSetHeldByte(void* viewWindow, uint8_t value) { static_cast<uint8_t*>(viewWindow)[0x45] = value; }

void HostWriteAutozoomWords(uint16_t zoom) {
    volatile uint16_t* words = reinterpret_cast<volatile uint16_t*>(static_cast<uintptr_t>(0x20CE32B0u));
    words[0] = zoom;
    words[1] = zoom;
}
