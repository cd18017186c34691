#include <thread>

#include <QElapsedTimer>
#include <QtTest>

#include <sys/wait.h>
#include <unistd.h>

#include "gamefixture.h"
#include "games/common/gametexts.h"
#include "games/common/scorewriter.h"
#include "platform/database.h"

using namespace games;
using platform::Database;

namespace {

// A round with two phrases, one timed.
ScoreRow row(const QString& activity = QStringLiteral("Flashcards"))
{
    const QDateTime moment(QDate(2026, 3, 9), QTime(7, 4, 2), Qt::UTC);
    return { QStringLiteral("Ana O'Brien \"Nana\""), QStringLiteral(" Saludos; DROP TABLE tblscores --"), activity,
        QStringLiteral("7 / 10"), 7.0, QDateTime(QDate(2026, 3, 9), QTime(8, 5, 3)),
        { { QStringLiteral("zoo.ale#3"), 4, moment, 1250 }, { QStringLiteral("o'b#1.ale#1"), 1, moment, {} } } };
}

int rowCount(const QString& path, const QString& table = QStringLiteral("tblscores"))
{
    return Database::openFile(path).query(QStringLiteral("SELECT count(*) FROM ") + table).text(0, 0).toInt();
}

int phraseRowCount(const QString& path) { return rowCount(path, QStringLiteral("tblphraseresults")); }
}

