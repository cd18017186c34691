#include <QtTest>

#include "common/session.h"
#include "students/scorecharts.h"
#include "students/scorepercent.h"
#include "students/userdatabase.h"
#include "tests/students/scoredata.h"
#include "tests/support/fixtures.h"

namespace {
QList<double> scores(const ActivitySeries& series)
{
    QList<double> result;
    for (const TimedScore& point : series.points)
        result << point.percent;
    return result;
}
}

class TestScoreCharts : public QObject
{
    Q_OBJECT
private:
    fixtures::ProgramFolder m_program;
    const scoredata::NewUsers m_users { m_program };

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_users.made);
        scoredata::addSchool(m_users.file());
        // Stored out of time order, as activities of two computers sharing the file may store them.
        scoredata::addScore(m_users.file(), "Ana Ruiz", "Animals", "Listen and choose", "6 / 8", 6, "2026-12-05", "09:00:00");
        scoredata::addScore(m_users.file(), "Ana Ruiz", "Animals", "Listen and choose", "3 / 8", 3, "2026-12-02", "16:30:00");
        scoredata::addScore(m_users.file(), "Ana Ruiz", "Animals", "Dictation", "80%", 80, "2026-12-02", "16:40:00");
    }

    void aStudentsScoresAreSeriesOfActivitiesInTimeOrder()
    {
        const QVector<ActivitySeries> zoe = Student_Progress(m_users.file(), "Zoe Adams");
        QCOMPARE(zoe.size(), 1);
        QCOMPARE(zoe[0].activity, QStringLiteral("Flashcards"));
        QCOMPARE(scores(zoe[0]), QList<double>({ 90, 70, 90 }));
        QCOMPARE(zoe[0].points[0].when, QDateTime(QDate(2026, 12, 1), QTime(10, 15, 2)));

        const QVector<ActivitySeries> ana = Student_Progress(m_users.file(), "Ana Ruiz");
        QCOMPARE(ana.size(), 2);
        QCOMPARE(ana[0].activity, QStringLiteral("Dictation"));
        QCOMPARE(ana[1].activity, QStringLiteral("Listen and choose"));
        QCOMPARE(scores(ana[1]), QList<double>({ 37.5, 75 })); // of 8, as the text says
    }

    void aSubjectNarrowsTheSeries()
    {
        QCOMPARE(scores(Student_Progress(m_users.file(), "Zoe Adams", "Animals").value(0)), QList<double>({ 90, 70 }));
        QVERIFY(Student_Progress(m_users.file(), "Zoe Adams", "Colours").isEmpty());
        QCOMPARE(Student_Subjects(m_users.file(), "Zoe Adams"), QStringList({ "Animals", "Numbers" }));
        QCOMPARE(Student_Subjects(m_users.file(), "Tom Star*"), QStringList({ "Rock 'n' Roll *live*" }));
    }

    // The per cent of a stored row, none where it cannot be known. A result beyond its maximum is refused, not
    // cut to 100: its row says something other than the rule reads, and drawing it at the top would hide that.
    void thePerCentOfAStoredRow_data()
    {
        QTest::addColumn<QVariant>("textScore");
        QTest::addColumn<QVariant>("numberScore");
        QTest::addColumn<QVariant>("percent"); // null for none
        const QVariant null;
        QTest::newRow("fraction") << QVariant("8 / 10") << QVariant(8) << QVariant(80.0);
        QTest::newRow("fraction without blanks") << QVariant("9/10") << QVariant(90.0) << QVariant(90.0);
        QTest::newRow("fraction of 8") << QVariant("6 / 8") << QVariant(6) << QVariant(75.0);
        QTest::newRow("nothing right") << QVariant("0 / 10") << QVariant(0) << QVariant(0.0);
        QTest::newRow("decimal comma fraction") << QVariant("2,5 / 5") << null << QVariant(50.0);
        QTest::newRow("per cent") << QVariant("87%") << QVariant(87) << QVariant(87.0);
        QTest::newRow("Spanish per cent") << QVariant("87 %") << QVariant(87) << QVariant(87.0);
        QTest::newRow("no-break space") << QVariant("87 %") << null << QVariant(87.0);
        QTest::newRow("Spanish decimal comma") << QVariant("87,5 %") << null << QVariant(87.5);
        QTest::newRow("text wins") << QVariant("7 / 10") << QVariant(7) << QVariant(70.0);
        QTest::newRow("Pairs") << QVariant("4 turns") << QVariant(75.0) << QVariant(75.0);
        QTest::newRow("Spanish Pairs") << QVariant("4 intentos") << QVariant(75.0) << QVariant(75.0);
        QTest::newRow("old Pairs") << QVariant("12 turns") << null << null;
        QTest::newRow("other text") << QVariant("Perfect") << QVariant(100) << QVariant(100.0);
        QTest::newRow("number only") << null << QVariant(61) << QVariant(61.0);
        QTest::newRow("empty text") << QVariant("") << QVariant(70.0) << QVariant(70.0);
        QTest::newRow("nulls") << null << null << null;
        QTest::newRow("garbage") << QVariant("??") << QVariant("abc") << null;
        QTest::newRow("fraction over its maximum") << QVariant("12 / 10") << QVariant(12) << null;
        QTest::newRow("of nothing") << QVariant("3 / 0") << QVariant(3) << null;
        QTest::newRow("per cent over 100") << QVariant("120%") << QVariant(120) << null;
        QTest::newRow("number over 100") << null << QVariant(150) << null;
        QTest::newRow("below nothing") << QVariant("-5%") << QVariant(-5) << null;
    }
    void thePerCentOfAStoredRow()
    {
        QFETCH(QVariant, textScore);
        QFETCH(QVariant, numberScore);
        QFETCH(QVariant, percent);
        const std::optional<double> read = Score_Percent(textScore, numberScore);
        QCOMPARE(read.has_value(), !percent.isNull());
        if (read)
            QCOMPARE(*read, percent.toDouble());
    }

    // A round with no per cent (an old Pairs round: its turns only) and a date nobody can read have no place on it.
    void resultsWithoutAPerCentOrATimeAreLeftOut()
    {
        const QVector<ActivitySeries> dan = Student_Progress(m_users.file(), "Dan O'Brien");
        QCOMPARE(dan.size(), 1);
        QCOMPARE(scores(dan[0]), QList<double>({ 100 }));
        QVERIFY(Student_Progress(m_users.file(), "Nobody").isEmpty());
    }

    // The means of an activity in a subject, only of the results of both.
    void aPairsMeansPerStudent()
    {
        const QVector<StudentMean> numbers = Pair_Means(m_users.file(), "Pairs", "Numbers");
        QCOMPARE(numbers.size(), 1);
        QCOMPARE(numbers[0].student, QStringLiteral("Dan O'Brien"));
        QCOMPARE(numbers[0].mean, 12.5); // its date cannot be read, but a mean needs none
        const QVector<StudentMean> listening = Pair_Means(m_users.file(), "Listen and choose", "Animals");
        QCOMPARE(listening.size(), 1);
        QCOMPARE(listening[0].results, 2);
        QCOMPARE(listening[0].mean, 56.25);
        QVERIFY(Pair_Means(m_users.file(), "Dictation", "Numbers").isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestScoreCharts)
#include "tst_scorecharts.moc"
