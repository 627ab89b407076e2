// Starting and stopping a recording: the recording parameters from the
// RECORD defaults, the user aircraft's track on its temporary file, the
// save (or the question whether to go on), and the mode changes around them.
#pragma once

#include <cstdint>

// The autostop kind for a choice of the record dialog's list (or of
// DfltAutostop): 0 touchdown, 1 engine shutdown, 2 start of recording, -1
// none. Any other choice keeps current.
uint32_t AutostopKindForChoice(int32_t choice, uint32_t current);

// The longest autostop delay a TimeStamp span holds, in whole seconds.
constexpr int64_t MaxAutostopSeconds = 429496;
// The autostop delay for a number of seconds, in TimeStamp units: negative
// counts as 0 and anything beyond the longest span as that span, so a large
// number never wraps round to a stop after a fraction of a second.
uint32_t AutostopDelayForSeconds(int64_t seconds);

// Starts a recording with the parameters stored in the RECORD section (the
// start used when the recording dialogs are turned off).
void StartRecordingWithDefaults();
// Starts a recording with the parameters in session. Only from Idle or the
// replay buffer; a failure to make the temporary file is reported and
// leaves the mode Idle.
void StartRecording();
// Saves the running recording (asking for the path unless NoRecDlg is on)
// and ends it. noPrompt (a flight was loaded, the simulator closes): a
// cancelled dialog just lets the recording go on; otherwise the user is
// asked whether to go on or throw the recording away.
void StopRecording(int noPrompt);

// At shut-down: a recording that was neither saved nor discarded keeps its
// temporary files, complete, and leaves the table.
void AbandonRecording();
