// The school server with a class of 30 computers of 1,000 rounds each, on a PostgreSQL server of the benchmark's own:
// how long one computer's new rounds take to reach the server, how long the class takes to agree once the server is
// back, and what a computer pays when its server cannot be reached.

#include <atomic>
#include <memory>
#include <thread>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include "bench/figures.h"
#include "bench/measure.h"
#include "bench/school.h"
#include "games/common/scorewriter.h"
#include "platform/database.h"
#include "students/classexchange.h"
#include "students/classsync.h"
#include "students/schoolsettings.h"
#include "students/serverschema.h"
#include "students/syncjournal.h"
#include "students/userdatabase.h"
#include "tests/support/pgserver.h"

namespace bench {

namespace {

    const QString SendFigure = QStringLiteral("school server, one computer's 1,000 rounds (3,500 rows) sent");
    const QString AgreeFigure = QStringLiteral("school server, 30 computers of 1,000 rounds agree once it is back");
    const QString StartFigure = QStringLiteral("school server, exchange asked for at start-up, server unreachable");
    const QString SocketFigure = QStringLiteral("school server, exchange failing, no server at the socket folder");
    const QString PortFigure = QStringLiteral("school server, exchange failing, nothing at the TCP port");
    const QString RouteFigure = QStringLiteral("school server, exchange failing, a port that never answers");

    constexpr int Computers = 30;
    constexpr int Rounds = 1000;
    int phrasesOf(int round) { return 2 + round % 2; }
    constexpr qint64 RoundRows = Rounds + 2 * Rounds + Rounds / 2; // score rows and their phrase rows

    using platform::PgConnection;
    using platform::ServerAddress;

    // The class's user databases as they are before the server comes back, each with its own identity, kept apart
    // and copied over the working files before each run.
    class Classroom
    {
    public:
        explicit Classroom(const ProgramFolder& school)
        {
            const QString first = m_pristine.filePath(QStringLiteral("0.dat"));
            need(Create_User_Database(school.path(), first, nullptr), QStringLiteral("no user database"));
            const UserFile users { first };
            Insert_Student(users, QStringLiteral("Pupil"), QStringLiteral("C0"), QVariant(), 1);
            const games::ScoreWriter writer(first);
            const QDateTime start(QDate(2026, 12, 10), QTime(8, 0));
            for (int r = 0; r < Rounds; ++r) {
                games::ScoreRow row { QStringLiteral("Pupil C0"), QStringLiteral("Animals"),
                    QStringLiteral("Flashcards"), QStringLiteral("r%1").arg(r), double(r % 100), start.addSecs(r), {} };
                for (int p = 0; p < phrasesOf(r); ++p)
                    row.phrases.push_back({ QStringLiteral("zoo.ale#%1").arg(p + 1), 1 + (r + p) % 4, row.when.toUTC(),
                        std::optional<qint64>(900 + r) });
                need(writer.write(row).saved(), QStringLiteral("a round was not stored"));
            }
            // The others are copies under their own student. Each gets its identity after the copy: copies of a
            // database that has one would all be one computer to the server, and their rows one another's.
            for (int c = 1; c < Computers; ++c) {
                need(QFile::copy(first, pristine(c)), QStringLiteral("no copy of the user database"));
                const auto db = platform::Database::openFile(pristine(c));
                const QString name = QStringLiteral("Pupil C%1").arg(c);
                db.execute(QStringLiteral("UPDATE tblUsers SET tLastname = ?"), { QStringLiteral("C%1").arg(c) });
                db.execute(QStringLiteral("UPDATE tblscores SET tName = ?"), { name });
                db.execute(QStringLiteral("UPDATE tblphraseresults SET tName = ?"), { name });
            }
            for (int c = 0; c < Computers; ++c)
                Sync_Database_Id({ pristine(c) });
        }
        QString pristine(int c) const { return m_pristine.filePath(QStringLiteral("%1.dat").arg(c)); }
        UserFile computer(int c) const { return { m_work.filePath(QStringLiteral("%1.dat").arg(c)) }; }
        void restore(int computers) const
        {
            for (int c = 0; c < computers; ++c) {
                QFile::remove(computer(c).path);
                need(QFile::copy(pristine(c), computer(c).path), QStringLiteral("no copy of the user database"));
            }
        }
        QString dataDir() const { return m_work.path() + QLatin1Char('/'); }

    private:
        // In memory: the figures are the exchange's, not the disk's flushes.
        static QString folder() { return QStringLiteral("/dev/shm/parlanta-bench.XXXXXX"); }
        QTemporaryDir m_pristine { folder() };
        QTemporaryDir m_work { folder() };
    };

