#include <QtTest>

#include <QTcpServer>
#include <QTcpSocket>

#include "common/apppath.h"
#include "common/captions.h"
#include "common/frmmsgbox.h"
#include "common/online.h"
#include "common/registry.h"
#include "common/updates.h"
#include "platform/services.h"
#include "tests/support/fakes.h"
#include "tests/support/fixtures.h"
#include "tests/support/privatetemp.h"

namespace {
const QString Site = QStringLiteral("http://site.example/");
const QString UpdateUrl = QStringLiteral("http://site.example/updates/Ver_3_0_7.txt");

QString dateKey() { return Program_Key(QStringLiteral("prlale")) + QStringLiteral("|DateChecked"); }

// A one-shot HTTP server on 127.0.0.1: answers every request with the canned response, or never answers.
class CannedServer : public QTcpServer
{
public:
    explicit CannedServer(QByteArray response)
        : m_response(std::move(response))
    {
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                    m_request += socket->readAll();
                    if (!m_request.contains("\r\n\r\n") || m_response.isEmpty())
                        return;
                    socket->write(m_response);
                    socket->disconnectFromHost();
                });
            }
        });
    }
    QString url(const QString& path) const
    {
        return QStringLiteral("http://127.0.0.1:%1/%2").arg(serverPort()).arg(path);
    }
    QByteArray m_request;

private:
    QByteArray m_response;
};
}

class TestOnline : public QObject
{
    Q_OBJECT
private:
    fixtures::PrivateTempFolder m_temp;
    Session m_session;

    QString programFolder() const { return m_temp.path() + QStringLiteral("/program/"); }

    void useSite(const QString& site)
    {
        QStringList captions = fixtures::numberedCaptions();
        captions[94] = site;
        Set_Captions(captions);
    }
    QStringList tempFiles() const { return QDir(Get_Temp_Path()).entryList({ QStringLiteral("*.tmp") }, QDir::Files); }

private Q_SLOTS:
    void init()
    {
        m_session = fixtures::programSession(programFolder());
        fixtures::loadNumberedCaptions();
        useSite(Site);
    }

    void cleanup() { frmMsgBox::Unload(); }

    void pagesJoinTheSiteWithOneSeparator_data()
    {
        QTest::addColumn<QString>("site");
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("expected");
        QTest::newRow("page") << Site << "activities.htm"
                              << "http://site.example/activities.htm";
        QTest::newRow("both bring a slash") << Site << "/updates/a.txt"
                                            << "http://site.example/updates/a.txt";
        QTest::newRow("site without slash") << "http://s.example"
                                            << "/x.htm"
                                            << "http://s.example/x.htm";
        QTest::newRow("no slash at all") << "http://s.example"
                                         << "x.htm"
                                         << "http://s.example"
                                            "x.htm";
    }

    void pagesJoinTheSiteWithOneSeparator()
    {
        QFETCH(QString, site);
        QFETCH(QString, page);
        QFETCH(QString, expected);
        useSite(site);
        QCOMPARE(Site_Page(page), expected);
    }

    void onlinePageShowsTheBusyNoticeThenOpensTheSite_data()
    {
        QTest::addColumn<bool>("online");
        QTest::newRow("online") << true;
        QTest::newRow("offline") << false;
    }

    void onlinePageShowsTheBusyNoticeThenOpensTheSite()
    {
        QFETCH(bool, online);
        fakes::Environment env;
        env.network.online = online;
        QString shownText;
        int shownHeight = 0;
        int fontSize = 0;
        bool okVisible = true;
        env.clock.onEvents = [&] {
            if (frmMsgBox* box = frmMsgBox::showing(); box && shownText.isEmpty()) {
                shownText = box->lblMsg->text();
                shownHeight = platform::toTwips(box->height());
                fontSize = box->lblMsg->font().pointSize();
                okVisible = box->btnOK->isVisible();
            }
        };
        Open_Online_Page(m_session, QStringLiteral("activities.htm"));
        QCOMPARE(shownText, QStringLiteral("Connecting to http://site.example/\r\nactivities.htm"));
        QVERIFY(qAbs(shownHeight - 2000) <= 15);
        QCOMPARE(fontSize, 10);
        QVERIFY(!okVisible);
        // The notice stayed up for the one-second wait, on the fake clock.
        QVERIFY(env.clock.ms >= 500);
        const QString expected
            = online ? QStringLiteral("http://site.example/activities.htm") : programFolder() + "T95";
        QCOMPARE(env.shell.opened, QStringList { expected });
        QVERIFY(!frmMsgBox::isLoaded());
    }

