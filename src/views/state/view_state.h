// The advanced views' state, in one place: the three stored-view catalogues
// (tower, spot, virtual cockpit), the table of the host's view windows with
// which view each one shows, the lowest camera height, and the file names
// the export and import dialogs remember. Everything lives from start-up to
// the unloading of the module.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/abi/host_abi.h"
#include "core/host/host_view_window.h"

constexpr int ViewListCapacity = 30;
constexpr int ViewNameLength = 20;         // characters of a view's name
constexpr int ViewWindowCapacity = 30;
constexpr int32_t DefaultViewIndex = -1;   // the simulator's own view of a kind
constexpr int32_t UserAircraftId = 1;
constexpr int32_t TitleShowTicks = 50;     // title timer events a view's title stays on screen
constexpr int ViewFileNameLength = 255;    // the export and import dialogs' file-name buffers

// A camera fixed at a place that keeps looking at an aircraft.
struct TowerView {
    char name[ViewNameLength + 1];
    HostPosition position;  // the eyepoint
    Angle32 pitch, bank, heading;  // recomputed every frame unless manualPan
    float zoom;        // sixty-fourths
    uint32_t manualPan;  // 1: the stored direction (the user panned); 0: follow the aircraft
    float autoZoom;    // zoom sixty-fourths per metre of distance; 0 or less: off
};

// A camera attached to an aircraft at an offset.
struct SpotView {
    char name[ViewNameLength + 1];
    float x, y, z;  // metres right (east), up, forward (north)
    Angle32 pitch, bank, heading;
    float zoom;
    uint32_t manualPan;        // 1: stored direction; 0: look at the aircraft
    uint32_t rotateHeading;    // the offset turns with the aircraft's heading
    uint32_t rotatePitchBank;  // ... and with its pitch and bank
};

// An eyepoint in the virtual cockpit.
struct VcView {
    char name[ViewNameLength + 1];
    float x, y, z;  // metres in the aircraft's axes: right, up, forward
    Angle32 pitch, bank, heading;  // relative to the aircraft
    float zoom;
};

template <typename View>
struct ViewList {
    View entries[ViewListCapacity];
    int32_t count;  // entries 0 .. count-1 are in use, in insertion order
};
typedef ViewList<TowerView> TowerViewList;
typedef ViewList<SpotView> SpotViewList;
typedef ViewList<VcView> VcViewList;

// Which view one of the host's view windows shows, for each kind at once
// (the host can change a window's kind); the host's own values of a kind are
// kept while a stored view of that kind is current.
struct ViewWindowRow {
    void* hostWindow;  // the key: the address of the host's window record
    int32_t towerIndex;  // -1: the simulator's tower
    int32_t towerTarget;  // aircraft the tower camera looks at
    uint16_t savedTowerZoom;
    int32_t spotIndex;
    int32_t spotTarget;
    uint16_t savedSpotZoom;
    int32_t savedSpotDistance;
    int32_t savedSpotHeight;
    int32_t vcIndex;
    int32_t vcTarget;  // 1: look in the stored direction
    uint16_t savedVcZoom;
    uint32_t seen;  // the window's camera event has run for this row
    int32_t TitleCountdown;  // title timer events left for which the title shows
};

struct ViewWindowTable {
    ViewWindowRow rows[ViewWindowCapacity];
    int32_t count;
};

enum ViewFileDialog { ExportDialog, ImportDialog };

struct ViewState {
    TowerViewList tower;
    SpotViewList spot;
    VcViewList vc;
    ViewWindowTable windows;
    int64_t MinCameraHeight;  // metres x 2^32: no camera is placed lower above the ground
    // Each export and import dialog of each kind opens with the name last chosen in it.
    char fileNames[3][2][ViewFileNameLength + 1];
};
extern ViewState viewState;

// The kinds in the order they are loaded and saved: tower, spot, VC.
constexpr ViewKind CatalogueKinds[3] = {ViewKindTower, ViewKindSpot, ViewKindVirtualCockpit};
// 0, 1, 2 for tower, spot, VC; -1 for a kind the advanced views do not serve.
int ViewKindSlot(ViewKind kind);
