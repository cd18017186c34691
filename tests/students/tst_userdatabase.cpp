#include <cstdio>
#include <memory>
#include <thread>

#include <sys/stat.h>

#include <QtTest>

#include "common/session.h"
#include "platform/database.h"
#include "platform/privatefiles.h"
#include "students/classphrases.h"
#include "students/passwords.h"
#include "students/scores.h"
#include "students/userdatabase.h"
#include "tests/students/scoredata.h"
#include "tests/support/fixtures.h"

using platform::Database;

namespace {

// The statements of the tracked-scores window that read every result instead of only the ones they list: a
// plain scan of the table, or a sort the views would not need.
QStringList statementsReadingEveryResult(const QString& path)
{
    const Database db = Database::openFile(path);
    QStringList slow;
    const QStringList statements { Score_Lines_Statement(StudentView), Score_Lines_Statement(ActivityView),
        Score_Lines_Statement(SubjectView), "Select * from qryActivities", "Select * from qrySubjects" };
    for (const QString& sql : statements) {
        const auto plan = db.query("EXPLAIN QUERY PLAN " + sql);
        for (int i = 0; i < plan.count(); ++i) {
            const QString step = plan.text(i, "detail");
            if ((step.startsWith("SCAN tblscores") && !step.contains("COVERING INDEX")) || step.contains("TEMP B-TREE"))
                slow << sql + ": " + step;
        }
    }
    return slow;
}

// Every row of both tables in stored order, one line each, every value as SQLite quotes it: its type and bytes.
QStringList allRows(const QString& path)
{
    const Database db = Database::openFile(path);
    QStringList lines;
    for (const char* table : { "tblUsers", "tblscores" }) {
        const QStringList columns = db.query(QString("SELECT * FROM %1 LIMIT 0").arg(table)).columns();
        const auto rs = db.query(
            QString("SELECT quote(%1) FROM %2 ORDER BY rowid").arg(columns.join(") || '|' || quote("), table));
        for (int i = 0; i < rs.count(); ++i)
            lines << rs.text(i, 0);
    }
    return lines;
}

// A user database as the program made it before the scores had indexes and the phrases their results, with a
// student, three results and `moreResults` generated ones.
void makeOlderDatabase(const QString& programDir, const QString& path, int moreResults = 0)
{
    QVERIFY(Create_User_Database(programDir, path, nullptr));
    const Database db = Database::openFile(path);
    const auto indexes = db.query("SELECT name FROM sqlite_master WHERE type = 'index' AND tbl_name = 'tblscores'");
    for (int i = 0; i < indexes.count(); ++i)
        db.execute("DROP INDEX \"" + indexes.text(i, 0) + "\"");
    db.execute("DROP TABLE tblphraseresults");
    db.execute("INSERT INTO tblUsers (tFirstname, tLastname, nIcon) VALUES ('Ana', 'Ruiz', 3)");
    const QString insert = "INSERT INTO tblscores (tName, tSubject, tActivity, textScore, numberScore, nDate, nTime) "
                           "VALUES (?, ?, ?, ?, ?, ?, ?)";
    db.execute(insert, { "Ana Ruiz", "Zoo", "Pairs", QVariant(), 70.5, "2026-12-01", "10:00:00" });
    db.execute(insert, { "Ana Ruiz", "Zoo", "Dictation", "9/10", QVariant(), "2026-12-02", "11:00:00" });
    db.execute(insert, { "Ben Ortiz", "Colours", "Pairs", QVariant(), QVariant(), QVariant(), QVariant() });
    db.execute(QString("WITH RECURSIVE n(k) AS (SELECT 1 WHERE %1 > 0 UNION ALL SELECT k + 1 FROM n WHERE k < %1) "
                       "INSERT INTO tblscores (tName, tSubject, tActivity, textScore, numberScore, nDate, nTime) "
                       "SELECT 'Student ' || (k % 97), 'Subject ' || (k % 13), 'Quiz', k || ' / 10', k % 11, "
                       "'2026-11-30', '09:00:00' FROM n")
                   .arg(moreResults));
}

bool hasPhraseResults(const QString& path)
{
    const auto rs = Database::openFile(path).query(
        "SELECT count(*) FROM sqlite_master WHERE tbl_name = 'tblphraseresults' AND type IN ('table', 'index')");
    return rs.value(0, 0).toInt() == 3;
}
}

