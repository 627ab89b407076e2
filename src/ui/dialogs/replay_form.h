// The replay dialog's decisions: whether the buffer holds enough to offer a
// replay, and how many seconds a number typed into its field asks for.
#pragma once

#include <cstdint>

// The shortest replay the dialog offers.
constexpr uint32_t ShortestReplaySeconds = 5;

// True when the buffer's whole seconds are enough for the dialog to open.
inline bool ReplayOffered(uint32_t availableSeconds) { return availableSeconds >= ShortestReplaySeconds; }

// The seconds to replay for a typed number: at least the shortest replay,
// at most what the buffer holds — the buffer may hold far more than the
// up-down control's 16 bits, and the field takes any number of digits.
inline uint32_t ReplaySecondsFor(uint32_t typed, uint32_t availableSeconds) {
    if (typed > availableSeconds) typed = availableSeconds;
    return typed < ShortestReplaySeconds ? ShortestReplaySeconds : typed;
}
