#include <atomic>
#include <thread>

#include <QElapsedTimer>
#include <QTcpServer>
#include <QtTest>

#include "games/common/scorewriter.h"
#include "platform/database.h"
#include "students/classexchange.h"
#include "students/classsync.h"
#include "students/schoolsettings.h"
#include "students/serverschema.h"
#include "students/syncjournal.h"
#include "students/userdatabase.h"
#include "tests/students/scoredata.h"
#include "tests/support/fixtures.h"
#include "tests/support/pgserver.h"

using platform::PgConnection;
using scoredata::NewUsers;

namespace {

// A round of a game as the activities store it: its score row and a rated row for each of its phrases.
void playRound(const UserFile& users, const QString& student, int round, int phrases = 3)
{
    games::ScoreRow row { student, QStringLiteral("Animals"), QStringLiteral("Flashcards"), std::nullopt,
        double(round % 100), QDateTime(QDate(2026, 12, 9), QTime(8, 0)).addSecs(round), {} };
    for (int p = 0; p < phrases; ++p)
        row.phrases.push_back({ QStringLiteral("zoo.ale#%1").arg(p + 1), 1 + (round + p) % 4, row.when.toUTC(),
            p % 2 ? std::optional<qint64>(1200) : std::nullopt });
    QVERIFY(games::ScoreWriter(users.path).write(row).saved());
}

// Many rounds at once, in one transaction, with rows like the writer's: a school's day on one computer.
void playRounds(const UserFile& users, const QStringList& students, int rounds, int phrases)
{
    const auto db = platform::Database::openFile(users.path);
    db.execute("BEGIN");
    for (int i = 0; i < rounds; ++i) {
        const QString student = students.at(i % students.size());
        const qint64 score
            = db.insertRow("tblscores", { "tName", "tSubject", "tActivity", "numberScore", "nDate", "nTime" },
                { student, "Animals", "Pairs", i % 100, "2026-12-09", "09:00:00" });
        for (int p = 0; p < phrases; ++p)
            db.insertRow("tblphraseresults", { "fkScoreID", "tName", "tPhraseID", "tActivity", "nRating", "tMoment" },
                { score, student, QStringLiteral("zoo.ale#%1").arg(p + 1), "Pairs", 1 + p, "2026-12-09T09:00:00Z" });
    }
    db.execute("COMMIT");
}

qint64 count(const UserFile& users, const QString& sql)
{
    return platform::Database::openFile(users.path).query(sql).value(0, 0).toLongLong();
}

qint64 count(const PgConnection& db, const QString& sql) { return db.query(sql).value(0, 0).toLongLong(); }

// The students with their passwords, the administrator first and the others sorted.
QStringList names(const UserFile& users)
{
    QStringList all;
    for (const Student& s : Read_Students(users))
        all << s.displayName() + QLatin1Char('/') + s.password;
    if (!all.isEmpty())
        std::sort(all.begin() + 1, all.end());
    return all;
}

// Each phrase row here names a round that is here, under the same student: the links survived the journey.
qint64 linkedPhrases(const UserFile& users)
{
    return count(users,
        QStringLiteral("SELECT COUNT(*) FROM tblphraseresults r JOIN tblscores s ON s.pkScoreID = "
                       "r.fkScoreID AND s.tName = r.tName"));
}

}

class TestClassExchange : public QObject
{
    Q_OBJECT

    fixtures::ProgramFolder m_program;
    fixtures::PgServer m_server;
    int m_schools = 0;

    // A school of its own for each test: a new database on the one server.
    platform::ServerAddress newSchool() { return m_server.createDatabase(QStringLiteral("school%1").arg(++m_schools)); }

private Q_SLOTS:
    void initTestCase() { QVERIFY2(m_server.isRunning(), qPrintable(m_server.failure())); }

    void twoComputersEndWithEveryRowOnceAndTheServersAdministrator()
    {
        const auto school = newSchool();
        NewUsers a(m_program), b(m_program);
        Insert_Student(a.file(), "Ana", "Admin", QString("hash-a"), 3);
        Insert_Student(a.file(), "Bob", "O'Brien", QVariant(), 7);
        Insert_Student(b.file(), "Carl", "Cruz", QVariant(), 9); // B's own administrator, until it meets the class
        // More rounds than one batch carries, the first without phrases: the phrase rows of the last rounds must
        // wait, on the way up and on the way down, for the batch that holds their round.
        playRounds(a.file(), { "Ana Admin", "Bob O'Brien" }, ExchangeBatch, 0);
        playRounds(a.file(), { "Ana Admin", "Bob O'Brien" }, 50, 3);
        playRound(b.file(), "Carl Cruz", 1, 10);

        QVERIFY(Exchange_With_Server(a.file(), school).sent > 0);
        const ExchangeReport toB = Exchange_With_Server(b.file(), school);
        QCOMPARE(Exchange_With_Server(a.file(), school).received, 1 + 1 + 10); // Carl, his round and its phrases
        QCOMPARE(Exchange_With_Server(b.file(), school).sent, 0);
        QVERIFY(toB.received > 0);

        const PgConnection db = PgConnection::connect(school);
        const qint64 rounds = ExchangeBatch + 50 + 1;
        const qint64 phrases = 50 * 3 + 10;
        QCOMPARE(count(db, "SELECT COUNT(*) FROM scores"), rounds);
        QCOMPARE(count(db, "SELECT COUNT(*) FROM phrase_results"), phrases);
        for (const NewUsers* computer : { &a, &b }) {
            QCOMPARE(count(computer->file(), "SELECT COUNT(*) FROM tblscores"), rounds);
            QCOMPARE(linkedPhrases(computer->file()), phrases);
            QCOMPARE(names(computer->file()), QStringList({ "Ana Admin/hash-a", "Bob O'Brien/", "Carl Cruz/" }));
            QCOMPARE(Waiting_Rows(computer->file()), 0);
        }
        QVERIFY(Is_Administrator(b.file(), Read_Students(b.file()).first().id));
    }