const char* const AddSwitch = "--add-student";

int modeOf(const QString& path)
{
    struct stat st
    {
    };
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? static_cast<int>(st.st_mode & 07777) : -1;
}

class TestUserDatabase : public QObject
{
    Q_OBJECT
private:
    Session m_session;
    UserFile users() const { return Users_Of(m_session); }
    fixtures::ProgramFolder* m_program = nullptr;

private Q_SLOTS:
    void init()
    {
        m_program = new fixtures::ProgramFolder;
        m_session = fixtures::programSession(m_program->path());
        m_session.DataDir = m_program->path();
    }
    void cleanup() { delete m_program; }

    void createdFromTheTemplateWritable()
    {
        QFile::setPermissions(m_program->file("Parlanta.tpl"), QFileDevice::ReadOwner | QFileDevice::ReadOther);
        QString error;
        QVERIFY(Create_User_Database(m_session.ProgramDir, users().path, &error));
        QVERIFY(QFile::permissions(users().path) & QFileDevice::WriteOwner);
        QVERIFY(Read_Students(users()).isEmpty());
        QVERIFY(!Create_User_Database(m_session.ProgramDir, m_program->file("no/such/folder/Users.dat"), &error));
        QVERIFY(!error.isEmpty());
    }

    // Password hashes and results are for the folder's writers only: private in a folder of one user's, shared
    // with the group in a folder a class shares; a file an older version left open is closed at the next start.
    void onlyTheFoldersWritersMayReadIt_data()
    {
        QTest::addColumn<int>("folderMode");
        QTest::addColumn<int>("fileMode");
        QTest::newRow("one user's folder") << 0755 << 0600;
        QTest::newRow("a class's folder") << 02775 << 0660;
        QTest::newRow("everybody's folder") << 0777 << 0666;
    }
    void onlyTheFoldersWritersMayReadIt()
    {
        QFETCH(int, folderMode);
        QFETCH(int, fileMode);
        const QByteArray folder = QFile::encodeName(m_program->path());
        QVERIFY(::chmod(folder.constData(), static_cast<mode_t>(folderMode)) == 0);
        QVERIFY(Create_User_Database(m_session.ProgramDir, users().path, nullptr));
        QCOMPARE(modeOf(users().path), fileMode);
        QVERIFY(::chmod(QFile::encodeName(users().path).constData(), 0644) == 0);
        platform::restrictToWriters(users().path);
        QCOMPARE(modeOf(users().path), fileMode & 0644);
        // A file made read-only stays read-only.
        QVERIFY(::chmod(QFile::encodeName(users().path).constData(), 0444) == 0);
        platform::restrictToWriters(users().path);
        QCOMPARE(modeOf(users().path), fileMode & 0444);
    }

    // Program processes on one folder adding students at the same moment: each name is stored once, and one of
    // them, the first stored, is the administrator.
    void processesAddingAtOnceStoreEachNameOnce()
    {
        QVERIFY(Create_User_Database(m_session.ProgramDir, users().path, nullptr));
        const QStringList names { "Ana Uno", "ANA UNO", "Beto Dos", "beto dos", "Ana Uno", "Carla Tres" };
        std::vector<std::unique_ptr<QProcess>> children;
        for (const QString& name : names) {
            children.push_back(std::make_unique<QProcess>());
            children.back()->start(QCoreApplication::applicationFilePath(),
                { QString::fromLatin1(AddSwitch), m_program->path(), name.section(' ', 0, 0), name.section(' ', 1) });
        }
        int added = 0;
        int administrators = 0;
        for (const auto& child : children) {
            QVERIFY(child->waitForFinished(30000));
            const QString said = QString::fromUtf8(child->readAllStandardOutput()).trimmed();
            QVERIFY2(said == "taken" || said == "added" || said == "administrator", qPrintable(said));
            added += said != "taken";
            administrators += said == "administrator";
        }
        QCOMPARE(added, 3);
        QCOMPARE(administrators, 1);
        const QVector<Student> stored = Read_Students(users());
        QCOMPARE(stored.size(), 3);
        QVERIFY(Is_Administrator(users(), stored[0].id));
    }

