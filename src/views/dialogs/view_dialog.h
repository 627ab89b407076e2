// The one shape of the advanced views' dialogs: a form of text fields and
// check boxes held in a plain structure of texts, shown in the controls when
// the dialog opens and read back from them only on OK, so that Cancel leaves
// the structure as it was. Each dialog adds what its boxes do when clicked.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/platform.h"
#include "views/state/view_state.h"

// A text field: its control, where its text lies in the form's structure,
// and the longest text it takes.
struct FormText {
    int control;
    size_t offset;
    int limit;
};
// A check box and where its bool lies.
struct FormBox {
    int control;
    size_t offset;
};

struct ViewDialogForm {
    uint32_t templateId;
    const FormText* texts;
    size_t textCount;
    const FormBox* boxes;
    size_t boxCount;
    // The dialog has shown the form; a box was clicked (either may be null).
    void (*opened)(WindowHandle dialog);
    void (*clicked)(WindowHandle dialog, int control);
};

// Runs the dialog modally over the simulator's main window on the form's
// structure; true on OK, with the structure holding what the user left.
bool RunViewDialog(const ViewDialogForm& form, void* values);

// A text cut to at most limit characters.
void CopyLimited(char* to, const char* from, size_t limit);
