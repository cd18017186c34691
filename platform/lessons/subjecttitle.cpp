#include "platform/lessons/subjecttitle.h"

namespace lessons {

namespace {

    // Proper case as the original runtime does it: only blanks and control characters start a word, so
    // "o'neil" stays "O'neil".
    QString properCase(const QString& text)
    {
        QString result = text;
        bool wordStart = true;
        for (QChar& c : result) {
            const char16_t u = c.unicode();
            // File names are mostly plain ASCII, which needs no look-up in the Unicode tables.
            if (u < 0x80) {
                if (u == ' ' || (u >= '\t' && u <= '\r') || u == 0) {
                    wordStart = true;
                    continue;
                }
                if (wordStart && u >= 'a' && u <= 'z')
                    c = QChar(u - 32);
                else if (!wordStart && u >= 'A' && u <= 'Z')
                    c = QChar(u + 32);
            } else if (c.isSpace()) {
                wordStart = true;
                continue;
            } else {
                c = wordStart ? c.toUpper() : c.toLower();
            }
            wordStart = false;
        }
        return result;
    }

}

QString subjectTitle(const QString& fileName)
{
    // Each piece between underscores after a blank: the name with a blank in front and for every underscore.
    QString title = QLatin1Char(' ') + fileName;
    title.replace(QLatin1Char('_'), QLatin1Char(' '));
    if (title.size() < 4)
        return {};
    title.chop(4);
    return properCase(title);
}

}
