// Where a recording lives on disk while it is made and once it is saved:
// the per-aircraft temporary track files, the "Save Recording" dialog and
// the automatic name used when the user turned the recording dialogs off.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/abi/host_abi.h"
#include "platform/platform.h"

constexpr size_t RecordingPathSize = 256;  // the save dialog's buffer

// "Modules\Aerotrace<id>.tmp": the temporary file of the aircraft's track.
void TempTrackFileName(uint32_t aircraftId, char* buffer, size_t size);

// "Recordings\Rec_YYYY-MM-DD_hh-mm-ss.atr" for the simulator's date and time.
void AutomaticRecordingPath(const HostDateTime& now, char* buffer, size_t size);

// The "Save Recording" dialog owned by owner. modal: between ModalBegin and
// ModalEnd (a dialog of the module's own that is already modal opens it
// without). The simulator's current directory is put back afterwards. 0 when
// the user cancelled. buffer holds at least RecordingPathSize bytes.
int ChooseSavePath(WindowHandle owner, int modal, char* buffer, size_t size);

// The path to save the recording under: the automatic one (creating the
// Recordings folder) when NoRecDlg is on, otherwise the user's choice in the
// save dialog, between ModalBegin and ModalEnd. 0 when the user cancelled.
// buffer holds at least RecordingPathSize bytes.
int ChooseRecordingPath(char* buffer, size_t size);
