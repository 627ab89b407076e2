#include "core/host/host.h"
#include "engine/tracks/track.h"
