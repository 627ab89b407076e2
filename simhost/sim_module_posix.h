// The module in native builds: a shared library (libaerotrace_module.so)
// that the program links and the loader maps once, where the simulator
// loads the DLL afresh each time it starts.
#pragma once

struct ModuleLinkage;
struct ImportEntry;

// The module library as the stand-in reaches it: its exported records.
struct ModuleLibrary {
    ModuleLinkage* linkage;
    ImportEntry* importTable;
};

// Finds the library's Linkage and ImportTable by name, as the simulator
// looks up the DLL's exports. Null members when the program holds no module.
ModuleLibrary SimFindModuleLibrary();

// Gives the library back the data it had when the program started, before
// any of the module's code ran: what a newly loaded library holds. False
// when the library's memory could not be told.
bool SimRestoreModuleImage();

struct PosixHostHooks;
// The stand-in's dialog manager for the module's dialogs (sim_dialogs_posix.cpp).
void SimSetDialogHooks(PosixHostHooks* hooks);
