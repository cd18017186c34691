#include <QtTest>

#include "platform/database.h"
#include "students/classphrases.h"
#include "students/phrasememory.h"
#include "tests/students/scoredata.h"
#include "tests/support/fixtures.h"

namespace {
QDateTime utc(const char* moment) { return QDateTime::fromString(moment, Qt::ISODate); }
const QDateTime Now = utc("2026-12-10T12:00:00Z");
const QString Zoe = QStringLiteral("Zoe Adams");

using scoredata::addPhraseResults;

PhraseMemory phrase(const QString& identity, const char* due, double recall)
{
    PhraseMemory memory { identity, {}, recall, false, {} };
    memory.state.due = utc(due);
    return memory;
}
}

class TestPhraseMemory : public QObject
{
    Q_OBJECT
private:
    fixtures::ProgramFolder m_program;
    std::unique_ptr<scoredata::NewUsers> m_users;
    UserFile users() const { return m_users->file(); }

private Q_SLOTS:
    void init() { m_users = std::make_unique<scoredata::NewUsers>(m_program); }

    void scheduleIsTheReplayOfTheStudentsResults()
    {
        addPhraseResults(users(),
            { { Zoe, "zoo.ale#3", 3, "2026-12-01T09:00:00Z" }, { Zoe, "zoo.ale#3", 1, "2026-12-04T09:00:00Z" },
                { Zoe, "zoo.ale#3", 2, "2026-12-04T09:05:00Z" }, { "Dan Otto", "zoo.ale#3", 4, "2026-12-09T09:00:00Z" },
                { Zoe, "zoo.ale#3", 4, "2026-12-11T09:00:00Z" } });
        const fsrs::Scheduler scheduler;
        const fsrs::PhraseState expected = scheduler.replay(
            { { utc("2026-12-01T09:00:00Z"), fsrs::Rating::Good }, { utc("2026-12-04T09:00:00Z"), fsrs::Rating::Again },
                { utc("2026-12-04T09:05:00Z"), fsrs::Rating::Hard } },
            Now);
        const QVector<PhraseMemory> memory = Phrase_Memory(users(), Zoe, Now);
        QCOMPARE(memory.size(), 1);
        QCOMPARE(memory[0].state.reviews, 3);
        QCOMPARE(memory[0].state.memory.stability, expected.memory.stability);
        QCOMPARE(memory[0].state.due, expected.due);
        QCOMPARE(memory[0].recall, scheduler.recallProbability(expected, Now));
    }

    // Each beside one readable result of the same phrase: phrase, rating, moment.
    void unreadableResultsAreLeftOut_data()
    {
        QTest::addColumn<QVariantList>("row");
        const QVariant good = "zoo.ale#1", moment = "2026-12-01T09:00:00Z";
        QTest::newRow("rating 0") << QVariantList { good, 0, moment };
        QTest::newRow("rating text") << QVariantList { good, "good", moment };
        QTest::newRow("rating 2.5") << QVariantList { good, 2.5, moment };
        QTest::newRow("date only") << QVariantList { good, 3, "2026-12-01" };
        QTest::newRow("month 13") << QVariantList { good, 3, "2026-13-01T09:00:00Z" };
        QTest::newRow("no moment") << QVariantList { good, 3, QVariant() };
        QTest::newRow("later than now") << QVariantList { good, 3, "2026-12-10T12:00:01Z" };
        QTest::newRow("no phrase") << QVariantList { QVariant(), 3, moment };
        QTest::newRow("no number") << QVariantList { "zoo.ale#", 3, moment };
        QTest::newRow("no file") << QVariantList { "#3", 3, moment };
        QTest::newRow("number text") << QVariantList { "zoo.ale#-1", 3, moment };
    }
    void unreadableResultsAreLeftOut()
    {
        QFETCH(QVariantList, row);
        addPhraseResults(users(), { { Zoe, row[0], row[1], row[2] }, { Zoe, "zoo.ale#1", 3, "2026-12-02T09:00:00Z" } });
        const QVector<PhraseMemory> memory = Phrase_Memory(users(), Zoe, Now);
        QCOMPARE(memory.size(), 1);
        QCOMPARE(memory[0].state.reviews, 1);
        const auto db = platform::Database::openFile(users().path);
        QCOMPARE(db.query("SELECT count(*) FROM tblphraseresults").value(0, 0).toInt(), 2);
    }

    void dueListIsMostOverdueFirstUpToTheLimit()
    {
        // Equal due moments: the lower recall, then the identity.
        const QVector<PhraseMemory> memory { phrase("c#1", "2026-12-09T00:00:00Z", 0.5),
            phrase("later#1", "2026-12-12T00:00:00Z", 0.9), phrase("a#1", "2026-12-09T00:00:00Z", 0.4),
            phrase("old#1", "2026-11-01T00:00:00Z", 0.9), phrase("b#1", "2026-12-09T00:00:00Z", 0.3),
            phrase("soon#1", "2026-12-11T00:00:00Z", 0.9) };
        QCOMPARE(Due_Phrases(memory, Now, -1), QStringList({ "old#1", "b#1", "a#1", "c#1" }));
        QCOMPARE(Due_Phrases(memory, Now, 2), QStringList({ "old#1", "b#1" }));
        QCOMPARE(Due_Count(memory, Now), 4);
        QCOMPARE(Next_Due(memory, Now), utc("2026-12-11T00:00:00Z"));
        QVERIFY(!Next_Due({}, Now).isValid());
    }

