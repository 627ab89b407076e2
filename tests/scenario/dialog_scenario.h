// Shared by the dialog scenarios: the module's dialogs opened from its menu
// and keys and answered step by step as a user would, the settings file
// read back as its sections and keys, and what each dialog showed.
#pragma once

#include <string>
#include <vector>

#include "recording_scenario.h"
#include "ui/dialogs/dialog_ids.h"
#include "user_input.h"

// Hot-key control modifier flags.
enum : uint16_t { HotShift = 0x100, HotControl = 0x200, HotAlt = 0x400, HotExtended = 0x800 };

// A key of the settings file, in the order the file holds them.
struct IniEntry {
    std::string section;
    std::string key;
    std::string value;
    bool operator==(const IniEntry& other) const {
        return section == other.section && key == other.key && value == other.value;
    }
};
std::vector<IniEntry> IniEntries(const std::string& text);
// Modules\Aerotrace.ini as it is now ("" when there is none).
std::string SettingsFileText();
std::ostream& operator<<(std::ostream& out, const IniEntry& entry);

// Presses a key with Control held; true when the module took it.
bool PressWithControl(int key);

class DialogScenario : public RecordingScenario {
protected:
    // Loads the module on this settings file ("" for none) and loads a
    // flight, which starts the replay buffer when replay is on.
    void StartWithSettings(const std::string& text);
    // The one dialog shown since the log was cleared (the test fails otherwise).
    static SimDialogShown OnlyDialog();
    // The control as the dialog showed it at this state (0: as it opened).
    static SimControlState Control(const SimDialogShown& dialog, size_t state, int id);
};