    // A TCP port on this computer whose connections the system completes but no one ever reads.
    class SilentPort
    {
    public:
        SilentPort()
            : m_fd(::socket(AF_INET, SOCK_STREAM, 0))
        {
            sockaddr_in address {};
            address.sin_family = AF_INET;
            address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
            socklen_t size = sizeof address;
            need(m_fd >= 0 && ::bind(m_fd, reinterpret_cast<sockaddr*>(&address), size) == 0 && ::listen(m_fd, 64) == 0
                    && ::getsockname(m_fd, reinterpret_cast<sockaddr*>(&address), &size) == 0,
                QStringLiteral("no silent port"));
            m_port = ntohs(address.sin_port);
        }
        ~SilentPort() { ::close(m_fd); }
        SilentPort(const SilentPort&) = delete;
        SilentPort& operator=(const SilentPort&) = delete;
        int port() const { return m_port; }

    private:
        int m_fd;
        int m_port = 0;
    };

    void emptyServer(const ServerAddress& school)
    {
        PgConnection::connect(school).executeScript(
            QStringLiteral("TRUNCATE students, scores, phrase_results, computers"));
    }

    // The baseline: the computers' rows read from their files and stored by plain multi-row INSERTs in one
    // transaction, with nothing of the exchange's bookkeeping on either side.
    void plainInsert(const ServerAddress& school, const QVector<UserFile>& computers)
    {
        QVariantList scores;
        QVariantList phrases;
        for (const UserFile& users : computers) {
            const auto db = platform::Database::openFile(users.path);
            const QString origin = Sync_Database_Id(users);
            const auto s = db.query(QStringLiteral("SELECT pkScoreID, tName, tSubject, tActivity, textScore, "
                                                   "numberScore, nDate, nTime FROM tblscores"));
            for (int i = 0; i < s.count(); ++i) {
                scores << origin;
                for (int col = 0; col < 8; ++col)
                    scores << s.value(i, col);
            }
            const auto p = db.query(QStringLiteral("SELECT pkResultID, fkScoreID, tName, tPhraseID, tActivity, "
                                                   "nRating, tMoment, nAnswerMs FROM tblphraseresults"));
            for (int i = 0; i < p.count(); ++i) {
                phrases << origin << p.value(i, 0) << origin;
                for (int col = 1; col < 8; ++col)
                    phrases << p.value(i, col);
            }
        }
        const PgConnection db = PgConnection::connect(school);
        // A statement takes at most 65,535 values.
        const auto insert = [&db](const QString& table, const QStringList& types, const QVariantList& values) {
            const int columns = static_cast<int>(types.size());
            const int perStatement = 60000 / columns;
            for (qsizetype start = 0; start < values.size(); start += qsizetype(perStatement) * columns) {
                const QVariantList part = values.mid(start, qsizetype(perStatement) * columns);
                QStringList rows;
                for (int r = 0, n = 0; r < part.size() / columns; ++r) {
                    QStringList fields;
                    for (const QString& type : types)
                        fields << QStringLiteral("$%1::%2").arg(++n).arg(type);
                    rows << QLatin1Char('(') + fields.join(QLatin1Char(',')) + QLatin1Char(')');
                }
                db.execute(QStringLiteral("INSERT INTO %1 VALUES %2").arg(table, rows.join(QLatin1Char(','))), part);
            }
        };
        db.executeScript(QStringLiteral("BEGIN"));
        insert(QStringLiteral("scores (origin_db, origin_id, name, subject, activity, text_score, number_score, "
                              "score_date, score_time)"),
            { "uuid", "bigint", "text", "text", "text", "text", "float8", "text", "text" }, scores);
        insert(QStringLiteral("phrase_results (origin_db, origin_id, score_db, score_id, name, phrase, activity, "
                              "rating, moment, answer_ms)"),
            { "uuid", "bigint", "uuid", "bigint", "text", "text", "text", "integer", "text", "integer" }, phrases);
        db.executeScript(QStringLiteral("COMMIT"));
    }

    qint64 rowsOn(const ServerAddress& school)
    {
        return PgConnection::connect(school)
            .query(QStringLiteral("SELECT (SELECT COUNT(*) FROM scores) + (SELECT COUNT(*) FROM phrase_results)"))
            .value(0, 0)
            .toLongLong();
    }

    qint64 rowsOn(const UserFile& users)
    {
        return platform::Database::openFile(users.path)
            .query(QStringLiteral("SELECT (SELECT COUNT(*) FROM tblscores) + (SELECT COUNT(*) FROM tblphraseresults)"))
            .value(0, 0)
            .toLongLong();
    }

    void sendFigure(const Classroom& room, const ServerAddress& school)
    {
        if (!wanted(SendFigure))
            return;
        qint64 sent = 0;
        compare(SendFigure,
            { [&] { sent = Exchange_With_Server(room.computer(0), school).sent; },
                [&] {
                    emptyServer(school);
                    room.restore(1);
                } },
            { [&] { plainInsert(school, { room.computer(0) }); }, [&] { emptyServer(school); } });
        need(sent == 1 + RoundRows && rowsOn(school) == RoundRows,
            QStringLiteral("the rounds did not reach the server"));
    }

