// A class of computers exchanging with the school server, each computer a process of its own as in a classroom:
// the server stopped under them, a computer that joins only at the end, a computer killed in the middle of an
// exchange, and one student made on two computers before either exchanged.

#include <QtTest>

#include "games/common/scorewriter.h"
#include "platform/database.h"
#include "students/classexchange.h"
#include "students/syncjournal.h"
#include "students/userdatabase.h"
#include "tests/support/fixtures.h"
#include "tests/support/pgserver.h"

using platform::PgConnection;
using platform::ServerAddress;

namespace {

constexpr char ComputerSwitch[] = "--computer";

// 30 computers of 1,000 rounds each: 72 s here on two cores (data on tmpfs), 3.5 min while other builds shared them;
// every computer brings in the rows of the whole class.
constexpr int Computers = 30;
constexpr int Rounds = 1000;
constexpr int ExchangeEvery = 100;
// How long a computer keeps trying its last exchange while the server is away.
constexpr int FinalTriesMs = 60000;

// A round's phrase rows: two or three.
int phrasesOf(int round) { return 2 + round % 2; }
qint64 phrasesOfRounds(int rounds) { return 2 * rounds + rounds / 2; }

// What a computer process is told: its file, the server, and what to do. Every exchange switched off (every = 0) is
// a computer that stays cut off; no rounds and every = 1 is a last exchange only.
struct ComputerJob
{
    QString users;
    ServerAddress server;
    QString tag; // names its rounds and phrases: "c7-r12", "c7-r12-p2"
    int rounds = 0;
    int every = 1;
    QStringList students; // "First Last/password", made before the first round; the rounds go to them in turn

