// Native builds have no real main window: nothing to subclass.
#include "core/module.h"

void* SubclassMainWindow(WindowHandle) { return nullptr; }
