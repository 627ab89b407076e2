// The advanced views' side of the host's frame: every camera event first
// checks the stored view the row names, then hands the row to the camera of
// the window's kind.
#include "views/cameras/view_events.h"

#include "core/host/host.h"
#include "engine/tracks/host_encoding.h"
#include "views/cameras/spot_camera.h"
#include "views/cameras/spot_controls.h"
#include "views/cameras/tower_camera.h"
#include "views/cameras/tower_controls.h"
#include "views/cameras/vc_camera.h"
#include "views/cameras/vc_controls.h"
#include "views/windows/view_switching.h"
#include "views/windows/view_window_table.h"

void StartViewWindows() {
    viewState.MinCameraHeight = static_cast<int64_t>(FixedOne);
    EmptyViewWindowTable();
}

void ViewCameraEvent(void* window) {
    const int row = FindOrAddViewWindow(window);
    if (row < 0) return;
    ViewWindowRow& shown = viewState.windows.rows[row];
    shown.seen = 1;
    const ViewKind kind = static_cast<ViewKind>(ViewWindowKind(window));
    if (ViewKindSlot(kind) < 0) return;
    // A view deleted through another window: back to the simulator's view.
    if (RowViewIndex(shown, kind) >= ViewCount(kind)) ReturnToHostView(shown, kind);
    if (RowViewIndex(shown, kind) == DefaultViewIndex) return;
    switch (kind) {
        case ViewKindTower: TowerCamera(row); break;
        case ViewKindSpot: SpotCamera(row); break;
        case ViewKindVirtualCockpit: VcCamera(row); break;
    }
}

uint32_t ViewInputEvent(uint32_t type, uint32_t eventId, void* record) {
    void* window = HostActiveViewWindow();
    if (!window) return 0;
    switch (ViewWindowKind(window)) {
        case ViewKindTower: return TowerKeyEvent(type, eventId, record);
        case ViewKindSpot: return SpotKeyEvent(type, eventId, record);
        case ViewKindVirtualCockpit: return VcKeyEvent(type, eventId, record);
        default: return 0;
    }
}
