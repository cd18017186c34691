#include <algorithm>

#include <QFileInfo>

#include "platform/database.h"
#include "platform/lessons/products.h"
#include "platform/lessons/subjectfile.h"

namespace lessons {

namespace {

    const QStringList phraseColumns = { QStringLiteral("pkPhraseNo"), QStringLiteral("tPhrase"),
        QStringLiteral("tTranslation"), QStringLiteral("tTranslation2"), QStringLiteral("bsound") };

    // Lists what is missing from 1..n and what lies outside it: the random picker asks for a key between 1 and the
    // row count, so either kind makes some phrase unreachable or a pick fail.
    QString keyProblem(QList<qint64> keys)
    {
        std::sort(keys.begin(), keys.end());
        QStringList missing;
        QStringList extra;
        const qint64 n = keys.size();
        qint64 expected = 1;
        for (qint64 key : keys) {
            if (key < 1 || key > n || key < expected) {
                extra << QString::number(key);
                continue;
            }
            for (; expected < key; ++expected)
                missing << QString::number(expected);
            expected = key + 1;
        }
        for (; expected <= n; ++expected)
            missing << QString::number(expected);
        if (missing.isEmpty() && extra.isEmpty())
            return {};
        QString text = QStringLiteral("keys of tblPhrases must run 1 to %1 without gaps").arg(n);
        if (!missing.isEmpty())
            text += QStringLiteral("; missing %1").arg(missing.join(QStringLiteral(", ")));
        if (!extra.isEmpty())
            text += QStringLiteral("; out of place %1").arg(extra.join(QStringLiteral(", ")));
        return text;
    }

    // What is wrong with the sound of the row-th phrase, read alone: a check holds one sound at a time.
    QString soundProblem(const platform::Database& db, int row)
    {
        QString problem;
        const auto check = [&problem](QByteArrayView sound) {
            problem = waveProblem(QByteArray::fromRawData(sound.data(), sound.size()));
        };
        db.useFirstValue({ QStringLiteral("SELECT bsound FROM tblPhrases LIMIT 1 OFFSET ?"), { row } }, check);
        return problem;
    }

    void checkPhrases(const platform::Database& db, const QString& path, CheckReport& report)
    {
        Outcome& outcome = report.outcome;
        if (!db.hasTable(QStringLiteral("tblPhrases"))) {
            outcome.errors << located(path, 0, QStringLiteral("no table tblPhrases"));
            return;
        }
        const platform::Recordset columns = db.query(QStringLiteral("SELECT * FROM tblPhrases LIMIT 0"));
        for (const QString& column : phraseColumns) {
            if (columns.columnIndex(column) < 0) {
                outcome.errors << located(path, 0, QStringLiteral("tblPhrases has no column %1").arg(column));
                return;
            }
        }
        // The texts and the size of each sound, not the sound itself.
        const platform::Recordset rs
            = db.query(QStringLiteral("SELECT pkPhraseNo, tPhrase, tTranslation, "
                                      "tTranslation2, length(bsound) AS nSoundBytes FROM tblPhrases"));
        report.phraseCount = rs.count();
        if (rs.count() == 0)
            outcome.errors << located(path, 0, QStringLiteral("no phrases"));
        if (rs.count() > MaxPhrases)
            outcome.errors << located(
                path, 0, QStringLiteral("%1 phrases; the program studies at most %2").arg(rs.count()).arg(MaxPhrases));

        QList<qint64> keys;
        for (int row = 0; row < rs.count(); ++row) {
            bool isNumber = false;
            const qint64 key = rs.value(row, QStringLiteral("pkPhraseNo")).toLongLong(&isNumber);
            const QString name
                = isNumber ? QStringLiteral("phrase %1").arg(key) : QStringLiteral("row %1").arg(row + 1);
            if (isNumber)
                keys << key;
            else
                outcome.errors << located(path, 0, QStringLiteral("%1: pkPhraseNo is not a number").arg(name));

            const qint64 soundBytes = rs.value(row, QStringLiteral("nSoundBytes")).toLongLong();
            if (soundBytes == 0)
                outcome.errors << located(path, 0, QStringLiteral("%1 has no sound").arg(name));
            else if (soundBytes > MaxSoundBytes)
                outcome.errors << located(path, 0,
                    QStringLiteral("%1: the sound has %2 bytes; a sound may have at most %3 MB")
                        .arg(name)
                        .arg(soundBytes)
                        .arg(MaxSoundBytes >> 20));
            else if (const QString problem = soundProblem(db, row); !problem.isEmpty())
                outcome.errors << located(path, 0, QStringLiteral("%1: the sound is %2").arg(name, problem));

            for (const QString& column :
                { QStringLiteral("tPhrase"), QStringLiteral("tTranslation"), QStringLiteral("tTranslation2") }) {
                if (rs.isNull(row, column)) {
                    outcome.warnings << located(path, 0, QStringLiteral("%1: %2 is NULL").arg(name, column));
                    continue;
                }
                const QString text = rs.text(row, column);
                if (text.contains(TagSeparator))
                    outcome.warnings << located(path, 0,
                        QStringLiteral("%1: %2 contains \"*\", which shifts the fields of the subject tree's tags")
                            .arg(name, column));
                if (text.trimmed().isEmpty() && column != QLatin1String("tTranslation2"))
                    outcome.warnings << located(path, 0, QStringLiteral("%1: %2 is empty").arg(name, column));
            }
        }
        if (const QString problem = keyProblem(keys); !problem.isEmpty())
            outcome.errors << located(path, 0, problem);
    }

    void checkProperties(
        const platform::Database& db, const QString& path, const QString& expectedCode, CheckReport& report)
    {
        Outcome& outcome = report.outcome;
        if (!db.hasTable(QStringLiteral("tblProperties"))) {
            outcome.errors << located(
                path, 0, QStringLiteral("no table tblProperties; the program refuses the subject"));
            return;
        }
        const platform::Recordset rs = db.query(QStringLiteral("SELECT * FROM tblProperties"));
        if (rs.columnIndex(QStringLiteral("tProgramCode")) < 0) {
            outcome.errors << located(path, 0, QStringLiteral("tblProperties has no column tProgramCode"));
            return;
        }
        if (rs.count() == 0) {
            outcome.errors << located(
                path, 0, QStringLiteral("tblProperties has no row; the program refuses the subject"));
            return;
        }
        if (rs.count() > 1)
            outcome.warnings << located(
                path, 0, QStringLiteral("tblProperties has %1 rows; the program reads only the first").arg(rs.count()));
        report.programCode = rs.text(0, QStringLiteral("tProgramCode"));
        if (!findProduct(report.programCode))
            outcome.warnings << located(path, 0, QStringLiteral("unknown program code \"%1\"").arg(report.programCode));
        if (!expectedCode.isEmpty() && report.programCode != expectedCode)
            outcome.warnings << located(path, 0,
                QStringLiteral("made for %1, not %2")
                    .arg(report.programCode.isEmpty() ? QStringLiteral("no product") : report.programCode,
                        expectedCode));
    }

}

CheckReport checkSubject(const QString& path, const QString& expectedCode)
{
    CheckReport report;
    if (!QFileInfo(path).isFile()) {
        report.outcome.errors << located(path, 0, QStringLiteral("no such file"));
        return report;
    }
    try {
        const platform::Database db = platform::Database::openFile(path);
        checkPhrases(db, path, report);
        checkProperties(db, path, expectedCode, report);
    } catch (const platform::DbError& e) {
        report.outcome.errors << located(
            path, 0, QStringLiteral("not a readable subject database: %1").arg(e.description()));
    }
    return report;
}

}