    void tenThousandResultsOfOnePhraseAreAllReplayed()
    {
        QVector<scoredata::PhraseRow> rows;
        for (int i = 0; i < 10000; ++i)
            rows.push_back({ Zoe, "zoo.ale#1", 1 + i % 4, Now.addSecs(-60 * i).toString(Qt::ISODate) });
        addPhraseResults(users(), rows);
        QCOMPARE(Phrase_Memory(users(), Zoe, Now).value(0).state.reviews, 10000);
    }

    // The student's own days are those of the zone: 15:00 UTC is already tomorrow ten hours east.
    void progressFiguresOfAHistory_data()
    {
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("dueToday");
        QTest::addColumn<QString>("reviewedB");
        QTest::newRow("UTC") << 0 << 4 << "2026-12-08";
        QTest::newRow("ten hours east") << 36000 << 3 << "2026-12-09";
    }
    void progressFiguresOfAHistory()
    {
        QFETCH(int, offset);
        QFETCH(int, dueToday);
        QFETCH(QString, reviewedB);
        addPhraseResults(users(),
            { { Zoe, "a#1", 3, "2026-10-01T12:00:00Z" }, { Zoe, "a#1", 3, "2026-11-20T12:00:00Z" },
                { Zoe, "a#1", 1, "2026-11-20T13:00:00Z" }, { Zoe, "b#1", 3, "2026-12-08T15:00:00Z" },
                { Zoe, "c#1", 4, "2026-12-10T11:00:00Z" }, { Zoe, "d#1", 3, "2026-11-01T12:00:00Z" },
                { Zoe, "d#1", 1, "2026-11-05T12:00:00Z" }, { Zoe, "d#1", 1, "2026-11-15T12:00:00Z" },
                { Zoe, "e#1", 3, "2025-12-01T12:00:00Z" } });
        const ProgressFigures figures = Progress_Figures(Phrase_Memory(users(), Zoe, Now), Now, QTimeZone(offset), 3);
        QCOMPARE(figures.known, 2); // b two days into its 2.3, c just now
        QCOMPARE(figures.dueToday, dueToday); // b falls due at 15:00 UTC
        // Tested: a on 20 November (kept; its same-day Again is no test), d on 15 November (forgotten).
        QCOMPARE(figures.retentionTested, 2);
        QCOMPARE(figures.retention(), 0.5);
        QStringList days;
        for (const QDate& day : figures.studyDays)
            days << day.toString(Qt::ISODate);
        QCOMPARE(days.join(' '), "2026-10-01 2026-11-01 2026-11-05 2026-11-15 2026-11-20 " + reviewedB + " 2026-12-10");
        QStringList hardest;
        for (const PhraseMemory& memory : figures.hardest)
            hardest << memory.phrase;
        QCOMPARE(hardest, QStringList({ "d#1", "a#1", "e#1" }));
    }

    void classViewIsHardestFirstAndEachStudentOfAPhrase()
    {
        addPhraseResults(users(),
            { { Zoe, "x#1", 3, "2026-12-01T09:00:00Z" }, { Zoe, "x#1", 1, "2026-12-03T09:00:00Z" },
                { Zoe, "x#1", 1, "2026-12-05T09:00:00Z" }, { "=Dan", "x#1", 3, "2026-12-08T09:00:00Z" },
                { Zoe, "y#1", 3, "2026-12-01T09:00:00Z" }, { Zoe, "y#1", 1, "2026-12-10T09:00:00Z" },
                { "=Dan", "z#1", 3, "2026-09-01T09:00:00Z" }, { "=Dan", "z#1", 1, "2026-10-01T09:00:00Z" } });
        const QVector<ClassPhrase> phrases = Class_Hardest_Phrases(users(), Now);
        QCOMPARE(Class_Phrase_Rows(phrases).size(), 3);
        QCOMPARE(Class_Phrase_Rows(phrases)[0].mid(0, 3), QStringList({ "x#1", "2", "2" }));
        QCOMPARE(phrases[1].phrase, "z#1"); // one lapse each, z long forgotten
        QCOMPARE(phrases[2].phrase, "y#1");
        const QVector<StudentPhrase> students = Phrase_Students(users(), "x#1", Now);
        QCOMPARE(Phrase_Student_Rows(students)[0].mid(0, 3), QStringList({ "'=Dan", "1", "0" }));
        QCOMPARE(Phrase_Student_Rows(students)[1].mid(0, 3), QStringList({ Zoe, "3", "2" }));
        QCOMPARE(phrases[0].meanRecall, (students[0].memory.recall + students[1].memory.recall) / 2);
    }
};

QTEST_GUILESS_MAIN(TestPhraseMemory)
#include "tst_phrasememory.moc"
