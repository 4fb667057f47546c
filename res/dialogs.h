#pragma once
// The small modal dialogs' titles, buttons and controls as data (listed in
// dialogs.def), so that every front end builds the same dialogs from one
// table. Captions point at the CP932 texts of texts.h.
#include <span>
#include <string>

namespace zorone::res {

enum class ControlKind {
    Group, // framed group; holds the rows up to its GroupEnd
    GroupEnd,
    Radio, // one button of a radio group
    Check, // two-state check box
    Edit, // single-line text
    IntEdit, // single-line, digits only
    IntEditRight, // single-line, digits only, right-aligned
    ReadOnlyText, // multi-line, read-only, both scroll bars
    MultiEdit, // multi-line text, lines kept with CR LF
    Label,
    Button, // a push button handled by the dialog's model
};

struct DialogSpec {
    int idd;
    const std::string* title;
    const std::string* ok;
    const std::string* cancel; // nullptr: the dialog has only its OK button
};

struct ControlSpec {
    int idd;
    int id; // 0 for labels and group frames
    ControlKind kind;
    const std::string* caption; // nullptr when the control has none
};

// The dialog with this resource number, or nullptr.
const DialogSpec* FindDialog(int idd);
// Its controls, top to bottom.
std::span<const ControlSpec> ControlsOf(int idd);

} // namespace zorone::res
