#include "phrasebook.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include "platform/lessons/lessonexport.h"
#include "platform/lessons/soundcheck.h"
#include "platform/lessons/subjectfile.h"

namespace subjecttool {

namespace {

    // French sets a blank before ? ! : and ; — a no-break one, so that no line of a game starts with the mark alone.
    // The phrasebook may be typed with an ordinary blank there; what is read and shipped has the no-break one.
    QString frenchSpacing(const QString& text)
    {
        static const QRegularExpression blank(QStringLiteral(" (?=[?!:;])"));
        return QString(text).replace(blank, QString(QChar(0x00A0)));
    }

}

QStringList phrasebookLanguages()
{
    return { QStringLiteral("en"), QStringLiteral("de"), QStringLiteral("fr"), QStringLiteral("it"),
        QStringLiteral("es") };
}

Phrasebook readPhrasebook(const QString& path)
{
    Phrasebook book;
    book.path = path;
    book.stem = QFileInfo(path).completeBaseName();
    Outcome& outcome = book.outcome;

    // The stem is the English name of the installed subject and, through the program's title rule, its title.
    static const QRegularExpression stemRule(QStringLiteral("^(\\d\\d_)?[a-z]+(_[a-z]+)*$"));
    if (!stemRule.match(book.stem).hasMatch())
        outcome.errors << located(path, 0,
            QStringLiteral("the file name must be lower-case English words joined by \"_\", after a two-digit course "
                           "number if it has one (like animals_at_the_zoo.tsv or 04_my_family.tsv)"));

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        outcome.errors << located(path, 0, QStringLiteral("cannot read the file: %1").arg(file.errorString()));
        return book;
    }
    QByteArray bytes = file.readAll();
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    const QStringList lines = QString::fromUtf8(bytes).split(u'\n');
    QStringList columns;
    for (int i = 0; i < lines.size(); ++i) {
        const int lineNo = i + 1;
        const QString line = lines[i];
        if (line.trimmed().isEmpty() || line.startsWith(u'#'))
            continue;
        const QStringList fields = line.split(u'\t');
        if (columns.isEmpty()) {
            columns = fields;
            for (const QString& language : phrasebookLanguages()) {
                if (!columns.contains(language))
                    outcome.errors << located(
                        path, lineNo, QStringLiteral("the header names no column %1").arg(language));
            }
            continue;
        }
        if (fields.size() != columns.size()) {
            outcome.errors << located(path, lineNo,
                QStringLiteral("%1 fields where the header has %2").arg(fields.size()).arg(columns.size()));
            continue;
        }
        Phrasebook::Entry entry;
        entry.line = lineNo;
        for (int c = 0; c < columns.size(); ++c) {
            const QString text = fields[c].trimmed();
            if (text.isEmpty())
                outcome.errors << located(path, lineNo, QStringLiteral("no %1 text").arg(columns[c]));
            if (text.contains(TagSeparator))
                outcome.errors << located(path, lineNo, QStringLiteral("the %1 text contains \"*\"").arg(columns[c]));
            entry.texts.insert(columns[c], columns[c] == QLatin1String("fr") ? frenchSpacing(text) : text);
        }
        book.entries << entry;
    }
    if (columns.isEmpty())
        outcome.errors << located(path, 0, QStringLiteral("no header line"));
    else if (book.entries.isEmpty())
        outcome.errors << located(path, 0, QStringLiteral("no phrases"));
    else if (book.entries.size() > MaxPhrases)
        outcome.errors << located(
            path, book.entries[MaxPhrases].line, QStringLiteral("a subject holds at most %1 phrases").arg(MaxPhrases));
    return book;
}

QString secondTranslationLanguage(const ProductInfo& product) { return languagesOf(product).learner2; }

Outcome makePhrasebookSubject(const Phrasebook& book, const ProductInfo& product, const Speaker& speaker,
    const QString& workDir, const QString& outputPath)
{
    Outcome outcome = book.outcome;
    if (!outcome.ok())
        return outcome;
    const QDir dir(workDir);
    if (!dir.mkpath(QStringLiteral("."))) {
        outcome.errors << located(workDir, 0, QStringLiteral("cannot create the folder"));
        return outcome;
    }
    const QString second = secondTranslationLanguage(product);
    QByteArray text = QStringLiteral("# %1 for %2, made from %3\n")
                          .arg(book.stem, product.programCode, QFileInfo(book.path).fileName())
                          .toUtf8();
    for (int i = 0; i < book.entries.size(); ++i) {
        const Phrasebook::Entry& entry = book.entries[i];
        const QString phrase = entry.texts.value(product.taughtLanguage);
        const QString sound = QStringLiteral("%1.wav").arg(i + 1, 2, 10, QLatin1Char('0'));
        if (const QString failure = speak(speaker, product.voice, phrase, dir.filePath(sound)); !failure.isEmpty()) {
            outcome.errors << located(book.path, entry.line, failure);
            continue;
        }
        // A voice that stumbles on a text fails the build here rather than in a learner's ear.
        QFile wave(dir.filePath(sound));
        if (const QString problem
            = spokenSoundProblem(wave.open(QIODevice::ReadOnly) ? wave.readAll() : QByteArray(), phrase);
            !problem.isEmpty()) {
            outcome.errors << located(book.path, entry.line, QStringLiteral("%1 (%2)").arg(problem, product.voice));
            continue;
        }
        QString translation2 = entry.texts.value(second);
        if (second.isEmpty()) {
            QString failure;
            translation2 = pronunciation(speaker, product.voice, phrase, &failure);
            if (!failure.isEmpty())
                outcome.errors << located(book.path, entry.line, failure);
        }
        text += QStringList { phrase, entry.texts.value(product.interfaceLanguage), translation2, sound }
                    .join(u'\t')
                    .toUtf8()
            + '\n';
    }
    if (!outcome.ok())
        return outcome;
    const QString textPath = dir.filePath(book.stem + QStringLiteral(".txt"));
    QFile file(textPath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(text) != text.size()) {
        outcome.errors << located(textPath, 0, QStringLiteral("cannot write: %1").arg(file.errorString()));
        return outcome;
    }
    file.close();
    outcome.merge(buildSubject(textPath, product.programCode, outputPath));
    return outcome;
}

}
