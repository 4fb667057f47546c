#include "qt/qt_ui_services.h"

#include "platform/code_page.h"
#include "qt/qt_icons.h"
#include "qt/qt_text.h"
#include "res/texts.h"

#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSystemTrayIcon>
#include <QUrl>

namespace zorone::qt {
namespace {

using platform::MbAnswer;
using platform::MbButtons;

// Paths cross the interface as CP932 with "/" separators.
std::string FromQtPath(const QString& path)
{
    return path.isEmpty() ? std::string() : FromQt(path);
}

QString ToQtPath(const std::string& cp932Path)
{
    return QString::fromStdString(platform::ToFsPath(cp932Path));
}

} // namespace

QString ToQtNameFilter(const QString& filter)
{
    const QStringList parts = filter.split(u'|', Qt::SkipEmptyParts);
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(u';', u' ');
        // "*.*" means every file; Qt's "*" also takes names without a dot.
        patterns.replace(QStringLiteral("*.*"), QStringLiteral("*"));
        filters << parts[i] + QStringLiteral(" (") + patterns + u')';
    }
    return filters.join(QStringLiteral(";;"));
}

QString WithFilterExtension(const QString& path, const QString& nameFilter)
{
    static const QRegularExpression kFirstPattern(QStringLiteral("\\(\\*\\.([A-Za-z0-9]+)[ )]"));
    const QRegularExpressionMatch match = kFirstPattern.match(nameFilter);
    const QString name = path.mid(path.lastIndexOf(u'/') + 1);
    if (!match.hasMatch() || name.isEmpty() || name.contains(u'.'))
        return path;
    return path + u'.' + match.captured(1);
}

QtUiServices::QtUiServices() = default;
QtUiServices::~QtUiServices() = default;

void QtUiServices::SetTrayMenu(QMenu* menu)
{
    m_trayMenu = menu;
    if (m_tray)
        m_tray->setContextMenu(menu);
}

MbAnswer QtUiServices::MessageBox(const std::string& text, const std::string& caption, MbButtons buttons)
{
    QMessageBox box(QMessageBox::NoIcon, ToQt(caption), ToQtLines(text), QMessageBox::NoButton, m_window);
    struct Choice {
        QAbstractButton* button;
        MbAnswer answer;
    };
    std::vector<Choice> choices;
    const auto add = [&](const std::string& label, QMessageBox::ButtonRole role, MbAnswer answer) {
        choices.push_back({ box.addButton(ToQt(label), role), answer });
    };
    // The box must be answered with one of its buttons: closing it counts as
    // the last (most cautious) one, as Esc does.
    switch (buttons) {
    case MbButtons::Ok:
        add(res::kMbOk, QMessageBox::AcceptRole, MbAnswer::Ok);
        break;
    case MbButtons::YesNo:
        add(res::kMbYes, QMessageBox::YesRole, MbAnswer::Yes);
        add(res::kMbNo, QMessageBox::NoRole, MbAnswer::No);
        break;
    case MbButtons::YesNoCancel:
        add(res::kMbYes, QMessageBox::YesRole, MbAnswer::Yes);
        add(res::kMbNo, QMessageBox::NoRole, MbAnswer::No);
        add(res::kMbCancel, QMessageBox::RejectRole, MbAnswer::Cancel);
        break;
    }
    box.setDefaultButton(static_cast<QPushButton*>(choices.front().button));
    box.setEscapeButton(choices.back().button);
    box.exec();
    for (const Choice& c : choices)
        if (box.clickedButton() == c.button)
            return c.answer;
    return choices.back().answer;
}

std::string QtUiServices::PickFolder(const std::string& title)
{
    return FromQtPath(QFileDialog::getExistingDirectory(m_window, ToQt(title)));
}

