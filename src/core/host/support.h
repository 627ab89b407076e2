// Who to contact and which version this is: the one place that says so.
#pragma once

// The version, written here only: the DLL's version resource (its numbers
// are taken from this line by the build), the about box, the tool's
// --version and the release package's file name all come from it.
#define AEROTRACE_VERSION "1.0.0"
#define AEROTRACE_SUPPORT_ADDRESS "support@aerotrace.example"
#define AEROTRACE_SUPPORT_WEB "https://aerotrace.example/support"

// The about box's rights notice and help line.
#define ABOUT_RIGHTS_1 "Copyright (c) 2024 the Aerotrace developers."
#define ABOUT_RIGHTS_2 "Free to use; share your flights freely."
#define ABOUT_SUPPORT_LINE "Help, updates and questions:"

// Internal-failure messages end with the support address.
#define SUPPORT_SUFFIX " " AEROTRACE_SUPPORT_ADDRESS
