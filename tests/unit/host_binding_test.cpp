// The host binding calls each operation at its byte offset with its
// arguments in order. Every slot of every fake interface holds a trap except
// the one under test, so a wrong offset or a swapped argument fails here.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/host/host.h"
#include "core/module.h"

namespace {

const size_t Slots = 0x800;

struct Call {
    std::string name;
    std::vector<uint64_t> args;
    double real = 0;
};
std::vector<Call> calls;
int trapped;

void Trap() { ++trapped; }

struct FakeInterfaces {
    void* core[Slots];
    void* variables[Slots];
    void* aircraft[Slots];
    void* traffic[Slots];
    void* reserved[Slots];
    void* terrain[Slots];
    void* geometry[Slots];
    void* ai[Slots];
    void* drawing[Slots];
    void* viewsArea[DrawTextDistance / 4 + Slots];
    uint8_t state[0x2000];
};
FakeInterfaces* fake;

void* Views() { return fake->viewsArea + DrawTextDistance / 4; }

template <typename Fn>
void Put(void* table, ptrdiff_t offset, Fn function) {
    HostSlotAs<void*>(table, offset) = reinterpret_cast<void*>(function);
}

void Record(const char* name, std::vector<uint64_t> args, double real = 0) {
    calls.push_back(Call{name, std::move(args), real});
}

uint64_t P(const void* pointer) { return reinterpret_cast<uintptr_t>(pointer); }

// An object with its own operation table.
struct FakeObject {
    void* table;
    void* slots[15];
};
void* objectTable[Slots];
FakeObject object = {objectTable, {}};
void* elevationPointer;
uint8_t elevationBlock[0x200];

class HostBinding : public ::testing::Test {
protected:
    void SetUp() override {
        fake = new FakeInterfaces;
        void** tables[] = {fake->core,     fake->variables, fake->aircraft, fake->traffic, fake->reserved,
                           fake->terrain,  fake->geometry,  fake->ai,       fake->drawing};
        for (void** table : tables)
            for (size_t i = 0; i < Slots; ++i) table[i] = reinterpret_cast<void*>(Trap);
        for (void*& slot : fake->viewsArea) slot = reinterpret_cast<void*>(Trap);
        for (void*& slot : objectTable) slot = reinterpret_cast<void*>(Trap);
        std::memset(fake->state, 0, sizeof fake->state);
        calls.clear();
        trapped = 0;
        void* pointers[] = {fake->core,   fake->variables, fake->aircraft, fake->state,    fake->traffic, Views(),
                            fake->reserved, fake->terrain, fake->geometry, fake->ai,       fake->drawing};
        for (int i = 0; i < HostInterfaceCount; ++i) ImportTable[i].interfacePointer = pointers[i];
        HostCacheState();
    }
    void TearDown() override {
        for (int i = 0; i < HostInterfaceCount; ++i) ImportTable[i].interfacePointer = nullptr;
        delete fake;
        EXPECT_EQ(trapped, 0) << "an operation was called at a wrong offset";
    }
    const Call& Only() {
        EXPECT_EQ(calls.size(), 1u);
        static Call none;
        return calls.empty() ? none : calls.back();
    }
};

TEST_F(HostBinding, InterfaceOneOperations) {
    Put(fake->core, 0x3D4, +[]() { Record("ModalBegin", {}); });
    Put(fake->core, 0x3D8, +[]() { Record("ModalEnd", {}); });
    Put(fake->core, 0x438, +[](uint32_t id, EventHandler h) { Record("Register", {id, P(reinterpret_cast<void*>(h))}); });
    Put(fake->core, 0x43C, +[](uint32_t id, EventHandler h) { Record("Unregister", {id, P(reinterpret_cast<void*>(h))}); });
    Put(fake->core, 0x49C, +[]() { return 0.125; });
    EventHandler handler = +[](HostArg, HostArg) {};
    HostModalBegin();
    HostModalEnd();
    HostRegisterHandler(34, handler);
    HostUnregisterHandler(38, handler);
    ASSERT_EQ(calls.size(), 4u);
    EXPECT_EQ(calls[0].name, "ModalBegin");
    EXPECT_EQ(calls[1].name, "ModalEnd");
    EXPECT_EQ(calls[2].args, (std::vector<uint64_t>{34, P(reinterpret_cast<void*>(handler))}));
    EXPECT_EQ(calls[3].args, (std::vector<uint64_t>{38, P(reinterpret_cast<void*>(handler))}));
    EXPECT_EQ(HostStepSeconds(), 0.125);

    DispatchFunction previous = +[](uint32_t, uint32_t, void*) -> uint32_t { return 7; };
    HostSlotAs<DispatchFunction>(fake->core, 0x440) = previous;
    EXPECT_EQ(HostDispatchFunction(), previous);
    DispatchFunction mine = +[](uint32_t, uint32_t, void*) -> uint32_t { return 9; };
    HostSetDispatchFunction(mine);
    EXPECT_EQ(HostSlotAs<DispatchFunction>(fake->core, 0x440), mine);
}

TEST_F(HostBinding, AircraftAndAiOperations) {
    static FakeObject user = {objectTable, {}};
    Put(fake->aircraft, 0x70, +[]() -> void* { return &user; });
    Put(fake->aircraft, 0x74, +[](uint32_t id) -> void* { Record("ById", {id}); return &object; });
    EXPECT_EQ(static_cast<void*>(HostUserAircraft()), static_cast<void*>(&user));
    EXPECT_EQ(static_cast<void*>(HostAircraftById(17)), static_cast<void*>(&object));
    EXPECT_EQ(Only().args, std::vector<uint64_t>{17});
    calls.clear();

    // Creation: the object's operation 0x24, then its operation 0 gives the id.
    Put(fake->ai, 0x20, +[](const char* title, uint32_t a, uint32_t b, uint32_t c) -> void* {
        Record(title, {a, b, c});
        return &object;
    });
    Put(objectTable, 0x24, +[](void* self) -> uint32_t { Record("Activate", {P(self)}); return 0; });
    Put(objectTable, 0x00, +[](void* self) -> uint32_t { Record("Id", {P(self)}); return 4242; });
    EXPECT_EQ(HostCreateAiAircraft("Learjet 45"), 4242u);
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].name, "Learjet 45");
    EXPECT_EQ(calls[0].args, (std::vector<uint64_t>{1, 0, 0}));
    EXPECT_EQ(calls[1].name, "Activate");
    EXPECT_EQ(calls[2].name, "Id");
    calls.clear();
    Put(fake->ai, 0x20, +[](const char*, uint32_t, uint32_t, uint32_t) -> void* { return nullptr; });
    EXPECT_EQ(HostCreateAiAircraft("x"), 0u);

    Put(fake->ai, 0x28, +[](uint32_t id, uint32_t zero) { Record("Remove", {id, zero}); });
    HostRemoveAiAircraft(4242);
    EXPECT_EQ(Only().args, (std::vector<uint64_t>{4242, 0}));
    calls.clear();

    // The aircraft list: 0x0C next, 0x10 previous, entry operation 0 the id.
    static FakeObject list = {objectTable, {}};
    static void* entryTable[4];
    static FakeObject entry = {entryTable, {}};
    Put(fake->ai, 0x4C, +[]() -> void* { return &list; });
    Put(objectTable, 0x0C, +[](void*, uint32_t id) -> void* { Record("Next", {id}); return &entry; });
    Put(objectTable, 0x10, +[](void*, uint32_t id) -> void* { Record("Prev", {id}); return &entry; });
    Put(entryTable, 0, +[](void*) -> uint32_t { return 55; });
    EXPECT_EQ(HostNextAircraft(3), 55u);
    EXPECT_EQ(HostPrevAircraft(4), 55u);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].name, "Next");
    EXPECT_EQ(calls[0].args, std::vector<uint64_t>{3});
    EXPECT_EQ(calls[1].name, "Prev");
    EXPECT_EQ(calls[1].args, std::vector<uint64_t>{4});

    static void* infoTable[4];
    static FakeObject info = {infoTable, {}};
    Put(fake->ai, 0x50, +[](uint32_t id) -> void* { return id == 1 ? &info : nullptr; });
    Put(infoTable, 4, +[](void*) -> const char* { return "Cessna"; });
    EXPECT_STREQ(HostAircraftTitle(1), "Cessna");
    EXPECT_EQ(HostAircraftTitle(2), nullptr);
}

