// The playback's record of the simulator, shared by the per-frame playback
// and its start and end.
#include "engine/play/playback_state.h"

PlaybackState playback;
