#include "qt/settings_dialogs.h"

#include "qt/main_layout.h"
#include "qt/qt_text.h"
#include "res/dialogs.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include <vector>

namespace zorone::qt {
namespace {

using res::ControlKind;

bool IsEdit(ControlKind kind)
{
    return kind == ControlKind::Edit || kind == ControlKind::IntEdit || kind == ControlKind::IntEditRight;
}

bool IsIntEdit(ControlKind kind)
{
    return kind == ControlKind::IntEdit || kind == ControlKind::IntEditRight;
}

// Whether a control sits on the same line as the one before it: a field
// beside its label or radio button, a button after its field, a unit after
// its number.
bool JoinsRow(ControlKind previous, ControlKind next)
{
    if (IsEdit(next))
        return previous == ControlKind::Label || previous == ControlKind::Radio;
    if (next == ControlKind::Button)
        return IsEdit(previous);
    if (next == ControlKind::Label)
        return IsIntEdit(previous);
    return false;
}

// Lays the table's rows out top to bottom, inside group frames where the
// table opens them.
class RowLayout {
public:
    explicit RowLayout(QVBoxLayout* top)
        : m_columns { top }
    {
    }

    void Place(QWidget* widget, ControlKind kind)
    {
        if (!m_row || !JoinsRow(m_last, kind)) {
            EndRow();
            m_row = new QHBoxLayout;
            m_columns.back()->addLayout(m_row);
            // A button on a line of its own stands at the right edge.
            if (kind == ControlKind::Button)
                m_row->addStretch();
        }
        const bool stretches
            = kind == ControlKind::Edit || kind == ControlKind::ReadOnlyText || kind == ControlKind::MultiEdit;
        m_row->addWidget(widget, stretches ? 1 : 0);
        m_rowStretches = m_rowStretches || stretches;
        m_last = kind;
    }

    void OpenGroup(QGroupBox* box)
    {
        EndRow();
        m_columns.back()->addWidget(box);
        m_columns.push_back(new QVBoxLayout(box));
    }

    void CloseGroup()
    {
        EndRow();
        if (m_columns.size() > 1)
            m_columns.pop_back();
    }

