#pragma once
// Dialog data exchange without a toolkit. A dialog model keeps its members
// (the values it edits) apart from its controls (what the user sees and
// types), because the two differ while a dialog is open: typed text becomes
// a member only when the controls are read, and writing the members back
// discards what was typed. Front ends mirror the controls into widgets.
#include "platform/ui_services.h"

#include <map>
#include <string>
#include <string_view>

namespace zorone {

// The contents of a dialog's controls, by control id. Edit fields hold text;
// check boxes hold 0 or 1; a radio group is kept under the id of its first
// button and holds the position of the selected button, or -1 for none.
class DialogControls {
public:
    const std::string& Text(int id) const;
    void SetText(int id, std::string text) { m_texts[id] = std::move(text); }
    int State(int id) const;
    void SetState(int id, int state) { m_states[id] = state; }

private:
    std::map<int, std::string> m_texts;
    std::map<int, int> m_states;
};

// A decimal integer as an integer field holds it: blanks and tabs around it,
// an optional sign, at least one digit, nothing else. Values beyond the
// 32-bit range are clamped to it rather than wrapped. False when the text is
// no integer (the empty text included).
bool ParseDialogInt(std::string_view text, int& value);

// One exchange pass over a dialog's fields, in either direction. Reading
// stops at the first integer field that holds no integer and remembers it;
// the fields before it have been read already.
class DataExchange {
public:
    DataExchange(DialogControls& controls, bool save)
        : m_controls(controls)
        , m_save(save)
    {
    }

    bool Saving() const { return m_save; }
    // The id of the integer field that failed, 0 when none did.
    int FailedControl() const { return m_failed; }

    void Text(int id, std::string& member);
    void Int(int id, int& member);
    // count buttons from id; a member outside 0..count-1 selects none.
    void Radio(int id, int count, int& member);
    // Writing resets a member outside 0..2 to 0 and checks the box only for
    // 1, the one value a flag counts as on; reading gives 0 or 1.
    void Check(int id, int& member);

private:
    DialogControls& m_controls;
    bool m_save;
    int m_failed = 0;
};

// What every dialog model shares: the controls and the two exchange
// directions around its own field list.
class DialogModel {
public:
    virtual ~DialogModel() = default;

    DialogControls controls;

    // The dialog opens: members into controls.
    virtual void OnInitDialog() { WriteControls(); }

    // Members into controls.
    void WriteControls();
    // Controls into members; false when an integer field holds no integer,
    // whose id FocusControl() then gives.
    bool ReadControls();
    int FocusControl() const { return m_focus; }

    // The OK button: reads the controls; when an integer field holds no
    // integer, shows "整数を入力してください。" and returns false so that the
    // dialog stays open with the focus on that field.
    bool OnOK(platform::UiServices& ui);

protected:
    virtual void DoDataExchange(DataExchange& dx) = 0;
    // Asked by OnOK once the members are read: false keeps the dialog open
    // (the model has told the user why).
    virtual bool CheckMembers(platform::UiServices& ui)
    {
        (void)ui;
        return true;
    }

private:
    int m_focus = 0;
};

} // namespace zorone
