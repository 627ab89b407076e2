// Who to contact and which version this is: the one place that says so.
#pragma once

#define AEROTRACE_VERSION "1.0.0"
#define AEROTRACE_SUPPORT_ADDRESS "support@aerotrace.example"

// Internal-failure messages end with the support address.
#define SUPPORT_SUFFIX " " AEROTRACE_SUPPORT_ADDRESS
