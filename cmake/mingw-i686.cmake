# Cross toolchain for 32-bit Windows: mingw-w64 with the win32 threads model,
# linked statically. The module has no threads of its own, and with this
# model the C++ runtime needs no POSIX-threads library, whose static copy
# imports functions that Windows XP does not have (GetTickCount64).
# Nothing here needs Wine: the programs the build makes run under Wine, or
# in the Windows guest, only when the tests run them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-win32)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-win32)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
