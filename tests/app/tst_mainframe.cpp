#include <QtTest>

#include <QAccessible>
#include <QTimer>

#include "app/mainframe.h"
#include "app/menupanel.h"
#include "app/modmain.h"
#include "common/captions.h"
#include "common/templatetexts.h"
#include "tests/support/fakes.h"
#include "tests/support/fixtures.h"
#include "tests/support/mainsession.h"

static void moveOver(QWidget* widget)
{
    const QPointF at(5, 5);
    QMouseEvent move(QEvent::MouseMove, at, widget->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

namespace {
// The controls a frame drives, as the main window places them.
struct FrameWindow
{
    QWidget window;
    QWidget* picMenu = new QWidget(&window);
    QLabel* imgLogo = new QLabel(&window);
    QWidget* PicMsg = new QWidget(&window);
    QLabel* lblMsg = new QLabel(PicMsg);
    QLabel* lblURL = new QLabel(QStringLiteral("www.parlanta.example"), &window);
    QWidget* tree = new QWidget(&window);
    QTimer Timer1, Timer2, TimShowMenu, TimHideMenu;
    MenuPanel menu { picMenu };
    MainFrame frame { FrameControls {
        &window, picMenu, imgLogo, PicMsg, lblMsg, lblURL, &Timer1, &Timer2, &TimShowMenu, &TimHideMenu, &menu } };

    FrameWindow()
    {
        window.resize(platform::twips(11520), platform::twips(8880));
        picMenu->setGeometry(platform::twips(100 - MenuPanel::DesignWidth), platform::twips(MenuPanel::DesignTop),
            platform::twips(MenuPanel::DesignWidth), platform::twips(MenuPanel::DesignHeight));
        PicMsg->setGeometry(0, 0, 400, 60);
        lblMsg->setGeometry(0, 0, 400, 60);
        lblURL->setGeometry(600, 600, 200, 20);
        tree->setGeometry(0, 200, 300, 300);
        for (QTimer* t : { &TimShowMenu, &TimHideMenu })
            t->setInterval(2);
        frame.watchArea(tree);
    }
};

// A frame whose menu holds the program folder's links.
struct LinkedFrame
{
    fakes::Environment env;
    fixtures::ProgramFolder program;
    FrameWindow main;

    LinkedFrame()
    {
        fixtures::useProgramFolder(program.path());
        fixtures::loadNumberedCaptions();
        main.menu.Get_Menu_Links(Read_Menu_Links(modMain), Caption(94));
        main.frame.Watch_Menu_Links();
    }
};
}

// The link labels of the main window's frame, driven by the mouse.
class TestMainFrame : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void linksOpenTheirPages()
    {
        LinkedFrame linked;
        auto& [env, program, main] = linked;
        env.network.online = true;
        main.window.show();
        main.frame.Show_Menu();
        QTRY_VERIFY(!main.TimShowMenu.isActive());
        QCOMPARE(main.picMenu->x(), platform::twips(-35));
        QLabel* entry = main.menu.lblMenu[1];
        moveOver(entry);
        QVERIFY(entry->font().underline());
        QVERIFY(!main.menu.lblMenu[0]->font().underline());
        QTest::mouseClick(entry, Qt::LeftButton);
        QCOMPARE(env.shell.opened, QStringList({ "T94b.htm" }));
        QVERIFY(!env.sound.memory.isEmpty()); // the click sound

        // A message without a link is shown like a tip: no underline, no reaction to clicks.
        main.lblMsg->setProperty("tag", QString());
        moveOver(main.lblMsg);
        QVERIFY(!main.lblMsg->font().underline());
        QTest::mouseClick(main.lblMsg, Qt::LeftButton);
        QCOMPARE(env.shell.opened.size(), 1);
        main.lblMsg->setProperty("tag", QStringLiteral("news.htm"));
        moveOver(main.lblMsg);
        QVERIFY(main.lblMsg->font().underline());
        QTest::mouseClick(main.lblMsg, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(env.shell.opened.last(), QStringLiteral("T94news.htm"));

        // Offline, the local page opens instead.
        env.network.online = false;
        QTest::mouseClick(entry, Qt::LeftButton);
        QCOMPARE(env.shell.opened.last(), program.path() + "T95");

        QTest::mouseClick(main.lblURL, Qt::LeftButton);
        QCOMPARE(env.shell.opened.last(), program.path() + "T95");
        env.network.online = true;
        QTest::mouseClick(main.lblURL, Qt::LeftButton);
        QCOMPARE(env.shell.opened.last(), QStringLiteral("https://www.parlanta.example"));

        // A screen reader's press and the keyboard follow the links as a click does.
        env.shell.opened.clear();
        QAccessible::queryAccessibleInterface(entry)->actionInterface()->doAction(
            QAccessibleActionInterface::pressAction());
        QTest::keyClick(main.lblURL, Qt::Key_Return);
        QCOMPARE(env.shell.opened, QStringList({ "T94b.htm", "https://www.parlanta.example" }));
    }

    void tabBringsTheMenuOutAndTakesItBackWhenItLeaves()
    {
        LinkedFrame linked;
        FrameWindow& main = linked.main;
        main.tree->setFocusPolicy(Qt::StrongFocus);
        main.window.show();
        QApplication::setActiveWindow(&main.window);
        QVERIFY(QTest::qWaitForWindowActive(&main.window));
        main.menu.lblMenu[1]->setFocus(Qt::TabFocusReason);
        QVERIFY(main.TimShowMenu.isActive());
        main.menu.lblMenu[2]->setFocus(Qt::TabFocusReason);
        QVERIFY(!main.TimHideMenu.isActive());
        main.tree->setFocus(Qt::TabFocusReason);
        QVERIFY(main.TimHideMenu.isActive());
        QVERIFY(!main.TimShowMenu.isActive());
    }

    void firstTextsAfterLogInAreTheWelcomeThenText63ThenTheFirstTip()
    {
        fakes::Environment env;
        FrameWindow main;
        main.frame.Tips = QStringList { QString(), "tip one", "tip two" };
        main.frame.TipPosition = 0;
        main.frame.PendingMessage = QStringLiteral("T63");
        main.lblMsg->setText(QStringLiteral("welcome"));
        main.PicMsg->setProperty("tag", QStringLiteral("GOUP"));
        main.Timer1.start();
        // Timer1 rolls the line; Timer2 alone runs while it stands open.
        const auto nextText = [&main] {
            const QString before = main.lblMsg->text();
            for (int tick = 0; tick < 1000 && main.lblMsg->text() == before; ++tick) {
                if (main.Timer1.isActive())
                    main.frame.Timer1_Timer();
                else
                    main.frame.Timer2_Timer();
            }
        };
        nextText();
        QCOMPARE(main.lblMsg->text(), QStringLiteral("T63"));
        QCOMPARE(main.lblMsg->property("tag").toString(), QString());
        nextText();
        QCOMPARE(main.lblMsg->text(), QStringLiteral("tip one"));
        nextText();
        QCOMPARE(main.lblMsg->text(), QStringLiteral("tip two"));
    }

    void movesOverTheTreeSlideTheMenuAwayAndEndTheLinkLook()
    {
        fakes::Environment env;
        FrameWindow main;
        main.lblMsg->setProperty("tag", QStringLiteral("news.htm"));
        moveOver(main.lblMsg);
        QVERIFY(main.lblMsg->font().underline());
        main.TimShowMenu.start();
        moveOver(main.tree);
        QVERIFY(!main.lblMsg->font().underline());
        QVERIFY(main.TimHideMenu.isActive());
        QVERIFY(!main.TimShowMenu.isActive());
    }
};

QTEST_MAIN(TestMainFrame)
#include "tst_mainframe.moc"
