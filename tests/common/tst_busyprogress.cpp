#include <QtTest>

#include "common/busyprogress.h"
#include "common/frmmsgbox.h"
#include "tests/support/fakes.h"
#include "tests/support/fixtures.h"

class TestBusyProgress : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void eventsRunAtEveryStepAndTheNoticeEndsOnTheLastName()
    {
        fakes::Environment env;
        fixtures::loadNumberedCaptions();
        frmMsgBox::Show_Busy(QStringLiteral("Busy"), QStringLiteral("start"));
        QLabel* message = frmMsgBox::showing()->lblMsg;
        int passes = 0;
        QTimer everyPass;
        connect(&everyPass, &QTimer::timeout, [&] { ++passes; });
        everyPass.start(0);
        {
            BusyProgress progress;
            // Started before the first name is shown, so it never counts less than the progress does.
            QElapsedTimer sinceFirst;
            sinceFirst.start();
            progress.report(QStringLiteral("first"));
            QCOMPARE(message->text(), QStringLiteral("first"));
            // Names within the same frame wait; the window's events do not. A loaded machine may take a whole
            // frame over the two names, and then shows one of them.
            progress.report(QStringLiteral("second"));
            progress.report(QStringLiteral("third"));
            QCOMPARE(passes, 3);
            if (sinceFirst.elapsed() < FrameMs)
                QCOMPARE(message->text(), QStringLiteral("first"));
            QTest::qWait(FrameMs + 5);
            progress.report(QStringLiteral("fourth"));
            QCOMPARE(message->text(), QStringLiteral("fourth"));
            progress.report(QStringLiteral("last"));
        }
        QCOMPARE(message->text(), QStringLiteral("last"));
        frmMsgBox::Unload();
    }

    void withoutANoticeOnlyTheEventsRun()
    {
        fakes::Environment env;
        int passes = 0;
        QTimer everyPass;
        connect(&everyPass, &QTimer::timeout, [&] { ++passes; });
        everyPass.start(0);
        {
            BusyProgress progress;
            progress.report(QStringLiteral("one"));
            progress.report(QStringLiteral("two"));
        }
        QCOMPARE(passes, 2);
        QVERIFY(!frmMsgBox::showing());
    }
};

QTEST_MAIN(TestBusyProgress)
#include "tst_busyprogress.moc"