    // Without a browser or a file manager the user hears what could not be opened, after the busy notice went.
    void whatCannotBeOpenedIsNamed_data()
    {
        QTest::addColumn<bool>("online");
        QTest::addColumn<bool>("folder");
        QTest::addColumn<QString>("expected");
        QTest::newRow("site") << true << false << "T184 http://site.example/activities.htm";
        QTest::newRow("local page") << false << false << "T184 " + programFolder() + "T95";
        QTest::newRow("folder") << false << true << "T185 " + m_temp.path() + "/";
    }

    void whatCannotBeOpenedIsNamed()
    {
        QFETCH(bool, online);
        QFETCH(bool, folder);
        QFETCH(QString, expected);
        fakes::Environment env;
        env.network.online = online;
        env.shell.opens = false;
        if (folder)
            QVERIFY(!Open_With_System(m_session, m_temp.path() + "/"));
        else
            Open_Online_Page(m_session, QStringLiteral("activities.htm"));
        QVERIFY(!frmMsgBox::isLoaded());
        QCOMPARE(env.dialogs.shown.size(), 1);
        QCOMPARE(env.dialogs.shown[0].text, expected);
        env.shell.opens = true;
        QVERIFY(Open_With_System(m_session, m_temp.path()));
        QCOMPARE(env.dialogs.shown.size(), 1);
    }

