// How a path spelled the Windows way ("Modules\\Aerotrace1.tmp") is opened
// on this platform. Windows takes it as it is; native builds turn the
// backslashes into slashes and, like Windows, match each folder and file
// name regardless of letter case when the exact spelling does not exist.
#pragma once

#include <string>

std::string NativePath(const char* path);
