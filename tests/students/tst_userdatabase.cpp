#include <thread>

#include <QtTest>

#include "common/modmain.h"
#include "platform/database.h"
#include "students/passwords.h"
#include "students/userdatabase.h"
#include "tests/support/fixtures.h"

using platform::Database;

class TestUserDatabase : public QObject
{
    Q_OBJECT
private:
    fixtures::ProgramFolder* m_program = nullptr;

private Q_SLOTS:
    void init()
    {
        m_program = new fixtures::ProgramFolder;
        fixtures::useProgramFolder(m_program->path());
        modMain.DataDir = m_program->path();
    }
    void cleanup() { delete m_program; }

    void createdFromTheTemplateWritable()
    {
        QFile::setPermissions(m_program->file("Parlanta.tpl"), QFileDevice::ReadOwner | QFileDevice::ReadOther);
        QString error;
        QVERIFY(Create_User_Database(Users_Path(), &error));
        QVERIFY(QFile::permissions(Users_Path()) & QFileDevice::WriteOwner);
        QVERIFY(Read_Students().isEmpty());
        QVERIFY(!Create_User_Database(m_program->file("no/such/folder/Users.dat"), &error));
        QVERIFY(!error.isEmpty());
    }

    void studentsComeInStoredOrderWithKeysReadBack()
    {
        QVERIFY(Create_User_Database(Users_Path(), nullptr));
        const qint64 a = Insert_Student("Zoe", "Adams", QVariant(), 4);
        const qint64 b = Insert_Student("Ana", "O'Neil", QString(), 40);
        QCOMPARE(b, a + 1);
        const auto students = Read_Students();
        QCOMPARE(students.size(), 2);
        QCOMPARE(students[0].displayName(), QStringLiteral("Zoe Adams"));
        QCOMPARE(students[1].displayName(), QStringLiteral("Ana O'Neil"));
        QCOMPARE(students[1].icon, 40);
        // Absent and empty passwords read alike.
        QCOMPARE(students[0].password, QString());
        QCOMPARE(students[1].password, QString());
        const Database db = Database::openFile(Users_Path());
        QVERIFY(db.query("SELECT * FROM tblUsers WHERE tPassword IS NULL").count() == 1);

        Update_Student(b, "Ana", "O'Neil-Ruiz", "secret", 7);
        QCOMPARE(Read_Students()[1].lastName, QStringLiteral("O'Neil-Ruiz"));
        QVERIFY_THROWS_EXCEPTION(platform::DbError, Update_Student(999, "x", "y", "", 1));
    }

    void namesOfTheStoredQueries()
    {
        QVERIFY(Create_User_Database(Users_Path(), nullptr));
        const Database db = Database::openFile(Users_Path());
        for (const char* activity : { "Pairs", "Dictation", "Pairs" })
            db.execute("INSERT INTO tblscores (tName, tSubject, tActivity) VALUES ('a', 'Zoo', ?)", { activity });
        QCOMPARE(Read_Names("qryActivities"), QStringList({ "Dictation", "Pairs" }));
        QCOMPARE(Read_Names("qrySubjects"), QStringList({ "Zoo" }));
    }

    void readingWaitsForAnActivityWritingScores()
    {
        QVERIFY(Create_User_Database(Users_Path(), nullptr));
        Insert_Student("Ana", "Ruiz", QVariant(), 1);
        const Database activity = Database::openFile(Users_Path());
        activity.executeScript("BEGIN EXCLUSIVE; INSERT INTO tblscores (tName) VALUES ('Ana Ruiz')");
        std::thread release([&activity] {
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            activity.executeScript("COMMIT");
        });
        QElapsedTimer timer;
        timer.start();
        const auto students = Read_Students();
        release.join();
        QCOMPARE(students.size(), 1);
        QVERIFY(timer.elapsed() >= 250);
    }

    void passwordsIgnoreCaseButNotBlanks()
    {
        const QString hash = Hash_Password("Sesamo");
        QVERIFY(Is_Password_Hash(hash));
        QVERIFY(!hash.contains("SESAMO"));
        QVERIFY(Password_Matches(hash, "sesamo"));
        QVERIFY(Password_Matches(hash, "SESAMO"));
        QVERIFY(!Password_Matches(hash, " sesamo"));
        QVERIFY(!Password_Matches(hash, ""));
        QVERIFY(Hash_Password("Sesamo") != hash); // salted
        // An older file's plain password.
        QVERIFY(Password_Matches("Perro", "pERRO"));
        QVERIFY(!Password_Matches("Perro", "Perro "));
        QVERIFY(Password_Matches("", ""));
        QVERIFY(!Password_Matches("", "x"));
        QVERIFY(Password_Matches(Hash_Password("ñandú"), "ÑANDÚ"));
    }
};

QTEST_GUILESS_MAIN(TestUserDatabase)
#include "tst_userdatabase.moc"
