#include "res/dialogs.h"

#include "res/texts.h"

#include <algorithm>

namespace zorone::res {
namespace {

#define ZDIALOG(idd, title, ok, cancel) DialogSpec { idd, title, ok, cancel },
#define ZCONTROL(idd, id, kind, caption)
const DialogSpec kDialogs[] = {
#include "res/dialogs.def"
};
#undef ZDIALOG
#undef ZCONTROL

#define ZDIALOG(idd, title, ok, cancel)
#define ZCONTROL(idd, id, kind, caption) ControlSpec { idd, id, ControlKind::kind, caption },
const ControlSpec kControls[] = {
#include "res/dialogs.def"
};
#undef ZDIALOG
#undef ZCONTROL

} // namespace

const DialogSpec* FindDialog(int idd)
{
    const auto it
        = std::find_if(std::begin(kDialogs), std::end(kDialogs), [idd](const DialogSpec& d) { return d.idd == idd; });
    return it == std::end(kDialogs) ? nullptr : &*it;
}

std::span<const ControlSpec> ControlsOf(int idd)
{
    // The rows of one dialog stand together in the table.
    const auto first = std::find_if(
        std::begin(kControls), std::end(kControls), [idd](const ControlSpec& c) { return c.idd == idd; });
    const auto last = std::find_if(first, std::end(kControls), [idd](const ControlSpec& c) { return c.idd != idd; });
    return { first, last };
}

} // namespace zorone::res
