#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

#include "common/session.h"

struct Student
{
    qint64 id = 0;
    QString firstName;
    QString lastName;
    QString password; // "" when absent
    int icon = 1;
    QString displayName() const { return firstName + QLatin1Char(' ') + lastName; }
};

// "Users.dat" in a data folder (ending with a separator): students and the scores the activities record.
QString Users_Path(const QString& dataDir);
// The user database every reader and writer of students and scores below is handed.
struct UserFile
{
    QString path;
    QString connectionString() const;
};
// The user database of the session's data folder.
UserFile Users_Of(const Session& session);
// Creates the file from the program folder's template when it is missing; false with the failure's description.
bool Create_User_Database(const QString& programDir, const QString& path, QString* error);
// Gives a file made by an older version the score indexes and the phrase results table it lacks, its rows untouched.
// A file that cannot take them (read-only, or no user database at all) is left as it is for its readers to report on.
void Upgrade_User_Database(const QString& path);
// All students in stored order; the first is the administrator. Throws platform::DbError.
QVector<Student> Read_Students(const UserFile& users);
struct AddedStudent
{
    qint64 id = 0; // 0 when the name was taken
    bool nameTaken = false;
    bool administrator = false;
};
// Adds a student unless the display name is already stored (compared by Name_Key), and tells whether the new student
// is the administrator: both decided by the file at the moment of the insert, so two copies of the program on one
// file cannot both add a name or both make an administrator. A NULL password leaves the column absent.
AddedStudent Insert_Student(
    const UserFile& users, const QString& firstName, const QString& lastName, const QVariant& password, int icon);
// Whether the student of this key is the administrator, by the file as it is now.
bool Is_Administrator(const UserFile& users, qint64 id);
void Update_Student(const UserFile& users, qint64 id, const QString& firstName, const QString& lastName,
    const QString& password, int icon);
void Update_Student_Password(const UserFile& users, qint64 id, const QString& password);
// Removes the student of this display name with every result recorded under it, all or nothing. False, with nothing
// removed, for the administrator or a name no longer stored: the file decides, as another copy may have changed it.
bool Remove_Student(const UserFile& users, const QString& name);
// The names of a stored query ("qryActivities", "qrySubjects"), first column only.
QStringList Read_Names(const UserFile& users, const QString& query);
