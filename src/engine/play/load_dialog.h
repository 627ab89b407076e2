// Choosing the recordings to play: the "Load Recording" dialog with its
// multiple selection, and the walk through the paths it hands back.
#pragma once

#include <cstdint>

// Room for a multiple selection of many files with long names in a deep
// folder: the dialog fails outright when its answer does not fit.
constexpr uint32_t LoadDialogBufferSize = 65536;

// Shows the dialog (between ModalBegin and ModalEnd, the current directory
// kept) and leaves its answer in buffer. Returns 0 when the user cancelled.
int ChooseRecordingsToLoad(char* buffer, uint32_t size);

// Walks the dialog's answer: a single full path, or a folder followed by
// names, each terminated, then an empty string. *cursor starts at 0; each
// call puts the next full path ("folder\name" for a selection of several) in
// path and returns 1, or returns 0 when there is none left. A path that does
// not fit in pathSize is skipped.
int NextSelectedPath(const char* buffer, uint32_t size, uint32_t* cursor, char* path, uint32_t pathSize);
