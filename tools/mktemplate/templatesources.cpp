#include "templatesources.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>

namespace mktemplate {

namespace {

    const QString CaptionsFile = QStringLiteral("captions.tsv");
    const QString MessagesFile = QStringLiteral("system_messages.tsv");
    const QString MenuFile = QStringLiteral("menu.tsv");

    QString tipsFile(const QString& code) { return QStringLiteral("tips/%1.txt").arg(code); }

    struct Line
    {
        int number;
        QString text;
    };

    // Lines of a UTF-8 text file. Editors on Windows add a byte order mark (the decoder skips it) and CR LF line
    // ends; both are accepted. Empty lines at the very end are dropped (an editor's extra newline is no row); empty
    // lines inside are kept so that the caller can refuse them with their line number.
    std::optional<SourceError> readLines(const QString& path, QList<Line>& lines)
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return SourceError { path, 0, QStringLiteral("cannot be read: %1").arg(file.errorString()) };
        const QList<QByteArray> raw = file.readAll().split('\n');
        for (int i = 0; i < raw.size(); ++i) {
            QByteArray chunk = raw[i];
            if (chunk.endsWith('\r'))
                chunk.chop(1);
            QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
            const QString text = decoder.decode(chunk);
            if (decoder.hasError())
                return SourceError { path, i + 1, QStringLiteral("is not valid UTF-8 text") };
            lines.append({ i + 1, text });
        }
        while (!lines.isEmpty() && lines.last().text.isEmpty())
            lines.removeLast();
        return std::nullopt;
    }

    // A table file: the header must name exactly the expected columns, and every row must have one field per column
    // (a missing or extra tab shifts a translation into the wrong column, which nothing later could notice).
    std::optional<SourceError> readTable(
        const QString& path, const QStringList& columns, QList<Line>& rowLines, QList<QStringList>& rows)
    {
        QList<Line> lines;
        if (auto error = readLines(path, lines))
            return error;
        const QString header = columns.join(QLatin1Char('\t'));
        if (lines.isEmpty() || lines.first().text != header) {
            return SourceError { path, 1,
                QStringLiteral("the first line must be the header \"%1\" (columns separated by tabs)")
                    .arg(columns.join(QStringLiteral("<TAB>"))) };
        }
        for (int i = 1; i < lines.size(); ++i) {
            const QStringList fields = lines[i].text.split(QLatin1Char('\t'));
            if (fields.size() != columns.size()) {
                return SourceError { path, lines[i].number,
                    QStringLiteral("has %1 fields, expected %2 (%3) separated by tabs")
                        .arg(fields.size())
                        .arg(columns.size())
                        .arg(columns.join(QStringLiteral(", "))) };
            }
            rowLines.append(lines[i]);
            rows.append(fields);
        }
        return std::nullopt;
    }

    // Links are pages appended to the site address, so anything that is not a bare relative page would make a
    // broken address.
    std::optional<QString> linkProblem(const QString& link)
    {
        if (link.contains(QStringLiteral("://")))
            return QStringLiteral("link \"%1\" must be a page relative to the site address, not a full address")
                .arg(link);
        if (link.startsWith(QLatin1Char('/')) || link.startsWith(QLatin1Char('\\')))
            return QStringLiteral("link \"%1\" must not start with a slash; the site address ends with one").arg(link);
        for (const QChar c : link) {
            if (c.isSpace())
                return QStringLiteral("link \"%1\" contains a blank").arg(link);
        }
        return std::nullopt;
    }

    std::optional<SourceError> readCaptions(const QString& folder, QList<Caption>& captions)
    {
        const QString path = QDir(folder).filePath(CaptionsFile);
        QList<Line> lines;
        QList<QStringList> rows;
        const QStringList columns = { QStringLiteral("number"), QStringLiteral("English"), QStringLiteral("Spanish"),
            QStringLiteral("role") };
        if (auto error = readTable(path, columns, lines, rows))
            return error;

        for (int i = 0; i < rows.size(); ++i) {
            const int expected = i + 1;
            bool ok = false;
            const int number = rows[i][0].toInt(&ok);
            // The program numbers texts by their position, so the number column only guards against a row that was
            // lost, doubled or moved while editing.
            if (!ok || number != expected) {
                return SourceError { path, lines[i].number,
                    QStringLiteral("expected text number %1, found \"%2\"").arg(expected).arg(rows[i][0]) };
            }
            const QString& english = rows[i][1];
            const QString& spanish = rows[i][2];
            if (english.isEmpty() != spanish.isEmpty()) {
                return SourceError { path, lines[i].number,
                    QStringLiteral("text %1 is written in %2 only; write it in both languages or in neither")
                        .arg(expected)
                        .arg(english.isEmpty() ? QStringLiteral("Spanish") : QStringLiteral("English")) };
            }
            captions.append({ english, spanish });
        }
        if (captions.size() < MinimumCaptionRows) {
            const int nextLine = lines.isEmpty() ? 2 : lines.last().number + 1;
            return SourceError { path, nextLine,
                QStringLiteral("text %1 is missing; the program uses texts up to number %2")
                    .arg(captions.size() + 1)
                    .arg(MinimumCaptionRows) };
        }
        return std::nullopt;
    }

