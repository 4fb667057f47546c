#pragma once
// The main window's dialog resource (102) as data: its title, design size and
// controls with their designed positions and sizes in dialog units. The
// window is built from this table; sizes change afterwards only through the
// layout rules applied on resizing.
#include <span>
#include <string>

namespace zorone::res {

enum class ControlKind {
    Label,
    ComboSorted, // drop-down with edit field, list kept sorted
    ComboUnsorted, // drop-down with edit field, list in insertion order
    Button,
    ListView,
    SummaryEdit, // multi-line, read-only, vertical scroll bar
    ProgressBar,
};

// Controls without an id (the descriptive labels) use this, as dialog
// resources do.
constexpr int kStaticId = -1;

struct DialogControl {
    int id;
    ControlKind kind;
    const std::string* text; // caption; null when the control has none
    int x, y, width, height; // dialog units
};

struct DialogTemplate {
    int id;
    const std::string* title;
    int width, height; // dialog units
    std::span<const DialogControl> controls;
};

const DialogTemplate& MainDialog();

} // namespace zorone::res
