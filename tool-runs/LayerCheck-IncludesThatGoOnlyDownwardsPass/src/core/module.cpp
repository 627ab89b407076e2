#include "engine/tracks/track.h"
#include "core/host/host.h"
