// Menu commands and keyboard commands arriving at the simulator's main
// window: each is decided from the mode, the settings and the key table, and
// the decided action is performed before the procedure returns.
#include "core/main_window.h"

#include "config/keys.h"
#include "config/settings.h"
#include "core/command_dispatch.h"
#include "core/module.h"
#include "ui/menu/key_dispatch.h"
#include "ui/menu/menu_model.h"
#include "views/menus/view_commands.h"
#include "views/menus/view_menus.h"

intptr_t HandleMainWindowMessage(uint32_t message, uintptr_t wParam, intptr_t, int* consumed) {
    *consumed = 0;
    // The window is ours from the library's attach on, but the commands need
    // a started module: before ModuleInit, after ModuleDeinit or when start-up
    // failed, the simulator keeps its keys and the commands do nothing.
    if (!module.handlersRegistered) return 0;

    UiDecision decision;
    switch (message) {
        case MessageCommand:
            decision = MenuCommandDecision(wParam & 0xFFFF, module.mode, settings, viewMenuHook);
            break;
        case MessageKeyDown:
            decision = KeyDownDecision(module.mode, settings, keyTable, KeyCodeOfPress(wParam), &viewMenuHook,
                                       ActiveViewWindowKind());
            break;
        case MessageKeyUp:
            // The modifiers held at the release count, not those of the press.
            decision = KeyUpDecision(module.mode, settings, keyTable, KeyCodeOfPress(wParam));
            break;
        default:
            return 0;
    }
    if (!decision.consumed) return 0;
    *consumed = 1;
    PerformAction(decision.action, decision.argument);
    return 0;
}
