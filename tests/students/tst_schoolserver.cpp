#include <QTemporaryDir>
#include <QTimeZone>
#include <QtTest>

#include "common/captions.h"
#include "platform/pgconnection.h"
#include "students/frmschoolserver.h"
#include "students/schoolconnection.h"
#include "students/schoolsettings.h"
#include "students/syncstatustext.h"
#include "tests/support/fakes.h"
#include "tests/support/fixtures.h"
#include "tests/support/pgserver.h"

using platform::ServerAddress;

Q_DECLARE_METATYPE(SyncStatus)

namespace {
constexpr auto OwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
constexpr auto OthersRights = QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup
    | QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;

ServerAddress awkwardAddress()
{
    ServerAddress address;
    address.host = QStringLiteral("server.school.example");
    address.port = 6543;
    address.database = QStringLiteral("class 4b");
    address.user = QStringLiteral("teacher");
    address.password = QStringLiteral(" a=b #c ;d \"e\" 'f' \\g h ");
    address.sslMode = QStringLiteral("verify-full");
    address.sslRootCert = QStringLiteral("/etc/ssl/school ca.pem");
    return address;
}

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// The system's configuration folders, where a school deploys its file, point at a folder of the test's own.
class DeployedFolder
{
public:
    DeployedFolder() { qputenv("XDG_CONFIG_DIRS", QFile::encodeName(m_dir.path())); }
    ~DeployedFolder() { qunsetenv("XDG_CONFIG_DIRS"); }
    QString file() const { return m_dir.path() + QStringLiteral("/Parlanta/SchoolServer.ini"); }

private:
    QTemporaryDir m_dir;
};
}

class TestSchoolServer : public QObject
{
    Q_OBJECT
private:
    fixtures::PgServer m_server;
    fakes::Environment* m_env = nullptr;
    QTemporaryDir* m_data = nullptr;
    int m_changes = 0;

    QString dataDir() const { return m_data->path() + QLatin1Char('/'); }
    std::unique_ptr<frmSchoolServer> window(const SyncStatus& status = {})
    {
        return std::make_unique<frmSchoolServer>(
            dataDir(), QLocale(QLocale::English, QLocale::UnitedKingdom), status, [this] { ++m_changes; });
    }
    static void type(frmSchoolServer& w, const ServerAddress& address)
    {
        w.txtHost->setText(address.host);
        w.txtPort->setValue(address.port);
        w.txtDatabase->setText(address.database);
        w.txtUser->setText(address.user);
        w.txtPassword->setText(address.password);
        w.cboSslMode->setCurrentIndex(w.cboSslMode->findData(address.sslMode));
        w.txtRootCert->setText(address.sslRootCert);
    }

private Q_SLOTS:
    void init()
    {
        m_env = new fakes::Environment;
        m_data = new QTemporaryDir;
        m_changes = 0;
        // The texts that take a value show where it goes; the count's three forms are told apart.
        QStringList captions = fixtures::numberedCaptions(239);
        for (int k : { 229, 233, 238 })
            captions[k] += QStringLiteral(" %1");
        captions[239] = QStringLiteral("none|%1 one|%1 many");
        Set_Captions(captions);
    }
    void cleanup()
    {
        delete m_data;
        delete m_env;
    }

    void settingsComeBackAsWritten()
    {
        QString error;
        QVERIFY2(Write_School_Settings(dataDir(), awkwardAddress(), &error), qPrintable(error));
        QCOMPARE(Read_School_Settings(dataDir()), awkwardAddress());
        QCOMPARE(Read_School_Settings(dataDir()).isSet(), true);
        QVERIFY(Forget_School_Settings(dataDir()));
        QCOMPARE(Read_School_Settings(dataDir()), ServerAddress());
    }

    // The password is nobody else's to read, whether the file is new or an old one was readable by all.
    void theFileIsTheOwnersAlone_data()
    {
        QTest::addColumn<bool>("oldFile");
        QTest::newRow("new") << false;
        QTest::newRow("over a readable one") << true;
    }
    void theFileIsTheOwnersAlone()
    {
        QFETCH(bool, oldFile);
        const QString path = School_Settings_Path(dataDir());
        if (oldFile) {
            writeFile(path, "host = old\n");
            QFile::setPermissions(path, OwnerOnly | QFileDevice::ReadGroup | QFileDevice::ReadOther);
        }
        QString error;
        QVERIFY2(Write_School_Settings(dataDir(), awkwardAddress(), &error), qPrintable(error));
        QCOMPARE(QFile::permissions(path) & OwnerOnly, OwnerOnly);
        QCOMPARE(QFile::permissions(path) & OthersRights, QFileDevice::Permissions());
    }

