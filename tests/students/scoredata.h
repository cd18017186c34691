#pragma once

#include <chrono>
#include <thread>

#include <QTreeWidget>
#include <QVariant>

#include <QDir>

#include "common/modmain.h"
#include "platform/database.h"
#include "students/userdatabase.h"
#include "tests/support/fixtures.h"

// Rows of "Users.dat" as the activities write them.
namespace scoredata {

// The program folder of a test, and a new user database of its own in the data folder; false when none was made.
inline bool useNewUsers(const fixtures::ProgramFolder& program, const QString& dataFolder)
{
    fixtures::useProgramFolder(program.path());
    modMain.DataDir = QDir::toNativeSeparators(dataFolder) + QDir::separator();
    return Create_User_Database(Users_Path(), nullptr);
}

inline void addScore(const QVariant& name, const QVariant& subject, const QVariant& activity,
    const QVariant& textScore = QVariant(), const QVariant& numberScore = QVariant(),
    const QVariant& date = QStringLiteral("2026-12-08"), const QVariant& time = QStringLiteral("10:00:00"))
{
    platform::Database::openFile(Users_Path())
        .insertRow(QStringLiteral("tblscores"),
            { "tName", "tSubject", "tActivity", "textScore", "numberScore", "nDate", "nTime" },
            { name, subject, activity, textScore, numberScore, date, time });
}

// Three students (the first the administrator) and results under names that quotes and asterisks cannot break.
inline void addSchool()
{
    Insert_Student("Zoe", "Adams", QVariant(), 5);
    Insert_Student("Dan", "O'Brien", QVariant(), 20);
    Insert_Student("Tom", "Star*", QString(), 40);
    addScore("Zoe Adams", "Animals", "Flashcards", QVariant(), 90, "2026-12-01", "10:15:02");
    addScore("Zoe Adams", "Animals", "Flashcards", QString(), 70.0, "2026-12-03", "09:01:44");
    addScore("Zoe Adams", "Numbers", "Flashcards", "9/10", 90);
    addScore("Dan O'Brien", "Rock 'n' Roll *live*", "Pairs", "Perfect", 100, "2026-12-07", "12:00:00");
    addScore("Dan O'Brien", "Numbers", "Pairs", QVariant(), QVariant(), QVariant(), QVariant());
    addScore("Dan O'Brien", "Numbers", "Pairs", QVariant(), 12.5, "8 Dec 2026", "half past two");
    addScore("Tom Star*", "Rock 'n' Roll *live*", "Dictation", QVariant(), 61);
}

// The node name under the top node top of a tracked-scores tree; null when it is not there.
inline QTreeWidgetItem* child(const QTreeWidget* tree, const QString& top, const QString& name)
{
    const auto found = tree->findItems(top, Qt::MatchExactly);
    if (found.isEmpty())
        return nullptr;
    for (int i = 0; i < found.first()->childCount(); ++i) {
        if (found.first()->child(i)->text(0) == name)
            return found.first()->child(i);
    }
    return nullptr;
}

// Holds the write lock of the file for a while, as an activity storing its row does.
class Writer
{
public:
    explicit Writer(int holdMs)
        : m_db(platform::Database::openFile(Users_Path()))
    {
        m_db.execute(QStringLiteral("BEGIN EXCLUSIVE"));
        m_thread = std::thread([this, holdMs] {
            std::this_thread::sleep_for(std::chrono::milliseconds(holdMs));
            m_db.execute(QStringLiteral("INSERT INTO tblscores (tName, tSubject, tActivity, numberScore) "
                                        "VALUES ('Zoe Adams', 'Animals', 'Flashcards', 1)"));
            m_db.execute(QStringLiteral("COMMIT"));
        });
    }
    ~Writer() { m_thread.join(); }
    Writer(const Writer&) = delete;
    Writer& operator=(const Writer&) = delete;

private:
    platform::Database m_db;
    std::thread m_thread;
};

}
