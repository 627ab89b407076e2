// The calls behind the keyboard and menu commands: the one file of the user
// interface that starts and stops recordings and playbacks and steers the
// transport. What may be done in which mode was decided before; the commands
// check their mode again themselves.
#include "ui/command_dispatch.h"

#include "core/clock.h"
#include "engine/player.h"
#include "engine/recorder.h"
#include "engine/transport.h"
#include "ui/control_window_model.h"
#include "views/view_commands.h"

void PerformAction(UiAction action, int32_t argument) {
    switch (action) {
        case ActionNone:
            break;
        case ActionTransport:
            TransportCommand(argument);
            break;
        case ActionSpeed:
            SpeedCommand(argument);
            break;
        case ActionLoop:
            LoopCommand(argument);
            break;
        case ActionSeek:
            SeekTo(TimeOfSliderPosition(argument, moduleClock.startTime, moduleClock.endTime));
            break;
        case ActionHeightCorrection:
            HeightCorrectionStep(argument);
            break;
        case ActionStopPlayback:
            StopPlaybackCommand();
            break;
        case ActionEndPlayback:
            EndPlayback(0);
            break;
        case ActionRecordWithDefaults:
            StartRecordingWithDefaults();
            break;
        case ActionStopRecording:
            StopRecording(0);
            break;
        case ActionStartPlayback:
            StartPlayback(argument);
            break;
        case ActionViewCommand:
            ViewMenuCommand(static_cast<uint32_t>(argument));
            break;
        // The dialogs join as they are built; until then their commands are
        // taken and do nothing, as for a mode that does not allow them.
        case ActionRecordDialog:
        case ActionReplayDialog:
        case ActionSettingsDialog:
        case ActionKeyboardDialog:
        case ActionAboutDialog:
        case ActionViewSettingsDialog:
            break;
    }
}
