// The advanced views' side of the host's frame: every camera event first
// checks the stored view the row names, then hands the row to the camera of
// the window's kind.
#include "views/view_events.h"

#include "core/host.h"
#include "views/tower_camera.h"
#include "views/tower_controls.h"
#include "views/view_encoding.h"
#include "views/view_window_table.h"

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
    int32_t& index = RowViewIndex(shown, kind);
    // A view deleted through another window: back to the simulator's view.
    if (index >= ViewCount(kind)) index = DefaultViewIndex;
    if (index == DefaultViewIndex) return;
    // The spot and cockpit cameras are placed here as well once they exist;
    // until then the simulator keeps placing those windows' cameras.
    if (kind == ViewKindTower) TowerCamera(row);
}

uint32_t ViewInputEvent(uint32_t type, uint32_t eventId, void* record) {
    void* window = HostActiveViewWindow();
    if (!window) return 0;
    switch (ViewWindowKind(window)) {
        case ViewKindTower: return TowerKeyEvent(type, eventId, record);
        default: return 0;
    }
}
