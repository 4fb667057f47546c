#include "engine/data_exchange.h"

namespace zorone {
namespace {

// Returns whether the box changed.
bool WriteCombo(ComboModel& combo, const std::string& value)
{
    const unsigned before = combo.Revision();
    if (combo.SelectString(value) < 0 && combo.EditText() != value) {
        combo.SetEditText(value);
        combo.Touch();
    }
    return combo.Revision() != before;
}

} // namespace

void WriteFieldsToControls(Core& core)
{
    bool combos = WriteCombo(core.window.folderCombo, core.settings.m_sPath);
    combos = WriteCombo(core.window.urlCombo, core.settings.m_sTopURL) || combos;
    if (combos)
        core.window.Notify(WindowPart::Combos);
    if (core.window.summaryText != core.m_sSummary) {
        core.window.summaryText = core.m_sSummary;
        core.window.Notify(WindowPart::Summary);
    }
}

void ReadFieldsFromControls(Core& core)
{
    core.settings.m_sPath = core.window.folderCombo.EditText();
    core.settings.m_sTopURL = core.window.urlCombo.EditText();
}

} // namespace zorone
