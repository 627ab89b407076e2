// The one switching rule of every kind. Leaving the simulator's own view
// first keeps the host's values of that kind in the row; coming back to it
// writes them into the window again, so the user finds the simulator's view
// as it was.
#include "views/windows/view_switching.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "core/host/host.h"
#include "engine/tracks/host_encoding.h"
#include "views/windows/view_window_table.h"

namespace {

void SaveHostValues(ViewWindowRow& row, ViewKind kind) {
    void* window = row.hostWindow;
    switch (kind) {
        case ViewKindTower:
            row.savedTowerZoom = ViewWindowTowerZoom(window);
            break;
        case ViewKindSpot:
            row.savedSpotZoom = ViewWindowSpotZoom(window);
            row.savedSpotDistance = ViewWindowSpotDistance(window);
            row.savedSpotHeight = ViewWindowSpotHeight(window);
            row.spotTarget = ViewWindowSpotTarget(window);
            break;
        case ViewKindVirtualCockpit:
            row.savedVcZoom = ViewWindowVcZoom(window);
            break;
    }
}

void RestoreHostValues(const ViewWindowRow& row, ViewKind kind) {
    void* window = row.hostWindow;
    switch (kind) {
        case ViewKindTower:
            ViewWindowSetTowerZoom(window, row.savedTowerZoom);
            break;
        case ViewKindSpot:
            ViewWindowSetSpotZoom(window, row.savedSpotZoom);
            ViewWindowSetSpotDistance(window, row.savedSpotDistance);
            ViewWindowSetSpotHeight(window, row.savedSpotHeight);
            ViewWindowSetSpotTarget(window, row.spotTarget);
            break;
        case ViewKindVirtualCockpit:
            ViewWindowSetVcZoom(window, row.savedVcZoom);
            break;
    }
}

// ---- what New takes from the simulator's own view of each kind

// The simulator's tower, looking north level, at the window's tower zoom.
void FromHost(TowerView* view, void* window) {
    view->position = *HostTowerPosition();
    view->zoom = ClampZoom(ViewWindowTowerZoom(window));
}

// The simulator's spot plane: its direction, distance and height around the
// aircraft become the offset. The height is signed: read as unsigned, a
// plane 5 m below the aircraft would become a camera 16,777 km above it.
void FromHost(SpotView* view, void* window) {
    const double direction = ViewWindowSpotDirection(window) * 2.0 * 3.14159265358979323846 / 65536.0;
    const double distance = static_cast<uint32_t>(ViewWindowSpotDistance(window)) / 256.0;
    const double height = ViewWindowSpotHeight(window) / 256.0;
    view->x = static_cast<float>(std::sin(direction) * distance);
    view->y = static_cast<float>(height);
    view->z = static_cast<float>(std::cos(direction) * distance);
    view->zoom = ClampZoom(ViewWindowSpotZoom(window));
    view->rotateHeading = ViewWindowSpotRotation(window) != 2 ? 1 : 0;
}

// The simulator's cockpit eyepoint, looking ahead.
void FromHost(VcView* view, void* window) {
    int16_t eyepoint[3];
    ViewWindowVcEyepoint(window, eyepoint);
    view->x = eyepoint[0] / 256.0f;
    view->y = eyepoint[1] / 256.0f;
    view->z = eyepoint[2] / 256.0f;
    view->zoom = ClampZoom(ViewWindowVcZoom(window));
}

const char* NameFormat(ViewKind kind) {
    if (kind == ViewKindSpot) return "Spot view %d";
    if (kind == ViewKindVirtualCockpit) return "VC view %d";
    return "Tower view %d";
}

// Moves the index (and, for New and Delete, the list).
template <typename View>
void MoveIndex(ViewList<View>& list, int32_t& index, ViewChange change, int32_t selected, void* window,
               ViewKind kind) {
    switch (change) {
        case ChangeNext:
            index = index + 1 < list.count ? index + 1 : DefaultViewIndex;
            break;
        case ChangePrevious:
            index = index - 1 < DefaultViewIndex ? list.count - 1 : index - 1;
            break;
        case ChangeSelect:
            index = selected < 0 ? DefaultViewIndex : selected;
            break;
        case ChangeNew: {
            View added;
            std::memset(&added, 0, sizeof added);
            if (index == DefaultViewIndex) FromHost(&added, window);
            else added = list.entries[index];
            char name[32] = {};
            std::snprintf(name, sizeof name, NameFormat(kind), static_cast<int>(list.count + 1));
            std::memcpy(added.name, name, sizeof added.name - 1);
            list.entries[list.count] = added;
            index = list.count++;
            break;
        }
        case ChangeDelete:
            for (int32_t i = index; i + 1 < list.count; ++i) list.entries[i] = list.entries[i + 1];
            --list.count;
            if (index >= list.count) index = DefaultViewIndex;
            break;
    }
}

// Whether the change applies at all in this state.
bool Applies(ViewChange change, int32_t index, int32_t count, int32_t selected) {
    switch (change) {
        case ChangeDelete: return index != DefaultViewIndex;
        case ChangeSelect: return selected < count;
        case ChangeNew: return count < ViewListCapacity;
        default: return true;
    }
}

}  // namespace

void ReturnToHostView(ViewWindowRow& row, ViewKind kind) {
    int32_t& index = RowViewIndex(row, kind);
    if (index == DefaultViewIndex) return;
    index = DefaultViewIndex;
    RestoreHostValues(row, kind);
}

void ChangeView(int rowIndex, ViewKind kind, ViewChange change, int32_t selected) {
    if (rowIndex < 0 || rowIndex >= viewState.windows.count || ViewKindSlot(kind) < 0) return;
    ViewWindowRow& row = viewState.windows.rows[rowIndex];
    int32_t& index = RowViewIndex(row, kind);
    const int32_t count = ViewCount(kind);
    // A view deleted through another window may have left this index past
    // the end; the window's camera would reset it, and so does any change,
    // so that Delete never takes out an entry the user is not looking at.
    // Next from there ends on the simulator's view, as from the last entry.
    const bool pastTheEnd = index >= count;
    if (pastTheEnd) ReturnToHostView(row, kind);
    if (pastTheEnd && change == ChangeNext) {
        row.TitleCountdown = TitleShowTicks;
        return;
    }
    if (!Applies(change, index, count, selected)) return;

    if (index == DefaultViewIndex) SaveHostValues(row, kind);
    switch (kind) {
        case ViewKindTower: MoveIndex(viewState.tower, index, change, selected, row.hostWindow, kind); break;
        case ViewKindSpot: MoveIndex(viewState.spot, index, change, selected, row.hostWindow, kind); break;
        case ViewKindVirtualCockpit: MoveIndex(viewState.vc, index, change, selected, row.hostWindow, kind); break;
    }
    if (index == DefaultViewIndex) RestoreHostValues(row, kind);
    row.TitleCountdown = TitleShowTicks;
}

void ChangeActiveView(ViewKind kind, ViewChange change, int32_t selected) {
    ChangeView(ActiveViewRow(), kind, change, selected);
}

void ResetViewWindowsOfKind(ViewKind kind) {
    ViewWindowTable& table = viewState.windows;
    for (int i = 0; i < table.count; ++i) {
        ReturnToHostView(table.rows[i], kind);
        RowViewTarget(table.rows[i], kind) = UserAircraftId;
        table.rows[i].TitleCountdown = TitleShowTicks;
    }
}
