// Every module-wide state structure, set back to what a freshly loaded
// library holds. A subsystem with state of its own adds its line here.
#include "core/clock.h"
#include "core/events.h"
#include "core/module_state.h"
#include "config/keys.h"
#include "config/settings.h"
#include "engine/capture.h"
#include "engine/playback.h"
#include "engine/recording_recovery.h"
#include "engine/session.h"
#include "engine/track_table.h"
#include "engine/transport.h"
#include "sim_module_state.h"
#include "ui/control_window_posix.h"
#include "views/view_state.h"

void SimResetModuleState() {
    module = ModuleCore{};
    moduleClock = ModuleClock{};
    EmptyTrackTable();
    settings = Settings{};
    viewSettings = ViewSettings{};
    keyTable = KeyTable{};
    session = Session{};
    playback = PlaybackState{};
    transport = Transport{100, NormalSpeedIndex, false, 0, 0, false};
    capture = CaptureState{};
    events = EventState{};
    startupRecovery = StartupRecovery{};
    nativeControlWindow = NativeControlWindow{};
    viewState = ViewState{};
}
