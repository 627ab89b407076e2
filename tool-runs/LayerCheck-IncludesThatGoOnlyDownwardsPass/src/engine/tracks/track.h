#include "core/host/host.h"
