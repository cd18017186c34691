#include "exchangefile.h"

#include <QFile>
#include <QFileInfo>

#include "wholefile.h"

namespace platform::exchange {

namespace {

    // A line break inside a text would end its line early and shift every line after it, so the reader would
    // take the wrong fields; it becomes a blank.
    QString oneLine(QString text)
    {
        text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
        text.replace(QLatin1Char('\r'), QLatin1Char(' '));
        text.replace(QLatin1Char('\n'), QLatin1Char(' '));
        return text;
    }

    // Quotes inside the text are not doubled: the reader takes away exactly the first and the last character.
    QString quoted(const QString& text) { return QLatin1Char('"') + oneLine(text) + QLatin1Char('"'); }

    bool unquote(const QString& line, QString* text)
    {
        if (line.size() < 2 || !line.startsWith(QLatin1Char('"')) || !line.endsWith(QLatin1Char('"')))
            return false;
        *text = line.mid(1, line.size() - 2);
        return true;
    }

    // The print layout of a whole number: a blank for the sign of a number that is not negative, the digits,
    // one trailing blank.
    QString printNumber(int value)
    {
        return (value < 0 ? QString::number(value) : QLatin1Char(' ') + QString::number(value)) + QLatin1Char(' ');
    }

    bool isDigits(const QString& text)
    {
        if (text.isEmpty())
            return false;
        for (const QChar c : text) {
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return false;
        }
        return true;
    }

    bool isBlank(const QString& text) { return text.trimmed().isEmpty(); }

    QStringList splitLines(const QByteArray& bytes)
    {
        QStringList lines = QString::fromLocal8Bit(bytes).split(QLatin1Char('\n'));
        for (QString& line : lines) {
            if (line.endsWith(QLatin1Char('\r')))
                line.chop(1);
        }
        // The last line ends with CR LF too; blank lines after it carry nothing.
        while (!lines.isEmpty() && lines.last().isEmpty())
            lines.removeLast();
        return lines;
    }

    // Ten phrases take a few kilobytes; anything far larger is not an exchange file and is not read into memory.
    constexpr qint64 MaxFileBytes = 1 << 20;

    Reading failure(Reading reading, Problem problem, int line, const QString& detail)
    {
        reading.problem = problem;
        reading.line = line;
        reading.detail = detail;
        reading.contents.phrases.clear();
        return reading;
    }

    struct HeaderLine
    {
        const char* name; // for a file that ends before the line
        QString Contents::*text; // where a line of text goes; null for the numbers and the reserved lines
        const char* blankIsNot; // what a blank line should have been; null when a blank one will do
    };

    // The header in the file's order. The student's name is the key of every score row, so a blank one would file
    // the score under nobody.
    const HeaderLine Header[HeaderLines] = {
        { "the program's process number", nullptr, nullptr },
        { "the program code", &Contents::programCode, "a program code" },
        { "the product name", &Contents::productName, nullptr },
        { "the interface language", &Contents::interfaceLanguage, "an interface language" },
        { "the language taught", &Contents::taughtLanguage, nullptr },
        { "the student's name", &Contents::student, "a student's name" },
        { "the subject", &Contents::subject, "a subject" },
        { "the number of phrases", nullptr, nullptr },
        { "the user database", &Contents::usersDatabase, "the path of the user database" },
        { "the phrases' identities", nullptr, nullptr },
        { "reserved", nullptr, nullptr },
        { "reserved", nullptr, nullptr },
        { "reserved", nullptr, nullptr },
        { "reserved", nullptr, nullptr },
        { "a whole number", nullptr, nullptr },
    };

    // Takes header line `number` into the contents; an empty result, or what the line should have been.
    QString takeHeaderLine(int number, const QString& text, Contents* c)
    {
        const HeaderLine& h = Header[number - 1];
        if (h.text) {
            c->*h.text = text;
            return h.blankIsNot && isBlank(text) ? QString::fromLatin1(h.blankIsNot) : QString();
        }
        bool ok = false;
        switch (number) {
        case 1:
            c->processId = text.toLongLong(&ok);
            return isDigits(text) && ok ? QString() : QStringLiteral("a process number");
        case 8:
            return isDigits(text) && text.size() <= 2 && text.toInt() <= MaxPhrases
                ? QString()
                : QStringLiteral("a number of phrases from 0 to %1").arg(MaxPhrases);
        case 15:
            text.trimmed().toInt(&ok);
            return ok ? QString() : QStringLiteral("a whole number");
        default: // 10 is read with the phrases; 11 to 14 are reserved: whatever they hold is passed over
            return {};
        }
    }

    const char* const PhraseParts[LinesPerPhrase]
        = { "the phrase", "its translation", "its second translation", "its sound file" };

    constexpr int IdentitiesLine = 10;
    const QLatin1StringView NoIdentities("EMPTY");
    constexpr QChar IdentitySeparator = QLatin1Char('\t');

