#include "translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace versomat {

bool installGermanTranslations()
{
    auto* translator = new QTranslator(QCoreApplication::instance());
    // The window uses Qt Widgets alone, whose texts are all in "qtbase"; "qt"
    // would load the Qt Quick and Multimedia catalogues as well.
    if (!translator->load(QLocale(QLocale::German, QLocale::Germany), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

} // namespace versomat
