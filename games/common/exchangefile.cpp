#include "exchangefile.h"

#include <QFile>
#include <QFileInfo>

#include "platform/tempfolder.h"

namespace games {

namespace {

    // Ten phrases take a few kilobytes; anything far larger is not an exchange file and is not read into memory.
    constexpr qint64 MaxFileBytes = 1 << 20;

    ExchangeResult failure(ExchangeResult result, ExchangeProblem problem, int line, const QString& detail)
    {
        result.problem = problem;
        result.line = line;
        result.detail = detail;
        return result;
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

    // The phrase lines hold their text between one quote at each end; quotes inside are not doubled, so exactly
    // the first and the last character go.
    bool unquote(const QString& line, QString* text)
    {
        if (line.size() < 2 || !line.startsWith(QLatin1Char('"')) || !line.endsWith(QLatin1Char('"')))
            return false;
        *text = line.mid(1, line.size() - 2);
        return true;
    }

    QStringList splitLines(const QByteArray& bytes)
    {
        // The file is in the system's 8-bit encoding, which is the locale's.
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

}

QString exchangeFilePath(const QString& argument)
{
    if (argument.isEmpty())
        return {};
    if (QFileInfo(argument).isAbsolute())
        return argument;
    return platform::privateTempFolder() + argument;
}

ExchangeResult parseExchange(const QByteArray& bytes)
{
    ExchangeResult result;
    Exchange& x = result.exchange;
    const QStringList lines = splitLines(bytes);
    auto line = [&lines](int number) { return lines.at(number - 1); };
    auto missing = [&](int number, const QString& what) {
        return failure(result, ExchangeProblem::Truncated, number,
            QStringLiteral("the file ends before line %1 (%2)").arg(number).arg(what));
    };
    auto bad = [&](int number, const QString& what) {
        return failure(
            result, ExchangeProblem::BadLine, number, QStringLiteral("line %1 is not %2").arg(number).arg(what));
    };

    if (lines.isEmpty())
        return failure(result, ExchangeProblem::Truncated, 1, QStringLiteral("the file is empty"));

    struct HeaderLine
    {
        int number;
        const char* what;
    };
    static const HeaderLine header[] = { { 1, "the program's process number" }, { 2, "the program code" },
        { 3, "the product name" }, { 4, "the interface language" }, { 5, "the language taught" },
        { 6, "the student's name" }, { 7, "the subject" }, { 8, "the number of phrases" }, { 9, "the user database" },
        { 10, "reserved" }, { 11, "reserved" }, { 12, "reserved" }, { 13, "reserved" }, { 14, "reserved" },
        { 15, "a whole number" } };
    for (const HeaderLine& h : header) {
        if (lines.size() < h.number)
            return missing(h.number, QString::fromLatin1(h.what));
        const QString text = line(h.number);
        switch (h.number) {
        case 1:
            if (!isDigits(text))
                return bad(1, QStringLiteral("a process number"));
            x.processId = text;
            break;
        case 2:
            if (text.trimmed().isEmpty())
                return bad(2, QStringLiteral("a program code"));
            x.programCode = text;
            break;
        case 3:
            x.productName = text;
            break;
        case 4:
            if (!parseLanguage(text, &x.language))
                return bad(4, QStringLiteral("English or Spanish"));
            result.languageKnown = true;
            break;
        case 5:
            x.taughtLanguage = text;
            break;
        case 6:
            // The student's name is the key of every score row; a blank one would file the score under nobody.
            if (text.trimmed().isEmpty())
                return bad(6, QStringLiteral("a student's name"));
            x.student = text;
            break;
        case 7:
            if (text.trimmed().isEmpty())
                return bad(7, QStringLiteral("a subject"));
            x.subject = text;
            break;
        case 8:
            if (!isDigits(text) || text.size() > 2 || text.toInt() > Exchange::MaxPhrases)
                return bad(8, QStringLiteral("a number of phrases from 0 to %1").arg(Exchange::MaxPhrases));
            x.phraseCount = text.toInt();
            break;
        case 9:
            if (text.trimmed().isEmpty())
                return bad(9, QStringLiteral("the path of the user database"));
            x.userDatabase = text;
            break;
        case 15: {
            bool ok = false;
            const int value = text.trimmed().toInt(&ok);
            if (!ok)
                return bad(15, QStringLiteral("a whole number"));
            x.printValue = value;
            break;
        }
        default:
            x.reserved << text;
        }
    }

    for (int n = 0; n < x.phraseCount; ++n) {
        const int first = Exchange::HeaderLines + 1 + n * Exchange::LinesPerPhrase;
        static const char* const parts[]
            = { "the phrase", "its translation", "its second translation", "its sound file" };
        QString texts[Exchange::LinesPerPhrase];
        for (int k = 0; k < Exchange::LinesPerPhrase; ++k) {
            const QString what = QStringLiteral("%1 of phrase %2").arg(QString::fromLatin1(parts[k])).arg(n + 1);
            if (lines.size() < first + k)
                return missing(first + k, what);
            if (!unquote(line(first + k), &texts[k]))
                return bad(first + k, QStringLiteral("%1 between double quotes").arg(what));
        }
        x.phrases.append({ texts[0], texts[1], texts[2], texts[3] });
    }

    const int expected = Exchange::HeaderLines + Exchange::LinesPerPhrase * x.phraseCount;
    if (lines.size() > expected) {
        x.phrases.clear();
        return failure(result, ExchangeProblem::ExtraLines, expected + 1,
            QStringLiteral("line 8 promises %1 phrases, but more lines follow them").arg(x.phraseCount));
    }
    return result;
}

ExchangeResult readExchangeFile(const QString& path)
{
    ExchangeResult result;
    if (path.isEmpty())
        return failure(result, ExchangeProblem::NoArgument, 0, QStringLiteral("no exchange file was named"));
    QFile file(path);
    if (!QFileInfo(path).isFile())
        return failure(result, ExchangeProblem::Missing, 0, QStringLiteral("'%1' does not exist").arg(path));
    if (!file.open(QIODevice::ReadOnly))
        return failure(result, ExchangeProblem::Unreadable, 0, file.errorString());
    if (file.size() > MaxFileBytes)
        return failure(result, ExchangeProblem::TooLarge, 0, QStringLiteral("%1 bytes").arg(file.size()));
    return parseExchange(file.readAll());
}

QByteArray writeExchange(const Exchange& x)
{
    QStringList lines { x.processId, x.programCode, x.productName,
        x.language == Language::Spanish ? QStringLiteral("Spanish") : QStringLiteral("English"), x.taughtLanguage,
        x.student, x.subject, QString::number(x.phrases.size()), x.userDatabase };
    for (int i = 0; i < 5; ++i)
        lines << x.reserved.value(i, QStringLiteral("EMPTY"));
    // The print layout of a number: a blank for the sign when not negative, the digits, one blank.
    lines << (x.printValue < 0 ? QString::number(x.printValue) : QLatin1Char(' ') + QString::number(x.printValue))
            + QLatin1Char(' ');
    auto quoted = [](const QString& t) { return QLatin1Char('"') + t + QLatin1Char('"'); };
    for (const Phrase& p : x.phrases)
        lines << quoted(p.text) << quoted(p.translation) << quoted(p.translation2) << quoted(p.soundPath);
    QByteArray out;
    for (const QString& l : lines)
        out += l.toLocal8Bit() + "\r\n";
    return out;
}

}
