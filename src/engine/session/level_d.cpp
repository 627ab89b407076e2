// The Level D 767's light switches: its title test, and the switch variables
// packed into (and unpacked from) one 16-bit lights word.
#include "engine/session/level_d.h"

#include <cstring>

#include "core/host/host.h"
#include "engine/session/session.h"

namespace {

struct LevelDSwitch {
    const char* name;
    uint8_t bit;
};

// In the order the add-on's switches are read and written.
const LevelDSwitch Switches[] = {
    {"LVLDLightNavSwitch", 0},     {"LVLDLightBeaconSwitch", 1}, {"LVLDLightLLNoseSwitch", 2},
    {"LVLDLightTaxiSwitch", 3},    {"LVLDLightStrobeSwitch", 4}, {"LVLDLightPanelSwitch", 5},
    {"LVLDLightWingSwitch", 7},    {"LVLDLightRecogSwitch", 8},  {"LVLDLightOvrdSwitch", 10},
    {"LVLDLightTurnLSwitch", 11},  {"LVLDLightTurnRSwitch", 12}, {"LVLDLightLLLeftSwitch", 13},
    {"LVLDLightLLRightSwitch", 14},
};

// The host's double, truncated toward zero the way every recorded value is.
uint32_t SwitchValue(const char* name) {
    double value = HostGetVariable(HostLookupVariable(name));
    if (!(value > -2147483648.0 && value < 2147483648.0)) return 0;  // NaN or beyond any switch position
    return static_cast<uint32_t>(static_cast<int32_t>(value));
}

}  // namespace

bool IsLevelD767Title(const char* title) {
    if (!title) return false;
    bool levelD = std::strstr(title, "Level D") || std::strstr(title, "Level-D") || std::strstr(title, "LevelD");
    return levelD && std::strstr(title, "767");
}

void RefreshLevelDFlag() {
    session.levelDFlag = IsLevelD767Title(HostAircraftTitle(1)) ? 1 : 0;
    session.aircraftChanged = 0;
}

uint16_t ReadLevelDLights() {
    uint32_t word = 0;
    for (const LevelDSwitch& light : Switches) {
        uint32_t v = SwitchValue(light.name);
        switch (light.bit) {
        case 0: word = v; break;  // the first switch starts the word
        case 8: word |= (v & 0xFF) << 8; break;
        case 14: word |= (v | 0xFFFE) << 14; break;  // bit 15 marks a Level D word
        default: word |= v << light.bit; break;
        }
    }
    return static_cast<uint16_t>(word);
}

void WriteLevelDLights(uint16_t word) {
    for (const LevelDSwitch& light : Switches)
        HostSetVariable(HostLookupVariable(light.name), (word >> light.bit) & 1);
}