    void aLineBreakIsRefusedAndTheOldFileStays_data()
    {
        QTest::addColumn<QString>("password");
        QTest::newRow("line feed") << "first\nhost = elsewhere";
        QTest::newRow("carriage return") << "first\rsecond";
    }
    void aLineBreakIsRefusedAndTheOldFileStays()
    {
        QFETCH(QString, password);
        QString error;
        QVERIFY(Write_School_Settings(dataDir(), awkwardAddress(), &error));
        const QByteArray before = fileBytes(School_Settings_Path(dataDir()));
        ServerAddress broken = awkwardAddress();
        broken.password = password;
        QVERIFY(!Write_School_Settings(dataDir(), broken, &error));
        QCOMPARE(error, QStringLiteral("T234"));
        QCOMPARE(fileBytes(School_Settings_Path(dataDir())), before);
    }

    // The school's file serves a computer with none of its own, and stays when the computer forgets its own.
    void theDeployedFileIsTheFallback()
    {
        const DeployedFolder deployed;
        writeFile(deployed.file(), "[server]\nhost = deployed.school\ndatabase = school\n");
        QCOMPARE(Read_School_Settings(dataDir()).host, QStringLiteral("deployed.school"));
        QCOMPARE(School_Settings_In_Use(dataDir()), deployed.file());

        QString error;
        QVERIFY(Write_School_Settings(dataDir(), awkwardAddress(), &error));
        QCOMPARE(Read_School_Settings(dataDir()), awkwardAddress());
        QVERIFY(Forget_School_Settings(dataDir()));
        QVERIFY(QFile::exists(deployed.file()));
        QCOMPARE(Read_School_Settings(dataDir()).host, QStringLiteral("deployed.school"));
    }

    void statusInWords_data()
    {
        QTest::addColumn<SyncStatus>("status");
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<QString>("text");
        const QDateTime now(QDate(2026, 12, 8), QTime(15, 30), QTimeZone::utc());
        const QDateTime today(QDate(2026, 12, 8), QTime(14, 2), QTimeZone::utc());
        const QDateTime dayBefore(QDate(2026, 12, 7), QTime(23, 30), QTimeZone::utc());
        const QString refused = QStringLiteral(
            "connection to server at \"10.0.0.5\", port 5432 failed: connection refused\n\tIs the server running?");
        QTest::newRow("no server") << SyncStatus { false, true, true, today, 3, {} } << now << "";
        QTest::newRow("exchanging") << SyncStatus { true, true, true, today, 3, {} } << now << "T235";
        QTest::newRow("connected, nothing waiting")
            << SyncStatus { true, true, false, today, 0, {} } << now << "T236 · T238 14:02 · none";
        QTest::newRow("connected, one waiting")
            << SyncStatus { true, true, false, today, 1, {} } << now << "T236 · T238 14:02 · 1 one";
        QTest::newRow("not connected since yesterday") << SyncStatus { true, false, false, dayBefore, 12, refused }
                                                       << now << "T237: Connection refused · T238 07/12/2026 · 12 many";
        QTest::newRow("yesterday in UTC is today here")
            << SyncStatus { true, false, false, dayBefore, 2, {} }
            << now.toTimeZone(QTimeZone(3600)).addSecs(-14 * 3600) << "T237 · T238 00:30 · 2 many";
        QTest::newRow("never exchanged, refused by the server") << SyncStatus { true, false, false, {}, 0,
            "connection to server on socket \"/run/x\" failed: FATAL:  password authentication failed for "
            "user \"teacher\"" } << now << "T237: Password authentication failed for user \"teacher\" · none";
        QTest::newRow("a long reason is cut")
            << SyncStatus { true, false, false, {}, 0, QString(200, QLatin1Char('x')) } << now
            << "T237: X" + QString(78, QLatin1Char('x')) + "… · none";
    }
    void statusInWords()
    {
        QFETCH(SyncStatus, status);
        QFETCH(QDateTime, now);
        QFETCH(QString, text);
        QCOMPARE(School_Status_Text(status, now, QLocale(QLocale::English, QLocale::UnitedKingdom)), text);
    }

    void serverVersions()
    {
        QCOMPARE(Server_Version_Text(150018), QStringLiteral("15.18"));
        QCOMPARE(Server_Version_Text(90624), QStringLiteral("9.6.24"));
    }

