#include "qt/list_dialogs.h"

#include "qt/main_layout.h"
#include "qt/qt_dialog_runner.h"
#include "qt/qt_text.h"
#include "qt/settings_dialogs.h"
#include "res/texts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace zorone::qt {
namespace {

struct KeywordRow {
    int checkId;
    const std::string* caption;
    int CKeywordSaveDlg::*flag;
    int editId;
    std::string CKeywordSaveDlg::*keyword;
};

const KeywordRow kKeywordRows[] = {
    { 1038, &res::kCheckKeyResult, &CKeywordSaveDlg::m_bUseResult, 1042, &CKeywordSaveDlg::m_sKeyResult },
    { 1039, &res::kCheckKeyFileName, &CKeywordSaveDlg::m_bUseFileName, 1043, &CKeywordSaveDlg::m_sKeyFileName },
    { 1040, &res::kCheckKeyExt, &CKeywordSaveDlg::m_bUseExt, 1044, &CKeywordSaveDlg::m_sKeyExt },
    { 1041, &res::kCheckKeyUrl, &CKeywordSaveDlg::m_bUseURL, 1045, &CKeywordSaveDlg::m_sKeyURL },
};

constexpr int kIdItemMark = 1043;
constexpr int kIdItemUrl = 1045;

// OK and Cancel at the bottom right, OK the default.
void AddDialogButtons(QDialog* dialog, QVBoxLayout* layout, const std::string& ok, const std::string& cancel)
{
    auto* row = new QHBoxLayout;
    row->addStretch();
    auto* okButton = new QPushButton(ToQt(ok), dialog);
    okButton->setObjectName(QString::number(kIdOk));
    okButton->setDefault(true);
    QObject::connect(okButton, &QPushButton::clicked, dialog, &QDialog::accept);
    auto* cancelButton = new QPushButton(ToQt(cancel), dialog);
    cancelButton->setObjectName(QString::number(kIdCancel));
    cancelButton->setAutoDefault(false);
    QObject::connect(cancelButton, &QPushButton::clicked, dialog, &QDialog::reject);
    row->addWidget(okButton);
    row->addWidget(cancelButton);
    layout->addLayout(row);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

} // namespace

KeywordSaveDialog::KeywordSaveDialog(CKeywordSaveDlg& fields, platform::UiServices& ui, QWidget* parent)
    : QDialog(parent)
    , m_fields(fields)
    , m_ui(ui)
{
    setObjectName(QStringLiteral("137"));
    setWindowTitle(ToQt(res::kTitleKeywordSave));
    const DialogUnits units = DialogUnits::ForFont(font());
    auto* top = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(ToQt(res::kLabelKeyword), this), 0, 1);
    for (size_t i = 0; i < std::size(kKeywordRows); ++i) {
        const KeywordRow& row = kKeywordRows[i];
        m_checks[i] = new QCheckBox(ToQt(*row.caption), this);
        m_checks[i]->setObjectName(QString::number(row.checkId));
        m_checks[i]->setChecked(m_fields.*row.flag == 1);
        m_keywords[i] = new QLineEdit(ToQt(m_fields.*row.keyword), this);
        m_keywords[i]->setObjectName(QString::number(row.editId));
        m_keywords[i]->setMinimumWidth(units.ToPixelsX(120));
        const int line = static_cast<int>(i) + 1;
        grid->addWidget(m_checks[i], line, 0);
        grid->addWidget(m_keywords[i], line, 1);
    }
    top->addLayout(grid);
    AddDialogButtons(this, top, res::kButtonRun, res::kButtonCancel);
}

void KeywordSaveDialog::accept()
{
    for (size_t i = 0; i < std::size(kKeywordRows); ++i) {
        m_fields.*kKeywordRows[i].flag = m_checks[i]->isChecked() ? 1 : 0;
        m_fields.*kKeywordRows[i].keyword = FromQt(m_keywords[i]->text());
    }
    if (m_fields.Validate(m_ui))
        QDialog::accept();
}

ItemEditDialog::ItemEditDialog(CItemEditDlg& fields, QWidget* parent)
    : QDialog(parent)
    , m_fields(fields)
{
    setObjectName(QStringLiteral("139"));
    setWindowTitle(ToQt(res::kTitleItemEdit));
    const DialogUnits units = DialogUnits::ForFont(font());
    auto* top = new QVBoxLayout(this);
    auto* grid = new QGridLayout;

    m_mark = new QComboBox(this);
    m_mark->setObjectName(QString::number(kIdItemMark));
    m_mark->setEditable(true);
    // Typed marks are used as they are, never added to the offered ones.
    m_mark->setInsertPolicy(QComboBox::NoInsert);
    for (const std::string& mark : ItemEditMarks())
        m_mark->addItem(ToQt(mark));
    m_mark->setCurrentText(ToQt(m_fields.m_sMark));
    grid->addWidget(new QLabel(ToQt(res::kLabelItemMark), this), 0, 0);
    grid->addWidget(m_mark, 0, 1, Qt::AlignLeft);

    m_url = new QLineEdit(ToQt(m_fields.m_sURL), this);
    m_url->setObjectName(QString::number(kIdItemUrl));
    m_url->setMinimumWidth(units.ToPixelsX(220));
    auto* urlLabel = new QHBoxLayout;
    urlLabel->addWidget(new QLabel(ToQt(res::kLabelItemUrl), this));
    urlLabel->addWidget(new QLabel(ToQt(res::kFullColon), this));
    urlLabel->addStretch();
    grid->addLayout(urlLabel, 1, 0);
    grid->addWidget(m_url, 1, 1);

    top->addLayout(grid);
    AddDialogButtons(this, top, res::kButtonApply, res::kButtonCancel);
}

void ItemEditDialog::accept()
{
    m_fields.m_sMark = FromQt(m_mark->currentText());
    m_fields.m_sURL = FromQt(m_url->text());
    QDialog::accept();
}

ListDialogs MakeQtListDialogs(QWidget* parent, platform::UiServices* ui)
{
    const QPointer<QWidget> owner(parent);
    ListDialogs dialogs;
    dialogs.keywordSave = [owner, ui](CKeywordSaveDlg& fields) {
        return RunModal(ui, [&](platform::UiServices& dialogUi) {
            return std::make_unique<KeywordSaveDialog>(fields, dialogUi, owner);
        });
    };
    dialogs.itemEdit = [owner, ui](CItemEditDlg& fields) {
        return RunModal(ui, [&](platform::UiServices&) { return std::make_unique<ItemEditDialog>(fields, owner); });
    };
    return dialogs;
}

} // namespace zorone::qt
