// The binary conventions shared by the module and whatever stands in the
// simulator's place: the calling convention of host operations, the types of
// handlers and the dispatch function, and where an operation-table slot sits
// on a 64-bit test build. Offsets of individual operations live in host.cpp.
#pragma once

#include <cstddef>
#include <cstdint>

// The simulator calls and is called with __stdcall on i686; x86_64 test
// builds have a single convention.
#if defined(_WIN32) && !defined(_WIN64)
#define HOSTCALL __stdcall
#else
#define HOSTCALL
#endif

// Event handler arguments are 32-bit on the real host; some carry addresses
// (view windows, draw records), so test builds widen them to pointer size.
typedef uintptr_t HostArg;

typedef void(HOSTCALL* EventHandler)(HostArg p1, HostArg p2);
typedef uint32_t(HOSTCALL* DispatchFunction)(uint32_t type, uint32_t eventId, void* record);
typedef void(HOSTCALL* ModuleEntry)();

// In an operation table, and among an aircraft object's fields, a slot at
// byte offset N on the 32-bit host sits at N / 4 pointer sizes from the start.
// Data records keep their byte offsets on every build.
inline void* HostSlot(void* base, ptrdiff_t byteOffset) {
    return static_cast<char*>(base) + byteOffset / 4 * static_cast<ptrdiff_t>(sizeof(void*));
}

template <typename T>
inline T& HostSlotAs(void* base, ptrdiff_t byteOffset) {
    return *static_cast<T*>(HostSlot(base, byteOffset));
}

// DrawText is the one place where the two layouts differ in kind, not just
// in slot width. On the 32-bit host the function itself, its code, begins
// DrawTextDistance bytes before interface 0x0A's pointer: the caller jumps to
// that address, and reads nothing there. The x86_64 test layout has no such
// host, so it keeps a pointer-sized slot at the scaled offset instead and the
// caller calls what the slot holds.
constexpr ptrdiff_t DrawTextDistance = 0x64A0;
#if defined(_WIN32) && !defined(_WIN64)
#define HOST_DRAWTEXT_IS_CODE 1
// The address of DrawText's first instruction.
inline void* HostDrawTextCode(void* viewsInterface) {
    return static_cast<char*>(viewsInterface) - DrawTextDistance;
}
#else
#define HOST_DRAWTEXT_IS_CODE 0
// The slot holding DrawText's address (x86_64 test layout only).
inline void*& HostDrawTextSlot(void* viewsInterface) { return HostSlotAs<void*>(viewsInterface, -DrawTextDistance); }
#endif

// Host encodings shared by samples, tracks and views.
struct HostPosition {
    int64_t latitude;   // metres north of the equator x 2^32
    int64_t longitude;  // fraction of a full turn x 2^64, wrapping
    int64_t altitude;   // metres above sea level x 2^32
};
typedef uint32_t Angle32;  // full turn = 2^32

// Interface ids of ImportTable, in the order the table lists them.
enum HostInterfaceId : uint32_t {
    InterfaceCore = 0x01,
    InterfaceVariables = 0x0F,
    InterfaceAircraft = 0x19,
    InterfaceState = 0x02,
    InterfaceTraffic = 0x37,
    InterfaceViews = 0x0A,
    InterfaceReserved = 0x2C,
    InterfaceTerrain = 0x0E,
    InterfaceGeometry = 0x14,
    InterfaceAi = 0x17,
    InterfaceDrawing = 0x0D,
};
constexpr int HostInterfaceCount = 11;

// Simulator date and time as HostState holds them.
struct HostDateTime {
    int16_t year;
    uint16_t dayOfYear;  // 1-based
    uint32_t hour;
    uint32_t minute;
    uint8_t second;
};
