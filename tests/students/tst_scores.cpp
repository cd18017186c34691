#include <QtTest>

#include "common/session.h"
#include "platform/database.h"
#include "students/scores.h"
#include "students/userdatabase.h"
#include "tests/students/scoredata.h"
#include "tests/support/fixtures.h"

using platform::Database;
using namespace scoredata;

namespace {
QStringList texts(const QVector<ScoreNode>& nodes)
{
    QStringList result;
    for (const ScoreNode& n : nodes)
        result << n.text;
    return result;
}

}

class TestScores : public QObject
{
    Q_OBJECT
private:
    // Made once: writing a template is slow; each test gets a fresh data folder.
    fixtures::ProgramFolder* m_program = nullptr;
    std::unique_ptr<scoredata::NewUsers> m_users;

private Q_SLOTS:
    void initTestCase() { m_program = new fixtures::ProgramFolder; }
    void cleanupTestCase() { delete m_program; }
    void init()
    {
        m_users = std::make_unique<scoredata::NewUsers>(*m_program);
        QVERIFY(m_users->made);
        fixtures::loadNumberedCaptions();
    }
    void cleanup() { m_users.reset(); }

    void resultsWithoutNamesCountAsNothingTracked()
    {
        // Such a row can be reached from no node, so showing a nameless node would only list nothing.
        Insert_Student(m_users->file(), "Zoe", "Adams", QVariant(), 5);
        addScore(m_users->file(), "Zoe Adams", QVariant(), QVariant(), QVariant(), 5);
        QVERIFY(Read_Score_Tree(m_users->file(), StudentView).placeholder);
        QVERIFY(Read_Score_Tree(m_users->file(), ActivityView).placeholder);
        QVERIFY(Read_Score_Tree(m_users->file(), SubjectView).placeholder);
    }

    void emptyChildListLeavesTheTopNodesBare()
    {
        // An activity recorded without a subject: activities to show, no subject to hang under them.
        addScore(m_users->file(), "Gone Student", QVariant(), "Flashcards", QVariant(), 5);
        const ScoreTree activities = Read_Score_Tree(m_users->file(), ActivityView);
        QCOMPARE(texts(activities.top), QStringList({ "Flashcards" }));
        QVERIFY(activities.children.isEmpty());
        QVERIFY(!activities.placeholder);
        // Subjects recorded for a student no longer in tblUsers, and no student left.
        addScore(m_users->file(), "Gone Student", "Animals", "Flashcards", QVariant(), 5);
        const ScoreTree subjects = Read_Score_Tree(m_users->file(), SubjectView);
        QCOMPARE(texts(subjects.top), QStringList({ "Animals" }));
        QVERIFY(subjects.children.isEmpty());
        QVERIFY(!subjects.placeholder);
        QCOMPARE(subjects.failure, QString());
    }

    void oddStudentRowsStillMakeNodes()
    {
        Database::openFile(m_users->file().path)
            .execute("INSERT INTO tblUsers (tFirstname, tLastname, nIcon) VALUES (NULL, 'Solo', NULL), "
                     "('Big', 'Face', 41), ('Neg', 'Face', -3)");
        const ScoreTree tree = Read_Score_Tree(m_users->file(), StudentView);
        QCOMPARE(texts(tree.top), QStringList({ " Solo", "Big Face", "Neg Face" }));
        // Past the faces the number would name an activity picture: no picture instead.
        for (const ScoreNode& n : tree.top)
            QCOMPARE(n.picture, 0);
    }

    void missingFileIsReportedAndNotCreated()
    {
        QVERIFY(QFile::remove(m_users->file().path));
        const ScoreTree missing = Read_Score_Tree(m_users->file(), SubjectView);
        QVERIFY(missing.top.isEmpty());
        QVERIFY(!missing.placeholder);
        QVERIFY(missing.failure.contains("Users.dat"));
        QVERIFY(!QFile::exists(m_users->file().path));
    }

    void namesAreValuesNotPatternsOrSql()
    {
        addSchool(m_users->file());
        QCOMPARE(Read_Score_Lines(m_users->file(), StudentView, "Tom Star*", "Dictation").size(), 1);
        QVERIFY(Read_Score_Lines(m_users->file(), StudentView, "Tom Star%", "Dictation").isEmpty());
        QVERIFY(Read_Score_Lines(m_users->file(), StudentView, "x' OR '1'='1", "Flashcards").isEmpty());
        QVERIFY_THROWS_EXCEPTION(platform::DbError, Read_Score_Lines(m_users->file(), 7, "Zoe Adams", "Flashcards"));
    }

    void scoreColumnTextWinsOverNumber_data()
    {
        QTest::addColumn<QVariant>("textScore");
        QTest::addColumn<QVariant>("numberScore");
        QTest::addColumn<QString>("shown");
        QTest::newRow("text and number") << QVariant("8/10") << QVariant(80) << "8/10";
        QTest::newRow("empty text") << QVariant(QString("")) << QVariant(70) << "70";
        QTest::newRow("absent text") << QVariant() << QVariant(70.25) << "70.25";
        QTest::newRow("text only") << QVariant("Good") << QVariant() << "Good";
        QTest::newRow("neither") << QVariant() << QVariant() << "";
        QTest::newRow("zero") << QVariant() << QVariant(0) << "0";
        QTest::newRow("number as text") << QVariant(42) << QVariant(1) << "42";
        QTest::newRow("text in the number column") << QVariant() << QVariant("n/a") << "n/a";
    }

