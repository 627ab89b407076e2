#include "engine/tracks/track.h"
#include <vector>