    QString identitiesLine(const QVector<Phrase>& phrases)
    {
        QStringList ids;
        bool any = false;
        for (const Phrase& p : phrases) {
            // An identity that held the separator would shift every one after it.
            const bool usable = !p.phraseId.contains(IdentitySeparator);
            ids << (usable ? p.phraseId : QString());
            any = any || (usable && !p.phraseId.isEmpty());
        }
        return any ? ids.join(IdentitySeparator) : QString(NoIdentities);
    }

    void takeIdentities(const QString& line, QVector<Phrase>* phrases)
    {
        const QStringList ids = line.split(IdentitySeparator);
        if (line == NoIdentities || ids.size() != phrases->size())
            return;
        for (int i = 0; i < ids.size(); ++i)
            (*phrases)[i].phraseId = ids.at(i);
    }

}

QString recordingFileOf(const QString& exchangeFile)
{
    QString name = exchangeFile;
    if (name.endsWith(QLatin1String(".txt")))
        name.chop(4);
    return name + QStringLiteral("said.wav");
}

QString phraseIdentity(const QString& subjectFile, int phraseNo)
{
    return QFileInfo(subjectFile).fileName() + QLatin1Char('#') + QString::number(phraseNo);
}

bool splitPhraseIdentity(const QString& identity, QString* subjectFile, int* phraseNo)
{
    const qsizetype hash = identity.lastIndexOf(QLatin1Char('#'));
    bool ok = false;
    const int number = hash > 0 && isDigits(identity.mid(hash + 1)) ? identity.mid(hash + 1).toInt(&ok) : 0;
    if (!ok)
        return false;
    *subjectFile = identity.left(hash);
    *phraseNo = number;
    return true;
}

QStringList lines(const Contents& c)
{
    QStringList out { QString::number(c.processId), c.programCode, c.productName, c.interfaceLanguage, c.taughtLanguage,
        c.student, c.subject, QString::number(c.phrases.size()), c.usersDatabase, identitiesLine(c.phrases) };
    for (int i = IdentitiesLine; i < HeaderLines - 1; ++i)
        out << QStringLiteral("EMPTY");
    out << printNumber(0);
    for (QString& line : out)
        line = oneLine(line);
    for (const Phrase& p : c.phrases)
        out << quoted(p.tPhrase) << quoted(p.tTranslation) << quoted(p.tTranslation2) << quoted(p.soundFile);
    return out;
}

QByteArray bytes(const Contents& c)
{
    QByteArray out;
    for (const QString& line : lines(c))
        out += line.toLocal8Bit() + "\r\n";
    return out;
}

bool write(const QString& path, const Contents& c, QString* error) { return writeWholeFile(path, bytes(c), error); }

Reading parse(const QByteArray& bytes)
{
    Reading r;
    const QStringList lines = splitLines(bytes);
    if (lines.isEmpty())
        return failure(r, Problem::Truncated, 1, QStringLiteral("the file is empty"));

    for (int number = 1; number <= HeaderLines; ++number) {
        if (lines.size() < number) {
            return failure(r, Problem::Truncated, number,
                QStringLiteral("the file ends before line %1 (%2)")
                    .arg(number)
                    .arg(QString::fromLatin1(Header[number - 1].name)));
        }
        const QString expected = takeHeaderLine(number, lines.at(number - 1), &r.contents);
        if (!expected.isEmpty())
            return failure(r, Problem::BadLine, number, QStringLiteral("line %1 is not %2").arg(number).arg(expected));
    }

    const int count = lines.at(7).toInt();
    for (int n = 0; n < count; ++n) {
        const int first = HeaderLines + 1 + n * LinesPerPhrase;
        QString texts[LinesPerPhrase];
        for (int k = 0; k < LinesPerPhrase; ++k) {
            const QString what = QStringLiteral("%1 of phrase %2").arg(QString::fromLatin1(PhraseParts[k])).arg(n + 1);
            if (lines.size() < first + k) {
                return failure(r, Problem::Truncated, first + k,
                    QStringLiteral("the file ends before line %1 (%2)").arg(first + k).arg(what));
            }
            if (!unquote(lines.at(first + k - 1), &texts[k])) {
                return failure(r, Problem::BadLine, first + k,
                    QStringLiteral("line %1 is not %2 between double quotes").arg(first + k).arg(what));
            }
        }
        r.contents.phrases.append({ texts[0], texts[1], texts[2], texts[3], {} });
    }

    takeIdentities(lines.at(IdentitiesLine - 1), &r.contents.phrases);

    const int expected = HeaderLines + LinesPerPhrase * count;
    if (lines.size() > expected) {
        return failure(r, Problem::ExtraLines, expected + 1,
            QStringLiteral("line 8 promises %1 phrases, but more lines follow them").arg(count));
    }
    return r;
}

Reading read(const QString& path)
{
    Reading r;
    if (path.isEmpty())
        return failure(r, Problem::NoPath, 0, QStringLiteral("no exchange file was named"));
    if (!QFileInfo(path).isFile())
        return failure(r, Problem::Missing, 0, QStringLiteral("'%1' does not exist").arg(path));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return failure(r, Problem::Unreadable, 0, file.errorString());
    if (file.size() > MaxFileBytes)
        return failure(r, Problem::TooLarge, 0, QStringLiteral("%1 bytes").arg(file.size()));
    return parse(file.readAll());
}

}
