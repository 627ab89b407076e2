#pragma once

#include "engine/tracks/track.h"