    // Every computer, each on a thread of its own as each is a machine of its own, exchanges until it holds every
    // row of the class. Once each way: the run is long, and its spread is small against it.
    void agreeFigure(const Classroom& room, const ServerAddress& school)
    {
        if (!wanted(AgreeFigure))
            return;
        const qint64 all = Computers * RoundRows;
        const auto agree = [&] {
            std::vector<std::thread> computers;
            std::atomic<int> failed = 0;
            for (int c = 0; c < Computers; ++c)
                computers.emplace_back([&, c] {
                    const UserFile users = room.computer(c);
                    const QDeadlineTimer limit(std::chrono::minutes(10));
                    try {
                        while (rowsOn(users) < all || Waiting_Rows(users) > 0) {
                            if (limit.hasExpired())
                                throw std::runtime_error("no agreement in 10 minutes");
                            if (Exchange_With_Server(users, school).received == 0)
                                std::this_thread::sleep_for(std::chrono::milliseconds(20));
                        }
                    } catch (const std::exception& e) {
                        std::fprintf(stderr, "computer %d: %s\n", c, e.what());
                        ++failed;
                    }
                });
            for (std::thread& t : computers)
                t.join();
            need(failed == 0, QStringLiteral("an exchange failed"));
        };
        QVector<UserFile> files;
        for (int c = 0; c < Computers; ++c)
            files << room.computer(c);
        Figure figure { AgreeFigure };
        emptyServer(school);
        room.restore(Computers);
        QElapsedTimer timer;
        timer.start();
        agree();
        figure.ms = double(timer.nsecsElapsed()) / 1e6;
        need(rowsOn(school) == all, QStringLiteral("the class did not agree"));
        emptyServer(school);
        room.restore(Computers);
        timer.start();
        plainInsert(school, files);
        figure.baselineMs = double(timer.nsecsElapsed()) / 1e6;
        need(rowsOn(school) == all, QStringLiteral("the plain insert missed rows"));
        print(figure);
    }

    // What the program's thread pays at start-up for a server that is not there, against a computer with no server
    // set: the exchange itself runs on a worker thread.
    void startFigure(const Classroom& room, const ServerAddress& nowhere)
    {
        if (!wanted(StartFigure))
            return;
        QTemporaryDir unset;
        QString error;
        need(Write_School_Settings(room.dataDir(), nowhere, &error), error);
        std::unique_ptr<ClassSync> sync;
        const auto started = [&](const QString& dataDir) {
            return Work { [&sync, dataDir, &room] {
                             sync = std::make_unique<ClassSync>(room.computer(0), dataDir);
                             sync->requestExchange();
                         },
                [&sync] { sync.reset(); } };
        };
        compare(StartFigure, started(room.dataDir()), started(unset.path() + QLatin1Char('/')));
        started(room.dataDir()).run();
        need(sync->status().busy, QStringLiteral("no exchange was started"));
        sync.reset();
        Forget_School_Settings(room.dataDir());
    }

    // The exchange's own failure against the bare attempt to connect: it must cost no more than reaching nobody.
    void failureFigure(const QString& name, const Classroom& room, const ServerAddress& nowhere, int repeats = 0)
    {
        const auto fails = [&nowhere](const std::function<void()>& attempt) {
            try {
                attempt();
            } catch (const platform::ServerError& e) {
                need(e.unreachable(), e.description());
                return;
            }
            need(false, QStringLiteral("a server answered at ") + nowhere.host);
        };
        compare(name, { [&] { fails([&] { Exchange_With_Server(room.computer(0), nowhere); }); } },
            { [&] { fails([&] { PgConnection::connect(nowhere); }); } }, repeats);
    }

    void classFigures(const ProgramFolder& school)
    {
        fixtures::PgServer server;
        need(server.isRunning(), server.failure());
        const ServerAddress address = server.address();
        server::Upgrade_Server_Schema(PgConnection::connect(address));
        QElapsedTimer made;
        made.start();
        const Classroom room(school);
        std::printf("# class: %d computers of %d rounds with %lld phrase rows each, made in %.1f s\n", Computers,
            Rounds, RoundRows - Rounds, made.elapsed() / 1000.0);
        std::fflush(stdout);
        room.restore(1);
        sendFigure(room, address);
        agreeFigure(room, address);

        ServerAddress socket = address;
        const QTemporaryDir empty;
        socket.host = empty.path();
        ServerAddress port = address;
        port.host = QStringLiteral("127.0.0.1");
        port.port = 9; // discard: nothing listens
        // A port that takes the connection and never answers, as a server hung or behind a firewall that drops
        // the packets: the attempt waits for its limit.
        const SilentPort silent;
        ServerAddress route = port;
        route.port = silent.port();
        room.restore(1);
        startFigure(room, socket);
        failureFigure(SocketFigure, room, socket);
        failureFigure(PortFigure, room, port);
        failureFigure(RouteFigure, room, route, 2);
    }

    const Group registered(80, [](const Context& context) {
        if (wantedAny({ SendFigure, AgreeFigure, StartFigure, SocketFigure, PortFigure, RouteFigure }))
            classFigures(context.school);
    });

}

}
