// Changing the view a window shows: New, Delete, Next, Previous and Select
// on the catalogue of one kind, with the host's own view values kept while a
// stored view is current and given back when the window returns to the
// simulator's view. Every change shows the new view's title for a while.
// After a catalogue loads, every window goes back to the default view.
#pragma once

#include <cstdint>

#include "views/state/view_state.h"

enum ViewChange : uint8_t {
    ChangeNew,       // append a view: from the simulator's view, or a copy of the current one
    ChangeDelete,    // remove the current stored view
    ChangeNext,      // default, 0, 1, ..., count-1, default
    ChangePrevious,  // the other way round
    ChangeSelect,    // a given index; below 0 the default
};

// Puts the row back on the simulator's own view of the kind, giving the
// window the host's values it had when it left that view; nothing when the
// row shows it already. Used wherever a stored view stops being shown other
// than by the user's change: a view deleted through another window, an import.
void ReturnToHostView(ViewWindowRow& row, ViewKind kind);

// Applies a change to the row's view of this kind.
void ChangeView(int row, ViewKind kind, ViewChange change, int32_t selected);
// The same on the row of the window that has the focus; nothing without one.
void ChangeActiveView(ViewKind kind, ViewChange change, int32_t selected);

// After a catalogue of this kind was loaded: every window shows the default
// view of the kind again, with the host's own values it had before it left
// that view, looks at the user aircraft, and says so in its title.
void ResetViewWindowsOfKind(ViewKind kind);
