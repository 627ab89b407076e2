// The module's dialog templates as native builds see them: read from the
// module's resource script, since there is no resource compiler and no
// dialog manager there. Only what playing the dialog manager needs.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct SimTemplateControl {
    std::string text;
    int id;
    std::string className;  // lower case
    uint32_t style;
    int x, y, width, height;  // dialog units
};

struct SimDialogTemplate {
    uint32_t id;
    std::string caption;
    uint32_t style;
    int width, height;
    std::vector<SimTemplateControl> controls;  // in the template's (tab) order
};

// Reads every DIALOG and DIALOGEX of the script and the scripts it includes
// with #include "...". False, with the file, line and reason in *problem,
// for anything it does not understand.
bool SimReadResourceScript(const std::string& path, std::vector<SimDialogTemplate>* templates, std::string* problem);
// The template with this id from the module's own script (read once); null
// with *problem set when it is not there or the script cannot be read.
const SimDialogTemplate* SimModuleDialogTemplate(uint32_t id, std::string* problem);
