#include "language.h"

namespace games {

QString say(Language language, const Text& text)
{
    return QString::fromUtf8(language == Language::Spanish ? text.spanish : text.english);
}

bool parseLanguage(const QString& line, Language* language)
{
    const QString name = line.trimmed();
    if (name.compare(QLatin1String("English"), Qt::CaseInsensitive) == 0) {
        *language = Language::English;
        return true;
    }
    if (name.compare(QLatin1String("Spanish"), Qt::CaseInsensitive) == 0) {
        *language = Language::Spanish;
        return true;
    }
    return false;
}

Language productLanguage() { return GAMES_PRODUCT_SPANISH ? Language::Spanish : Language::English; }

}
