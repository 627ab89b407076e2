// Native builds have no windows: the stand-in simulator answers what the
// module would ask the user (message boxes, file dialogs), names its main
// window, lets the module take over that window's procedure and reports held
// keys through these hooks; it also plays the dialog manager for the
// module's dialogs. Unset hooks behave like a user who presses the default
// button of a message box (or cancels a file dialog or a dialog), and like a
// window that cannot be subclassed.
#pragma once

#include <map>
#include <string>

#include "platform/platform.h"

// A window procedure of the stand-in's main window, with the Win32 message
// numbers and parameters.
typedef intptr_t (*PosixWindowProcedure)(WindowHandle window, uint32_t message, uintptr_t wParam,
                                         intptr_t lParam);

struct PosixHostHooks {
    int (*messageBox)(WindowHandle owner, const char* text, const char* caption, uint32_t flags);
    WindowHandle (*findWindow)(const char* className);
    int16_t (*asyncKeyState)(int virtualKey);
    // Both file dialogs, with the OPENFILENAME flags the shipped module would pass.
    int (*fileDialog)(const FileDialogRequest* request, uint32_t flags, char* buffer, uint32_t size);
    // Installs procedure on the window and returns the one it replaces.
    PosixWindowProcedure (*subclassWindow)(WindowHandle window, PosixWindowProcedure procedure);
    // The module's dialogs: DialogRun and the calls on an open dialog.
    intptr_t (*dialogRun)(uint32_t templateId, WindowHandle owner, DialogProcedure procedure, void* state);
    void* (*dialogState)(WindowHandle dialog);
    intptr_t (*dialogItemMessage)(WindowHandle dialog, int control, uint32_t message, uintptr_t wParam,
                                  intptr_t lParam);
    void (*dialogItemEnable)(WindowHandle dialog, int control, int enabled);
    void (*dialogItemFocus)(WindowHandle dialog, int control);
    void (*dialogEnd)(WindowHandle dialog, intptr_t result);
};

void PosixSetHostHooks(const PosixHostHooks& hooks);

// The stand-in's window procedure replaced by procedure; null when the
// window cannot be subclassed.
PosixWindowProcedure PosixSubclassWindow(WindowHandle window, PosixWindowProcedure procedure);

// Ini files held in memory, by the path the module names them with. While a
// table is set the profile functions read and write it instead of the disk,
// with the same parsing and the same edits: the settings fuzzer runs its
// inputs through them thousands of times a second this way. Null: files.
typedef std::map<std::string, std::string> PosixProfileFiles;
void PosixKeepProfilesInMemory(PosixProfileFiles* files);
