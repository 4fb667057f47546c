#include "settings/dialog_exchange.h"

#include "res/texts.h"

#include <climits>

namespace zorone {

const std::string& DialogControls::Text(int id) const
{
    static const std::string empty;
    const auto it = m_texts.find(id);
    return it == m_texts.end() ? empty : it->second;
}

int DialogControls::State(int id) const
{
    const auto it = m_states.find(id);
    return it == m_states.end() ? 0 : it->second;
}

bool ParseDialogInt(std::string_view text, int& value)
{
    size_t i = 0;
    const auto skipBlanks = [&] {
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
            ++i;
    };
    skipBlanks();
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    const size_t digitsFrom = i;
    long long magnitude = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        if (magnitude <= INT_MAX)
            magnitude = magnitude * 10 + (text[i] - '0');
    }
    if (i == digitsFrom)
        return false;
    skipBlanks();
    if (i != text.size())
        return false;
    const long long signedValue = negative ? -magnitude : magnitude;
    value = static_cast<int>(signedValue < INT_MIN ? INT_MIN : signedValue > INT_MAX ? INT_MAX : signedValue);
    return true;
}

void DataExchange::Text(int id, std::string& member)
{
    if (m_failed)
        return;
    if (m_save)
        member = m_controls.Text(id);
    else
        m_controls.SetText(id, member);
}

void DataExchange::Int(int id, int& member)
{
    if (m_failed)
        return;
    if (!m_save) {
        m_controls.SetText(id, std::to_string(member));
        return;
    }
    int value = 0;
    if (ParseDialogInt(m_controls.Text(id), value))
        member = value;
    else
        m_failed = id;
}

void DataExchange::Radio(int id, int count, int& member)
{
    if (m_failed)
        return;
    if (m_save) {
        const int state = m_controls.State(id);
        member = state >= 0 && state < count ? state : -1;
    } else {
        m_controls.SetState(id, member >= 0 && member < count ? member : -1);
    }
}

void DataExchange::Check(int id, int& member)
{
    if (m_failed)
        return;
    if (m_save) {
        member = m_controls.State(id) == 1 ? 1 : 0;
        return;
    }
    if (member < 0 || member > 2)
        member = 0;
    m_controls.SetState(id, member == 1 ? 1 : 0);
}

void DialogModel::WriteControls()
{
    DataExchange dx(controls, false);
    DoDataExchange(dx);
}

bool DialogModel::ReadControls()
{
    DataExchange dx(controls, true);
    DoDataExchange(dx);
    m_focus = dx.FailedControl();
    return m_focus == 0;
}

bool DialogModel::OnOK(platform::UiServices& ui)
{
    if (ReadControls())
        return CheckMembers(ui);
    ui.MessageBox(res::kMsgEnterInteger, res::kCaptionProgram, platform::MbButtons::Ok);
    return false;
}

} // namespace zorone
