// The Level D 767 add-on: telling it from its title, and its light
// switches, which live in named variables of its own instead of the host's
// light word. Capture packs them into the sample's lights field; playback
// writes them back one variable per bit.
#pragma once

#include <cstdint>

// True when the title names the Level D 767 ("Level D", "Level-D" or
// "LevelD", together with "767"; case matters). A null title is not.
bool IsLevelD767Title(const char* title);

// Looks at the user aircraft's title again after a flight or aircraft
// change: sets session.levelDFlag and clears session.aircraftChanged.
void RefreshLevelDFlag();

// The user aircraft's switches as a lights word (bit 15 always set).
uint16_t ReadLevelDLights();
// Sets every switch variable to its bit of word, in the same order.
void WriteLevelDLights(uint16_t word);
