#pragma once
// The settings dialogs, the address prompt and the manual as Qt dialogs,
// built from the dialog table of res/dialogs.def over a dialog model.
//
// The widgets stand for the model's controls: before a button's action the
// widgets are read into the model's controls, and after an action that
// rewrote them (a "デフォルト" or a picked folder) they show them again. The
// members change only through the model's own exchange, so a dialog that is
// cancelled leaves nothing behind but members its command throws away.
#include "platform/ui_services.h"
#include "settings/dialog_models.h"

#include <QDialog>

#include <functional>
#include <map>
#include <memory>

class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace zorone::qt {

// The control ids the dialog buttons get as object names.
constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;

class SettingsDialog final : public QDialog {
public:
    // Builds dialog idd of the table and shows the model's controls. ui
    // answers the messages of OK and of the model's buttons; both must
    // outlive the dialog.
    SettingsDialog(int idd, DialogModel& model, platform::UiServices& ui, QWidget* parent = nullptr);
    ~SettingsDialog() override;

    // The widget whose object name is id (radio buttons by their own id), or
    // nullptr.
    QWidget* Control(int id) const;

    // Runs action when the button, check box or radio button id is clicked,
    // with the widgets read into the model's controls first; rewrite shows
    // the controls again afterwards.
    void OnClicked(int id, std::function<void()> action, bool rewrite);

    // Model controls into widgets, and back.
    void ShowControls();
    void TakeControls();

    // OK: the model reads the controls; when an integer field holds no
    // integer the model has said so, and the dialog stays open with that
    // field focused and its text selected.
    void accept() override;

private:
    void Build(int idd);

    DialogModel& m_model;
    platform::UiServices& m_ui;
    std::map<int, QLineEdit*> m_edits;
    std::map<int, QPlainTextEdit*> m_texts;
    std::map<int, QCheckBox*> m_checks;
    // Keyed by the id of the group's first button; button ids are positions.
    std::map<int, QButtonGroup*> m_radios;
};

// Each dialog with its buttons wired to its model's methods.
std::unique_ptr<SettingsDialog> MakeSettingsDialog(CActionSettingDlg& dlg, platform::UiServices& ui, QWidget* parent);
std::unique_ptr<SettingsDialog> MakeSettingsDialog(CItemSettingDlg& dlg, platform::UiServices& ui, QWidget* parent);
std::unique_ptr<SettingsDialog> MakeSettingsDialog(CAnalysisSettingDlg& dlg, platform::UiServices& ui, QWidget* parent);
std::unique_ptr<SettingsDialog> MakeSettingsDialog(CShortcutSettingDlg& dlg, platform::UiServices& ui, QWidget* parent);
std::unique_ptr<SettingsDialog> MakeSettingsDialog(CAddressDlg& dlg, platform::UiServices& ui, QWidget* parent);
std::unique_ptr<SettingsDialog> MakeSettingsDialog(CManualDlg& dlg, platform::UiServices& ui, QWidget* parent);

} // namespace zorone::qt
