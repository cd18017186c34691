#include <QtTest>

#include "platform/clock.h"

class TestClock : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void shiftTakesWholeDaysOnly_data()
    {
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<int>("days");
        QTest::newRow("absent") << QByteArray() << 0;
        QTest::newRow("ahead") << QByteArray("30") << 30;
        QTest::newRow("back") << QByteArray("-2") << -2;
        QTest::newRow("not a number") << QByteArray("soon") << 0;
        QTest::newRow("part of a day") << QByteArray("1.5") << 0;
    }
    void shiftTakesWholeDaysOnly()
    {
        QFETCH(QByteArray, value);
        QFETCH(int, days);
        if (value.isNull())
            qunsetenv(platform::ClockShiftVariable);
        else
            qputenv(platform::ClockShiftVariable, value);
        QCOMPARE(platform::clockShiftDays(), days);
        const QDateTime expected = QDateTime::currentDateTimeUtc().addDays(days);
        const QDateTime now = platform::currentUtc();
        QCOMPARE(now.timeSpec(), Qt::UTC);
        QVERIFY(qAbs(now.msecsTo(expected)) < 1000);
        qunsetenv(platform::ClockShiftVariable);
    }
};

QTEST_GUILESS_MAIN(TestClock)
#include "tst_clock.moc"