std::string QtUiServices::PickOpenFile(const std::string& defaultName, const std::string& filter)
{
    QFileDialog dialog(m_window);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(ToQtNameFilter(ToQt(filter)));
    if (!defaultName.empty())
        dialog.selectFile(ToQtPath(defaultName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return FromQtPath(dialog.selectedFiles().constFirst());
}

std::string QtUiServices::PickSaveFile(const std::string& defaultExtension, const std::string& filter)
{
    QFileDialog dialog(m_window);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(ToQtNameFilter(ToQt(filter)));
    dialog.setDefaultSuffix(ToQt(defaultExtension));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    // The list is written in the format its extension names: a name typed
    // without one under the CSV filter must still become a CSV file.
    return FromQtPath(WithFilterExtension(dialog.selectedFiles().constFirst(), dialog.selectedNameFilter()));
}

bool QtUiServices::ShellOpen(const std::string& target)
{
    if (target.empty())
        return false;
    // An address has a scheme followed by "://"; anything else is a local
    // path, which must not be parsed as a URL (a "#" or "?" in a file name
    // would cut it short).
    static const QRegularExpression kAddress(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*://"));
    const QString text = ToQt(target);
    const bool address = kAddress.match(text).hasMatch();
    const QUrl url = address ? QUrl(text, QUrl::TolerantMode) : QUrl::fromLocalFile(ToQtPath(target));
    if (!url.isValid()) {
        ReportNoHandler(target);
        return false;
    }
    // The opener is asked and left to run: it may stay until the browser it
    // started closes, and it says only by its exit status that the desktop
    // has no program for the target. It is never stopped by Zorone, so that
    // a browser started through it outlives the window.
    auto* opener = new QProcess();
    opener->setProgram(QString::fromLatin1(kOpener));
    opener->setArguments({ address ? url.toString(QUrl::FullyEncoded) : url.toLocalFile() });
    opener->setProcessChannelMode(QProcess::ForwardedChannels);
    opener->setStandardInputFile(QProcess::nullDevice());
    QObject::connect(
        opener, &QProcess::finished, &m_openerReports, [this, opener, target](int code, QProcess::ExitStatus status) {
            opener->deleteLater();
            if (status != QProcess::NormalExit || code != 0)
                ReportNoHandler(target);
        });
    QObject::connect(
        opener, &QProcess::errorOccurred, &m_openerReports, [this, opener, target](QProcess::ProcessError error) {
            if (error != QProcess::FailedToStart)
                return;
            opener->deleteLater();
            ReportNoHandler(target);
        });
    opener->start();
    return true;
}

void QtUiServices::ReportNoHandler(const std::string& target)
{
    MessageBox(res::kMsgNoHandler + target, res::kCaptionWarning, MbButtons::Ok);
}

void QtUiServices::TrayAdd(int icon, const std::string& tip)
{
    if (!m_tray) {
        m_tray = std::make_unique<QSystemTrayIcon>();
        QObject::connect(m_tray.get(), &QSystemTrayIcon::activated, [this](QSystemTrayIcon::ActivationReason r) {
            if (!m_trayCallback)
                return;
            if (r == QSystemTrayIcon::DoubleClick)
                m_trayCallback(0x203);
            else if (r == QSystemTrayIcon::Context)
                m_trayCallback(0x204);
        });
        m_tray->setContextMenu(m_trayMenu);
    }
    TrayModify(icon, tip);
    m_tray->show();
}

void QtUiServices::TrayModify(int icon, const std::string& tip)
{
    if (!m_tray)
        return;
    m_tray->setIcon(ZoroneIcon(icon));
    m_tray->setToolTip(ToQt(tip));
}

void QtUiServices::TrayDelete()
{
    m_tray.reset();
}

void QtUiServices::SetWindowTitle(const std::string& title)
{
    if (m_window)
        m_window->setWindowTitle(ToQt(title));
}

void QtUiServices::ShowMainWindow(bool show)
{
    if (!m_window)
        return;
    if (!show) {
        m_window->hide();
        return;
    }
    // show() keeps the window's minimised or normal state.
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

} // namespace zorone::qt
