#pragma once

#include <chrono>
#include <thread>
#include <tuple>

#include <QTreeWidget>
#include <QVariant>
#include <QVector>

#include <QDir>
#include <QTemporaryDir>

#include "common/session.h"
#include "platform/database.h"
#include "students/userdatabase.h"
#include "tests/support/fixtures.h"

// Rows of "Users.dat" as the activities write them.
namespace scoredata {

// A data folder of its own beside a test's program folder, holding a new user database: the session the student
// windows are handed, and the file the readers are handed.
class NewUsers
{
public:
    explicit NewUsers(const fixtures::ProgramFolder& program)
        : session(fixtures::programSession(program.path()))
    {
        session.DataDir = QDir::toNativeSeparators(m_data.path()) + QDir::separator();
        made = Create_User_Database(session.ProgramDir, file().path, nullptr);
    }
    UserFile file() const { return Users_Of(session); }

private:
    QTemporaryDir m_data;

public:
    Session session;
    bool made = false;
};

inline void addScore(const UserFile& users, const QVariant& name, const QVariant& subject, const QVariant& activity,
    const QVariant& textScore = QVariant(), const QVariant& numberScore = QVariant(),
    const QVariant& date = QStringLiteral("2026-12-08"), const QVariant& time = QStringLiteral("10:00:00"))
{
    platform::Database::openFile(users.path)
        .insertRow(QStringLiteral("tblscores"),
            { "tName", "tSubject", "tActivity", "textScore", "numberScore", "nDate", "nTime" },
            { name, subject, activity, textScore, numberScore, date, time });
}

// Phrase results as the activities write them: student, phrase, rating, moment.
using PhraseRow = std::tuple<QVariant, QVariant, QVariant, QVariant>;
inline void addPhraseResults(const UserFile& users, const QVector<PhraseRow>& rows)
{
    const auto db = platform::Database::openFile(users.path);
    db.execute("BEGIN");
    for (const auto& [student, phrase, rating, moment] : rows)
        db.insertRow(
            "tblphraseresults", { "tName", "tPhraseID", "nRating", "tMoment" }, { student, phrase, rating, moment });
    db.execute("COMMIT");
}

// Three students (the first the administrator) and results under names that quotes and asterisks cannot break.
inline void addSchool(const UserFile& users)
{
    Insert_Student(users, "Zoe", "Adams", QVariant(), 5);
    Insert_Student(users, "Dan", "O'Brien", QVariant(), 20);
    Insert_Student(users, "Tom", "Star*", QString(), 40);
    addScore(users, "Zoe Adams", "Animals", "Flashcards", QVariant(), 90, "2026-12-01", "10:15:02");
    addScore(users, "Zoe Adams", "Animals", "Flashcards", QString(), 70.0, "2026-12-03", "09:01:44");
    addScore(users, "Zoe Adams", "Numbers", "Flashcards", "9/10", 90);
    addScore(users, "Dan O'Brien", "Rock 'n' Roll *live*", "Pairs", "Perfect", 100, "2026-12-07", "12:00:00");
    addScore(users, "Dan O'Brien", "Numbers", "Pairs", QVariant(), QVariant(), QVariant(), QVariant());
    addScore(users, "Dan O'Brien", "Numbers", "Pairs", QVariant(), 12.5, "8 Dec 2026", "half past two");
    addScore(users, "Tom Star*", "Rock 'n' Roll *live*", "Dictation", QVariant(), 61);
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
    Writer(const UserFile& users, int holdMs)
        : m_db(platform::Database::openFile(users.path))
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