TEST_F(HostBinding, AircraftObjectOperations) {
    Put(objectTable, 0x08, +[](void* self, uint32_t record, void* buffer, uint32_t zero) {
        Record("GetBlock", {P(self), record, P(buffer), zero});
    });
    Put(objectTable, 0x10, +[](void* self, uint32_t var, uint32_t unit, double* out, uint32_t index) {
        Record("GetValue", {P(self), var, unit, index});
        *out = 2.5;
    });
    Put(objectTable, 0x14, +[](void* self, uint32_t record, const void* buffer, uint32_t zero) {
        Record("SetBlock", {P(self), record, P(buffer), zero});
    });
    Put(objectTable, 0x18, +[](void* self, uint32_t var, uint32_t unit, double value, uint32_t index) {
        Record("SetValue", {P(self), var, unit, index}, value);
    });
    Put(objectTable, 0x1C, +[](void* self, uint32_t id, uint32_t value, uint32_t zero) {
        Record("SendEvent", {P(self), id, value, zero});
    });
    Put(objectTable, 0x20, +[](void* self, const void* a, const void* b, uint32_t ground, uint32_t zero) {
        Record("SetPosition", {P(self), P(a), P(b), ground, zero});
    });
    AircraftObject* aircraft = reinterpret_cast<AircraftObject*>(&object);
    uint8_t buffer[36];
    AircraftGetBlock(aircraft, 533, buffer);
    EXPECT_EQ(AircraftGetValue(aircraft, 271, 53, 3), 2.5);
    AircraftSetBlock(aircraft, 536, buffer);
    AircraftSetValue(aircraft, 80, 58, -1.5, 0);
    AircraftSendEvent(aircraft, 65708, 0x1130);
    AircraftSetPosition(aircraft, buffer, buffer + 24, 1);
    ASSERT_EQ(calls.size(), 6u);
    EXPECT_EQ(calls[0].args, (std::vector<uint64_t>{P(&object), 533, P(buffer), 0}));
    EXPECT_EQ(calls[1].args, (std::vector<uint64_t>{P(&object), 271, 53, 3}));
    EXPECT_EQ(calls[2].args, (std::vector<uint64_t>{P(&object), 536, P(buffer), 0}));
    EXPECT_EQ(calls[3].args, (std::vector<uint64_t>{P(&object), 80, 58, 0}));
    EXPECT_EQ(calls[3].real, -1.5);
    EXPECT_EQ(calls[4].args, (std::vector<uint64_t>{P(&object), 65708, 0x1130, 0}));
    EXPECT_EQ(calls[5].args, (std::vector<uint64_t>{P(&object), P(buffer), P(buffer + 24), 1, 0}));
}

