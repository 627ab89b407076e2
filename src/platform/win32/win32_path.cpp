// Windows opens the module's paths as they are spelled.
#include "platform/native_path.h"

std::string NativePath(const char* path) { return std::string(path ? path : ""); }
