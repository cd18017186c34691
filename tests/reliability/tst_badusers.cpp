#include <QtTest>

#include <QElapsedTimer>

#include "common/apppath.h"
#include "common/session.h"
#include "students/frmlogin.h"
#include "students/passwords.h"
#include "students/userdatabase.h"
#include "tests/reliability/brokenfiles.h"
#include "tests/reliability/reactions.h"
#include "tests/support/fakes.h"
#include "tests/support/fixtures.h"

using broken::Damage;

namespace {
// Two students, one with a password, and one result: what a school's file holds, in small.
QByteArray goodUsers()
{
    fixtures::ProgramFolder program;
    Session session = fixtures::programSession(program.path());
    session.DataDir = program.path();
    const UserFile users = Users_Of(session);
    const QString path = users.path;
    if (!Create_User_Database(session.ProgramDir, path, nullptr))
        return {};
    Insert_Student(users, QStringLiteral("Zoe"), QStringLiteral("Adams"), QVariant(), 5);
    Insert_Student(users, QStringLiteral("Ana"), QStringLiteral("Ruiz"), Hash_Password(QStringLiteral("Gato")), 12);
    return broken::readBytes(path);
}
}

// "Users.dat" as the log-in window reads it, damaged: either the students it can still read are listed, or one
// message says the file cannot be read and the program ends. The file holds every student's results, so the
// reader never changes it.
class TestBadUsers : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void logInWindow_data()
    {
        QTest::addColumn<Damage>("damage");
        QTest::addColumn<int>("listed"); // students listed; -1: the file cannot be read
        broken::printHeader(QStringLiteral("Users.dat at the log-in window"));
        const QByteArray good = goodUsers();
        QVERIFY(!good.isEmpty());
        for (const broken::Variant& v : broken::anyFile(good))
            QTest::newRow(qPrintable(v.name)) << v.write << -1;
        QTest::newRow("a folder in its place")
            << Damage([](const QString& path) { QVERIFY(QDir().mkpath(path)); }) << -1;
        QTest::newRow("NULL in every column") << broken::changed(good,
            QStringLiteral("UPDATE tblUsers SET tFirstname = NULL, tLastname = NULL, "
                           "tPassword = NULL, nIcon = NULL;"))
                                              << 2;
        QTest::newRow("values of the wrong types") << broken::changed(good,
            QStringLiteral("UPDATE tblUsers SET tFirstname = x'00ff7f', tLastname = 42, tPassword = 2.5, "
                           "nIcon = 'face';")) << 2;
        QTest::newRow("face numbers that do not exist") << broken::changed(good,
            QStringLiteral("UPDATE tblUsers SET nIcon = 99999 WHERE tFirstname = 'Zoe';"
                           "UPDATE tblUsers SET nIcon = -7 WHERE tFirstname = 'Ana';"))
                                                        << 2;
        QTest::newRow("a password that is no hash")
            << broken::changed(good, QStringLiteral("UPDATE tblUsers SET tPassword = 'Gato';")) << 2;
        QTest::newRow("a 10 MB name") << broken::changed(good,
            QStringLiteral("UPDATE tblUsers SET tFirstname = printf('%.*c', 10000000, 'x') "
                           "WHERE tFirstname = 'Zoe';"))
                                      << 2;
        QTest::newRow("no scores table") << broken::changed(good, QStringLiteral("DROP TABLE tblscores;")) << 2;
        QTest::newRow("students without a password column") << broken::changed(good,
            QStringLiteral("ALTER TABLE tblUsers RENAME TO old; CREATE TABLE tblUsers (pkStudentID INTEGER "
                           "PRIMARY KEY, tFirstname TEXT, tLastname TEXT, nIcon INTEGER); INSERT INTO "
                           "tblUsers SELECT pkStudentID, tFirstname, tLastname, nIcon FROM old; DROP TABLE "
                           "old;")) << -1;
        QTest::newRow("no students table") << broken::changed(good, QStringLiteral("DROP TABLE tblUsers;")) << -1;
    }
    void logInWindow()
    {
        QFETCH(Damage, damage);
        QFETCH(int, listed);
        fakes::Environment env;
        fixtures::ProgramFolder program;
        Session session = fixtures::programSession(program.path());
        fixtures::loadNumberedCaptions();
        session.DataDir = program.path();
        damage(Users_Of(session).path);
        const broken::FileSnapshot before({ program.path() });

        QElapsedTimer clock;
        clock.start();
        frmLogin login(session);
        QSignalSpy quit(&login, &frmLogin::quitRequested);
        const bool ended = !login.Form_Load();
        const qint64 ms = clock.elapsed();
        QCOMPARE(quit.size(), ended ? 1 : 0);

        broken::printReaction(QTest::currentDataTag(),
            (ended ? QStringLiteral("program ends; ")
                   : QStringLiteral("%1 students listed; ").arg(login.ListView1->count()))
                + (env.dialogs.shown.isEmpty() ? QStringLiteral("nothing shown")
                                               : broken::shown(env.dialogs).join(QStringLiteral(" + "))));
        if (listed < 0) {
            QVERIFY(ended);
            QCOMPARE(env.dialogs.shown.size(), 1);
            const QString text = env.dialogs.shown[0].text;
            QVERIFY2(text.contains(QStringLiteral("T40 Error#001 ")), qPrintable(text));
            // A file that is not one the program can read is named in the interface language, not the system's.
            QVERIFY2(!text.contains("Could not find file") && !text.contains("not a database"), qPrintable(text));
        } else {
            QVERIFY(!ended);
            QCOMPARE(env.dialogs.shown.size(), 0);
            QCOMPARE(login.ListView1->count(), listed);
        }
        // A learner waits for this window: a damaged name must not hold it up.
        QVERIFY2(ms < 10000, qPrintable(QStringLiteral("%1 ms").arg(ms)));
        QCOMPARE(before.changed(), QStringList());
        QCOMPARE(before.added(), QStringList());
    }
};

QTEST_MAIN(TestBadUsers)
#include "tst_badusers.moc"
