#include "translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace platform {

bool installToolkitTranslations(QCoreApplication& app, const QString& language)
{
    if (language.isEmpty() || language == QLatin1String("en"))
        return true;
    // "qt_<lang>" is the catalogue that gathers qtbase, qtmultimedia and the other modules' texts.
    auto* translator = new QTranslator(&app);
    if (!translator->load(QStringLiteral("qt_") + language, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

}
