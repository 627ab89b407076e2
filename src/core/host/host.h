// The module's one binding to the simulator: every host operation, called
// through the interface pointers the host put into ImportTable, and every
// field of the host's state block. No other file knows a host offset.
#pragma once

#include "core/abi/host_abi.h"

// The host's per-aircraft object; its first field points to its operation table.
struct AircraftObject;

// Host record numbers of AircraftObject blocks.
enum : uint32_t {
    BlockPlacement = 533,  // 36 bytes: HostPosition, then pitch, bank, heading
    BlockMotion = 536,     // 24 bytes: three doubles
};

// The traffic setting record; its first field is the AI traffic level.
struct TrafficRecord {
    uint32_t level;
    uint8_t rest[12];
};

// True when every interface pointer of ImportTable is filled.
bool HostInterfacesPresent();
// Remembers the host state block; called once by ModuleInit.
void HostCacheState();

// ---- interface 1: modality, events, dispatch, step
void HostModalBegin();
void HostModalEnd();
void HostRegisterHandler(uint32_t eventId, EventHandler handler);
void HostUnregisterHandler(uint32_t eventId, EventHandler handler);
DispatchFunction HostDispatchFunction();
void HostSetDispatchFunction(DispatchFunction function);
double HostStepSeconds();

// ---- interface 0x19: aircraft objects
AircraftObject* HostUserAircraft();
AircraftObject* HostAircraftById(uint32_t aircraftId);

// ---- interface 0x17: AI aircraft
uint32_t HostCreateAiAircraft(const char* title);  // the new id, 0 when it failed
void HostRemoveAiAircraft(uint32_t aircraftId);
uint32_t HostNextAircraft(uint32_t aircraftId);  // after the last comes 1
uint32_t HostPrevAircraft(uint32_t aircraftId);
const char* HostAircraftTitle(uint32_t aircraftId);  // null when there is none
// Feet; 0.0 when there is no aircraft with this id.
float HostReferenceElevation(uint32_t aircraftId);

// ---- interface 0x0F: variables and key events
uint32_t HostLookupVariable(const char* name);
double HostGetVariable(uint32_t handle);
void HostSetVariable(uint32_t handle, double value);
void HostSendKeyEvent(uint32_t eventId, uint32_t value);

// ---- interface 0x37: traffic setting
void HostGetTraffic(TrafficRecord* record);
void HostSetTraffic(TrafficRecord* record);

// ---- interface 0x0A and 0x0D: views and drawing
void* HostMainView();
// Marks the main view for redrawing (the host then sends event 18).
void HostRequestMainViewRedraw();
void HostDrawText(uint32_t style, void* drawObject, uint32_t colour1, uint32_t colour2, const char* text);
void HostBeginDraw(void* drawObject);
void HostEndDraw();
void HostSetViewCamera(const HostPosition* camera, Angle32 pitch, Angle32 bank, Angle32 heading,
                       const float* matrix4x4, int32_t zoom);

// ---- interfaces 0x0E and 0x14: terrain and geometry
double HostGroundElevation(const HostPosition* position);  // metres
double HostPositionDistance(const HostPosition* first, const HostPosition* second);
void HostPositionVector(const HostPosition* aircraft, const HostPosition* camera, double out[3]);
void HostVectorAngles(const double vector[3], double angles[3]);
void HostAnglesMatrix(float matrix[16], Angle32 pitch, Angle32 bank, Angle32 heading);

// ---- AircraftObject operations
void AircraftGetBlock(AircraftObject* aircraft, uint32_t record, void* buffer);
double AircraftGetValue(AircraftObject* aircraft, uint32_t variable, uint32_t unit, uint32_t index);
void AircraftSetBlock(AircraftObject* aircraft, uint32_t record, const void* buffer);
void AircraftSetValue(AircraftObject* aircraft, uint32_t variable, uint32_t unit, double value, uint32_t index);
void AircraftSendEvent(AircraftObject* aircraft, uint32_t eventId, uint32_t value);
void AircraftSetPosition(AircraftObject* aircraft, const void* position24, const void* orientation12,
                         uint32_t onGround);

// ---- HostState fields
HostDateTime HostGetDateTime();
void HostSetDate(int16_t year, uint16_t dayOfYear, uint32_t hour, uint32_t minute);
void HostSetSecond(uint8_t second);
void HostSetPauseRequest(uint32_t pause);  // 1 pause, 0 resume
bool HostPaused();
void HostSetContinuousMove(uint32_t value);  // 1 around SetPosition while playback moves smoothly
uint16_t HostPlaybackWord();                 // the word held at 0 during playback
void HostSetPlaybackWord(uint16_t value);
uint16_t HostSimulationRate();  // x 256
void HostSetSimulationRate(uint16_t rate);
void* HostActiveViewWindow();   // null when the host has none
HostPosition* HostTowerPosition();

// ---- host view windows
uint8_t ViewWindowKind(void* viewWindow);
uint8_t ViewWindowHeldByte(void* viewWindow);  // the byte forced to 1 during playback
void ViewWindowSetHeldByte(void* viewWindow, uint8_t value);

// The two host zoom words written under tower autozoom.
void HostWriteAutozoomWords(uint16_t zoom);
