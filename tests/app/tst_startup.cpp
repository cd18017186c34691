#include <QtTest>

#include "app/frmmain.h"
#include "app/frmsplash.h"
#include "app/menupanel.h"
#include "app/modmain.h"
#include "students/frmlogin.h"
#include "tests/support/fakes.h"
#include "tests/support/fixtures.h"

class TestStartup : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void startsUpToTheLoginWindow()
    {
        fakes::Environment env;
        fixtures::ProgramFolder program;
        fixtures::useProgramFolder(program.path());
        frmMain main;
        QVERIFY(main.Form_Load());
        QCOMPARE(modMain.ProductName, QStringLiteral("Parlanta Alemán"));
        QCOMPARE(modMain.DataDir, program.path());
        QVERIFY(main.ActivitiesDir.endsWith("Activities/"));
        // The one-second wait ran on the clock, letting events through.
        QVERIFY(env.clock.ms >= 500);
        QVERIFY(!modMain.VirtualSubjectsChanged);
        const QString key = QStringLiteral("Software\\Parlanta\\prlale|");
        QCOMPARE(env.registry.values[key + "ProgramDir"], program.path());
        QCOMPARE(env.registry.values[key + "InstalledSubjectsDir"], program.path() + "T10/");
        QCOMPARE(env.registry.values[key + "VirtualSubjectsDir"], program.path() + "T11/");
        QCOMPARE(main.menuPanel().lastIndex(), 2);
        QCOMPARE(main.Messages.count, 3);
        QCOMPARE(main.Tips.size(), 5);
        QVERIFY(!frmSplash::current());
        QVERIFY(main.login() && main.login()->isVisible());
        QVERIFY(!main.isVisible());
        QVERIFY(env.dialogs.shown.isEmpty());
    }

    void missingTemplateEndsWithAFixedMessage()
    {
        fakes::Environment env;
        fixtures::ProgramFolder program;
        QFile::remove(program.file("Parlanta.tpl"));
        fixtures::useProgramFolder(program.path());
        frmMain main;
        QVERIFY(!main.Form_Load());
        QCOMPARE(env.dialogs.shown.size(), 1);
        QVERIFY(env.dialogs.shown[0].text.contains(program.file("Parlanta.tpl")));
        QVERIFY(!main.login());
        QVERIFY(!frmSplash::current());
    }

    void brokenTipsAreReportedAndStartUpGoesOn()
    {
        fakes::Environment env;
        fixtures::TemplateOptions options;
        options.nullTipRow = 1;
        fixtures::ProgramFolder program(options);
        fixtures::useProgramFolder(program.path());
        frmMain main;
        QVERIFY(main.Form_Load());
        QCOMPARE(env.dialogs.shown.size(), 1);
        QVERIFY(env.dialogs.shown[0].text.startsWith("T149\r\n\r\nGet_Tips: "));
        QVERIFY(main.login()->isVisible());
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
