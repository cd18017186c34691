#include "platform/lessons/delimitedtext.h"

#include <QFileInfo>
#include <QStringDecoder>

#include "platform/lessons/deckfile.h"
#include "platform/lessons/filemedia.h"

namespace lessons {

namespace {

    struct CsvRecord
    {
        int line = 0;
        QStringList fields;
        bool blank = false; // nothing on the line, not even a quote
    };

    bool isCsvLineEnd(QChar c) { return c == u'\n' || c == u'\r'; }

    // The decoded text, or a null string with an error naming the first line that is not UTF-8. Decoding line by
    // line is exact: no byte of a UTF-8 sequence is a line end.
    QString decodeUtf8(const QByteArray& bytes, const QString& path, Outcome& outcome)
    {
        QString text;
        text.reserve(bytes.size());
        int line = 1;
        qsizetype start = 0;
        while (start <= bytes.size()) {
            qsizetype end = start;
            while (end < bytes.size() && bytes[end] != '\n' && bytes[end] != '\r')
                ++end;
            QStringDecoder decoder(QStringDecoder::Utf8);
            text += decoder.decode(QByteArrayView(bytes).sliced(start, end - start));
            if (decoder.hasError()) {
                outcome.errors << located(path, line,
                    QStringLiteral("the line is not UTF-8 text; save the file as \"CSV UTF-8\" or \"Unicode text\""));
                return {};
            }
            if (end == bytes.size())
                break;
            const qsizetype ending = bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n' ? 2 : 1;
            text += QLatin1StringView(bytes.constData() + end, ending);
            start = end + ending;
            ++line;
        }
        return text.isNull() ? QStringLiteral("") : text;
    }

    // The candidate found most often outside quotes on the first line that holds anything; among equals the first
    // in the order of preference.
    QChar detectSeparator(const QString& text, bool tabFirst)
    {
        const QList<QChar> candidates
            = tabFirst ? QList<QChar> { u'\t', u',', u';' } : QList<QChar> { u',', u';', u'\t' };
        QList<int> counts(candidates.size(), 0);
        qsizetype at = 0;
        while (at < text.size() && isCsvLineEnd(text[at]))
            ++at;
        bool quoted = false;
        for (; at < text.size() && (quoted || !isCsvLineEnd(text[at])); ++at) {
            if (text[at] == u'"')
                quoted = !quoted;
            else if (!quoted && candidates.contains(text[at]))
                ++counts[candidates.indexOf(text[at])];
        }
        return candidates[std::max_element(counts.cbegin(), counts.cend()) - counts.cbegin()];
    }

    class CsvRecordReader
    {
    public:
        CsvRecordReader(const QString& text, QChar separator)
            : m_text(text)
            , m_separator(separator)
        {
        }

        bool atEnd() const { return m_at >= m_text.size(); }

        // The next record; false with *openLine set when a quote opened on that line is never closed.
        bool next(CsvRecord& record, int* openLine)
        {
            record = { m_line, {}, true };
            QString field;
            while (m_at < m_text.size()) {
                const QChar c = m_text[m_at];
                if (c == u'"' && field.isEmpty()) {
                    record.blank = false;
                    const int opened = m_line;
                    if (!readQuoted(field)) {
                        *openLine = opened;
                        return false;
                    }
                } else if (c == m_separator) {
                    record.blank = false;
                    record.fields << field;
                    field.clear();
                    ++m_at;
                } else if (isCsvLineEnd(c)) {
                    skipLineEnd();
                    break;
                } else {
                    field += c;
                    ++m_at;
                }
            }
            record.fields << field;
            record.blank = record.blank && field.trimmed().isEmpty();
            return true;
        }

    private:
        void skipLineEnd()
        {
            m_at += m_text[m_at] == u'\r' && m_at + 1 < m_text.size() && m_text[m_at + 1] == u'\n' ? 2 : 1;
            ++m_line;
        }

        // Appends the quoted part at m_at to field. What follows the closing quote up to the separator is kept
        // too, as spreadsheets read "a"b as ab.
        bool readQuoted(QString& field)
        {
            ++m_at;
            while (m_at < m_text.size()) {
                const QChar c = m_text[m_at];
                if (c == u'"') {
                    if (m_at + 1 < m_text.size() && m_text[m_at + 1] == u'"') {
                        field += u'"';
                        m_at += 2;
                        continue;
                    }
                    ++m_at;
                    return true;
                }
                if (isCsvLineEnd(c)) {
                    field += u'\n';
                    skipLineEnd();
                } else {
                    field += c;
                    ++m_at;
                }
            }
            return false;
        }

        const QString& m_text;
        const QChar m_separator;
        qsizetype m_at = 0;
        int m_line = 1;
    };

    void readRecords(Deck& deck, const QString& text, QChar separator)
    {
        CsvRecordReader reader(text, separator);
        CsvRecord record;
        int openLine = 0;
        while (!reader.atEnd()) {
            if (!reader.next(record, &openLine)) {
                deck.outcome.errors << located(
                    deck.path, openLine, QStringLiteral("a quote opened here is never closed"));
                return;
            }
            if (record.blank)
                continue;
            if (deck.fieldNames.isEmpty()) {
                for (qsizetype i = 0; i < record.fields.size(); ++i) {
                    const QString name = record.fields[i].trimmed();
                    deck.fieldNames << (name.isEmpty() ? QStringLiteral("Column %1").arg(i + 1) : name);
                }
                continue;
            }
            if (deck.notes.size() == MaxDeckNotes) {
                deck.outcome.errors << located(deck.path, record.line,
                    QStringLiteral("more than %L1 lines, more than any list of phrases needs").arg(MaxDeckNotes));
                return;
            }
            const qsizetype columns = deck.fieldNames.size();
            if (record.fields.size() > columns) {
                deck.outcome.warnings << located(deck.path, record.line,
                    QStringLiteral("%1 fields where the header names %2; the last %3 are left out")
                        .arg(record.fields.size())
                        .arg(columns)
                        .arg(record.fields.size() - columns));
                record.fields.resize(columns);
            }
            while (record.fields.size() < columns)
                record.fields << QString();
            deck.notes << DeckNote { record.fields, {}, QStringLiteral("line %1").arg(record.line) };
        }
        if (deck.fieldNames.isEmpty())
            deck.outcome.errors << located(deck.path, 0, QStringLiteral("the file is empty; it needs a header line"));
    }

}

Deck readDelimitedText(const QString& path)
{
    Deck deck;
    deck.path = path;
    deck.name = QFileInfo(path).completeBaseName();
    deck.media = std::make_shared<FileMedia>(QFileInfo(path).absolutePath());
    std::optional<QByteArray> bytes = readDeckFile(path, deck.outcome);
    if (!bytes)
        return deck;
    if (bytes->startsWith("\xEF\xBB\xBF"))
        bytes->remove(0, 3);
    const QString text = decodeUtf8(*bytes, path, deck.outcome);
    if (text.isNull())
        return deck;
    const bool tabFirst = QFileInfo(path).suffix().compare(QStringLiteral("tsv"), Qt::CaseInsensitive) == 0;
    readRecords(deck, text, detectSeparator(text, tabFirst));
    if (!deck.outcome.ok())
        deck.notes.clear();
    return deck;
}

}
