// What a key press, a menu command or a control-window button asks the
// module to do, as a value the decisions return (key_dispatch, menu_model,
// control_window_model); the module's command dispatch carries it out.
#pragma once

#include <cstdint>

enum UiAction : uint8_t {
    ActionNone,                // nothing to do (the message may still be consumed)
    ActionTransport,           // TransportCommand(argument)
    ActionSpeed,               // SpeedCommand(argument)
    ActionLoop,                // LoopCommand(argument)
    ActionSeek,                // to the time of control-window slider position argument
    ActionHeightCorrection,    // one height-correction step, argument +1 or -1
    ActionStopPlayback,        // the user's stop: jump to one second before the end, looping off
    ActionEndPlayback,         // end the playback at once, where it is
    ActionRecordWithDefaults,  // start recording with the stored recording defaults
    ActionRecordDialog,        // the record dialog, recording when it is closed with OK
    ActionStopRecording,       // stop recording, offering to save
    ActionStartPlayback,       // choose recordings and play them; argument 1: as traffic
    ActionReplayDialog,
    ActionSettingsDialog,
    ActionKeyboardDialog,
    ActionAboutDialog,
    ActionViewSettingsDialog,
    ActionViewCommand,         // a command of the view sub-menus, argument its id
    ActionViewKey,             // a view key (NewView ... Autozoom), argument its KeyCommand
};

struct UiDecision {
    UiAction action;
    int32_t argument;
    bool consumed;  // the message goes no further than the module
};

inline UiDecision Fire(UiAction action, int32_t argument) { return UiDecision{action, argument, true}; }
// Consumed, with nothing to do: the mode does not let the command act.
inline UiDecision Swallow() { return UiDecision{ActionNone, 0, true}; }
inline UiDecision PassOn() { return UiDecision{ActionNone, 0, false}; }

// How the user starts a recording: at once with the stored defaults when the
// record dialog is switched off, else through the dialog.
inline UiAction RecordStartAction(int32_t noRecDlg) {
    return noRecDlg != 0 ? ActionRecordWithDefaults : ActionRecordDialog;
}