    // The window asks off its own thread: right after the click it still waits, and the words come later.
    void theTestTellsWhatItFound_data()
    {
        QTest::addColumn<QString>("where");
        QTest::addColumn<QString>("meaning");
        QTest::newRow("the server") << "server"
                                    << "T229";
        QTest::newRow("no server") << "nowhere"
                                   << "T230";
        QTest::newRow("no such database") << "database"
                                          << "T231";
    }
    void theTestTellsWhatItFound()
    {
        QFETCH(QString, where);
        QFETCH(QString, meaning);
        QVERIFY2(m_server.isRunning(), qPrintable(m_server.failure()));
        ServerAddress address = m_server.address();
        const QTemporaryDir empty(QStringLiteral("/tmp/parlanta-nopg.XXXXXX"));
        if (where == QLatin1String("nowhere"))
            address.host = empty.path();
        if (where == QLatin1String("database"))
            address.database = QStringLiteral("no_such_class");
        auto w = window();
        type(*w, address);
        w->btnTest->click();
        QVERIFY(w->prgTest->isVisibleTo(w.get()));
        QVERIFY(!w->btnTest->isEnabled());
        QVERIFY(w->lblResult->text().isEmpty());
        QTRY_VERIFY(!w->lblResult->text().isEmpty());
        QVERIFY(!w->prgTest->isVisibleTo(w.get()));
        QVERIFY(w->btnTest->isEnabled());
        if (where == QLatin1String("server")) {
            const int version = platform::PgConnection::connect(address).serverVersion();
            QCOMPARE(w->lblResult->text(), QStringLiteral("T229 ") + Server_Version_Text(version));
            QCOMPARE(w->lblDetail->text(), QString());
            return;
        }
        QCOMPARE(w->lblResult->text(), meaning);
        // libpq's own words come beside them, for whoever looks after the server.
        QVERIFY2(!w->lblDetail->text().isEmpty(), qPrintable(w->lblResult->text()));
    }

    void saveStoresWhatIsTypedAndCloses()
    {
        auto w = window();
        QVERIFY(!w->btnSave->isEnabled());
        QCOMPARE(w->cboSslMode->count(), 6);
        QCOMPARE(w->cboSslMode->currentData().toString(), QStringLiteral("prefer"));
        QVERIFY(!w->txtRootCert->isEnabled());
        type(*w, awkwardAddress());
        QVERIFY(w->txtRootCert->isEnabled());
        w->txtRootCert->clear();
        m_env->dialogs.openPath = awkwardAddress().sslRootCert;
        w->btnBrowse->click();
        QCOMPARE(m_env->dialogs.openRequests.size(), 1);
        w->btnSave->click();
        QCOMPARE(w->result(), int(QDialog::Accepted));
        QCOMPARE(m_changes, 1);
        QCOMPARE(Read_School_Settings(dataDir()), awkwardAddress());

        // A pasted line break is refused in words, and nothing changes.
        auto again = window();
        QCOMPARE(again->typedAddress(), awkwardAddress());
        again->txtPassword->setText(QStringLiteral("new\npassword"));
        again->btnSave->click();
        QCOMPARE(m_env->dialogs.shown.size(), 1);
        QCOMPARE(m_env->dialogs.shown[0].text, QStringLiteral("T234"));
        QCOMPARE(again->result(), int(QDialog::Rejected));
        QCOMPARE(m_changes, 1);
        QCOMPARE(Read_School_Settings(dataDir()), awkwardAddress());
    }

    void disconnectingAsksAndFallsBackToTheSchoolsFile()
    {
        const DeployedFolder deployed;
        writeFile(deployed.file(), "host = deployed.school\ndatabase = school\n");
        QString error;
        QVERIFY(Write_School_Settings(dataDir(), awkwardAddress(), &error));
        const SyncStatus connected { true, true, false, {}, 0, {} };
        auto w = window(connected);
        QVERIFY(!w->lblDeployed->isVisibleTo(w.get()));
        QCOMPARE(w->lblStatus->text(), QStringLiteral("T236 · none"));

        m_env->dialogs.answers = { false, true };
        w->btnDisconnect->click();
        QCOMPARE(m_env->dialogs.shown.last().text, QStringLiteral("T232"));
        QCOMPARE(m_env->dialogs.shown.last().defaultAnswer, platform::Answer::No);
        QVERIFY(QFile::exists(School_Settings_Path(dataDir())));
        QCOMPARE(m_changes, 0);

        w->btnDisconnect->click();
        QVERIFY(!QFile::exists(School_Settings_Path(dataDir())));
        QCOMPARE(m_changes, 1);
        QCOMPARE(w->txtHost->text(), QStringLiteral("deployed.school"));
        QVERIFY(w->lblDeployed->isVisibleTo(w.get()));
        QCOMPARE(w->lblDeployed->text(), QStringLiteral("T233 ") + QDir::toNativeSeparators(deployed.file()));
        // Only the school's IT can take its own file away.
        QVERIFY(!w->btnDisconnect->isEnabled());
    }

    void theStatusLineFollowsTheExchange()
    {
        auto w = window();
        QVERIFY(!w->lblStatus->isVisibleTo(w.get()));
        w->showStatus(SyncStatus { true, false, true, {}, 4, {} });
        QVERIFY(w->lblStatus->isVisibleTo(w.get()));
        QCOMPARE(w->lblStatus->text(), QStringLiteral("T235"));
    }
};

QTEST_MAIN(TestSchoolServer)
#include "tst_schoolserver.moc"
