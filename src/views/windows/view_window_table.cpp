// Rows of the view-window table are keyed by the address of the host's
// window record; the host never says when a window closes, so a row leaves
// only through the sweep, and only if its window never drew.
#include "views/windows/view_window_table.h"

#include "config/settings.h"
#include "core/host/host.h"

int FindOrAddViewWindow(void* hostWindow) {
    if (!hostWindow) return -1;
    ViewWindowTable& table = viewState.windows;
    for (int i = 0; i < table.count; ++i)
        if (table.rows[i].hostWindow == hostWindow) return i;
    if (table.count >= ViewWindowCapacity) return -1;
    ViewWindowRow& row = table.rows[table.count];
    row.hostWindow = hostWindow;
    row.towerIndex = row.spotIndex = row.vcIndex = DefaultViewIndex;
    row.towerTarget = row.spotTarget = row.vcTarget = UserAircraftId;
    row.TitleCountdown = 0;
    row.seen = 0;
    return table.count++;
}

int ActiveViewRow() { return FindOrAddViewWindow(HostActiveViewWindow()); }

void EmptyViewWindowTable() { viewState.windows.count = 0; }

static int32_t StoredViewOfRow(int index, ViewKind kind, ViewWindowRow** row) {
    if (index < 0) return DefaultViewIndex;
    *row = &viewState.windows.rows[index];
    const int32_t shown = RowViewIndex(**row, kind);
    return shown >= 0 && shown < ViewCount(kind) ? shown : DefaultViewIndex;
}

int32_t ActiveStoredView(ViewKind kind, ViewWindowRow** row) {
    return StoredViewOfRow(ActiveViewRow(), kind, row);
}

int32_t EditedStoredView(ViewKind kind, ViewWindowRow** row) {
    int index = ActiveViewRow();
    if (index < 0 && viewState.windows.count > 0) index = 0;  // the table is full: the first window's
    return StoredViewOfRow(index, kind, row);
}

void SweepViewWindows() {
    ViewWindowTable& table = viewState.windows;
    int i = 0;
    while (i < table.count) {
        if (table.rows[i].seen) {
            ++i;
        } else {
            table.rows[i] = table.rows[table.count - 1];
            --table.count;
        }
    }
}

int32_t& RowViewIndex(ViewWindowRow& row, ViewKind kind) {
    if (kind == ViewKindSpot) return row.spotIndex;
    if (kind == ViewKindVirtualCockpit) return row.vcIndex;
    return row.towerIndex;
}

int32_t& RowViewTarget(ViewWindowRow& row, ViewKind kind) {
    if (kind == ViewKindSpot) return row.spotTarget;
    if (kind == ViewKindVirtualCockpit) return row.vcTarget;
    return row.towerTarget;
}

int32_t ViewCount(ViewKind kind) {
    if (kind == ViewKindSpot) return viewState.spot.count;
    if (kind == ViewKindVirtualCockpit) return viewState.vc.count;
    return viewState.tower.count;
}

const char* ViewTitle(ViewKind kind, int32_t index) {
    // An index that has fallen off the end of its list is reset by the
    // window's next camera event; until then it shows the default.
    const bool stored = index >= 0 && index < ViewCount(kind);
    switch (kind) {
        case ViewKindTower: return stored ? viewState.tower.entries[index].name : "FS Tower";
        case ViewKindSpot: return stored ? viewState.spot.entries[index].name : "FS Spot Plane";
        case ViewKindVirtualCockpit: return stored ? viewState.vc.entries[index].name : "Default VC";
    }
    return "";
}

void TickViewTitles() {
    ViewWindowTable& table = viewState.windows;
    for (int i = 0; i < table.count; ++i)
        if (table.rows[i].TitleCountdown > 0) --table.rows[i].TitleCountdown;
}

void DrawViewTitle(void* drawRecord) {
    if (viewSettings.ShowTitle == 0 || !drawRecord) return;
    void* window = DrawRecordViewWindow(drawRecord);
    if (!window) return;
    const ViewKind kind = static_cast<ViewKind>(ViewWindowKind(window));
    if (ViewKindSlot(kind) < 0) return;
    const int row = FindOrAddViewWindow(window);
    if (row < 0 || viewState.windows.rows[row].TitleCountdown <= 0) return;
    ViewWindowRow& shown = viewState.windows.rows[row];
    HostDrawText(ViewTitleStyle, drawRecord, ViewTitleColour, 0, ViewTitle(kind, RowViewIndex(shown, kind)));
}
