#include <QtTest>

#include "common/captions.h"
#include "common/failuretext.h"
#include "platform/database.h"
#include "tests/support/fixtures.h"

using platform::DbError;
using platform::DbFailure;

// The user reads a failure of a file in the interface language, by its kind and naming the file; the system's
// English text is left to the log.
class TestFailureText : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QString path(const QString& name) const { return m_dir.filePath(name); }

private Q_SLOTS:
    void initTestCase() { fixtures::loadNumberedCaptions(); }

    void systemFailuresByKind_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        const auto ec = [](std::errc e, bool writing) {
            return Failure_Text(platform::fileFailure(std::make_error_code(e), writing), "f", "detail");
        };
        QTest::newRow("errno: no such file") << ec(std::errc::no_such_file_or_directory, true) << "T186 f";
        QTest::newRow("errno: disk full") << ec(std::errc::no_space_on_device, false) << "T188 f";
        QTest::newRow("errno: busy") << ec(std::errc::device_or_resource_busy, true) << "T189 f";
        QTest::newRow("errno: denied, reading") << ec(std::errc::permission_denied, false) << "T187 f";
        QTest::newRow("errno: denied, writing") << ec(std::errc::permission_denied, true) << "T188 f";
        const auto db = [](DbFailure failure, const QString& file) {
            return Failure_Text(DbError("database is locked", failure, file));
        };
        QTest::newRow("database missing") << db(DbFailure::Missing, "u.dat") << "T186 u.dat";
        QTest::newRow("database read-only") << db(DbFailure::ReadOnly, "u.dat") << "T188 u.dat";
        QTest::newRow("database busy") << db(DbFailure::Busy, "u.dat") << "T189 u.dat";
        QTest::newRow("database damaged") << db(DbFailure::Other, "u.dat") << "T190 u.dat";
        QTest::newRow("not the file's fault") << db(DbFailure::Other, "") << "database is locked";
    }

    void systemFailuresByKind()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(text, expected);
    }

    // The template itself may be what failed: its texts are not there yet, and the message is never empty.
    void beforeTheTextsAreReadTheSystemWordsAreTold()
    {
        Set_Captions({});
        const QString told = Failure_Text(platform::FileFailure::Missing, "Parlanta.tpl", "No such file");
        fixtures::loadNumberedCaptions();
        QCOMPARE(told, QStringLiteral("Parlanta.tpl: No such file"));
    }

    // Real failures of files and databases, as the program meets them.
    void realFailuresNameTheFile()
    {
        QFile missing(path("gone.txt"));
        QVERIFY(!missing.open(QIODevice::ReadOnly));
        QCOMPARE(Failure_Text(missing, false), "T186 " + path("gone.txt"));
        QFile folder(m_dir.path());
        QVERIFY(!folder.open(QIODevice::ReadOnly));
        QCOMPARE(Failure_Text(folder, false), "T187 " + m_dir.path());
        QFile nowhere(path("no folder/x.txt"));
        QVERIFY(!nowhere.open(QIODevice::WriteOnly));
        QCOMPARE(Failure_Text(nowhere, true), "T188 " + path("no folder/x.txt"));
        QFile source(path("gone.tpl"));
        QVERIFY(!source.copy(path("copy.dat")));
        QCOMPARE(Copy_Failure_Text(source, path("copy.dat")), "T186 " + path("gone.tpl"));

        const auto failure = [](const std::function<void()>& use) {
            try {
                use();
            } catch (const std::exception& e) {
                return Failure_Text(e);
            }
            return QString();
        };
        QCOMPARE(failure([&] { platform::Database::openFile(path("gone.dat")); }), "T186 " + path("gone.dat"));
        QFile text(path("text.dat"));
        QVERIFY(text.open(QIODevice::WriteOnly));
        text.write(QByteArray("This is not a database, only some text. ").repeated(40));
        text.close();
        QCOMPARE(failure([&] { platform::Database::openFile(path("text.dat")).query("SELECT * FROM tblUsers"); }),
            "T190 " + path("text.dat"));
    }
};

QTEST_GUILESS_MAIN(TestFailureText)
#include "tst_failuretext.moc"
