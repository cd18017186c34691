#include <QtTest>

#include "app/frmmain.h"
#include "app/mainframe.h"
#include "app/menupanel.h"
#include "app/modmain.h"
#include "tests/support/fakes.h"
#include "tests/support/fixtures.h"

static void moveOver(QWidget* widget)
{
    const QPointF at(5, 5);
    QMouseEvent move(QEvent::MouseMove, at, widget->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

// The link labels of the main window's frame, driven by the mouse.
class TestMainFrame : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void linksOpenTheirPages()
    {
        fakes::Environment env;
        env.network.online = true;
        fixtures::ProgramFolder program;
        fixtures::useProgramFolder(program.path());
        frmMain main;
        QVERIFY(main.Form_Load());
        main.show();
        main.frame().Show_Menu();
        QTRY_VERIFY(!main.TimShowMenu->isActive());
        QCOMPARE(main.picMenu->x(), platform::twips(-35));
        QLabel* entry = main.menuPanel().lblMenu[1];
        moveOver(entry);
        QVERIFY(entry->font().underline());
        QVERIFY(!main.menuPanel().lblMenu[0]->font().underline());
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
        QCOMPARE(env.shell.opened.last(), QStringLiteral("https://www.parlanta.example"));
        main.Timer1->stop();
    }
};

QTEST_MAIN(TestMainFrame)
#include "tst_mainframe.moc"
