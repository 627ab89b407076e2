#include "platform/posix/posix_hooks.h"