    // The same computer again, for one exchange that goes through.
    ComputerJob lastExchange() const { return { users, server, tag, 0, 1, {} }; }
    QStringList arguments() const
    {
        return { QLatin1String(ComputerSwitch), users, server.host, server.database, server.user, tag,
            QString::number(rounds), QString::number(every), students.join(QLatin1Char(',')) };
    }
    static ComputerJob from(const QStringList& a)
    {
        ComputerJob job;
        job.users = a.value(0);
        job.server.host = a.value(1);
        job.server.database = a.value(2);
        job.server.user = a.value(3);
        job.server.sslMode = QStringLiteral("disable");
        job.tag = a.value(4);
        job.rounds = a.value(5).toInt();
        job.every = a.value(6).toInt();
        job.students = a.value(7).split(QLatin1Char(','), Qt::SkipEmptyParts);
        return job;
    }
};

// The child: a computer of the class. Its learners play round after round through the activities' writer, and the
// program exchanges with the server every few rounds, a failure only noted; then it tries until an exchange goes
// through. Prints how many exchanges it tried and how many failed.
int runComputer(const ComputerJob& job)
{
    const UserFile users { job.users };
    QStringList names;
    for (const QString& student : job.students) {
        const QString name = student.section(QLatin1Char('/'), 0, 0);
        Insert_Student(users, name.section(QLatin1Char(' '), 0, 0), name.section(QLatin1Char(' '), 1),
            student.section(QLatin1Char('/'), 1), 1 + static_cast<int>(names.size()));
        names << name;
    }
    int tried = 0;
    int failed = 0;
    const auto exchange = [&] {
        ++tried;
        try {
            Exchange_With_Server(users, job.server);
            return true;
        } catch (const platform::ServerError& e) {
            if (!e.unreachable() && failed == 0)
                fprintf(stderr, "%s: %s\n", qPrintable(job.tag), qPrintable(e.description()));
            ++failed;
            return false;
        }
    };
    const games::ScoreWriter writer(users.path);
    const QDateTime start(QDate(2026, 12, 10), QTime(8, 0));
    for (int r = 0; r < job.rounds; ++r) {
        const QString round = QStringLiteral("%1-r%2").arg(job.tag).arg(r);
        games::ScoreRow row { names.at(r % names.size()), QStringLiteral("Animals"), QStringLiteral("Flashcards"),
            round, double(r % 100), start.addSecs(r), {} };
        for (int p = 0; p < phrasesOf(r); ++p)
            row.phrases.push_back({ round + QStringLiteral("-p%1").arg(p), 1 + (r + p) % 4, row.when.toUTC(),
                p ? std::optional<qint64>(900 + r) : std::nullopt });
        const games::SaveResult saved = writer.write(row);
        if (!saved.saved()) {
            fprintf(stderr, "%s not saved: %s\n", qPrintable(round), qPrintable(saved.detail));
            return 1;
        }
        if (job.every > 0 && (r + 1) % job.every == 0)
            exchange();
    }
    if (job.every > 0) {
        QElapsedTimer trying;
        trying.start();
        while (!exchange()) {
            if (trying.elapsed() > FinalTriesMs)
                return 2;
            QThread::msleep(50);
        }
    }
    printf("exchanges %d failed %d\n", tried, failed);
    return 0;
}

qint64 count(const UserFile& users, const QString& sql)
{
    return platform::Database::openFile(users.path).query(sql).value(0, 0).toLongLong();
}
qint64 count(const PgConnection& db, const QString& sql) { return db.query(sql).value(0, 0).toLongLong(); }

// The students of the class, the administrator first and the others sorted.
QStringList classList(QStringList firstThenOthers)
{
    if (!firstThenOthers.isEmpty())
        std::sort(firstThenOthers.begin() + 1, firstThenOthers.end());
    return firstThenOthers;
}
QStringList classList(const UserFile& users)
{
    QStringList all;
    for (const Student& s : Read_Students(users))
        all << s.displayName() + QLatin1Char('/') + s.password;
    return classList(all);
}
QStringList classList(const PgConnection& db)
{
    const auto rs = db.query(
        QStringLiteral("SELECT display_name || '/' || coalesce(password, '') FROM students WHERE NOT removed "
                       "ORDER BY born"));
    QStringList all;
    for (int i = 0; i < rs.count(); ++i)
        all << rs.text(i, 0);
    return classList(all);
}

// Every row once, and every phrase row on its own round (tagged alike) under the same student: on the server ...
void expectEveryRowOnce(const PgConnection& db, qint64 scores, qint64 phrases)
{
    QCOMPARE(count(db, "SELECT COUNT(*) FROM scores"), scores);
    QCOMPARE(count(db, "SELECT COUNT(DISTINCT text_score) FROM scores"), scores);
    QCOMPARE(count(db, "SELECT COUNT(*) FROM phrase_results"), phrases);
    QCOMPARE(count(db, "SELECT COUNT(DISTINCT phrase) FROM phrase_results"), phrases);
    QCOMPARE(count(db,
                 "SELECT COUNT(*) FROM phrase_results p JOIN scores s ON s.origin_db = p.score_db AND s.origin_id = "
                 "p.score_id AND s.name = p.name AND starts_with(p.phrase, s.text_score || '-')"),
        phrases);
}

// ... and on a computer, with nothing left to send.
void expectEveryRowOnce(const UserFile& users, qint64 scores, qint64 phrases)
{
    QCOMPARE(count(users, "SELECT COUNT(*) FROM tblscores"), scores);
    QCOMPARE(count(users, "SELECT COUNT(DISTINCT textScore) FROM tblscores"), scores);
    QCOMPARE(count(users, "SELECT COUNT(*) FROM tblphraseresults"), phrases);
    QCOMPARE(count(users, "SELECT COUNT(DISTINCT tPhraseID) FROM tblphraseresults"), phrases);
    QCOMPARE(count(users,
                 "SELECT COUNT(*) FROM tblphraseresults r JOIN tblscores s ON s.pkScoreID = r.fkScoreID AND "
                 "s.tName = r.tName AND substr(r.tPhraseID, 1, length(s.textScore) + 1) = s.textScore || '-'"),
        phrases);
    QCOMPARE(Waiting_Rows(users), 0);
}

// The rounds on the server; 0 before the first computer made its tables.
qint64 serverScores(const ServerAddress& school)
{
    try {
        return count(PgConnection::connect(school), "SELECT COUNT(*) FROM scores");
    } catch (const platform::ServerError&) {
        return 0;
    }
}

// Computer processes run side by side; each must end well. What they printed, one line each.
QStringList runAll(const QVector<ComputerJob>& jobs, const std::function<void()>& meanwhile = {})
{
    std::vector<std::unique_ptr<QProcess>> processes;
    for (const ComputerJob& job : jobs) {
        processes.push_back(std::make_unique<QProcess>());
        processes.back()->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        processes.back()->start(QCoreApplication::applicationFilePath(), job.arguments());
    }
    if (meanwhile)
        meanwhile();
    QStringList printed;
    const QDeadlineTimer deadline(std::chrono::minutes(8));
    for (const auto& process : processes) {
        // A failed wait leaves the process as it is, so the checks below tell.
        process->waitForFinished(static_cast<int>(deadline.remainingTime()));
        printed << QString::fromLocal8Bit(process->readAllStandardOutput()).trimmed();
        [&] {
            QCOMPARE(process->exitStatus(), QProcess::NormalExit);
            QCOMPARE(process->exitCode(), 0);
        }();
    }
    return printed;
}

}