TEST_F(HostBinding, ReferenceElevationFollowsTheObjectsPointers) {
    Put(fake->aircraft, 0x74, +[](uint32_t id) -> void* { return id == 9 ? &object : nullptr; });
    float feet = 123.5f;
    std::memcpy(elevationBlock + 0x121, &feet, sizeof feet);
    elevationPointer = elevationBlock;
    HostSlotAs<void*>(&object, 0x28) = &elevationPointer;
    EXPECT_EQ(HostReferenceElevation(9), 123.5f);
    EXPECT_EQ(HostReferenceElevation(10), 0.0f);
}

TEST_F(HostBinding, VariablesTrafficAndDrawing) {
    Put(fake->variables, 0xCC, +[](const char* name) -> uint32_t { Record(name, {}); return 77; });
    Put(fake->variables, 0xD4, +[](uint32_t handle) -> double { Record("Get", {handle}); return 1.0; });
    Put(fake->variables, 0xDC, +[](uint32_t handle, double value) { Record("Set", {handle}, value); });
    Put(fake->variables, 0x90, +[](uint32_t id, uint32_t value) { Record("Key", {id, value}); });
    EXPECT_EQ(HostLookupVariable("LVLDLightNavSwitch"), 77u);
    EXPECT_EQ(HostGetVariable(77), 1.0);
    HostSetVariable(78, 0.0);
    HostSendKeyEvent(66534, 123);
    ASSERT_EQ(calls.size(), 4u);
    EXPECT_EQ(calls[0].name, "LVLDLightNavSwitch");
    EXPECT_EQ(calls[1].args, std::vector<uint64_t>{77});
    EXPECT_EQ(calls[2].args, std::vector<uint64_t>{78});
    EXPECT_EQ(calls[3].args, (std::vector<uint64_t>{66534, 123}));
    calls.clear();

    Put(fake->traffic, 0x24, +[](TrafficRecord* r) { Record("GetTraffic", {P(r)}); r->level = 60; });
    Put(fake->traffic, 0x20, +[](TrafficRecord* r) { Record("SetTraffic", {P(r), r->level}); });
    TrafficRecord record{};
    HostGetTraffic(&record);
    EXPECT_EQ(record.level, 60u);
    record.level = 0;
    HostSetTraffic(&record);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].name, "GetTraffic");
    EXPECT_EQ(calls[1].args, (std::vector<uint64_t>{P(&record), 0}));
    calls.clear();

    static uint8_t mainView[64];
    HostSlotAs<void*>(Views(), 0x7DC) = mainView;
    EXPECT_EQ(HostMainView(), static_cast<void*>(mainView));
    HostRequestMainViewRedraw();
    uint32_t flags;
    std::memcpy(&flags, mainView + 8, 4);
    EXPECT_EQ(flags, 0x80000000u);

    Put(fake->drawing, 0x7C, +[](void* object) { Record("BeginDraw", {P(object)}); });
    Put(fake->drawing, 0x84, +[]() { Record("EndDraw", {}); });
    // This x86_64 layout reaches DrawText through a slot 0x64A0 host bytes
    // (so 0x64A0 / 4 slots) before the interface; the 32-bit host has the
    // function's code there, which only the Windows build can call.
    typedef void (*DrawTextFunction)(uint32_t, void*, uint32_t, uint32_t, const char*);
    DrawTextFunction drawText = +[](uint32_t style, void* object, uint32_t c1, uint32_t c2, const char* text) {
        Record(text, {style, P(object), c1, c2});
    };
    ASSERT_EQ(static_cast<void*>(&HostDrawTextSlot(Views())),
              static_cast<void*>(static_cast<void**>(Views()) - DrawTextDistance / 4));
    HostDrawTextSlot(Views()) = reinterpret_cast<void*>(drawText);
    HostBeginDraw(mainView);
    HostDrawText(7, mainView, 0xFFFFFFFF, 0xC0FF0000, "RECORDING [1 seconds]");
    HostEndDraw();
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].args, std::vector<uint64_t>{P(mainView)});
    EXPECT_EQ(calls[1].name, "RECORDING [1 seconds]");
    EXPECT_EQ(calls[1].args, (std::vector<uint64_t>{7, P(mainView), 0xFFFFFFFF, 0xC0FF0000}));
    EXPECT_EQ(calls[2].name, "EndDraw");
}

