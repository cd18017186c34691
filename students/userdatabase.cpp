#include "userdatabase.h"

#include <QFile>
#include <QFileInfo>

#include "common/failuretext.h"
#include "common/files.h"
#include "common/templatetexts.h"
#include "platform/database.h"
#include "platform/privatefiles.h"
#include "platform/userschema.h"
#include "students/studentnames.h"

using platform::Database;
using platform::DbError;

namespace {
Database Open_Users(const UserFile& users) { return Database::open(users.connectionString()); }

// The administrator is the student of the first row in the table's stored order.
qint64 firstStudentId(const Database& db)
{
    const auto rs = db.query(QStringLiteral("SELECT pkStudentID FROM tblUsers LIMIT 1"));
    return rs.isEmpty() ? 0 : rs.value(0, 0).toLongLong();
}
}

QString Users_Path(const QString& dataDir) { return dataDir + QStringLiteral("Users.dat"); }

QString UserFile::connectionString() const { return Template_Connection_String(path); }

UserFile Users_Of(const Session& session) { return { Users_Path(session.DataDir) }; }

bool Create_User_Database(const QString& programDir, const QString& path, QString* error)
{
    const QString source = Template_Path(programDir);
    QFile templateFile(source);
    if (!templateFile.copy(path)) {
        if (error)
            *error = Copy_Failure_Text(templateFile, path);
        return false;
    }
    // A read-only template must still give a file the students can be stored in, and the password hashes in it
    // are for none but those who may write it.
    QFile::setPermissions(path, platform::writersOnlyPermissions(QFileInfo(path).absolutePath()));
    return true;
}

void Upgrade_User_Database(const QString& path)
{
    try {
        Database::openFile(path).executeScript(platform::users::upgradeScript());
    } catch (const DbError&) {
        // Without the indexes every statement still gives the same rows, only slower; without the phrase results
        // table the activities store their score rows alone.
    }
}

QVector<Student> Read_Students(const UserFile& users)
{
    const auto rs = Open_Users(users).query(QStringLiteral("Select * from ") + platform::users::UsersTable);
    QVector<Student> students;
    students.reserve(rs.count());
    for (int i = 0; i < rs.count(); ++i) {
        Student s;
        s.id = rs.value(i, platform::users::StudentId).toLongLong();
        s.firstName = rs.text(i, platform::users::FirstName);
        s.lastName = rs.text(i, platform::users::LastName);
        s.password = rs.text(i, platform::users::Password);
        s.icon = rs.value(i, platform::users::Icon).toInt();
        students.push_back(s);
    }
    return students;
}

AddedStudent Insert_Student(
    const UserFile& users, const QString& firstName, const QString& lastName, const QVariant& password, int icon)
{
    using namespace platform::users;
    const Database db = Open_Users(users);
    // The write lock from the first read on: another copy's new student is either seen here or waits for this one.
    // Leaving without COMMIT closes the connection, which takes the transaction back.
    db.execute(QStringLiteral("BEGIN IMMEDIATE"));
    const QString key = Name_Key(firstName + QLatin1Char(' ') + lastName);
    const auto rs = db.query(QStringLiteral("SELECT tFirstname, tLastname FROM tblUsers"));
    for (int i = 0; i < rs.count(); ++i) {
        if (Name_Key(rs.text(i, 0) + QLatin1Char(' ') + rs.text(i, 1)) == key)
            return { 0, true, false };
    }
    AddedStudent added;
    added.id = password.isNull()
        ? db.insertRow(UsersTable, { FirstName, LastName, Icon }, { firstName, lastName, icon })
        : db.insertRow(
            UsersTable, { FirstName, LastName, Password, Icon }, { firstName, lastName, password.toString(), icon });
    added.administrator = firstStudentId(db) == added.id;
    db.execute(QStringLiteral("COMMIT"));
    return added;
}

bool Is_Administrator(const UserFile& users, qint64 id) { return firstStudentId(Open_Users(users)) == id; }

void Update_Student(const UserFile& users, qint64 id, const QString& firstName, const QString& lastName,
    const QString& password, int icon)
{
    const int changed = Open_Users(users).execute(QStringLiteral("UPDATE tblUsers SET tFirstname = ?, tLastname = ?, "
                                                                 "tPassword = ?, nIcon = ? WHERE pkStudentID = ?"),
        { firstName, lastName, password, icon, id });
    if (changed != 1)
        throw DbError(QStringLiteral("The student no longer exists in the user database."));
}

void Update_Student_Password(const UserFile& users, qint64 id, const QString& password)
{
    Open_Users(users).execute(
        QStringLiteral("UPDATE tblUsers SET tPassword = ? WHERE pkStudentID = ?"), { password, id });
}

bool Remove_Student(const UserFile& users, const QString& name)
{
    using namespace platform::users;
    const Database db = Open_Users(users);
    // Leaving without COMMIT closes the connection, which takes the transaction back.
    db.execute(QStringLiteral("BEGIN IMMEDIATE"));
    const auto rs = db.query(QStringLiteral("SELECT pkStudentID FROM tblUsers "
                                            "WHERE IFNULL(tFirstname, '') || ' ' || IFNULL(tLastname, '') = ?"),
        { name });
    if (rs.count() != 1 || rs.value(0, 0).toLongLong() == firstStudentId(db))
        return false;
    db.execute(QStringLiteral("DELETE FROM tblscores WHERE tName = ?"), { name });
    // The phrases' history goes too: a new student given the same name later must not inherit it.
    if (db.hasTable(PhraseResultsTable))
        db.execute(QStringLiteral("DELETE FROM tblphraseresults WHERE tName = ?"), { name });
    db.execute(QStringLiteral("DELETE FROM tblUsers WHERE pkStudentID = ?"), { rs.value(0, 0) });
    db.execute(QStringLiteral("COMMIT"));
    return true;
}

QStringList Read_Names(const UserFile& users, const QString& query)
{
    const auto rs = Open_Users(users).query(QStringLiteral("Select * from ") + query);
    QStringList names;
    for (int i = 0; i < rs.count(); ++i)
        names << rs.text(i, 0);
    return names;
}
