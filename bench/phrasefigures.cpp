// The phrases' review schedule with the school's 200,000 phrase results: one student's due phrases, one round's
// results stored, and the class's hardest phrases for the teacher.

#include <QDateTime>

#include "bench/figures.h"
#include "bench/measure.h"
#include "bench/raw.h"
#include "bench/school.h"
#include "platform/database.h"
#include "platform/userschema.h"
#include "students/classphrases.h"
#include "students/phrasememory.h"
#include "students/userdatabase.h"

namespace bench {

namespace {

    const QString DueFigure = QStringLiteral("phrase memory, one student's due count and list");
    const QString RoundFigure = QStringLiteral("phrase memory, one round's ten phrase results and its score stored");
    const QString ClassFigure = QStringLiteral("phrase memory, the class's hardest phrases");

    const QDateTime Now = QDateTime::fromString(QLatin1String(PhraseNow), Qt::ISODate);

    void dueFigure(const QString& users)
    {
        const QString student = studentName(Students / 2);
        int due = 0;
        QStringList listed;
        int rows = 0;
        compare(DueFigure, { [&] {
            const QVector<PhraseMemory> memory = Phrase_Memory({ users }, student, Now);
            due = Due_Count(memory, Now);
            listed = Due_Phrases(memory, Now);
        } },
            { [&] {
                rows = raw::select(users,
                    { "SELECT tName, tPhraseID, nRating, tMoment FROM tblphraseresults WHERE tName = ? "
                      "ORDER BY tName, tPhraseID, tMoment" },
                    { student });
            } });
        need(rows == PhraseResults / Students && due > 0 && listed.size() == std::min(due, 10),
            QStringLiteral("the student's due phrases are missing"));
        value(QStringLiteral("phrase memory, phrases due for that student"), QString::number(due));
    }

    // The score row and the round's phrase results in one transaction, as an activity stores a round. Every run
    // adds to the same tables, so what follows the school's rows is taken away before the next.
    void roundFigure(const QString& users, const QString& extension)
    {
        using namespace platform::users;
        const platform::Database db = platform::Database::openFile(users);
        const auto last = [&db](QLatin1StringView table, QLatin1StringView key) {
            return db.query(QStringLiteral("SELECT max(%1) FROM %2").arg(key, table)).value(0, 0).toLongLong();
        };
        const qint64 lastScore = last(ScoresTable, ScoreId);
        const qint64 lastResult = last(PhraseResultsTable, ResultId);
        const auto putBack = [&] {
            db.execute(QStringLiteral("DELETE FROM %1 WHERE %2 > ?").arg(ScoresTable, ScoreId), { lastScore });
            db.execute(QStringLiteral("DELETE FROM %1 WHERE %2 > ?").arg(PhraseResultsTable, ResultId), { lastResult });
            db.execute(QStringLiteral("UPDATE sqlite_sequence SET seq = ? WHERE name = ?"), { lastScore, ScoresTable });
            db.execute(QStringLiteral("UPDATE sqlite_sequence SET seq = ? WHERE name = ?"),
                { lastResult, PhraseResultsTable });
        };

        const QString moment = Now.toString(Qt::ISODate);
        const QVariantList score { studentName(0), subjectName(0), activityName(0), QStringLiteral("7/10"), 70.0,
            Now.toString(QStringLiteral("yyyy-MM-dd")), Now.toString(QStringLiteral("HH:mm:ss")) };
        const QByteArray insertScore = "INSERT INTO tblscores (tName, tSubject, tActivity, textScore, numberScore, "
                                       "nDate, nTime) VALUES (?, ?, ?, ?, ?, ?, ?)";
        const QByteArray insertResult
            = "INSERT INTO tblphraseresults (fkScoreID, tName, tPhraseID, tActivity, nRating, "
              "tMoment, nAnswerMs) VALUES ((SELECT max(pkScoreID) FROM tblscores), ?, ?, ?, "
              "?, ?, ?)";
        QList<QByteArray> statements { insertScore };
        QList<QVariantList> values { score };
        for (int p = 1; p <= PhrasesPerSubject; ++p) {
            statements << insertResult;
            values << QVariantList { studentName(0),
                ProgramFolder::installedName(0, extension) + '#' + QString::number(p), activityName(0), 1 + p % 4,
                moment, 1200 };
        }
        int stored = 0;
        compare(RoundFigure,
            { [&] {
                 const platform::Database round = platform::Database::openFile(users);
                 round.execute(QStringLiteral("BEGIN IMMEDIATE"));
                 const qint64 id = round.insertRow(ScoresTable,
                     { ScoreStudent, ScoreSubject, ScoreActivity, TextScore, NumberScore, ScoreDate, ScoreTime },
                     score);
                 for (const QVariantList& result : values.mid(1))
                     round.insertRow(PhraseResultsTable,
                         { ResultScore, ResultStudent, ResultPhrase, ResultActivity, ResultRating, ResultMoment,
                             ResultAnswerMs },
                         QVariantList { id } + result);
                 round.execute(QStringLiteral("COMMIT"));
                 stored = static_cast<int>(round.lastInsertId() - lastResult);
             },
                putBack },
            { [&] { raw::execute(users, statements, values, true); }, putBack });
        putBack();
        need(stored == PhrasesPerSubject, QStringLiteral("the round's phrase results were not stored"));
    }

    void classFigure(const QString& users)
    {
        QVector<ClassPhrase> phrases;
        int rows = 0;
        compare(ClassFigure, { [&] { phrases = Class_Hardest_Phrases({ users }, Now); } }, { [&] {
            rows = raw::select(users,
                { "SELECT tName, tPhraseID, nRating, tMoment FROM tblphraseresults ORDER BY tName, tPhraseID, "
                  "tMoment" });
        } },
            5);
        need(rows == PhraseResults && !phrases.isEmpty() && phrases.size() <= ScoredSubjects * PhrasesPerSubject,
            QStringLiteral("the class's phrases are missing"));
    }

    const Group registered(60, [](const Context& context) {
        const QString users = context.school.usersFile();
        if (wanted(DueFigure))
            dueFigure(users);
        if (wanted(RoundFigure))
            roundFigure(users, context.school.subjectExtension());
        if (wanted(ClassFigure))
            classFigure(users);
    });

}

}
