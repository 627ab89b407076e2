// The calls behind the keyboard, menu and control-window commands: the one
// file that turns the user's decided actions into starting and stopping
// recordings and playbacks, steering the transport, opening the dialogs and
// the view commands. What may be done in which mode was decided before; the commands
// check their mode again themselves.
#include "core/command_dispatch.h"

#include "core/host/clock.h"
#include "core/host/host.h"
#include "engine/play/playback_start_end.h"
#include "engine/record/recording_start_stop.h"
#include "engine/session/session.h"
#include "engine/session/transport.h"
#include "ui/control_window/control_window_model.h"
#include "ui/dialogs/dialogs.h"
#include "views/dialogs/view_settings_dialog.h"
#include "views/menus/view_commands.h"

// Every dialog opened from the menu or a key runs between ModalBegin and
// ModalEnd, whatever it returns.
static void RunModal(void (*run)()) {
    HostModalBegin();
    run();
    HostModalEnd();
}

// The record dialog, and the recording it asks for: started before
// ModalEnd, with the parameters chosen in it.
static void RecordWithDialog() {
    RecordParameters chosen;
    if (!RunRecordDialog(&chosen)) return;
    session.recordInterval = chosen.recordInterval;
    session.autostopKind = chosen.autostopKind;
    session.autostopDelay = chosen.autostopDelay;
    session.aiSampleFactor = chosen.aiSampleFactor;
    StartRecording();
}

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
        case ActionRecordDialog:
            RunModal(RecordWithDialog);
            break;
        case ActionReplayDialog:
            RunModal(RunReplayDialog);
            break;
        case ActionSettingsDialog:
            RunModal(RunSettingsDialog);
            break;
        case ActionKeyboardDialog:
            RunModal(RunKeyboardDialog);
            break;
        case ActionAboutDialog:
            RunModal(RunAboutDialog);
            break;
        case ActionViewSettingsDialog:
            RunModal(RunViewSettingsDialog);
            break;
        case ActionViewKey:
            ViewKeyCommand(static_cast<KeyCommand>(argument));
            break;
    }
}
