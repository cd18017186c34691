#include <functional>
#include <thread>

#include <QTemporaryDir>
#include <QtTest>

#include "platform/database.h"

using platform::Database;
using platform::DbError;
using platform::DbFailure;

class TestDatabase : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QString path(const QString& name) const { return m_dir.filePath(name); }

private Q_SLOTS:
    void connectionTextNamesTheFile()
    {
        QCOMPARE(Database::dataSource(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/a b/c.ale;"
                                                     "Jet OLEDB:Database Password=mervanto4816;")),
            QStringLiteral("/a b/c.ale"));
        QVERIFY_THROWS_EXCEPTION(DbError, Database::open(QStringLiteral("Provider=x;")));
    }

    void readsNullAsEmptyAndBlobsWhole()
    {
        const Database db = Database::openFile(path("a.db"), true);
        db.executeScript("CREATE TABLE t (k INTEGER PRIMARY KEY AUTOINCREMENT, s TEXT, b BLOB)");
        QByteArray bytes(70000, '\0');
        for (int i = 0; i < bytes.size(); ++i)
            bytes[i] = static_cast<char>(i * 7);
        const qint64 first = db.insertRow("t", { "s", "b" }, { QVariant(), bytes });
        const qint64 second = db.insertRow("t", { "s" }, { QStringLiteral("O'Brien ñ") });
        QCOMPARE(second, first + 1);
        const auto rs = db.query("SELECT * FROM t WHERE k = ?", { first });
        QCOMPARE(rs.count(), 1);
        QCOMPARE(rs.text(0, "s"), QString());
        QVERIFY(rs.isNull(0, "s"));
        QCOMPARE(rs.blob(0, "b"), bytes);
        QCOMPARE(rs.text(0, 1), QString());
        // A quote in a bound value is stored and found like any other text.
        QCOMPARE(db.query("SELECT k FROM t WHERE s = ?", { QStringLiteral("O'Brien ñ") }).text(0, 0),
            QString::number(second));
    }

    // Each row in the statement's order, text as UTF-8, a whole number only where one is stored.
    void rowsAreHandedOverAsTheyAreStepped()
    {
        const Database db = Database::openFile(path("rows.db"), true);
        db.executeScript("CREATE TABLE t (s TEXT, n)");
        for (const auto& [text, number] :
            { std::pair<QVariant, QVariant>("ñ b", 2), { QVariant(), "3" }, { "a", 1.5 } })
            db.execute("INSERT INTO t VALUES (?, ?)", { text, number });
        QStringList rows;
        db.forEachRow({ "SELECT s, n FROM t ORDER BY rowid", {} }, [&rows](const platform::RowView& row) {
            const std::optional<qint64> number = row.integer(1);
            rows << QString::fromUtf8(row.text(0)) + '|' + (number ? QString::number(*number) : "none");
        });
        QCOMPARE(rows, QStringList({ "ñ b|2", "|none", "a|none" }));
        QVERIFY_THROWS_EXCEPTION(
            DbError, db.forEachRow({ "SELECT * FROM missing", {} }, [](const platform::RowView&) {}));
    }

    void aPreparedStatementRunsAgainWithEachRowsValues()
    {
        const Database db = Database::openFile(path("prepared.db"), true);
        db.executeScript("CREATE TABLE t (n INTEGER, s TEXT);");
        const platform::Prepared insert(db, "INSERT INTO t VALUES (?, ?)");
        const platform::Prepared find(db, "SELECT s FROM t WHERE n = ?");
        for (int n = 1; n <= 3; ++n)
            QCOMPARE(insert.execute({ n, QString(n, QLatin1Char('x')) }), 1);
        QCOMPARE(find.firstValue({ 2 }), QVariant("xx"));
        QCOMPARE(find.firstValue({ 3 }), QVariant("xxx"));
        QVERIFY(find.firstValue({ 9 }).isNull());
        QVERIFY_THROWS_EXCEPTION(DbError, platform::Prepared(db, "INSERT INTO nowhere VALUES (?)"));
    }

    void missingRowsAndColumnsFail()
    {
        const Database db = Database::openFile(path("b.db"), true);
        db.executeScript("CREATE TABLE t (s TEXT)");
        const auto rs = db.query("SELECT * FROM t");
        QVERIFY(rs.isEmpty());
        QVERIFY_THROWS_EXCEPTION(DbError, rs.text(0, "s"));
        db.execute("INSERT INTO t VALUES (?)", { "x" });
        QVERIFY_THROWS_EXCEPTION(DbError, db.query("SELECT * FROM t").text(0, "nope"));
        QVERIFY_THROWS_EXCEPTION(DbError, db.query("SELECT * FROM missing"));
    }

    void refusesWhatIsNotADatabase()
    {
        QFile f(path("junk.ale"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(4096, 'x'));
        f.close();
        QVERIFY_THROWS_EXCEPTION(DbError, Database::openFile(path("junk.ale")));
        QVERIFY_THROWS_EXCEPTION(DbError, Database::openFile(path("absent.ale")));
        QVERIFY(!QFile::exists(path("absent.ale")));
    }

    // The failures a user can do something about are told apart from the rest.
    void failuresSayWhatKindTheyAre()
    {
        auto failureOf = [](const std::function<void()>& operation) {
            try {
                operation();
            } catch (const DbError& e) {
                return e.failure();
            }
            return DbFailure(-1);
        };
        const Database db = Database::openFile(path("k.db"), true);
        db.executeScript("CREATE TABLE t (s TEXT)");
        QCOMPARE(failureOf([&] { Database::openFile(path("absent.db")); }), DbFailure::Missing);
        QCOMPARE(failureOf([&] { db.query("SELECT nothing FROM t"); }), DbFailure::Other);
        db.execute("PRAGMA query_only = 1");
        QCOMPARE(failureOf([&] { db.execute("INSERT INTO t VALUES ('x')"); }), DbFailure::ReadOnly);
        QCOMPARE(failureOf([&] { db.executeScript("INSERT INTO t VALUES ('x')"); }), DbFailure::ReadOnly);
    }

    void busyTimeoutWaitsForAnotherWriter()
    {
        const Database db = Database::openFile(path("c.db"), true);
        db.executeScript("CREATE TABLE t (s TEXT)");
        const Database other = Database::openFile(path("c.db"));
        other.executeScript("BEGIN IMMEDIATE; INSERT INTO t VALUES ('held')");
        QElapsedTimer timer;
        timer.start();
        // The lock is released while the first writer waits inside its busy timeout.
        std::thread release([&other] {
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            other.executeScript("COMMIT");
        });
        db.execute("INSERT INTO t VALUES (?)", { "waited" });
        release.join();
        QVERIFY(timer.elapsed() >= 250);
        QCOMPARE(db.query("SELECT count(*) FROM t").text(0, 0), QStringLiteral("2"));
    }
};

QTEST_GUILESS_MAIN(TestDatabase)
#include "tst_database.moc"