TEST_F(HostBinding, CameraAndGeometryOperations) {
    uint32_t token = 0xABCD1234;
    std::memcpy(fake->state + 0x1184, &token, 4);
    Put(Views(), 0x50, +[](uint32_t t, const HostPosition* p, Angle32 a, Angle32 b, Angle32 c, const float* m,
                           int32_t zoom) { Record("Camera", {t, P(p), a, b, c, P(m), static_cast<uint64_t>(zoom)}); });
    HostPosition camera{1, 2, 3};
    float matrix[16];
    HostSetViewCamera(&camera, 10, 20, 30, matrix, 64);
    EXPECT_EQ(Only().args, (std::vector<uint64_t>{token, P(&camera), 10, 20, 30, P(matrix), 64}));
    calls.clear();

    Put(fake->terrain, 0x48, +[](const HostPosition* p, double* out, uint32_t a, uint32_t b, uint32_t flags) {
        Record("Ground", {P(p), a, b, flags});
        *out = 130.0;
    });
    EXPECT_EQ(HostGroundElevation(&camera), 130.0);
    EXPECT_EQ(Only().args, (std::vector<uint64_t>{P(&camera), 0, 0, 9}));
    calls.clear();

    HostPosition other{4, 5, 6};
    Put(fake->geometry, 0x184, +[](const HostPosition* a, const HostPosition* b) -> double {
        Record("Distance", {P(a), P(b)});
        return 42.0;
    });
    Put(fake->geometry, 0xB4, +[](const HostPosition* a, const HostPosition* b, double* out) {
        Record("Vector", {P(a), P(b), P(out)});
    });
    Put(fake->geometry, 0xD4, +[](const double* in, double* out) { Record("Angles", {P(in), P(out)}); });
    Put(fake->geometry, 0x118, +[](float* m, Angle32 p, Angle32 b, Angle32 h) { Record("Matrix", {P(m), p, b, h}); });
    EXPECT_EQ(HostPositionDistance(&camera, &other), 42.0);
    double vector[3], angles[3];
    HostPositionVector(&camera, &other, vector);
    HostVectorAngles(vector, angles);
    HostAnglesMatrix(matrix, 1, 2, 3);
    ASSERT_EQ(calls.size(), 4u);
    EXPECT_EQ(calls[0].args, (std::vector<uint64_t>{P(&camera), P(&other)}));
    EXPECT_EQ(calls[1].args, (std::vector<uint64_t>{P(&camera), P(&other), P(vector)}));
    EXPECT_EQ(calls[2].args, (std::vector<uint64_t>{P(vector), P(angles)}));
    EXPECT_EQ(calls[3].args, (std::vector<uint64_t>{P(matrix), 1, 2, 3}));
}