class TestScores : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void writesOneWholeRow()
    {
        gametest::Launch launch;
        const ScoreWriter writer(launch.database());
        QVERIFY(writer.check().saved());
        const SaveResult result = writer.write(row());
        QVERIFY2(result.saved(), qPrintable(result.detail));
        const auto rs = Database::openFile(launch.database()).query(QStringLiteral("SELECT * FROM tblscores"));
        QCOMPARE(rs.count(), 1);
        // Quotes and SQL in the texts are stored as they are: the values are bound, never spliced.
        QCOMPARE(rs.text(0, "tName"), QStringLiteral("Ana O'Brien \"Nana\""));
        QCOMPARE(rs.text(0, "tSubject"), QStringLiteral(" Saludos; DROP TABLE tblscores --"));
        QCOMPARE(rs.text(0, "tActivity"), QStringLiteral("Flashcards"));
        QCOMPARE(rs.text(0, "textScore"), QStringLiteral("7 / 10"));
        QCOMPARE(rs.value(0, "numberScore").toDouble(), 7.0);
        QCOMPARE(rs.text(0, "nDate"), QStringLiteral("2026-03-09"));
        QCOMPARE(rs.text(0, "nTime"), QStringLiteral("08:05:03"));
        // The phrases go in with the score they belong to.
        QCOMPARE(launch.phraseRows(), QStringList({ "1|o'b#1.ale#1|1|<null>", "1|zoo.ale#3|4|1250" }));
        const auto phrase
            = Database::openFile(launch.database()).query(QStringLiteral("SELECT * FROM tblphraseresults"));
        QCOMPARE(phrase.text(0, "tName"), QStringLiteral("Ana O'Brien \"Nana\""));
        QCOMPARE(phrase.text(0, "tActivity"), QStringLiteral("Flashcards"));
        QCOMPARE(phrase.text(0, "tMoment"), QStringLiteral("2026-03-09T07:04:02Z"));
        QVERIFY(writer.write(row(QStringLiteral("Pairs"))).saved());
        QCOMPARE(rowCount(launch.database()), 2);
        // The tracked-scores window lists the activity names through the stored query.
        const auto names = Database::openFile(launch.database()).query(QStringLiteral("Select * from qryActivities"));
        QCOMPARE(names.count(), 2);
        QCOMPARE(names.text(0, 0), QStringLiteral("Flashcards"));
    }

    void absentScoreKindsAreNull()
    {
        gametest::Launch launch;
        const ScoreWriter writer(launch.database());
        ScoreRow textOnly = row();
        textOnly.textScore = QStringLiteral("12 turns");
        textOnly.numberScore.reset();
        ScoreRow numberOnly = row();
        numberOnly.textScore.reset();
        numberOnly.numberScore = 87.5;
        QVERIFY(writer.write(textOnly).saved());
        QVERIFY(writer.write(numberOnly).saved());
        const auto rs = Database::openFile(launch.database())
                            .query(QStringLiteral("SELECT textScore, numberScore FROM tblscores ORDER BY pkScoreID"));
        QCOMPARE(rs.text(0, "textScore"), QStringLiteral("12 turns"));
        QVERIFY(rs.isNull(0, "numberScore"));
        QVERIFY(rs.isNull(1, "textScore"));
        QCOMPARE(rs.value(1, "numberScore").toDouble(), 87.5);
    }

    void databasesThatCannotTakeAScore()
    {
        QTemporaryDir dir;
        const QString absent = dir.filePath("Users.dat");
        QCOMPARE(ScoreWriter(absent).check().status, SaveStatus::Missing);
        QCOMPARE(ScoreWriter(absent).write(row()).status, SaveStatus::Missing);
        QVERIFY(!QFile::exists(absent)); // never created empty in the learner's data folder

        QFile junk(dir.filePath("junk.dat"));
        QVERIFY(junk.open(QIODevice::WriteOnly));
        junk.write(QByteArray(4096, 'j'));
        junk.close();
        QCOMPARE(ScoreWriter(junk.fileName()).check().status, SaveStatus::Failed);
        QCOMPARE(ScoreWriter(junk.fileName()).write(row()).status, SaveStatus::Failed);

        const QString other = dir.filePath("other.dat");
        Database::openFile(other, true).executeScript(QStringLiteral("CREATE TABLE tblUsers (x TEXT)"));
        QCOMPARE(ScoreWriter(other).check().status, SaveStatus::Failed);
        QCOMPARE(ScoreWriter(other).write(row()).status, SaveStatus::Failed);
        QVERIFY(!Database::openFile(other).hasTable(QStringLiteral("tblscores")));
    }

    void readOnlyDatabaseIsReported()
    {
        QTemporaryDir dir;
        const QString folder = dir.filePath("data");
        QVERIFY(QDir().mkpath(folder));
        const QString path = folder + "/Users.dat";
        gametest::createUserDatabase(path);
        QFile::setPermissions(dir.path(),
            QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner | QFileDevice::ReadOther
                | QFileDevice::ExeOther);
        QFile::setPermissions(
            folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadOther | QFileDevice::ExeOther);
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadOther);

        // An administrator may write anything; the learner runs the game as an ordinary user.
        const bool dropPrivileges = geteuid() == 0;
        const pid_t child = fork();
        if (child == 0) {
            if (dropPrivileges && (setgid(65534) != 0 || setuid(65534) != 0))
                _exit(90);
            const ScoreWriter writer(path, 0);
            const int check = static_cast<int>(writer.check().status);
            const int write = static_cast<int>(writer.write(row()).status);
            _exit(check * 10 + write);
        }
        int status = 0;
        QCOMPARE(waitpid(child, &status, 0), child);
        QVERIFY(WIFEXITED(status));
        const int code = WEXITSTATUS(status);
        QVERIFY2(code != 90, "could not become an ordinary user");
        QCOMPARE(static_cast<SaveStatus>(code / 10), SaveStatus::Unwritable);
        QCOMPARE(static_cast<SaveStatus>(code % 10), SaveStatus::Unwritable);
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        QCOMPARE(rowCount(path), 0);
    }

    void aShortLockIsWaitedFor()
    {
        gametest::Launch launch;
        QElapsedTimer timer;
        SaveResult result;
        {
            gametest::LockHolder lock(launch.database(), 1200);
            timer.start();
            result = ScoreWriter(launch.database()).write(row());
        }
        QVERIFY2(result.saved(), qPrintable(result.detail));
        QVERIFY2(timer.elapsed() >= 1000, "the row cannot have been stored while the lock was held");
        QCOMPARE(rowCount(launch.database()), 1);
    }

    void aLongLockIsReportedAndNothingIsWritten()
    {
        gametest::Launch launch;
        QElapsedTimer timer;
        SaveResult result;
        {
            gametest::LockHolder lock(launch.database(), 6000);
            timer.start();
            result = ScoreWriter(launch.database()).write(row());
            QCOMPARE(result.status, SaveStatus::Locked);
            // The busy timeout is the few seconds the writer waits before it reports.
            QVERIFY2(timer.elapsed() >= Database::BusyTimeoutMs - 200, qPrintable(QString::number(timer.elapsed())));
            QVERIFY(timer.elapsed() < 5900);
        }
        QCOMPARE(rowCount(launch.database()), 0);
        QCOMPARE(phraseRowCount(launch.database()), 0);
        const QString why = texts::explainSave(result, launch.database(), Language::Spanish);
        QVERIFY(why.contains("bloqueada"));
        // Once the other program lets go, the same round goes in, once.
        QVERIFY(ScoreWriter(launch.database()).write(row()).saved());
        QCOMPARE(rowCount(launch.database()), 1);
        QCOMPARE(phraseRowCount(launch.database()), 2);
    }

    // The score and its phrases are one transaction: a failure after the score row leaves neither. A file no program
    // of this version has upgraded stores the score alone.
    void theRoundIsStoredWholeOrNotAtAll()
    {
        gametest::Launch launch;
        Database::openFile(launch.database())
            .execute(QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON tblphraseresults "
                                    "BEGIN SELECT RAISE(ABORT, 'disk full'); END"));
        const SaveResult failed = ScoreWriter(launch.database()).write(row());
        QCOMPARE(failed.status, SaveStatus::Failed);
        QVERIFY(failed.detail.contains("disk full"));
        QCOMPARE(rowCount(launch.database()), 0);

        Database::openFile(launch.database()).execute(QStringLiteral("DROP TABLE tblphraseresults"));
        QVERIFY(ScoreWriter(launch.database()).write(row()).saved());
        QCOMPARE(rowCount(launch.database()), 1);
        QVERIFY(!Database::openFile(launch.database()).hasTable(QStringLiteral("tblphraseresults")));
    }

    void failuresAreSortedForTheLearner()
    {
        QCOMPARE(classifyDatabaseFailure("database is locked"), SaveStatus::Locked);
        QCOMPARE(classifyDatabaseFailure("database table is locked"), SaveStatus::Locked);
        QCOMPARE(classifyDatabaseFailure("attempt to write a readonly database"), SaveStatus::Unwritable);
        QCOMPARE(classifyDatabaseFailure("Could not find file '/x/Users.dat'."), SaveStatus::Missing);
        QCOMPARE(classifyDatabaseFailure("no such table: tblscores"), SaveStatus::Failed);
        QCOMPARE(classifyDatabaseFailure("file is not a database"), SaveStatus::Failed);
    }
};

QTEST_GUILESS_MAIN(TestScores)
#include "tst_scores.moc"