class TestClassroom : public QObject
{
    Q_OBJECT

    fixtures::ProgramFolder m_program;
    fixtures::PgServer m_server;
    // The computers' data folders: every round and every batch of an exchange is a commit, and a folder in memory
    // takes it without a disk's flush (the class at 150 rounds a computer: 21 s of CPU time here instead of 28).
    QTemporaryDir m_data { QDir(QStringLiteral("/dev/shm")).exists()
            ? QStringLiteral("/dev/shm/parlanta-class.XXXXXX")
            : QDir::tempPath() + QStringLiteral("/class.XXXXXX") };
    int m_files = 0;

    UserFile newComputer()
    {
        const UserFile users { m_data.filePath(QStringLiteral("computer%1.dat").arg(++m_files)) };
        QString error;
        if (!Create_User_Database(m_program.path(), users.path, &error))
            qFatal("no user database: %s", qPrintable(error));
        return users;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(m_server.isRunning(), qPrintable(m_server.failure()));
        QVERIFY(m_data.isValid());
    }

    // Computers writing and exchanging while the server goes down and comes back; the last of them cut off for the
    // whole run, and the twin student made on it and on its neighbour before either exchanged.
    void aClassWithTheServerStoppedAndAComputerCutOffEndsWithEveryRowOnce()
    {
        const ServerAddress school = m_server.createDatabase(QStringLiteral("classroom"));
        QVector<ComputerJob> jobs;
        for (int c = 1; c <= Computers; ++c) {
            ComputerJob job { newComputer().path, school, QStringLiteral("c%1").arg(c), Rounds, ExchangeEvery,
                { QStringLiteral("Pupil C%1/").arg(c) } };
            if (c >= Computers - 1)
                job.students << QStringLiteral("Dana Diaz/from-c%1").arg(c);
            jobs << job;
        }
        ComputerJob& cutOff = jobs.last();
        cutOff.every = 0;

        qint64 downMs = 0;
        const QStringList printed = runAll(jobs, [&] {
            // Stopped once a third of the rounds are on the server, while the computers write on.
            QDeadlineTimer third(60000);
            while (!third.hasExpired() && serverScores(school) < (Computers - 1) * Rounds / 3)
                QThread::msleep(20);
            QElapsedTimer down;
            down.start();
            m_server.stop();
            QThread::msleep(1000);
            QVERIFY(m_server.start());
            downMs = down.elapsed();
        });
        if (QTest::currentTestFailed())
            return;
        int failed = 0;
        for (const QString& line : printed)
            failed += line.section(QLatin1Char(' '), 3, 3).toInt();
        qInfo("the server was down %lld ms; %d of the computers' exchanges failed meanwhile", downMs, failed);
        QVERIFY(failed > 0);

        const PgConnection db = PgConnection::connect(school);
        QCOMPARE(count(db, "SELECT COUNT(*) FROM scores WHERE starts_with(text_score, '" + cutOff.tag + "-')"), 0);
        // The cut-off computer joins, then every other brings in what the ones after it sent.
        runAll({ cutOff.lastExchange() });
        QVector<ComputerJob> last;
        for (const ComputerJob& job : jobs)
            last.push_back(job.lastExchange());
        last.pop_back();
        runAll(last);
        if (QTest::currentTestFailed())
            return;

        const qint64 scores = qint64(Computers) * Rounds;
        const qint64 phrases = Computers * phrasesOfRounds(Rounds);
        expectEveryRowOnce(db, scores, phrases);
        const QStringList students = classList(db);
        QCOMPARE(students.size(), Computers + 1);
        QVERIFY(students.contains(QStringLiteral("Dana Diaz/from-c%1").arg(Computers))); // the later change won
        for (const ComputerJob& job : jobs) {
            expectEveryRowOnce(UserFile { job.users }, scores, phrases);
            QCOMPARE(classList(UserFile { job.users }), students);
        }
    }

