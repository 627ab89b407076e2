// Who to contact and which version this is: the one place that says so.
#pragma once

// The version: these three numbers are the only place it is written. The
// DLL's version resource, the about box, the tool's --version and the
// release package's file name all take it from here.
#define AEROTRACE_VERSION_MAJOR 1
#define AEROTRACE_VERSION_MINOR 0
#define AEROTRACE_VERSION_PATCH 0
#define AEROTRACE_STRINGIFY_(x) #x
#define AEROTRACE_STRINGIFY(x) AEROTRACE_STRINGIFY_(x)
#define AEROTRACE_VERSION                                                    \
    AEROTRACE_STRINGIFY(AEROTRACE_VERSION_MAJOR) "." AEROTRACE_STRINGIFY(   \
        AEROTRACE_VERSION_MINOR) "." AEROTRACE_STRINGIFY(AEROTRACE_VERSION_PATCH)
#define AEROTRACE_SUPPORT_ADDRESS "support@aerotrace.example"
#define AEROTRACE_SUPPORT_WEB "https://aerotrace.example/support"

// The about box's rights notice and help line.
#define ABOUT_RIGHTS_1 "Copyright (c) 2024 the Aerotrace developers."
#define ABOUT_RIGHTS_2 "Free to use; share your flights freely."
#define ABOUT_SUPPORT_LINE "Help, updates and questions:"

// Internal-failure messages end with the support address.
#define SUPPORT_SUFFIX " " AEROTRACE_SUPPORT_ADDRESS