    void lastLineOfTheUpdateFile_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("line");
        QTest::newRow("one line") << QByteArray("NO,Fine") << "NO,Fine";
        QTest::newRow("line end after it") << QByteArray("a,b\r\nYES,Go\r\n") << "YES,Go";
        QTest::newRow("several lines") << QByteArray("x,1\ny,2\nz,3") << "z,3";
        QTest::newRow("blank last line") << QByteArray("x,1\r\n\r\n") << "";
        QTest::newRow("empty") << QByteArray() << "";
    }

    void lastLineOfTheUpdateFile()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, line);
        QCOMPARE(Last_Line(text), line);
    }

    void updateLineFields()
    {
        const UpdateLine yes = Parse_Update_Line(QStringLiteral("  yes , New version 3.1 ready ,ignored"));
        QVERIFY(yes.valid);
        QCOMPARE(yes.closeFlag, QStringLiteral("YES"));
        QCOMPARE(yes.message, QStringLiteral("New version 3.1 ready"));
        QVERIFY(!Parse_Update_Line(QStringLiteral("YES")).valid);
        QVERIFY(!Parse_Update_Line(QString()).valid);
    }

    void checkUpdatesAsksAndSaysWhetherToClose_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<bool>("asked");
        QTest::addColumn<bool>("close");
        QTest::newRow("yes in lower case, answered yes")
            << QByteArray("old,line\r\n yes , Please update \r\n") << true << true << true;
        QTest::newRow("yes, answered no") << QByteArray("YES,Update") << false << true << true;
        QTest::newRow("NO") << QByteArray("NO, Please update") << true << true << false;
        QTest::newRow("no comma") << QByteArray("YES") << true << false << false;
        QTest::newRow("empty file") << QByteArray() << true << false << false;
        QTest::newRow("binary junk") << QByteArray("\x00\xff\xfe", 3) << true << false << false;
    }

    void checkUpdatesAsksAndSaysWhetherToClose()
    {
        QFETCH(QByteArray, file);
        QFETCH(bool, answer);
        QFETCH(bool, asked);
        QFETCH(bool, close);
        fakes::Environment env;
        env.network.online = true;
        env.network.pages[UpdateUrl] = file;
        env.dialogs.answers << answer;
        QCOMPARE(Check_Updates(m_session), close);
        QCOMPARE(env.network.requested, QStringList { UpdateUrl });
        QVERIFY(tempFiles().isEmpty());
        if (!asked) {
            QVERIFY(env.dialogs.shown.isEmpty());
            QVERIFY(env.shell.opened.isEmpty());
            return;
        }
        QVERIFY(env.dialogs.shown.size() >= 1);
        QVERIFY(env.dialogs.shown[0].question);
        QCOMPARE(env.dialogs.shown[0].text,
            QStringLiteral("Please update\r\n\r\nT18")
                .replace("Please update", Parse_Update_Line(Last_Line(file)).message));
        QCOMPARE(env.dialogs.shown[0].title, QStringLiteral("T98"));
        const QString updatePage = QStringLiteral("http://site.example/T67");
        if (answer) {
            QCOMPARE(env.shell.opened, QStringList { updatePage });
            QCOMPARE(env.dialogs.shown.size(), 1);
        } else {
            QVERIFY(env.shell.opened.isEmpty());
            QCOMPARE(env.dialogs.shown.size(), 2);
            QCOMPARE(env.dialogs.shown[1].text, "T68 " + updatePage);
            QCOMPARE(env.dialogs.shown[1].title, QStringLiteral("T98"));
            QVERIFY(!env.dialogs.shown[1].question);
        }
    }

    void aFailedDownloadIsNoUpdate()
    {
        fakes::Environment env;
        env.network.online = true; // but the site has no such file
        QVERIFY(!Check_Updates(m_session));
        QCOMPARE(env.network.requested.size(), 1);
        QVERIFY(env.dialogs.shown.isEmpty());
        QVERIFY(tempFiles().isEmpty());
    }

    void anUpdateFileLongerThanTheLimitIsNoUpdate()
    {
        fakes::Environment env;
        env.network.online = true;
        const QByteArray lastLine = "\nNO,Last line";
        QByteArray full(UpdateInfoMaxBytes - lastLine.size(), 'x');
        for (int i = 1000; i < full.size(); i += 1000)
            full[i] = '\n';
        env.network.pages[UpdateUrl] = full + lastLine;
        env.dialogs.answers << false;
        QVERIFY(!Check_Updates(m_session));
        QCOMPARE(env.dialogs.shown.size(), 2);
        QVERIFY(env.dialogs.shown[0].text.startsWith("Last line\r\n"));

        env.dialogs.shown.clear();
        env.network.pages[UpdateUrl] = "x" + full + lastLine;
        QVERIFY(!Check_Updates(m_session));
        QVERIFY(env.dialogs.shown.isEmpty());
        QVERIFY(tempFiles().isEmpty());
    }

    void downloadFileIsNamedByTheClock()
    {
        QCOMPARE(Update_Download_Name(QDateTime(QDate(2026, 12, 7), QTime(4, 15, 30))),
            QStringLiteral("~12072026041530.tmp"));
        QCOMPARE(
            Update_Download_Name(QDateTime(QDate(2027, 1, 2), QTime(23, 5, 9))), QStringLiteral("~01022027230509.tmp"));
    }

    void dateCheckedIsReadInEveryStoredForm()
    {
        QCOMPARE(Date_Checked_Text(QDate(2026, 3, 4)), QStringLiteral("2026-03-04"));
        QCOMPARE(Read_Date_Checked(QStringLiteral("2026-03-04")), QDate(2026, 3, 4));
        // A short date of an earlier version, two-digit year and all, lands in this century.
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        QCOMPARE(QLocale().dateFormat(QLocale::ShortFormat), QStringLiteral("dd.MM.yy"));
        QCOMPARE(Read_Date_Checked(QStringLiteral("28.11.26")), QDate(2026, 11, 28));
        QCOMPARE(Read_Date_Checked(QStringLiteral("2026-11-28")), QDate(2026, 11, 28));
        QLocale::setDefault(QLocale::system());
        QCOMPARE(Read_Date_Checked(QLocale().toString(QDate(2026, 11, 28), QLocale::ShortFormat)), QDate(2026, 11, 28));
        QVERIFY(!Read_Date_Checked(QString()).isValid());
        QVERIFY(!Read_Date_Checked(QStringLiteral("last tuesday")).isValid());
    }

    void weeklySchedule_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("online");
        QTest::addColumn<bool>("requested");
        QTest::addColumn<QString>("afterwards");
        // The fake clock's today is 2026-12-08.
        QTest::newRow("first run") << QString() << true << false << "2026-12-08";
        QTest::newRow("unreadable") << "someday" << true << false << "2026-12-08";
        QTest::newRow("six days") << "2026-12-02" << true << false << "2026-12-02";
        QTest::newRow("seven days offline") << "2026-12-01" << false << false << "2026-12-01";
        QTest::newRow("seven days online") << "2026-12-01" << true << true << "2026-12-08";
        QTest::newRow("a year online") << "2025-12-01" << true << true << "2026-12-08";
        QTest::newRow("short date of long ago")
            << QLocale::system().toString(QDate(2026, 1, 5), QLocale::ShortFormat) << true << true << "2026-12-08";
    }

    void weeklySchedule()
    {
        QFETCH(QString, stored);
        QFETCH(bool, online);
        QFETCH(bool, requested);
        QFETCH(QString, afterwards);
        fakes::Environment env;
        env.network.online = online;
        if (!stored.isNull())
            env.registry.values[dateKey()] = stored;
        QVERIFY(!Weekly_Update_Check(m_session));
        QCOMPARE(env.registry.values.value(dateKey()), afterwards);
        QCOMPARE(env.network.requested, requested ? QStringList { UpdateUrl } : QStringList());
        // The failing download told nobody anything.
        QVERIFY(env.dialogs.shown.isEmpty());
    }

    void downloadFromARealServer()
    {
        fakes::Environment env;
        platform::installQtServices();
        platform::Services services = platform::services();
        platform::Network* real = services.network;
        platform::installServices(
            { &env.dialogs, &env.shell, &env.processes, &env.sound, real, &env.registry, &env.clock });

        const QByteArray body = "old\r\nNO,Up to date";
        CannedServer server("HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nContent-Length: "
            + QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body);
        QVERIFY(server.listen(QHostAddress::LocalHost));
        const QString file = Get_Temp_Path() + QStringLiteral("download.txt");
        QVERIFY(Download_File(server.url(QStringLiteral("updates/Ver_3_0_7.txt")), file, UpdateInfoMaxBytes));
        QVERIFY(server.m_request.startsWith("GET /updates/Ver_3_0_7.txt HTTP/1.1"));
        QFile got(file);
        QVERIFY(got.open(QIODevice::ReadOnly));
        QCOMPARE(got.readAll(), body);
        got.close();
        QFile::remove(file);

        CannedServer missing("HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
        QVERIFY(missing.listen(QHostAddress::LocalHost));
        QVERIFY(!Download_File(missing.url(QStringLiteral("nothing.txt")), file, UpdateInfoMaxBytes));
        QVERIFY(!QFile::exists(file));

        // A reply longer than asked for is cut off, with or without a length announced, and nothing is written.
        const QByteArray flood(10 * 1024 * 1024, 'y');
        CannedServer announced("HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(flood.size())
            + "\r\nConnection: close\r\n\r\n" + flood);
        CannedServer unannounced("HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n" + flood);
        for (CannedServer* flooding : { &announced, &unannounced }) {
            QVERIFY(flooding->listen(QHostAddress::LocalHost));
            QVERIFY(!Download_File(flooding->url(QStringLiteral("updates/Ver_3_0_7.txt")), file, UpdateInfoMaxBytes));
            QVERIFY(!QFile::exists(file));
        }
        // Exactly the limit is still taken.
        CannedServer atLimit("HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n" + flood.left(UpdateInfoMaxBytes));
        QVERIFY(atLimit.listen(QHostAddress::LocalHost));
        QVERIFY(Download_File(atLimit.url(QStringLiteral("updates/Ver_3_0_7.txt")), file, UpdateInfoMaxBytes));
        QCOMPARE(QFileInfo(file).size(), UpdateInfoMaxBytes);
        QFile::remove(file);
        platform::installServices(env.previous);
    }

    void aSiteThatNeverAnswersTimesOut()
    {
        fakes::Environment env;
        platform::installQtServices();
        platform::Network* real = platform::services().network;
        platform::installServices(
            { &env.dialogs, &env.shell, &env.processes, &env.sound, real, &env.registry, &env.clock });
        CannedServer silent { QByteArray() };
        QVERIFY(silent.listen(QHostAddress::LocalHost));
        const QString file = Get_Temp_Path() + QStringLiteral("never.txt");
        QElapsedTimer timer;
        timer.start();
        QVERIFY(!Download_File(silent.url(QStringLiteral("updates/Ver_3_0_7.txt")), file, UpdateInfoMaxBytes));
        QVERIFY2(timer.elapsed() < DownloadTimeoutMs + 2000, qPrintable(QString::number(timer.elapsed())));
        QVERIFY(!QFile::exists(file));
        platform::installServices(env.previous);
    }
};

QTEST_MAIN(TestOnline)
#include "tst_online.moc"