    void scoreColumnTextWinsOverNumber()
    {
        QFETCH(QVariant, textScore);
        QFETCH(QVariant, numberScore);
        QFETCH(QString, shown);
        // Through the file, so the column types take their part.
        addScore(m_users->file(), "Zoe Adams", "Animals", "Flashcards", textScore, numberScore);
        const auto lines = Read_Score_Lines(m_users->file(), StudentView, "Zoe Adams", "Flashcards");
        QCOMPARE(lines.size(), 1);
        QCOMPARE(lines[0].score, shown);
    }

    void datesAreShownAsTheInterfaceLanguageWritesThem()
    {
        const QLocale before;
        // A system that speaks another language: the interface language's own dates.
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        QCOMPARE(Interface_Locale("Spanish").language(), QLocale::Spanish);
        QCOMPARE(Interface_Locale("English").language(), QLocale::English);
        QCOMPARE(Score_Date_Text("2026-12-08", Interface_Locale("Spanish")), QStringLiteral("8/12/26"));
        QCOMPARE(Score_Date_Text("2026-12-08", Interface_Locale("English")), QStringLiteral("12/8/26"));
        // A system that speaks the interface language keeps its own regional way of writing them.
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
        QCOMPARE(Score_Date_Text("2026-12-08", Interface_Locale("English")), QStringLiteral("08/12/2026"));
        QCOMPARE(Score_Date_Text("2026-12-08", Interface_Locale("Spanish")), QStringLiteral("8/12/26"));
        // What is no stored date stays as the activity wrote it.
        for (const QString& other : { QString(), QStringLiteral("8 Dec 2026"), QStringLiteral("2026-02-30"),
                 QStringLiteral("2026-12-08 10:00") })
            QCOMPARE(Score_Date_Text(other, Interface_Locale("Spanish")), other);
        QLocale::setDefault(before);
    }

    void readsWaitForAnActivityThatIsWriting()
    {
        addSchool(m_users->file());
        {
            const Writer writer(m_users->file(), 300);
            QElapsedTimer timer;
            timer.start();
            const ScoreTree tree = Read_Score_Tree(m_users->file(), StudentView);
            QCOMPARE(tree.failure, QString());
            QCOMPARE(tree.top.size(), 3);
            QVERIFY(timer.elapsed() >= 250);
        }
        {
            // The row being stored when the list was asked for is in it.
            const Writer writer(m_users->file(), 200);
            QCOMPARE(Read_Score_Lines(m_users->file(), StudentView, "Zoe Adams", "Flashcards").size(), 5);
        }
    }

    void deletingTheDatabaseTakesItsJournalAlong()
    {
        addSchool(m_users->file());
        QFile journal(m_users->file().path + "-journal");
        QVERIFY(journal.open(QIODevice::WriteOnly));
        journal.write("left over");
        journal.close();
        QCOMPARE(Delete_User_Database(m_users->file().path), QStringLiteral("VALID"));
        QVERIFY(!QFile::exists(m_users->file().path));
        QVERIFY(!journal.exists());
        // Gone already: said so, nothing pretended.
        QCOMPARE(Delete_User_Database(m_users->file().path), "T169 " + m_users->file().path);
    }

    void deletingWaitsForAWriteInProgress()
    {
        addSchool(m_users->file());
        const Writer writer(m_users->file(), 300);
        QElapsedTimer timer;
        timer.start();
        QCOMPARE(Delete_User_Database(m_users->file().path), QStringLiteral("VALID"));
        QVERIFY(timer.elapsed() >= 250);
        QVERIFY(!QFile::exists(m_users->file().path));
    }

    void readOnlyDatabaseIsKept()
    {
        addSchool(m_users->file());
        QVERIFY(QFile::setPermissions(m_users->file().path, QFileDevice::ReadOwner | QFileDevice::ReadOther));
        QCOMPARE(Delete_User_Database(m_users->file().path), "T168 " + m_users->file().path);
        QVERIFY(QFile::exists(m_users->file().path));
        // Still readable as it was.
        QCOMPARE(Read_Score_Tree(m_users->file(), StudentView).top.size(), 3);
        QFile::setPermissions(m_users->file().path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }

    void damagedDatabaseCanBeCleared()
    {
        QFile file(m_users->file().path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(QByteArray(3000, 'z'));
        file.close();
        QVERIFY(!Read_Score_Tree(m_users->file(), StudentView).failure.isEmpty());
        QCOMPARE(Delete_User_Database(m_users->file().path), QStringLiteral("VALID"));
        QVERIFY(!file.exists());
    }
};

QTEST_MAIN(TestScores)
#include "tst_scores.moc"
