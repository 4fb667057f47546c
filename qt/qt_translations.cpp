#include "qt/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace zorone::qt {

bool InstallQtTranslations(QCoreApplication& app)
{
    // Owned by the application, which keeps using it until it ends.
    auto* translator = new QTranslator(&app);
    // "qt" loads qtbase and the other modules' catalogues it names.
    if (!translator->load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qt"), QStringLiteral("_"),
            QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

} // namespace zorone::qt
