#include <QTemporaryDir>
#include <QtTest>

#include "platform/database.h"
#include "platform/userschema.h"

using namespace platform;

namespace {

QStringList columnsOf(const Database& db, const QString& table)
{
    const Recordset rs = db.query(QStringLiteral("SELECT * FROM %1").arg(table));
    return rs.columns();
}

}

class TestUserSchema : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // The names the readers and writers use are the ones the schema creates.
    void tablesHaveTheNamedColumns()
    {
        QTemporaryDir dir;
        const Database db = Database::openFile(dir.filePath(QStringLiteral("Users.dat")), true);
        db.executeScript(users::schemaScript());
        QCOMPARE(columnsOf(db, users::UsersTable),
            QStringList({ users::StudentId, users::FirstName, users::LastName, users::Password, users::Icon }));
        QCOMPARE(columnsOf(db, users::ScoresTable),
            QStringList({ users::ScoreId, users::ScoreStudent, users::ScoreSubject, users::ScoreActivity,
                users::TextScore, users::NumberScore, users::ScoreDate, users::ScoreTime }));
        QCOMPARE(columnsOf(db, users::PhraseResultsTable),
            QStringList({ users::ResultId, users::ResultScore, users::ResultStudent, users::ResultPhrase,
                users::ResultActivity, users::ResultRating, users::ResultMoment, users::ResultAnswerMs }));
        QCOMPARE(columnsOf(db, users::ActivitiesView), QStringList({ users::ScoreActivity }));
        QCOMPARE(columnsOf(db, users::SubjectsView), QStringList({ users::ScoreSubject }));
    }

    void viewsListEachNameOnceInOrder()
    {
        QTemporaryDir dir;
        const Database db = Database::openFile(dir.filePath(QStringLiteral("Users.dat")), true);
        db.executeScript(users::schemaScript());
        const QStringList columns { users::ScoreStudent, users::ScoreSubject, users::ScoreActivity };
        db.insertRow(users::ScoresTable, columns, { "Ana", "Zoo", "Pairs" });
        db.insertRow(users::ScoresTable, columns, { "Ana", "Colours", "Dictation" });
        db.insertRow(users::ScoresTable, columns, { "Ben", "Zoo", "Pairs" });
        const Recordset activities = db.query(QStringLiteral("SELECT * FROM %1").arg(users::ActivitiesView));
        QCOMPARE(activities.count(), 2);
        QCOMPARE(activities.text(0, 0), QStringLiteral("Dictation"));
        QCOMPARE(activities.text(1, 0), QStringLiteral("Pairs"));
        const Recordset subjects = db.query(QStringLiteral("SELECT * FROM %1").arg(users::SubjectsView));
        QCOMPARE(subjects.count(), 2);
        QCOMPARE(subjects.text(0, 0), QStringLiteral("Colours"));
    }
};

QTEST_GUILESS_MAIN(TestUserSchema)
#include "tst_userschema.moc"