    void studentsComeInStoredOrderWithKeysReadBack()
    {
        QVERIFY(Create_User_Database(m_session.ProgramDir, users().path, nullptr));
        const AddedStudent a = Insert_Student(users(), "Zoe", "Adams", QVariant(), 4);
        const AddedStudent b = Insert_Student(users(), "Ana", "O'Neil", QString(), 40);
        QCOMPARE(b.id, a.id + 1);
        QVERIFY(a.administrator && Is_Administrator(users(), a.id));
        QVERIFY(!b.administrator && !Is_Administrator(users(), b.id));
        const auto students = Read_Students(users());
        QCOMPARE(students.size(), 2);
        QCOMPARE(students[0].displayName(), QStringLiteral("Zoe Adams"));
        QCOMPARE(students[1].displayName(), QStringLiteral("Ana O'Neil"));
        QCOMPARE(students[1].icon, 40);
        // Absent and empty passwords read alike.
        QCOMPARE(students[0].password, QString());
        QCOMPARE(students[1].password, QString());
        const Database db = Database::openFile(users().path);
        QVERIFY(db.query("SELECT * FROM tblUsers WHERE tPassword IS NULL").count() == 1);

        Update_Student(users(), b.id, "Ana", "O'Neil-Ruiz", "secret", 7);
        QCOMPARE(Read_Students(users())[1].lastName, QStringLiteral("O'Neil-Ruiz"));
        QVERIFY_THROWS_EXCEPTION(platform::DbError, Update_Student(users(), 999, "x", "y", "", 1));
    }

    void namesOfTheStoredQueries()
    {
        QVERIFY(Create_User_Database(m_session.ProgramDir, users().path, nullptr));
        const Database db = Database::openFile(users().path);
        for (const char* activity : { "Pairs", "Dictation", "Pairs" })
            db.execute("INSERT INTO tblscores (tName, tSubject, tActivity) VALUES ('a', 'Zoo', ?)", { activity });
        QCOMPARE(Read_Names(users(), "qryActivities"), QStringList({ "Dictation", "Pairs" }));
        QCOMPARE(Read_Names(users(), "qrySubjects"), QStringList({ "Zoo" }));
    }

    void readingWaitsForAnActivityWritingScores()
    {
        QVERIFY(Create_User_Database(m_session.ProgramDir, users().path, nullptr));
        Insert_Student(users(), "Ana", "Ruiz", QVariant(), 1);
        const Database activity = Database::openFile(users().path);
        activity.executeScript("BEGIN EXCLUSIVE; INSERT INTO tblscores (tName) VALUES ('Ana Ruiz')");
        std::thread release([&activity] {
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            activity.executeScript("COMMIT");
        });
        QElapsedTimer timer;
        timer.start();
        const auto students = Read_Students(users());
        release.join();
        QCOMPARE(students.size(), 1);
        QVERIFY(timer.elapsed() >= 250);
    }

    void newDatabaseFindsScoresThroughIndexes()
    {
        QVERIFY(Create_User_Database(m_session.ProgramDir, users().path, nullptr));
        QCOMPARE(statementsReadingEveryResult(users().path), QStringList());
    }

    void olderDatabaseGainsIndexesAndPhraseResultsWithItsRowsUntouched()
    {
        makeOlderDatabase(m_session.ProgramDir, users().path, 100000);
        QVERIFY(!statementsReadingEveryResult(users().path).isEmpty());
        QVERIFY(!hasPhraseResults(users().path));
        const QStringList rows = allRows(users().path);
        QCOMPARE(rows.size(), 1 + 3 + 100000);
        Upgrade_User_Database(users().path);
        QCOMPARE(statementsReadingEveryResult(users().path), QStringList());
        QVERIFY(hasPhraseResults(users().path));
        QCOMPARE(allRows(users().path), rows);
        // Once there, they are not made again.
        Upgrade_User_Database(users().path);
        QCOMPARE(statementsReadingEveryResult(users().path), QStringList());
        QCOMPARE(Read_Names(users(), "qryActivities"), QStringList({ "Dictation", "Pairs", "Quiz" }));
    }

