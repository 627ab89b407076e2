// The module's mode and handles, which every layer above reads.
#include "core/host/module_state.h"

ModuleCore module;
