#include <QtTest>

#include "app/frmmain.h"
#include "app/frmsplash.h"
#include <QMenu>
#include <QPushButton>
#include <QTreeWidget>

#include "app/modmain.h"
#include "common/apppath.h"
#include "common/files.h"
#include "common/registry.h"
#include "platform/exchangefile.h"
#include "students/frmadmin.h"
#include "students/frmlogin.h"
#include "tests/support/fakes.h"
#include "tests/support/fixtures.h"
#include "tests/support/mainsession.h"
#include "tests/support/modal.h"
#include "tests/support/subjectfixtures.h"

namespace {
QString dateKey() { return Program_Key(QStringLiteral("prlale")) + QStringLiteral("|DateChecked"); }

QString textOf(const QWidget& window, const char* name)
{
    if (const auto* label = window.findChild<QLabel*>(QLatin1String(name)))
        return label->text();
    if (const auto* button = window.findChild<QPushButton*>(QLatin1String(name)))
        return button->text();
    return QStringLiteral("<no %1>").arg(QLatin1String(name));
}
}

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
        // The one-second wait ran on the clock, letting events through.
        QVERIFY(env.clock.ms >= 500);
        const QString key = QStringLiteral("Software\\Parlanta\\prlale|");
        QCOMPARE(env.registry.values[key + "ProgramDir"], program.path());
        QCOMPARE(env.registry.values[key + "InstalledSubjectsDir"], program.path() + "T10/");
        QCOMPARE(env.registry.values[key + "VirtualSubjectsDir"], program.path() + "T11/");
        QVERIFY(main.findChild<QLabel*>("lblMenu2"));
        QVERIFY(!main.findChild<QLabel*>("lblMenu3"));
        // The settings step's texts.
        QCOMPARE(main.windowTitle(), QStringLiteral("Parlanta Alemán"));
        QCOMPARE(textOf(main, "lblSelectSubject"), QStringLiteral("1. T14"));
        QCOMPARE(textOf(main, "lblSelectActivity"), QStringLiteral("2. T15"));
        QCOMPARE(textOf(main, "lblCaption"), QStringLiteral("T20"));
        QCOMPARE(textOf(main, "btnChangeUser"), QStringLiteral("T99"));
        QCOMPARE(textOf(main, "btnCreateVirtualSubjects"), QStringLiteral("T65"));
        QCOMPARE(textOf(main, "btnOpenSubjectsFolder"), QStringLiteral("T142"));
        QCOMPARE(textOf(main, "lblMoreActs"), QStringLiteral("T114"));
        QVERIFY(QDir(program.path() + "T10").exists()); // the data folder's subjects folder
        QCOMPARE(main.File1().path(), program.path() + "T10/");
        QCOMPARE(main.File1().pattern(), QStringLiteral("*.ale"));
        QCOMPARE(main.File2().path(), program.path() + "T11/");
        QCOMPARE(main.File2().pattern(), QStringLiteral("*.vale"));
        // The menu panel waits at the left edge with 100 twips showing.
        const QWidget* menu = main.findChild<QWidget*>("picMenu");
        QCOMPARE(menu->x() + menu->width(), platform::twips(100));
        QVERIFY(!frmSplash::current());
        QVERIFY(main.login() && main.login()->isVisible());
        QVERIFY(!main.isVisible());
        QVERIFY(env.dialogs.shown.isEmpty());
    }

    void logInShowsTheMainWindowWithTheStudentsControls()
    {
        fakes::Environment env;
        fixtures::ProgramFolder program;
        fixtures::useProgramFolder(program.path());
        frmMain main;
        QVERIFY(main.Form_Load());
        main.Student_Logged_In(QStringLiteral("Zoe Adams"), true);
        QVERIFY(main.isVisible());
        QCOMPARE(modMain.CurrentStudent, QStringLiteral("Zoe Adams"));
        auto* admin = main.findChild<QPushButton*>("btnAdmin");
        QVERIFY(admin && admin->isEnabled());
        QCOMPARE(admin->text(), QStringLiteral("T54"));
        auto* popup = main.findChild<QMenu*>();
        QVERIFY(popup);
        QCOMPARE(popup->actions().size(), 2);
        QCOMPARE(popup->actions()[0]->text(), QStringLiteral("T112"));
        QCOMPARE(popup->actions()[1]->text(), QStringLiteral("T111"));
        QCOMPARE(main.windowTitle(), QStringLiteral("Parlanta Alemán  [Zoe Adams]"));
        auto* message = main.findChild<QLabel*>("lblMsg");
        QCOMPARE(message->text(), QStringLiteral("T62 Parlanta Alemán Zoe Adams"));
        QCOMPARE(message->font().pointSize(), 12);

        // Another student: the administrator's controls go.
        // The edit command on a folder: nothing to edit, no message for the administrator.
        popup->actions()[1]->trigger();
        QVERIFY(env.dialogs.shown.isEmpty());

        // Another student: the administrator's controls go, and the edit command only says why.
        main.Student_Logged_In(QStringLiteral("Ana Ruiz"), false);
        QVERIFY(!admin->isEnabled());
        // Every student has a progress window, and it is the one of the student logged in now.
        auto* progress = main.findChild<QPushButton*>("btnMyProgress");
        QVERIFY(progress && progress->isEnabled());
        QCOMPARE(progress->text(), QStringLiteral("T162"));
        {
            ModalScript script;
            QString opened;
            script.onDialog([&](QWidget* window) {
                opened = window->windowTitle();
                window->close();
            });
            progress->click();
            QCOMPARE(opened, QStringLiteral("T162 \u2013 Ana Ruiz"));
        }
        popup->actions()[1]->trigger();
        QCOMPARE(env.dialogs.shown.size(), 1);
        QCOMPARE(env.dialogs.shown[0].text, QStringLiteral("T113"));
        QCOMPARE(env.dialogs.shown[0].icon, platform::Icon::Warning);

        // Change user: the login window comes back with the students read anew.
        main.btnChangeUser_Click();
        QVERIFY(!main.isVisible());
        QVERIFY(main.login() && main.login()->isVisible());
    }

    void theKeyboardStartsAnActivityAsAClickDoes()
    {
        fakes::Environment env;
        fixtures::ProgramFolder program;
        fixtures::useProgramFolder(program.path());
        fixtures::writeInstalledSubject(program.file("T10/a.ale"), fixtures::numberedPhrases(2));
        for (const QString stem : { "Flashcards", "Pairs" }) {
            fixtures::writeActivityProgram(program.file("Activities/" + stem + ".exe"));
            fixtures::writeActivitySettings(program.file("Activities/" + stem + ".cfg"));
        }
        frmMain main;
        QVERIFY(main.Form_Load());
        main.Student_Logged_In(QStringLiteral("Ana Ruiz"), false);
        main.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&main));
        auto* tree = main.findChild<QTreeWidget*>("TreeFolders");
        tree->setFocus();
        QTest::keyClick(tree, Qt::Key_Right);
        QTest::keyClick(tree, Qt::Key_Down);
        // Listing the phrases keeps the window from input for a while, and must give the tree its focus back.
        QCOMPARE(QApplication::focusWidget(), tree);
        QTest::keyClick(tree, Qt::Key_Tab);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), main.findChild<QLabel*>("btnAct1"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        QCOMPARE(env.processes.started.size(), 1);
        QCOMPARE(env.processes.started[0].program, program.file("Activities/Pairs.exe"));
    }

    void theFolderButtonOpensTheInstalledSubjectsAndTheWindowGrowsTheTree()
    {
        fakes::Environment env;
        fixtures::ProgramFolder program;
        fixtures::useProgramFolder(program.path());
        frmMain main;
        QVERIFY(main.Form_Load());
        main.Student_Logged_In(QStringLiteral("Ana Ruiz"), false);
        const int soundsBefore = env.sound.memory.size() + env.sound.files.size();
        QTest::mouseClick(main.findChild<QPushButton*>("btnOpenSubjectsFolder"), Qt::LeftButton);
        QCOMPARE(env.shell.opened, QStringList { modMain.InstalledSubjectsDir });
        QCOMPARE(env.sound.memory.size() + env.sound.files.size(), soundsBefore);

        // The design size is the smallest; what a larger window adds goes to the tree.
        QCOMPARE(main.minimumSize(), main.size());
        auto* tree = main.findChild<QWidget*>("TreeFolders");
        auto* panel = main.findChild<QWidget*>("PicActsHolder");
        const QRect treeBefore = tree->geometry();
        const QSize panelBefore = panel->size();
        main.resize(main.size() + QSize(300, 200));
        QTRY_COMPARE(tree->size(), treeBefore.size() + QSize(300, 200));
        QCOMPARE(panel->size(), panelBefore);
        QVERIFY(!panel->geometry().intersects(tree->geometry()));
    }

    void theRunEndsWithItsWindowsAndFiles_data()
    {
        QTest::addColumn<bool>("clearUsers");
        QTest::newRow("the login window closed without a log-in") << false;
        QTest::newRow("the user database cleared") << true;
    }
    void theRunEndsWithItsWindowsAndFiles()
    {
        QFETCH(bool, clearUsers);
        fakes::Environment env;
        fixtures::ProgramFolder program;
        fixtures::useProgramFolder(program.path());
        // The sound notice an activity gave in the last run is given again in this one.
        const QString soundNotice = Get_Temp_Path() + platform::exchange::SoundNoticeMarker;
        auto leave = [](const QString& path) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
        };
        leave(soundNotice);
        frmMain main;
        QVERIFY(main.Form_Load());
        QVERIFY(!QFile::exists(soundNotice));
        main.show();
        modMain.ExchangeNumber = 777;
        const QString exchange = Get_Temp_Path() + Exchange_File_Name(modMain.ExchangeNumber);
        leave(exchange);
        leave(soundNotice);
        QPointer<frmLogin> login = main.login();
        if (clearUsers) {
            main.Student_Logged_In(QStringLiteral("Zoe Adams"), true);
            env.dialogs.answers = { true, true };
            ModalScript script;
            script.onDialog([](QWidget* admin) { qobject_cast<frmAdmin*>(admin)->btnClearDatabase_Click(); });
            main.findChild<QPushButton*>("btnAdmin")->click();
            QCOMPARE(script.notices, QStringList({ "T61" }));
            QVERIFY(!login->isVisible());
        } else {
            login->close();
            QTRY_VERIFY(!login);
        }
        // The main window went too, taking this run's exchange files and sound notice with it.
        QCOMPARE(main.endCode(), std::optional<int>(0));
        QVERIFY(!main.isVisible());
        QVERIFY(!QFile::exists(exchange));
        QVERIFY(!QFile::exists(soundNotice));
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

    void theWeeklyUpdateCheckMayEndStartUp_data()
    {
        QTest::addColumn<QByteArray>("update");
        QTest::addColumn<bool>("goesOn");
        QTest::newRow("an update that asks to close") << QByteArray("YES,Closing now") << false;
        QTest::newRow("no update") << QByteArray("NO,All is well") << true;
    }
    void theWeeklyUpdateCheckMayEndStartUp()
    {
        QFETCH(QByteArray, update);
        QFETCH(bool, goesOn);
        fakes::Environment env;
        fixtures::ProgramFolder program;
        fixtures::useProgramFolder(program.path());
        env.network.online = true;
        env.registry.values[dateKey()] = QStringLiteral("2026-11-01");
        env.network.pages[QStringLiteral("T94updates/Ver_3_0_7.txt")] = update;
        if (!goesOn)
            env.dialogs.answers << false;
        frmMain main;
        QCOMPARE(main.Form_Load(), goesOn);
        QCOMPARE(main.endCode(), goesOn ? std::optional<int>() : std::optional<int>(0));
        QCOMPARE(main.login()->isVisible(), goesOn);
        QCOMPARE(env.registry.values[dateKey()], QStringLiteral("2026-12-08"));
        QCOMPARE(env.dialogs.shown.size(), goesOn ? 1 : 2);
        QCOMPARE(env.dialogs.shown[0].text.startsWith("Closing now\r\n\r\n"), !goesOn);
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