    // A computer killed at a random moment of its exchange, again and again, each time a new process on the same
    // file going on: the server and both computers end with every row once.
    void aComputerKilledInTheMiddleOfItsExchangeLosesAndDoublesNothing()
    {
        const ServerAddress school = m_server.createDatabase(QStringLiteral("killed"));
        // Enough rows for several batches each way, so that there is an exchange to interrupt.
        const int rounds = 3 * ExchangeBatch;
        const ComputerJob victim { newComputer().path, school, "v", rounds, 0, { "Vera Victim/" } };
        const ComputerJob other { newComputer().path, school, "o", rounds, rounds, { "Otto Other/" } };
        runAll({ victim, other });
        if (QTest::currentTestFailed())
            return;
        const UserFile users { victim.users };
        // Rows brought in and rows marked sent: each batch of the exchange adds to it.
        const auto progress = [&users]() -> qint64 {
            const auto db = platform::Database::openFile(users.path);
            if (!db.hasTable(QStringLiteral("tblsyncorigins")))
                return 0;
            return db
                .query(QStringLiteral("SELECT (SELECT COUNT(*) FROM tblsyncorigins) + (SELECT "
                                      "COALESCE(SUM(tValue), 0) FROM tblsyncstate WHERE tKey IN ('sentScore', "
                                      "'sentPhrase'))"))
                .value(0, 0)
                .toLongLong();
        };

        const ComputerJob resume = victim.lastExchange();
        qint64 before = -1;
        for (int kill = 0; kill < 4; ++kill) {
            QProcess computer;
            computer.setProcessChannelMode(QProcess::ForwardedErrorChannel);
            computer.start(QCoreApplication::applicationFilePath(), resume.arguments());
            QVERIFY(computer.waitForStarted());
            // Killed once the exchange has moved on since the last kill, a moment later: a batch takes some 50 ms
            // here, and the whole exchange 17 batches, so that four kills fall in its middle.
            QDeadlineTimer moved(30000);
            while (!moved.hasExpired() && !computer.waitForFinished(5) && progress() <= before) { }
            const int delayMs = QRandomGenerator::global()->bounded(40);
            QThread::msleep(delayMs);
            computer.kill();
            QVERIFY(computer.waitForFinished());
            QCOMPARE(computer.exitStatus(), QProcess::CrashExit);
            QVERIFY2(!Last_Exchange(users).isValid(), "the exchange ended before it was killed");
            qInfo("killed %d ms after the exchange moved on", delayMs);
            before = progress();
        }
        runAll({ resume });
        runAll({ other.lastExchange() });
        if (QTest::currentTestFailed())
            return;

        const qint64 scores = 2 * rounds;
        const qint64 phrases = 2 * phrasesOfRounds(rounds);
        const PgConnection db = PgConnection::connect(school);
        expectEveryRowOnce(db, scores, phrases);
        for (const ComputerJob& job : { victim, other })
            expectEveryRowOnce(UserFile { job.users }, scores, phrases);
    }
};

int main(int argc, char** argv)
{
    if (argc > 1 && qstrcmp(argv[1], ComputerSwitch) == 0) {
        QStringList arguments;
        for (int i = 2; i < argc; ++i)
            arguments << QString::fromLocal8Bit(argv[i]);
        return runComputer(ComputerJob::from(arguments));
    }
    QCoreApplication app(argc, argv);
    TestClassroom test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_classroom.moc"
