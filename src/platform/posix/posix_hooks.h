// Native builds have no windows: the stand-in simulator answers what the
// module would ask the user (message boxes, file dialogs), names its main
// window and reports held keys through these hooks. Unset hooks behave like a
// user who presses the default button (or cancels a file dialog).
#pragma once

#include "platform/platform.h"

struct PosixHostHooks {
    int (*messageBox)(WindowHandle owner, const char* text, const char* caption, uint32_t flags);
    WindowHandle (*findWindow)(const char* className);
    int16_t (*asyncKeyState)(int virtualKey);
    int (*openFileDialog)(const FileDialogRequest* request, char* buffer, uint32_t size);
    int (*saveFileDialog)(const FileDialogRequest* request, char* buffer, uint32_t size);
};

void PosixSetHostHooks(const PosixHostHooks& hooks);
