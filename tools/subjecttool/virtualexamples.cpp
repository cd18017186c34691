#include "virtualexamples.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include "platform/database.h"
#include "platform/lessons/databasefile.h"
#include "platform/lessons/subjectfile.h"

namespace subjecttool {

namespace {

    struct SourcePhrase
    {
        QString file;
        qint64 key = 0;
        QString phrase, translation, translation2;
    };

    struct ExampleSubject
    {
        int line = 0;
        QString name;
        QList<SourcePhrase> phrases;
    };

    QList<ExampleSubject> readExamples(const QString& path, const ProductInfo& product, const QString& subjectsDir,
        const BookNames& names, Outcome& outcome)
    {
        QList<ExampleSubject> subjects;
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
            outcome.errors << located(path, 0, QStringLiteral("cannot read the file: %1").arg(file.errorString()));
            return subjects;
        }
        static const QRegularExpression reference(QStringLiteral("^([a-z_]+):([0-9]+)$"));
        const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
        QStringList columns;
        for (int i = 0; i < lines.size(); ++i) {
            const int lineNo = i + 1;
            if (lines[i].trimmed().isEmpty() || lines[i].startsWith(u'#'))
                continue;
            const QStringList fields = lines[i].split(u'\t');
            if (columns.isEmpty()) {
                columns = fields;
                for (const char* needed : { "en", "es", "phrases" }) {
                    if (!columns.contains(QLatin1String(needed)))
                        outcome.errors << located(
                            path, lineNo, QStringLiteral("the header names no column %1").arg(QLatin1String(needed)));
                }
                if (!outcome.ok())
                    return subjects;
                continue;
            }
            if (fields.size() != columns.size()) {
                outcome.errors << located(path, lineNo,
                    QStringLiteral("%1 fields where the header has %2").arg(fields.size()).arg(columns.size()));
                continue;
            }
            ExampleSubject subject;
            subject.line = lineNo;
            subject.name = fields[columns.indexOf(product.interfaceLanguage)].trimmed();
            const QStringList refs = fields[columns.indexOf(QStringLiteral("phrases"))].split(u' ', Qt::SkipEmptyParts);
            if (subject.name.isEmpty() || refs.isEmpty() || refs.size() > MaxPhrases) {
                outcome.errors << located(
                    path, lineNo, QStringLiteral("a virtual subject needs a name and 1 to %1 phrases").arg(MaxPhrases));
                continue;
            }
            for (const QString& ref : refs) {
                const auto match = reference.match(ref);
                if (!match.hasMatch()) {
                    outcome.errors << located(path, lineNo, QStringLiteral("\"%1\" is not subject:number").arg(ref));
                    continue;
                }
                SourcePhrase source;
                source.file = installedSubjectFile(names, match.captured(1), product);
                if (source.file.isEmpty()) {
                    outcome.errors << located(path, lineNo,
                        QStringLiteral("%1 gives the subject %2 no name").arg(names.path, match.captured(1)));
                    continue;
                }
                source.key = match.captured(2).toLongLong();
                try {
                    const platform::Database db = platform::Database::openFile(QDir(subjectsDir).filePath(source.file));
                    const platform::Recordset rs
                        = db.query(QStringLiteral("SELECT * FROM tblPhrases WHERE pkPhraseNo = ?"), { source.key });
                    if (rs.isEmpty()) {
                        outcome.errors << located(
                            path, lineNo, QStringLiteral("%1 has no phrase %2").arg(source.file).arg(source.key));
                        continue;
                    }
                    source.phrase = rs.text(0, QStringLiteral("tPhrase"));
                    source.translation = rs.text(0, QStringLiteral("tTranslation"));
                    source.translation2 = rs.text(0, QStringLiteral("tTranslation2"));
                } catch (const platform::DbError& e) {
                    outcome.errors << located(path, lineNo, e.description());
                    continue;
                }
                subject.phrases << source;
            }
            subjects << subject;
        }
        return subjects;
    }

}

Outcome makeExampleFile(const QString& examplesPath, const ProductInfo& product, const QString& templatePath,
    const QString& subjectsDir, const BookNames& names, const QString& outputPath)
{
    Outcome outcome = names.outcome;
    if (!outcome.ok())
        return outcome;
    const QList<ExampleSubject> subjects = readExamples(examplesPath, product, subjectsDir, names, outcome);
    if (outcome.ok() && subjects.isEmpty())
        outcome.errors << located(examplesPath, 0, QStringLiteral("no virtual subjects"));
    if (!outcome.ok())
        return outcome;

    outcome.merge(writeDatabaseFile(
        outputPath,
        [&](const platform::Database& db) {
            // The program addresses the name column by position only; follow whatever the template calls it.
            const QStringList parentColumns = db.query(QStringLiteral("SELECT * FROM tblParents")).columns();
            if (parentColumns.size() < 2)
                throw platform::DbError(QStringLiteral("tblParents of the template has no name column"));
            for (const ExampleSubject& subject : subjects) {
                const qint64 parent
                    = db.insertRow(QStringLiteral("tblParents"), { parentColumns[1] }, { subject.name });
                for (const SourcePhrase& p : subject.phrases) {
                    db.insertRow(QStringLiteral("tblPhrases"),
                        { QStringLiteral("fkParent"), QStringLiteral("tfilename"), QStringLiteral("nPhraseNo"),
                            QStringLiteral("tPhrase"), QStringLiteral("tTranslation"),
                            QStringLiteral("tTranslation2") },
                        { parent, p.file, p.key, p.phrase, p.translation, p.translation2 });
                }
            }
        },
        templatePath));
    return outcome;
}

}
