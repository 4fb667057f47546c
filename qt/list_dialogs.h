#pragma once
// The two dialogs of the list commands: the keyword save (137) and the item
// editor (139). Each edits the fields of its command's dialog object; they
// are read from the widgets when the OK button is pressed.
#include "app/list_commands.h"
#include "listops/item_edit.h"
#include "listops/keyword_save.h"
#include "platform/ui_services.h"

#include <QDialog>

#include <array>

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace zorone::qt {

// "選択キーワード指定保存": four check boxes (1038-1041), each with its
// keyword field (1042-1045). "実行" stays in the dialog, with a message
// from ui, while no box is ticked or every keyword is empty.
class KeywordSaveDialog final : public QDialog {
public:
    KeywordSaveDialog(CKeywordSaveDlg& fields, platform::UiServices& ui, QWidget* parent = nullptr);

    void accept() override;

private:
    CKeywordSaveDlg& m_fields;
    platform::UiServices& m_ui;
    std::array<QCheckBox*, 4> m_checks {};
    std::array<QLineEdit*, 4> m_keywords {};
};

// "リストアイテム 編集": the mark as an editable, unsorted combo box (1043)
// offering ItemEditMarks(), and the URL (1045).
class ItemEditDialog final : public QDialog {
public:
    explicit ItemEditDialog(CItemEditDlg& fields, QWidget* parent = nullptr);

    void accept() override;

private:
    CItemEditDlg& m_fields;
    QComboBox* m_mark = nullptr;
    QLineEdit* m_url = nullptr;
};

// Runners for both dialogs, opened modally over parent. ui, when given,
// answers the keyword dialog's messages; without it they are Qt message
// boxes over the dialog.
ListDialogs MakeQtListDialogs(QWidget* parent, platform::UiServices* ui = nullptr);

} // namespace zorone::qt
