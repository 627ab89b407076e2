// Native builds link the module into the stand-in; a new "load" gives it the
// fresh state a newly loaded library would have.
#pragma once

void SimResetModuleState();
