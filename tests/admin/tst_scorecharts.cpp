#include <QtTest>

#include "common/modmain.h"
#include "students/scorecharts.h"
#include "students/userdatabase.h"
#include "tests/admin/scoredata.h"
#include "tests/support/fixtures.h"

namespace {
QList<double> scores(const ActivitySeries& series)
{
    QList<double> result;
    for (const TimedScore& point : series.points)
        result << point.score;
    return result;
}
}

class TestScoreCharts : public QObject
{
    Q_OBJECT
private:
    fixtures::ProgramFolder m_program;
    QTemporaryDir m_data;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(scoredata::useNewUsers(m_program, m_data.path()));
        scoredata::addSchool();
        // Stored out of time order, as activities of two computers sharing the file may store them.
        scoredata::addScore("Ana Ruiz", "Animals", "Listen and choose", "6 / 8", 6, "2026-12-05", "09:00:00");
        scoredata::addScore("Ana Ruiz", "Animals", "Listen and choose", "3 / 8", 3, "2026-12-02", "16:30:00");
        scoredata::addScore("Ana Ruiz", "Animals", "Dictation", "80%", 80, "2026-12-02", "16:40:00");
    }

    void aStudentsScoresAreSeriesOfActivitiesInTimeOrder()
    {
        const QVector<ActivitySeries> zoe = Student_Progress("Zoe Adams");
        QCOMPARE(zoe.size(), 1);
        QCOMPARE(zoe[0].activity, QStringLiteral("Flashcards"));
        QCOMPARE(scores(zoe[0]), QList<double>({ 90, 70, 90 }));
        QCOMPARE(zoe[0].points[0].when, QDateTime(QDate(2026, 12, 1), QTime(10, 15, 2)));

        const QVector<ActivitySeries> ana = Student_Progress("Ana Ruiz");
        QCOMPARE(ana.size(), 2);
        QCOMPARE(ana[0].activity, QStringLiteral("Dictation"));
        QCOMPARE(ana[1].activity, QStringLiteral("Listen and choose"));
        QCOMPARE(scores(ana[1]), QList<double>({ 3, 6 }));
    }

    void aSubjectNarrowsTheSeries()
    {
        QCOMPARE(scores(Student_Progress("Zoe Adams", "Animals").value(0)), QList<double>({ 90, 70 }));
        QVERIFY(Student_Progress("Zoe Adams", "Colours").isEmpty());
        QCOMPARE(Student_Subjects("Zoe Adams"), QStringList({ "Animals", "Numbers" }));
        QCOMPARE(Student_Subjects("Tom Star*"), QStringList({ "Rock 'n' Roll *live*" }));
    }

    // A game that counts turns stores no number, and a date nobody can read has no place on the axis.
    void resultsWithoutANumberOrATimeAreLeftOut()
    {
        const QVector<ActivitySeries> dan = Student_Progress("Dan O'Brien");
        QCOMPARE(dan.size(), 1);
        QCOMPARE(scores(dan[0]), QList<double>({ 100 }));
        QVERIFY(Student_Progress("Nobody").isEmpty());
    }

    // The means of an activity in a subject, only of the results of both.
    void aPairsMeansPerStudent()
    {
        const QVector<StudentMean> numbers = Pair_Means("Pairs", "Numbers");
        QCOMPARE(numbers.size(), 1);
        QCOMPARE(numbers[0].student, QStringLiteral("Dan O'Brien"));
        QCOMPARE(numbers[0].mean, 12.5); // its date cannot be read, but a mean needs none
        const QVector<StudentMean> listening = Pair_Means("Listen and choose", "Animals");
        QCOMPARE(listening.size(), 1);
        QCOMPARE(listening[0].results, 2);
        QCOMPARE(listening[0].mean, 4.5);
        QVERIFY(Pair_Means("Dictation", "Numbers").isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestScoreCharts)
#include "tst_scorecharts.moc"
