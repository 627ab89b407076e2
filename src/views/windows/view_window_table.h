// The table of the host's view windows: finding or adding a window's row,
// the sweep that drops rows of windows that never drew, and each row's view
// title, shown for a while after every change of view.
#pragma once

#include <cstdint>

#include "views/state/view_state.h"

// The row of a host window, added with the three default views when the
// window has none yet. -1 when the window is null or the table is full.
int FindOrAddViewWindow(void* hostWindow);
// The row of the window that has the focus (-1 as above).
int ActiveViewRow();
void EmptyViewWindowTable();
// The stored view of this kind that the focused window shows: its index,
// with *row set to the window's row; -1 when the window has no row or shows
// the simulator's own view of the kind.
int32_t ActiveStoredView(ViewKind kind, ViewWindowRow** row);
// The same for an edit dialog, which works on the first window's row when
// the table has no room for the focused window. -1 while the window shows
// the simulator's own view: a menu built before the last change may still
// offer the edit, with nothing to edit.
int32_t EditedStoredView(ViewKind kind, ViewWindowRow** row);

// Keeps the rows whose window has drawn a camera event, moving the last row
// into the place of each one that has not.
void SweepViewWindows();

// The index of the view of this kind that the row shows, and its target.
int32_t& RowViewIndex(ViewWindowRow& row, ViewKind kind);
int32_t& RowViewTarget(ViewWindowRow& row, ViewKind kind);
// The number of stored views of a kind.
int32_t ViewCount(ViewKind kind);

// The title of the view of a kind at this index: the stored view's name, or
// the name of the simulator's own view for -1.
const char* ViewTitle(ViewKind kind, int32_t index);

// Title timer: one tick off every countdown still running.
void TickViewTitles();
// A view window's title draw: draws the row's title while its countdown runs.
void DrawViewTitle(void* drawRecord);

// DrawText style and colours of view titles.
constexpr uint32_t ViewTitleStyle = 0x0D;
constexpr uint32_t ViewTitleColour = 0xFF0000FFu;
