#pragma once
// Qt's own texts (file dialogs, standard buttons, context menus of edit
// fields) in Japanese, like the rest of the window, whatever the desktop's
// language.
class QCoreApplication;

namespace zorone::qt {

// Installs Qt's Japanese translations from its translations folder.
// false when they are not installed (the qt6-translations-l10n package); Qt
// then speaks English.
bool InstallQtTranslations(QCoreApplication& app);

} // namespace zorone::qt
