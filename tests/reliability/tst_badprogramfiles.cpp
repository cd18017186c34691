#include <QtTest>

#include <QLabel>

#include "activities/activitypanel.h"
#include "app/frmmain.h"
#include "common/apppath.h"
#include "common/filelist.h"
#include "common/frmmsgbox.h"
#include "common/updates.h"
#include "tests/reliability/brokenfiles.h"
#include "tests/reliability/reactions.h"
#include "tests/support/fakes.h"
#include "tests/support/fixtures.h"
#include "tests/support/mainsession.h"
#include "tests/support/privatetemp.h"
#include "tests/support/subjectfixtures.h"
#include "tests/support/subjectfolders.h"
#include "tests/support/subjectsession.h"

using broken::Damage;

namespace {
QByteArray goodTemplate()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Parlanta.tpl"));
    fixtures::writeTemplate(path);
    return broken::readBytes(path);
}

Damage templateWith(const fixtures::TemplateOptions& options)
{
    return [options](const QString& path) { fixtures::writeTemplate(path, options); };
}

QByteArray goodSettings()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("A.cfg"));
    fixtures::writeActivitySettings(path);
    return broken::readBytes(path);
}

Damage settingsWith(const QVector<fixtures::ImageRowFixture>& rows)
{
    return [rows](const QString& path) { fixtures::writeActivitySettings(path, rows); };
}

// The procedures named by the error reports among the boxes shown.
QStringList reportedProcedures(const fakes::Dialogs& dialogs)
{
    QStringList procedures;
    for (const QString& report : fakes::errorReports(dialogs))
        procedures << report.section(QStringLiteral("\r\n\r\n"), 1).section(QStringLiteral(": "), 0, 0);
    return procedures;
}
}

// The files of the program folder that start-up reads before anyone logs in, each damaged: the template database,
// an activity's settings file and the downloaded update information.
class TestBadProgramFiles : public QObject
{
    Q_OBJECT
private:
    fixtures::PrivateTempFolder m_temp;

private Q_SLOTS:
    void cleanup() { frmMsgBox::Unload(); }

    void templateDatabase_data()
    {
        QTest::addColumn<Damage>("damage");
        QTest::addColumn<bool>("starts"); // the interface texts could be read, so start-up goes on
        QTest::addColumn<QStringList>("reports"); // procedures named by error reports, in order
        broken::printHeader(QStringLiteral("Parlanta.tpl at start-up"));
        const QByteArray good = goodTemplate();
        for (const broken::Variant& v : broken::anyFile(good))
            QTest::newRow(qPrintable(v.name)) << v.write << false << QStringList();
        QTest::newRow("texts of the wrong types") << broken::changed(good,
            QStringLiteral("UPDATE tblCaptions SET Spanish = nNumber * 2;"
                           "UPDATE tblSystemMessages SET Spanish = x'00ff7f', link = 42;"
                           "UPDATE tblTips SET prlale = 2.5; UPDATE tblMenu SET Spanish = x'41', link = 7;"))
                                                  << true << QStringList();
        QStringList tipColumns;
        for (const char* code : { "prlspa", "prlfre", "prlger", "prlita", "prleng", "prlfra", "prlale", "prlito" })
            tipColumns << QStringLiteral("%1 = NULL").arg(QLatin1String(code));
        QTest::newRow("NULL in every column") << broken::changed(good,
            QStringLiteral("UPDATE tblCaptions SET English = NULL, Spanish = NULL;"
                           "UPDATE tblSystemMessages SET English = NULL, Spanish = NULL, link = NULL;"
                           "UPDATE tblTips SET %1; UPDATE tblMenu SET English = NULL, Spanish = NULL, link = NULL;")
                .arg(tipColumns.join(','))) << true
                                              << QStringList { "Get_Menu_Links", "Get_Tips" };
        fixtures::TemplateOptions noSpanish;
        noSpanish.languages = { QStringLiteral("English") };
        QTest::newRow("no column of the interface language") << templateWith(noSpanish) << false << QStringList();
        fixtures::TemplateOptions noTips;
        noTips.tipCodes = { QStringLiteral("prlspa") };
        QTest::newRow("no tips column of the product") << templateWith(noTips) << true << QStringList { "Get_Tips" };
        fixtures::TemplateOptions fewTexts;
        fewTexts.captionRows = 20;
        QTest::newRow("20 interface texts instead of 149") << templateWith(fewTexts) << true << QStringList();
    }
    void templateDatabase()
    {
        QFETCH(Damage, damage);
        QFETCH(bool, starts);
        QFETCH(QStringList, reports);
        fakes::Environment env;
        fixtures::ProgramFolder program;
        fixtures::useProgramFolder(program.path());
        damage(program.file(QStringLiteral("Parlanta.tpl")));
        const broken::FileSnapshot before({ program.path() });

        bool started = false;
        {
            frmMain main;
            started = main.Form_Load();
            QCOMPARE(started, starts);
            QCOMPARE(main.login() != nullptr, starts);
            QCOMPARE(main.endCode(), starts ? std::optional<int>() : std::optional<int>(1));
        }
        broken::printReaction(QTest::currentDataTag(),
            (started ? QStringLiteral("starts; ") : QStringLiteral("stops; "))
                + broken::shown(env.dialogs).join(QStringLiteral(" + ")));
        QCOMPARE(reportedProcedures(env.dialogs), reports);
        if (!starts) {
            // One box, before any window: it names the template and why it could not be read.
            QCOMPARE(env.dialogs.shown.size(), 1);
            QCOMPARE(env.dialogs.shown[0].icon, platform::Icon::Critical);
            QVERIFY(env.dialogs.shown[0].text.contains(program.file(QStringLiteral("Parlanta.tpl"))));
        }
        QCOMPARE(before.changed(), QStringList());
    }

