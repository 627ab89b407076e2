// The module's modal dialogs, each run with the simulator's main window as
// owner. The callers put ModalBegin and ModalEnd around them; the record
// dialog opened from the settings dialog runs inside that one's.
#pragma once

#include "ui/dialogs/record_form.h"

// "Aerotrace Settings": OK saves the settings and restarts the replay buffer.
void RunSettingsDialog();
// "Record Flight": on OK the defaults are stored and *parameters (when not
// null) receives the chosen recording parameters. True when closed with OK.
bool RunRecordDialog(RecordParameters* parameters);
// "Replay": replays the last seconds of the replay buffer or saves it; with
// fewer than five seconds in the buffer the user is told and it closes.
void RunReplayDialog();
// "Keyboard controls": OK keeps the edited key table and saves it.
void RunKeyboardDialog();
// "About Aerotrace".
void RunAboutDialog();