    // The server took a batch, but the computer stopped before it noted so: it sends the batch again.
    void aBatchSentTwiceIsStoredOnce()
    {
        const auto school = newSchool();
        NewUsers a(m_program);
        Insert_Student(a.file(), "Ana", "Admin", QVariant(), 3);
        for (int i = 0; i < 5; ++i)
            playRound(a.file(), "Ana Admin", i);
        Sync_Database_Id(a.file());
        const PgConnection db = PgConnection::connect(school);
        Exchange_With_Server(NewUsers(m_program).file(), school); // the tables, made by another computer
        Send_Outbox(db, Read_Outbox(a.file(), ExchangeBatch));
        QCOMPARE(Waiting_Rows(a.file()), 1 + 5 + 15);
        Exchange_With_Server(a.file(), school);
        QCOMPARE(count(db, "SELECT COUNT(*) FROM scores"), 5);
        QCOMPARE(count(db, "SELECT COUNT(*) FROM phrase_results"), 15);
        QCOMPARE(Waiting_Rows(a.file()), 0);
    }

    void changesRemovalsAndOfflineTwinsReachEveryComputer()
    {
        const auto school = newSchool();
        NewUsers a(m_program), b(m_program), away(m_program);
        Insert_Student(a.file(), "Ana", "Admin", QVariant(), 3);
        Insert_Student(a.file(), "Bob", "Brown", QVariant(), 7);
        playRound(a.file(), "Bob Brown", 1);
        for (const NewUsers* c : { &a, &b, &away, &a })
            Exchange_With_Server(c->file(), school);
        playRound(away.file(), "Bob Brown", 2); // played where nobody hears of the removal until later

        // The same new student, made on two computers while both were offline: one student, the later one wins.
        Insert_Student(a.file(), "Dana", "Diaz", QString("from-a"), 1);
        Insert_Student(b.file(), "Dana", "Diaz", QString("from-b"), 2);
        Update_Student_Password(a.file(), Read_Students(a.file()).first().id, "new-admin-hash");
        QVERIFY(Remove_Student(a.file(), "Bob Brown"));
        Exchange_With_Server(a.file(), school);
        Exchange_With_Server(b.file(), school);
        Exchange_With_Server(away.file(), school);
        Exchange_With_Server(a.file(), school);
        Exchange_With_Server(b.file(), school);

        for (const NewUsers* c : { &a, &b, &away }) {
            QCOMPARE(names(c->file()), QStringList({ "Ana Admin/new-admin-hash", "Dana Diaz/from-b" }));
            QCOMPARE(count(c->file(), "SELECT COUNT(*) FROM tblscores WHERE tName = 'Bob Brown'"), 0);
        }
        const PgConnection db = PgConnection::connect(school);
        QCOMPARE(count(db, "SELECT COUNT(*) FROM scores"), 0);
        QCOMPARE(count(db, "SELECT COUNT(*) FROM students WHERE NOT removed"), 2);
    }

    void aServerDownLosesNothing()
    {
        const auto school = newSchool();
        NewUsers a(m_program), b(m_program);
        Insert_Student(a.file(), "Ana", "Admin", QVariant(), 3);
        Exchange_With_Server(a.file(), school);
        playRound(a.file(), "Ana Admin", 1);
        m_server.stop();
        try {
            Exchange_With_Server(a.file(), school);
            QFAIL("exchanged with a stopped server");
        } catch (const platform::ServerError& e) {
            QVERIFY(e.unreachable());
        }
        QCOMPARE(Waiting_Rows(a.file()), 1 + 3);
        QVERIFY(m_server.start());
        Exchange_With_Server(a.file(), school);
        Exchange_With_Server(b.file(), school);
        QCOMPARE(count(b.file(), "SELECT COUNT(*) FROM tblscores"), 1);
        QCOMPARE(linkedPhrases(b.file()), 3);
    }