    void activitySettingsFile_data()
    {
        QTest::addColumn<Damage>("damage");
        broken::printHeader(QStringLiteral("Activities/B.cfg at start-up"));
        const QByteArray good = goodSettings();
        for (const broken::Variant& v : broken::anyFile(good))
            QTest::newRow(qPrintable(v.name)) << v.write;
        const QByteArray picture = fixtures::pngBytes(Qt::red);
        QTest::newRow("text where a picture is expected")
            << settingsWith({ { QStringLiteral("red button"), picture }, { 12345, picture } });
        QTest::newRow("NULL in every column")
            << settingsWith({ { QVariant(), QVariant() }, { QVariant(), QVariant() } });
        QTest::newRow("a picture that is not a picture")
            << settingsWith({ { QByteArray("\x89PNG\r\n\x1a\n") + broken::randomBytes(300), picture },
                   { QByteArray("GIF89a") + broken::randomBytes(300, 9), picture } });
        QTest::newRow("only the normal picture's row") << settingsWith({ { picture, picture } });
        QTest::newRow("no column of the interface language")
            << broken::database(QStringLiteral("CREATE TABLE tblImages (bEnglish BLOB); INSERT INTO tblImages VALUES "
                                               "(x'00'); INSERT INTO tblImages VALUES (x'00');"));
    }
    void activitySettingsFile()
    {
        QFETCH(Damage, damage);
        fakes::Environment env;
        fixtures::SubjectFolders folder;
        const Session session = fixtures::programSession(folder.path());
        fixtures::loadNumberedCaptions();
        const QString activities = folder.file(QStringLiteral("Activities/"));
        for (const char* stem : { "A", "B" })
            fixtures::writeActivityProgram(activities + QLatin1String(stem) + QStringLiteral(".exe"));
        fixtures::writeActivitySettings(activities + QStringLiteral("A.cfg"));
        damage(activities + QStringLiteral("B.cfg"));
        const broken::FileSnapshot before({ folder.path() });

        QWidget holder;
        holder.resize(platform::twips(5280), platform::twips(5100));
        ActivityPanel panel(&holder, session);
        QSignalSpy quit(&panel, &ActivityPanel::quitRequested);
        FileList FileAct;
        FileAct.setPath(activities);
        FileAct.setPattern(QStringLiteral("*.exe"));
        FileAct.refresh();
        panel.Get_Settings(FileAct);
        panel.Get_Activities(FileAct, activities, session.ProgramCode);

        broken::printReaction(QTest::currentDataTag(),
            broken::shown(env.dialogs).join(QStringLiteral(" + ")) + (quit.isEmpty() ? "" : QStringLiteral("; program ends")));
        // The first activity got its pictures; the second stops the program after naming its program file.
        QVERIFY(!panel.ImgOFF.value(1).isNull());
        QCOMPARE(quit.size(), 1);
        QCOMPARE(env.dialogs.shown.size(), 2);
        QCOMPARE(env.dialogs.shown[0].text, QStringLiteral("T105\r\nB.exe\r\n\r\nT106"));
        QCOMPARE(env.dialogs.shown[0].icon, platform::Icon::Critical);
        QCOMPARE(env.dialogs.shown[1].text, QStringLiteral("T107"));
        QCOMPARE(before.changed(), QStringList());
    }

    void updateInformation_data()
    {
        QTest::addColumn<QByteArray>("download");
        QTest::addColumn<bool>("asked"); // the user is told of an update
        broken::printHeader(QStringLiteral("the downloaded update information (Check_Updates)"));
        const QByteArray good = "Version 3.0.8\r\nNO, A new version is out\r\n";
        QTest::newRow("random bytes") << broken::randomBytes(4096) << false;
        QTest::newRow("empty (0 bytes)") << QByteArray() << false;
        QTest::newRow("first half of a good file") << good.left(good.size() / 2) << true;
        QTest::newRow("10 MB of text") << QByteArray("NO, Again and again\r\n").repeated(500000) << false;
        QTest::newRow("a last line without a comma") << QByteArray("YES the program must close\r\n") << false;
        QTest::newRow("NUL bytes around the fields") << QByteArray("YES\0,\0message\0\r\n", 17) << false;
        QTest::newRow("only commas") << QByteArray(",,,\r\n") << true;
        QTest::newRow("a good file") << good << true;
    }
    void updateInformation()
    {
        QFETCH(QByteArray, download);
        QFETCH(bool, asked);
        fakes::Environment env;
        const Session session = fixtures::programSession(m_temp.path() + QStringLiteral("/program/"));
        fixtures::loadNumberedCaptions();
        env.network.online = true;
        env.network.pages[Update_Info_Url()] = download;
        env.dialogs.defaultAnswer = false;
        const broken::FileSnapshot before({ m_temp.path() });

        const bool close = Check_Updates(session);

        broken::printReaction(QTest::currentDataTag(),
            (close ? QStringLiteral("asks to close; ") : QStringLiteral("goes on; "))
                + (env.dialogs.shown.isEmpty() ? QStringLiteral("nothing shown")
                                               : broken::shown(env.dialogs).join(QStringLiteral(" + "))));
        QVERIFY(!close);
        QCOMPARE(!env.dialogs.shown.isEmpty(), asked);
        if (asked)
            QCOMPARE(env.dialogs.shown.size(), 2); // the question, and the page's address after the No
        QCOMPARE(before.changed(), QStringList());
        QCOMPARE(QDir(Get_Temp_Path()).entryList({ QStringLiteral("*.tmp") }, QDir::Files), QStringList());
    }
};

QTEST_MAIN(TestBadProgramFiles)
#include "tst_badprogramfiles.moc"