    // A line without a growing field keeps its controls together at the
    // left instead of spreading them over the width.
    void EndRow()
    {
        if (m_row && !m_rowStretches && m_last != ControlKind::Button)
            m_row->addStretch();
        m_row = nullptr;
        m_rowStretches = false;
    }

private:
    std::vector<QVBoxLayout*> m_columns;
    QHBoxLayout* m_row = nullptr;
    bool m_rowStretches = false;
    ControlKind m_last = ControlKind::Label;
};

QString IdName(int id)
{
    return QString::number(id);
}

QLineEdit* MakeEdit(ControlKind kind, const DialogUnits& units, QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    if (!IsIntEdit(kind)) {
        edit->setMinimumWidth(units.ToPixelsX(130));
        return edit;
    }
    // Digits only, and no more than a 32-bit count has: a longer number
    // could not be held, and its sign cannot be typed at all.
    static const QRegularExpression kDigits(QStringLiteral("[0-9]{0,10}"));
    edit->setValidator(new QRegularExpressionValidator(kDigits, edit));
    edit->setMaxLength(10);
    edit->setFixedWidth(units.ToPixelsX(44));
    if (kind == ControlKind::IntEditRight)
        edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return edit;
}

QPlainTextEdit* MakeReadOnlyText(const DialogUnits& units, QWidget* parent)
{
    auto* text = new QPlainTextEdit(parent);
    text->setReadOnly(true);
    text->setLineWrapMode(QPlainTextEdit::NoWrap);
    text->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    text->setMinimumSize(units.ToPixelsX(280), units.ToPixelsY(150));
    return text;
}

QPlainTextEdit* MakeMultiEdit(const DialogUnits& units, QWidget* parent)
{
    auto* text = new QPlainTextEdit(parent);
    text->setLineWrapMode(QPlainTextEdit::NoWrap);
    text->setTabChangesFocus(true);
    text->setFixedHeight(units.ToPixelsY(40));
    return text;
}

} // namespace

SettingsDialog::SettingsDialog(int idd, DialogModel& model, platform::UiServices& ui, QWidget* parent)
    : QDialog(parent)
    , m_model(model)
    , m_ui(ui)
{
    setObjectName(IdName(idd));
    Build(idd);
    ShowControls();
}

SettingsDialog::~SettingsDialog() = default;

void SettingsDialog::Build(int idd)
{
    const res::DialogSpec* design = res::FindDialog(idd);
    if (!design)
        return;
    setWindowTitle(ToQt(*design->title));
    const DialogUnits units = DialogUnits::ForFont(font());
    auto* top = new QVBoxLayout(this);
    RowLayout rows(top);
    QButtonGroup* radios = nullptr;
    int radioFirst = 0;
    for (const res::ControlSpec& c : res::ControlsOf(idd)) {
        const QString caption = c.caption ? ToQt(*c.caption) : QString();
        QWidget* widget = nullptr;
        switch (c.kind) {
        case ControlKind::Group:
            rows.OpenGroup(new QGroupBox(caption, this));
            radios = nullptr;
            continue;
        case ControlKind::GroupEnd:
            rows.CloseGroup();
            radios = nullptr;
            continue;
        case ControlKind::Radio: {
            auto* button = new QRadioButton(caption, this);
            if (!radios) {
                radios = new QButtonGroup(this);
                radioFirst = c.id;
                m_radios[radioFirst] = radios;
            }
            radios->addButton(button, static_cast<int>(radios->buttons().size()));
            widget = button;
            break;
        }
        case ControlKind::Check:
            widget = m_checks[c.id] = new QCheckBox(caption, this);
            break;
        case ControlKind::Edit:
        case ControlKind::IntEdit:
        case ControlKind::IntEditRight:
            widget = m_edits[c.id] = MakeEdit(c.kind, units, this);
            break;
        case ControlKind::ReadOnlyText:
            widget = m_texts[c.id] = MakeReadOnlyText(units, this);
            break;
        case ControlKind::MultiEdit:
            widget = m_texts[c.id] = MakeMultiEdit(units, this);
            break;
        case ControlKind::Label:
            widget = new QLabel(caption, this);
            break;
        case ControlKind::Button: {
            auto* button = new QPushButton(caption, this);
            button->setAutoDefault(false);
            widget = button;
            break;
        }
        }
        if (c.id != 0)
            widget->setObjectName(IdName(c.id));
        rows.Place(widget, c.kind);
    }
    rows.EndRow();

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    auto* ok = new QPushButton(ToQt(*design->ok), this);
    ok->setObjectName(IdName(kIdOk));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    buttons->addWidget(ok);
    if (design->cancel) {
        auto* cancel = new QPushButton(ToQt(*design->cancel), this);
        cancel->setObjectName(IdName(kIdCancel));
        cancel->setAutoDefault(false);
        connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
        buttons->addWidget(cancel);
    }
    top->addLayout(buttons);
    top->setSizeConstraint(QLayout::SetFixedSize);
}

QWidget* SettingsDialog::Control(int id) const
{
    return findChild<QWidget*>(IdName(id));
}

void SettingsDialog::OnClicked(int id, std::function<void()> action, bool rewrite)
{
    auto* button = qobject_cast<QAbstractButton*>(Control(id));
    if (!button)
        return;
    connect(button, &QAbstractButton::clicked, this, [this, action = std::move(action), rewrite] {
        TakeControls();
        action();
        if (rewrite)
            ShowControls();
    });
}

void SettingsDialog::ShowControls()
{
    const DialogControls& controls = m_model.controls;
    for (const auto& [id, edit] : m_edits)
        edit->setText(ToQt(controls.Text(id)));
    for (const auto& [id, text] : m_texts)
        text->setPlainText(ToQtLines(controls.Text(id)));
    for (const auto& [id, check] : m_checks)
        check->setChecked(controls.State(id) == 1);
    for (const auto& [id, group] : m_radios) {
        // An exclusive group keeps one button checked; selecting none takes
        // lifting the rule for a moment.
        group->setExclusive(false);
        for (QAbstractButton* button : group->buttons())
            button->setChecked(group->id(button) == controls.State(id));
        group->setExclusive(true);
    }
}

void SettingsDialog::TakeControls()
{
    DialogControls& controls = m_model.controls;
    for (const auto& [id, edit] : m_edits)
        controls.SetText(id, FromQt(edit->text()));
    for (const auto& [id, text] : m_texts)
        if (!text->isReadOnly())
            controls.SetText(id, FromQtLines(text->toPlainText()));
    for (const auto& [id, check] : m_checks)
        controls.SetState(id, check->isChecked() ? 1 : 0);
    for (const auto& [id, group] : m_radios)
        controls.SetState(id, group->checkedId());
}

void SettingsDialog::accept()
{
    TakeControls();
    if (m_model.OnOK(m_ui)) {
        QDialog::accept();
        return;
    }
    const auto it = m_edits.find(m_model.FocusControl());
    if (it == m_edits.end())
        return;
    it->second->setFocus(Qt::OtherFocusReason);
    it->second->selectAll();
}

std::unique_ptr<SettingsDialog> MakeSettingsDialog(CActionSettingDlg& dlg, platform::UiServices& ui, QWidget* parent)
{
    return std::make_unique<SettingsDialog>(CActionSettingDlg::kIdd, dlg, ui, parent);
}

std::unique_ptr<SettingsDialog> MakeSettingsDialog(CItemSettingDlg& dlg, platform::UiServices& ui, QWidget* parent)
{
    return std::make_unique<SettingsDialog>(CItemSettingDlg::kIdd, dlg, ui, parent);
}

std::unique_ptr<SettingsDialog> MakeSettingsDialog(CAnalysisSettingDlg& dlg, platform::UiServices& ui, QWidget* parent)
{
    auto dialog = std::make_unique<SettingsDialog>(CAnalysisSettingDlg::kIdd, dlg, ui, parent);
    dialog->OnClicked(
        CAnalysisSettingDlg::kIdDefaultFileEx, [&dlg] { dlg.OnDefaultFileEx(); }, true);
    dialog->OnClicked(
        CAnalysisSettingDlg::kIdDefaultTag, [&dlg] { dlg.OnDefaultTag(); }, true);
    dialog->OnClicked(
        CAnalysisSettingDlg::kIdBrowseCookies, [&dlg, &ui] { dlg.OnBrowseCookies(ui); }, true);
    return dialog;
}

std::unique_ptr<SettingsDialog> MakeSettingsDialog(CShortcutSettingDlg& dlg, platform::UiServices& ui, QWidget* parent)
{
    auto dialog = std::make_unique<SettingsDialog>(CShortcutSettingDlg::kIdd, dlg, ui, parent);
    const auto choice = [&dlg] { dlg.OnClickChoice(); };
    dialog->OnClicked(CShortcutSettingDlg::kIdShortCut, choice, false);
    for (int id = CShortcutSettingDlg::kIdShortCutKind; id < CShortcutSettingDlg::kIdShortCutKind + 2; ++id)
        dialog->OnClicked(id, choice, false);
    dialog->OnClicked(
        CShortcutSettingDlg::kIdBrowse, [&dlg, &ui] { dlg.OnBrowse(ui); }, true);
    dialog->OnClicked(
        CShortcutSettingDlg::kIdHelp, [&dlg, &ui] { dlg.OnHelp(ui); }, false);
    return dialog;
}

std::unique_ptr<SettingsDialog> MakeSettingsDialog(CAddressDlg& dlg, platform::UiServices& ui, QWidget* parent)
{
    return std::make_unique<SettingsDialog>(CAddressDlg::kIdd, dlg, ui, parent);
}

std::unique_ptr<SettingsDialog> MakeSettingsDialog(CManualDlg& dlg, platform::UiServices& ui, QWidget* parent)
{
    return std::make_unique<SettingsDialog>(CManualDlg::kIdd, dlg, ui, parent);
}

} // namespace zorone::qt