    // A school copies one prepared data folder onto every computer: the copies are computers of their own.
    void aCopiedFileIsAComputerOfItsOwn()
    {
        const auto school = newSchool();
        NewUsers a(m_program), copy(m_program);
        Insert_Student(a.file(), "Ana", "Admin", QVariant(), 3);
        playRound(a.file(), "Ana Admin", 1);
        Exchange_With_Server(a.file(), school);
        QFile::remove(copy.file().path);
        QVERIFY(QFile::copy(a.file().path, copy.file().path));
        playRound(a.file(), "Ana Admin", 2);
        playRound(copy.file(), "Ana Admin", 3);
        for (const NewUsers* c : { &a, &copy, &a })
            Exchange_With_Server(c->file(), school);
        QCOMPARE(count(PgConnection::connect(school), "SELECT COUNT(*) FROM scores"), 3);
        for (const NewUsers* c : { &a, &copy }) {
            QCOMPARE(count(c->file(), "SELECT COUNT(*) FROM tblscores"), 3);
            QCOMPARE(linkedPhrases(c->file()), 9);
        }
    }

    // A class switched on at once meets a new database together: every computer gets the tables, none an error.
    void computersMeetingANewServerTogetherAllGetItsTables()
    {
        const auto school = newSchool();
        std::vector<std::thread> computers;
        std::atomic<int> failures = 0;
        for (int i = 0; i < 12; ++i)
            computers.emplace_back([&] {
                try {
                    server::Upgrade_Server_Schema(PgConnection::connect(school));
                } catch (const platform::ServerError&) {
                    ++failures;
                }
            });
        for (std::thread& t : computers)
            t.join();
        QCOMPARE(failures.load(), 0);
        QCOMPARE(count(PgConnection::connect(school), "SELECT COUNT(*) FROM migrations"), server::Migrations().size());
    }

    // The role of the guide for a school's IT: the rights its lines grant, and no more, are enough.
    void aRoleWithTheGuidesRightsAloneExchanges()
    {
        const auto school = newSchool();
        PgConnection::connect(school).executeScript("CREATE ROLE parlanta_app LOGIN; REVOKE ALL ON DATABASE "
            + school.database
            + " FROM PUBLIC;"
              "REVOKE ALL ON SCHEMA public FROM PUBLIC; GRANT CONNECT ON DATABASE "
            + school.database + " TO parlanta_app; GRANT USAGE, CREATE ON SCHEMA public TO parlanta_app;");
        platform::ServerAddress app = school;
        app.user = QStringLiteral("parlanta_app");
        NewUsers a(m_program), b(m_program);
        Insert_Student(a.file(), "Ana", "Admin", QVariant(), 3);
        playRound(a.file(), "Ana Admin", 1);
        Exchange_With_Server(a.file(), app);
        Exchange_With_Server(b.file(), app);
        QCOMPARE(linkedPhrases(b.file()), 3);
    }

    // The program's side: the exchange never holds the caller, a server that does not answer is told in the status,
    // and the last exchange at the end carries what the run recorded.
    void theProgramExchangesOffItsThreadAndSaysHowItStands()
    {
        const auto school = newSchool();
        NewUsers a(m_program);
        Insert_Student(a.file(), "Ana", "Admin", QVariant(), 3);
        ClassSync alone(a.file(), a.session.DataDir);
        alone.requestExchange();
        QCOMPARE(alone.status(), SyncStatus());
        QVERIFY(alone.finish(100));

        // A server that takes the connection and never answers: only the connection's time limit ends the wait.
        QTcpServer mute;
        QVERIFY(mute.listen(QHostAddress::LocalHost));
        platform::ServerAddress silent = school;
        silent.host = QStringLiteral("127.0.0.1");
        silent.port = mute.serverPort();
        QString error;
        QVERIFY2(Write_School_Settings(a.session.DataDir, silent, &error), qPrintable(error));
        ClassSync sync(a.file(), a.session.DataDir);
        QElapsedTimer timer;
        timer.start();
        sync.requestExchange();
        sync.requestExchange();
        QVERIFY2(timer.elapsed() < 500, qPrintable(QString::number(timer.elapsed())));
        QVERIFY(sync.status().busy);
        QVERIFY(!QTest::qWaitFor([&sync] { return !sync.status().busy; }, 1500)); // the window's thread runs meanwhile
        QTRY_VERIFY_WITH_TIMEOUT(!sync.status().busy, 10000);
        QVERIFY(sync.status().configured && !sync.status().connected);
        QVERIFY(!sync.status().problem.isEmpty());
        QCOMPARE(sync.status().waiting, 1);
        timer.restart();
        QVERIFY(!sync.finish(3000));
        QVERIFY2(timer.elapsed() < 500, qPrintable(QString::number(timer.elapsed())));

        QVERIFY(Write_School_Settings(a.session.DataDir, school, &error));
        sync.requestExchange();
        QTRY_VERIFY(sync.status().connected);
        QCOMPARE(sync.status().waiting, 0);
        QVERIFY(sync.status().lastExchange.isValid());
        playRound(a.file(), "Ana Admin", 1);
        QVERIFY(sync.finish(5000));
        QCOMPARE(Waiting_Rows(a.file()), 0);
        QCOMPARE(count(PgConnection::connect(school), "SELECT COUNT(*) FROM phrase_results"), 3);
    }
};

QTEST_GUILESS_MAIN(TestClassExchange)
#include "tst_classexchange.moc"
