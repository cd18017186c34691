#include <QtTest>

#include "app/mainframe.h"
#include "app/messageline.h"

class TestMessageLine : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void fontSizeAndOpenTimeFollowTheLength()
    {
        const QList<QPair<int, int>> table { { 0, 8 }, { 1, 20 }, { 20, 20 }, { 21, 18 }, { 25, 18 }, { 31, 16 },
            { 49, 16 }, { 50, 15 }, { 61, 14 }, { 71, 13 }, { 81, 12 }, { 100, 12 }, { 101, 11 }, { 131, 10 },
            { 161, 9 }, { 215, 9 }, { 216, 8 }, { 400, 8 } };
        for (const auto& [length, points] : table)
            QCOMPARE(Message_Font_Size(length), points);
        QCOMPARE(Message_Open_Interval(25), 3750);
        QCOMPARE(Message_Open_Interval(400), 59000);
    }

    void lightColoursBecomeBlue()
    {
        for (int k : { 7, 10, 11, 14 })
            QCOMPARE(Message_Colour(k), Message_Colour(1));
        QCOMPARE(Message_Colour(12), QColor(255, 0, 0));
        QVERIFY(Message_Colour(0) != Message_Colour(1));
    }

    void closesShowsTheQueuedTextThenTipsInTurn()
    {
        QStringList tips { QString(), "tip one", "tip two" };
        SystemMessages messages;
        double next = 0.0;
        MessageLine line([&] { return next; });
        line.setTexts(&tips, &messages);
        line.queue("T63", QString());
        int height = 1170;
        QString tag = "GOUP";
        MessageLine::Shown shown;
        int ticks = 0;
        while (line.tick1(height, tag, &shown) != MessageLine::Event::Closed)
            ++ticks;
        QCOMPARE(ticks, (1170 - 20) / 15);
        QCOMPARE(shown.text, QStringLiteral("T63"));
        QCOMPARE(line.tipPosition(), 0); // a queued text does not move the tips on
        QCOMPARE(tag, QStringLiteral("GODOWN"));
        while (line.tick1(height, tag, &shown) != MessageLine::Event::Opened) { }
        QVERIFY(height >= 950);
        QCOMPARE(tag, QStringLiteral("GOUP"));
        for (const char* expected : { "tip one", "tip two", "tip one" }) {
            while (line.tick1(height, tag, &shown) != MessageLine::Event::Closed) { }
            QCOMPARE(shown.text, QString::fromLatin1(expected));
            QCOMPARE(shown.link, QString());
            tag = "GOUP";
            height = 950;
        }
    }

    void systemMessagesAreQueuedInOrderAtEvenOdds()
    {
        SystemMessages messages;
        messages.texts << "one"
                       << "two";
        messages.links << "one.htm" << QString();
        messages.count = 2;
        double next = 0.6; // draws 1: queue the next message
        MessageLine line([&] { return next; });
        line.setTexts(nullptr, &messages);
        line.tick2();
        QCOMPARE(line.pendingText(), QStringLiteral("one"));
        line.tick2();
        QCOMPARE(line.pendingText(), QStringLiteral("two"));
        QCOMPARE(line.messagePosition(), 0);
        line.tick2();
        QCOMPARE(line.pendingText(), QStringLiteral("one"));
        next = 0.2; // draws 0: the queue is cleared
        line.tick2();
        QVERIFY(line.pendingText().isEmpty());
    }

    void menuSlidesBetweenItsTwoPlaces()
    {
        bool done = false;
        int left = 100 - 3885;
        int steps = 0;
        while (true) {
            left = MainFrame::Menu_Slide(left, 3885, true, &done);
            if (done)
                break;
            ++steps;
        }
        QCOMPARE(left, -35);
        QCOMPARE(steps, 15);
        do
            left = MainFrame::Menu_Slide(left, 3885, false, &done);
        while (!done);
        QCOMPARE(left, -3785);
    }
};

QTEST_GUILESS_MAIN(TestMessageLine)
#include "tst_messageline.moc"
