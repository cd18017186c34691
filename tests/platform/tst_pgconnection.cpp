#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QtTest>

#include "platform/pgconnection.h"
#include "tests/support/certificateauthority.h"
#include "tests/support/pgserver.h"

using platform::PgConnection;
using platform::ServerError;

class TestPgConnection : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QVERIFY2(m_server.isRunning(), qPrintable(m_server.failure())); }

    void valuesTravelBoundAndComeBackTyped()
    {
        const PgConnection db = PgConnection::connect(m_server.address());
        const QString awkward = QStringLiteral("O'Brien \\ \"Ñandú\"; DROP TABLE x; --");
        const auto rs = db.query(QStringLiteral("SELECT $1::text AS t, $2::bigint AS n, $3::float8 AS f, "
                                                "$4::boolean AS b, $5::text AS absent"),
            { awkward, qint64(9007199254740993), 0.1, true, QVariant() });
        QCOMPARE(rs.text(0, QStringLiteral("t")), awkward);
        QCOMPARE(rs.value(0, QStringLiteral("n")).toLongLong(), qint64(9007199254740993));
        QCOMPARE(rs.value(0, QStringLiteral("f")).toDouble(), 0.1);
        QCOMPARE(rs.value(0, QStringLiteral("b")), QVariant(true));
        QVERIFY(rs.isNull(0, QStringLiteral("absent")));
    }

    void aStatementErrorLeavesTheConnectionUsable()
    {
        const PgConnection db = PgConnection::connect(m_server.address());
        db.executeScript(QStringLiteral("CREATE TABLE once (n int PRIMARY KEY)"));
        QCOMPARE(db.execute(QStringLiteral("INSERT INTO once VALUES ($1), ($2)"), { 1, 2 }), 2);
        try {
            db.execute(QStringLiteral("INSERT INTO once VALUES ($1)"), { 1 });
            QFAIL("a duplicate key was stored");
        } catch (const ServerError& e) {
            QVERIFY(!e.unreachable());
            QVERIFY2(e.description().contains(QStringLiteral("duplicate")), qPrintable(e.description()));
        }
        QCOMPARE(db.query(QStringLiteral("SELECT count(*) FROM once")).value(0, 0).toLongLong(), 2);
    }

    void noServerFailsQuicklyAsUnreachable()
    {
        QTemporaryDir empty(QStringLiteral("/tmp/parlanta-nopg.XXXXXX"));
        platform::ServerAddress nowhere = m_server.address();
        QElapsedTimer timer;
        for (const QString& host : { empty.path(), QStringLiteral("192.0.2.1") }) { // a folder without a socket,
            nowhere.host = host; // and an address kept for documentation that no packet reaches
            timer.start();
            try {
                PgConnection::connect(nowhere);
                QFAIL("connected to nothing");
            } catch (const ServerError& e) {
                QVERIFY(e.unreachable());
            }
            QVERIFY2(timer.elapsed() < 3000, qPrintable(QString::number(timer.elapsed())));
        }
    }

    // A school that asks for verify-full gets an encrypted connection to its own server only: not to a server whose
    // certificate another authority signed, nor one named otherwise than the certificate says. The server itself
    // turns away an unencrypted connection.
    void verifyFullTrustsOnlyTheSchoolsOwnServer_data()
    {
        QTest::addColumn<QString>("host");
        QTest::addColumn<QString>("sslMode");
        QTest::addColumn<bool>("otherAuthority");
        QTest::addColumn<QString>("refusal"); // "" when the connection is made
        const QString localhost = QStringLiteral("localhost"), loopback = QStringLiteral("127.0.0.1");
        QTest::newRow("its name, its authority") << localhost << "verify-full" << false << "";
        QTest::newRow("another authority") << localhost << "verify-full" << true << "certificate verify failed";
        QTest::newRow("an address it does not name") << loopback << "verify-full" << false << "does not match host";
        QTest::newRow("the same address, name unchecked") << loopback << "verify-ca" << false << "";
        QTest::newRow("unencrypted") << localhost << "disable" << false << "no pg_hba.conf entry";
    }

    void verifyFullTrustsOnlyTheSchoolsOwnServer()
    {
        QFETCH(QString, host);
        QFETCH(QString, sslMode);
        QFETCH(bool, otherAuthority);
        QFETCH(QString, refusal);
        const fixtures::CertificateAuthority stranger;
        QVERIFY2(stranger.isValid(), qPrintable(stranger.failure()));
        platform::ServerAddress address = m_server.tlsAddress();
        address.host = host;
        address.sslMode = sslMode;
        if (otherAuthority)
            address.sslRootCert = stranger.certificate();
        try {
            const PgConnection db = PgConnection::connect(address);
            QVERIFY2(refusal.isEmpty(), "connected");
            QCOMPARE(db.query(QStringLiteral("SELECT ssl FROM pg_stat_ssl WHERE pid = pg_backend_pid()")).value(0, 0),
                QVariant(true));
        } catch (const ServerError& e) {
            QVERIFY2(!refusal.isEmpty() && e.description().contains(refusal), qPrintable(e.description()));
        }
    }

    void aServerThatGoesAwayIsReportedUnreachable()
    {
        fixtures::PgServer server;
        QVERIFY2(server.isRunning(), qPrintable(server.failure()));
        const PgConnection db = PgConnection::connect(server.address());
        server.stop();
        try {
            db.query(QStringLiteral("SELECT 1"));
            QFAIL("a stopped server answered");
        } catch (const ServerError& e) {
            QVERIFY(e.unreachable());
        }
        QVERIFY(server.start());
        QCOMPARE(PgConnection::connect(server.address()).query(QStringLiteral("SELECT 1")).value(0, 0), QVariant(1LL));
    }

private:
    fixtures::PgServer m_server { fixtures::PgServer::Tls::OnLoopback };
};

QTEST_GUILESS_MAIN(TestPgConnection)
#include "tst_pgconnection.moc"