    // The first phrase results had their history index without the ratings: the upgrade puts the one with them in
    // its place, and the histories read the same through it.
    void firstHistoryIndexGivesWayToTheOneWithTheRatings()
    {
        QVERIFY(Create_User_Database(m_session.ProgramDir, users().path, nullptr));
        const auto indexes = [this] {
            return Database::openFile(users().path)
                .query("SELECT group_concat(name, ' ') FROM (SELECT name FROM sqlite_master WHERE type = 'index' AND "
                       "tbl_name = 'tblphraseresults' ORDER BY name)")
                .text(0, 0);
        };
        Database::openFile(users().path)
            .executeScript(
                "DROP INDEX tblphraseresults_tName_tPhraseID_tMoment_nRating;"
                "CREATE INDEX tblphraseresults_tName_tPhraseID_tMoment ON tblphraseresults (tName, tPhraseID, "
                "tMoment);");
        scoredata::addPhraseResults(users(),
            { { "Ana Ruiz", "zoo.ale#1", 3, "2026-12-01T09:00:00Z" },
                { "Ana Ruiz", "zoo.ale#1", 1, "2026-12-03T09:00:00Z" },
                { "Ben Ortiz", "zoo.ale#1", 2, "2026-12-02T09:00:00Z" } });
        const QDateTime now = QDateTime::fromString("2026-12-10T12:00:00Z", Qt::ISODate);
        const QVector<QStringList> before = Class_Phrase_Rows(Class_Hardest_Phrases(users(), now));
        Upgrade_User_Database(users().path);
        QCOMPARE(indexes(), "tblphraseresults_tName_tPhraseID_tMoment_nRating tblphraseresults_tPhraseID");
        QCOMPARE(Class_Phrase_Rows(Class_Hardest_Phrases(users(), now)), before);
    }

    void databaseThatCannotTakeIndexesIsReadAsItIs()
    {
        makeOlderDatabase(m_session.ProgramDir, users().path);
        const QStringList rows = allRows(users().path);
        // Made read-only by someone (an all-powerful user may still write it): the start goes on either way.
        QVERIFY(QFile::setPermissions(users().path, QFileDevice::ReadOwner | QFileDevice::ReadOther));
        Upgrade_User_Database(users().path);
        QCOMPARE(Read_Students(users()).size(), 1);
        QFile::setPermissions(users().path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        QCOMPARE(allRows(users().path), rows);

        // Not a database at all: its reader reports it, not the indexing.
        QFile broken(users().path);
        QVERIFY(broken.open(QIODevice::WriteOnly | QIODevice::Truncate));
        broken.write("not a database");
        broken.close();
        Upgrade_User_Database(users().path);
        QVERIFY_THROWS_EXCEPTION(platform::DbError, Read_Students(users()));
    }

    void passwordsIgnoreCaseButNotBlanks()
    {
        const QString hash = Hash_Password("Sesamo");
        QVERIFY(Is_Password_Hash(hash));
        QVERIFY(!hash.contains("SESAMO"));
        QVERIFY(Password_Matches(hash, "sesamo"));
        QVERIFY(Password_Matches(hash, "SESAMO"));
        QVERIFY(!Password_Matches(hash, " sesamo"));
        QVERIFY(!Password_Matches(hash, ""));
        QVERIFY(Hash_Password("Sesamo") != hash); // salted
        // An older file's plain password.
        QVERIFY(Password_Matches("Perro", "pERRO"));
        QVERIFY(!Password_Matches("Perro", "Perro "));
        QVERIFY(Password_Matches("", ""));
        QVERIFY(!Password_Matches("", "x"));
        QVERIFY(Password_Matches(Hash_Password("ñandú"), "ÑANDÚ"));
    }
};

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc == 5 && qstrcmp(argv[1], AddSwitch) == 0) {
        // One program process adding one student, as the new-student window does.
        const UserFile users { Users_Path(QString::fromLocal8Bit(argv[2])) };
        const AddedStudent added
            = Insert_Student(users, QString::fromLocal8Bit(argv[3]), QString::fromLocal8Bit(argv[4]), QVariant(), 1);
        std::printf("%s\n", added.nameTaken ? "taken" : added.administrator ? "administrator" : "added");
        return 0;
    }
    TestUserDatabase test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_userdatabase.moc"
