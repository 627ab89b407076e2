// The dialog scenarios' fixture and the settings file read back.
#include "dialog_scenario.h"

#include <cstdio>
#include <fstream>
#include <ostream>
#include <sstream>

std::vector<IniEntry> IniEntries(const std::string& text) {
    std::vector<IniEntry> entries;
    std::istringstream lines(text);
    std::string line, section;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        if (line.front() == '[' && line.back() == ']') {
            section = line.substr(1, line.size() - 2);
            continue;
        }
        size_t equals = line.find('=');
        if (equals == std::string::npos) continue;
        entries.push_back(IniEntry{section, line.substr(0, equals), line.substr(equals + 1)});
    }
    return entries;
}

std::ostream& operator<<(std::ostream& out, const IniEntry& entry) {
    return out << "[" << entry.section << "] " << entry.key << "=" << entry.value;
}

void DialogScenario::StartWithSettings(const std::string& text) {
    if (!text.empty()) WriteSettings(text);
    Start();
    SimFireEvent(38, 0, 1);
}

std::string SettingsFileText() {
    std::ifstream in("Modules/Aerotrace.ini", std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool PressWithControl(int key) {
    SimSetKeyHeld(KeyControl, true);
    const bool taken = !Press(key);
    SimSetKeyHeld(KeyControl, false);
    return taken;
}

SimDialogShown DialogScenario::OnlyDialog() {
    std::vector<SimDialogShown> shown = SimDialogsShown();
    EXPECT_EQ(shown.size(), 1u);
    return shown.empty() ? SimDialogShown{} : shown.back();
}

SimControlState DialogScenario::Control(const SimDialogShown& dialog, size_t state, int id) {
    if (state >= dialog.states.size()) {
        ADD_FAILURE() << "\"" << dialog.caption << "\" has no state " << state;
        return SimControlState{};
    }
    const SimControlState* control = SimFindControl(dialog.states[state], id);
    if (!control) {
        ADD_FAILURE() << "\"" << dialog.caption << "\" has no control " << id;
        return SimControlState{};
    }
    return *control;
}