    std::optional<SourceError> readLinkedTexts(
        const QString& folder, const QString& name, bool linkRequired, QList<LinkedText>& entries)
    {
        const QString path = QDir(folder).filePath(name);
        QList<Line> lines;
        QList<QStringList> rows;
        const QStringList columns = { QStringLiteral("English"), QStringLiteral("Spanish"), QStringLiteral("link") };
        if (auto error = readTable(path, columns, lines, rows))
            return error;

        for (int i = 0; i < rows.size(); ++i) {
            const LinkedText entry { rows[i][0].trimmed(), rows[i][1].trimmed(), rows[i][2].trimmed() };
            if (entry.english.isEmpty() || entry.spanish.isEmpty()) {
                return SourceError { path, lines[i].number,
                    QStringLiteral("needs a text in both English and Spanish") };
            }
            if (linkRequired && entry.link.isEmpty())
                return SourceError { path, lines[i].number, QStringLiteral("needs a link") };
            if (auto problem = linkProblem(entry.link))
                return SourceError { path, lines[i].number, *problem };
            entries.append(entry);
        }
        return std::nullopt;
    }

    std::optional<SourceError> readTips(const QString& folder, QMap<QString, QStringList>& tips)
    {
        for (const QString& code : ProgramCodes) {
            const QString path = QDir(folder).filePath(tipsFile(code));
            QList<Line> lines;
            if (auto error = readLines(path, lines))
                return error;
            QStringList list;
            for (const Line& line : lines) {
                const QString tip = line.text.trimmed();
                if (tip.isEmpty())
                    return SourceError { path, line.number, QStringLiteral("is empty; every line is one tip") };
                list.append(tip);
            }
            if (list.isEmpty())
                return SourceError { path, 1, QStringLiteral("holds no tip; the message line needs at least one") };
            tips.insert(code, list);
        }

        // The tips share one table with a column per product, so a shorter list would leave NULL cells, and a NULL
        // tip stops the program's tip reader.
        const QString& first = ProgramCodes.front();
        const qsizetype count = tips.value(first).size();
        for (const QString& code : ProgramCodes) {
            const qsizetype own = tips.value(code).size();
            if (own != count) {
                return SourceError { QDir(folder).filePath(tipsFile(code)), static_cast<int>(std::min(own, count)) + 1,
                    QStringLiteral("has %1 tips but %2 has %3; every product needs the same number of tips")
                        .arg(own)
                        .arg(tipsFile(first))
                        .arg(count) };
            }
        }
        return std::nullopt;
    }

}

QString SourceError::text() const
{
    if (line > 0)
        return QStringLiteral("%1:%2: %3").arg(file).arg(line).arg(reason);
    return QStringLiteral("%1: %2").arg(file, reason);
}

QStringList sourceFileNames()
{
    QStringList names = { CaptionsFile, MessagesFile, MenuFile };
    for (const QString& code : ProgramCodes)
        names.append(tipsFile(code));
    return names;
}

std::optional<SourceError> readSources(const QString& folder, TemplateSources& sources)
{
    if (auto error = readCaptions(folder, sources.captions))
        return error;
    if (auto error = readLinkedTexts(folder, MessagesFile, false, sources.systemMessages))
        return error;
    if (sources.systemMessages.isEmpty()) {
        return SourceError { QDir(folder).filePath(MessagesFile), 2,
            QStringLiteral("holds no message; the message line needs at least one") };
    }
    if (auto error = readLinkedTexts(folder, MenuFile, true, sources.menu))
        return error;
    return readTips(folder, sources.tips);
}

}