TEST_F(HostBinding, StateBlockFieldsAtTheirOffsets) {
    uint8_t* s = fake->state;
    s[0x23A] = 9;
    uint32_t hour = 14, minute = 5;
    uint16_t day = 60;
    int16_t year = 2004;
    std::memcpy(s + 0x23C, &hour, 4);
    std::memcpy(s + 0x240, &minute, 4);
    std::memcpy(s + 0x244, &day, 2);
    std::memcpy(s + 0x246, &year, 2);
    HostDateTime now = HostGetDateTime();
    EXPECT_EQ(now.second, 9);
    EXPECT_EQ(now.hour, 14u);
    EXPECT_EQ(now.minute, 5u);
    EXPECT_EQ(now.dayOfYear, 60);
    EXPECT_EQ(now.year, 2004);
    HostSetDate(2005, 61, 15, 6);
    HostSetSecond(10);
    now = HostGetDateTime();
    EXPECT_EQ(now.year, 2005);
    EXPECT_EQ(now.dayOfYear, 61);
    EXPECT_EQ(now.hour, 15u);
    EXPECT_EQ(now.minute, 6u);
    EXPECT_EQ(s[0x23A], 10);

    HostSetPauseRequest(1);
    uint32_t word;
    std::memcpy(&word, s + 0x268, 4);
    EXPECT_EQ(word, 1u);
    EXPECT_FALSE(HostPaused());
    word = 1;
    std::memcpy(s + 0x26C, &word, 4);
    EXPECT_TRUE(HostPaused());
    HostSetContinuousMove(1);
    std::memcpy(&word, s + 0x624, 4);
    EXPECT_EQ(word, 1u);
    HostSetPlaybackWord(0x1234);
    uint16_t half;
    std::memcpy(&half, s + 0x82C, 2);
    EXPECT_EQ(half, 0x1234);
    EXPECT_EQ(HostPlaybackWord(), 0x1234);
    HostSetSimulationRate(1024);
    std::memcpy(&half, s + 0xC12, 2);
    EXPECT_EQ(half, 1024);
    EXPECT_EQ(HostSimulationRate(), 1024);

    EXPECT_EQ(HostActiveViewWindow(), nullptr);
    static uint8_t window[0x100];
    static void* current = window;
    void** pointer = &current;
    std::memcpy(s + 0x1190, &pointer, sizeof pointer);
    EXPECT_EQ(HostActiveViewWindow(), static_cast<void*>(window));
    window[0x20] = 3;
    EXPECT_EQ(ViewWindowKind(window), 3);
    ViewWindowSetHeldByte(window, 1);
    EXPECT_EQ(window[0x45], 1);
    EXPECT_EQ(static_cast<void*>(HostTowerPosition()), static_cast<void*>(s + 0xD50));
}

TEST(HostSlots, ScaleOperationOffsetsToPointerSlots) {
    void* table[8];
    EXPECT_EQ(HostSlot(table, 0x0C), static_cast<void*>(&table[3]));
    EXPECT_EQ(HostSlot(table + 8, -0x20), static_cast<void*>(table));
}

}  // namespace
