// The advanced views' one module-wide state.
#include "views/state/view_state.h"

ViewState viewState;

int ViewKindSlot(ViewKind kind) {
    switch (kind) {
        case ViewKindTower: return 0;
        case ViewKindSpot: return 1;
        case ViewKindVirtualCockpit: return 2;
    }
    return -1;
}
