#include <QtTest>

#include "activities/activitylayout.h"

namespace {
const QPoint First { 60, 45 };
const QSize Button { 2415, 630 };
}

class TestActivityLayout : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void fewerThanTwoActivitiesLeaveThePanelAlone()
    {
        for (int last : { -1, 0 }) {
            const ActivityGrid grid = activityGrid(last, First, Button);
            QCOMPARE(grid.columns, 0);
            QVERIFY(grid.positions.isEmpty());
            QVERIFY(!grid.scrollVisible);
        }
    }

    void grid_data()
    {
        QTest::addColumn<int>("activities");
        QTest::addColumn<int>("columns");
        QTest::addColumn<QPoint>("lastPosition");
        QTest::addColumn<int>("panelHeight");
        QTest::addColumn<int>("scrollMaximum");
        QTest::addColumn<bool>("scrollVisible");
        QTest::addColumn<int>("moreActsTop");
        // Two activities make one column: the second button sits below the first.
        QTest::newRow("2") << 2 << 1 << QPoint(60, 685) << 1815 << -3185 << false << 1485;
        QTest::newRow("3") << 3 << 2 << QPoint(60, 685) << 1815 << -3185 << false << 1485;
        QTest::newRow("4") << 4 << 2 << QPoint(2610, 685) << 1815 << -3185 << false << 1485;
        QTest::newRow("17") << 17 << 2 << QPoint(60, 5165) << 6295 << 1295 << false << 5965;
        QTest::newRow("18") << 18 << 2 << QPoint(2610, 5165) << 6295 << 1295 << true << 5965;
        QTest::newRow("19") << 19 << 2 << QPoint(60, 5805) << 6935 << 1935 << true << 6605;
    }

    void grid()
    {
        QFETCH(int, activities);
        const ActivityGrid grid = activityGrid(activities - 1, First, Button);
        QTEST(grid.columns, "columns");
        QCOMPARE(grid.positions.size(), activities);
        QCOMPARE(grid.positions.first(), First);
        QTEST(grid.positions.last(), "lastPosition");
        QTEST(grid.panelHeight, "panelHeight");
        QTEST(grid.scrollMaximum, "scrollMaximum");
        QTEST(grid.scrollVisible, "scrollVisible");
        QTEST(grid.moreActsTop, "moreActsTop");
    }

    void buttonsFillRowsLeftToRight()
    {
        const ActivityGrid grid = activityGrid(4, { 100, 10 }, Button);
        const QVector<QPoint> expected { { 100, 10 }, { 2650, 10 }, { 100, 650 }, { 2650, 650 }, { 100, 1290 } };
        QCOMPARE(grid.positions, expected);
    }

    void settingsFileTakesTheNameUpToTheFirstDot_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("settings");
        QTest::newRow("plain") << "Hangman.exe"
                               << "/acts/Hangman.cfg";
        QTest::newRow("several dots") << "a.b.exe"
                                      << "/acts/a.cfg";
        QTest::newRow("blank") << "Word search.exe"
                               << "/acts/Word search.cfg";
        QTest::newRow("upper case") << "QUIZ.EXE"
                                    << "/acts/QUIZ.cfg";
    }

    void settingsFileTakesTheNameUpToTheFirstDot()
    {
        QFETCH(QString, program);
        QTEST(activitySettingsFile("/acts/", program), "settings");
    }

    void pictureColumnFollowsTheInterfaceLanguage_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("column");
        for (const char* code : { "prleng", "prlfra", "prlale", "prlito" })
            QTest::newRow(code) << code << "bSpanish";
        for (const char* code : { "prlspa", "prlfre", "prlger", "prlita", "", "xxxxxx" })
            QTest::newRow(*code ? code : "none") << code << "bEnglish";
    }

    void pictureColumnFollowsTheInterfaceLanguage()
    {
        QFETCH(QString, code);
        QTEST(activityPictureColumn(code), "column");
    }
};

QTEST_MAIN(TestActivityLayout)
#include "tst_activitylayout.moc"
