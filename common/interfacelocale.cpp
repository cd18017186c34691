#include "interfacelocale.h"

QLocale Interface_Locale(const QString& interfaceLanguage)
{
    const QLocale::Language language
        = interfaceLanguage == QLatin1String("Spanish") ? QLocale::Spanish : QLocale::English;
    const QLocale system;
    return system.language() == language ? system : QLocale(language);
}
