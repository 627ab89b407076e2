// Native builds link the module into the stand-in; a new "load" gives it the
// fresh state a newly loaded library would have.
#pragma once

void SimResetModuleState();

struct PosixHostHooks;
// The stand-in's dialog manager for the module's dialogs (sim_dialogs_posix.cpp).
void SimSetDialogHooks(PosixHostHooks* hooks);
