#include "scores.h"

#include <optional>

#include <QDate>
#include <QFile>
#include <QFileInfo>

#include "platform/database.h"
#include "platform/userschema.h"
#include "resources/resourcepaths.h"
#include "students/userdatabase.h"
#include "students/userdbfailure.h"

using platform::Database;
using platform::DbError;

namespace {

QVector<ScoreNode> studentNodes(const Database& db)
{
    const auto rs = db.query(QStringLiteral("SELECT tFirstname, tLastname, nIcon FROM tblUsers ORDER BY pkStudentID"));
    QVector<ScoreNode> nodes;
    nodes.reserve(rs.count());
    for (int i = 0; i < rs.count(); ++i) {
        const int face = rs.value(i, 2).toInt();
        // Only a face: a number past the faces would show an activity or subject picture.
        const int picture = face >= 1 && face <= resources::FaceCount ? face : 0;
        nodes.push_back({ rs.text(i, 0) + QLatin1Char(' ') + rs.text(i, 1), picture, picture });
    }
    return nodes;
}

QVector<ScoreNode> nameNodes(const Database& db, const QString& query, int picture, int selectedPicture)
{
    const auto rs = db.query(QStringLiteral("SELECT * FROM ") + query);
    QVector<ScoreNode> nodes;
    nodes.reserve(rs.count());
    for (int i = 0; i < rs.count(); ++i) {
        // A result without a name can be matched by no statement, so its node would only ever list nothing.
        const QVariant name = rs.value(i, 0);
        if (!name.isNull())
            nodes.push_back({ Stored_Text(name), picture, selectedPicture });
    }
    return nodes;
}

}

ScoreTree Read_Score_Tree(const UserFile& users, int view)
{
    ScoreTree tree;
    try {
        const Database db = Database::open(users.connectionString());
        switch (view) {
        case StudentView:
            tree.top = studentNodes(db);
            tree.children = nameNodes(db, platform::users::ActivitiesView, ActivityPicture, ActivityOpenPicture);
            tree.placeholder = tree.children.isEmpty();
            break;
        case ActivityView:
            tree.top = nameNodes(db, platform::users::ActivitiesView, ActivityPicture, ActivityOpenPicture);
            tree.placeholder = tree.top.isEmpty();
            if (!tree.placeholder)
                tree.children = nameNodes(db, platform::users::SubjectsView, SubjectPicture, SubjectPicture);
            break;
        case SubjectView:
            tree.top = nameNodes(db, platform::users::SubjectsView, SubjectPicture, SubjectPicture);
            tree.placeholder = tree.top.isEmpty();
            if (!tree.placeholder)
                tree.children = studentNodes(db);
            break;
        default:
            break;
        }
    } catch (const DbError& e) {
        tree.failure = User_Database_Failure(e, users.path);
    }
    return tree;
}

QString Score_Pair_Condition(int view)
{
    switch (view) {
    case StudentView:
        return QStringLiteral("tName = ? AND tActivity = ?");
    case ActivityView:
        return QStringLiteral("tActivity = ? AND tSubject = ?");
    case SubjectView:
        return QStringLiteral("tSubject = ? AND tName = ?");
    default:
        return QString();
    }
}

QString Score_Lines_Statement(int view)
{
    static const char* const firstColumns[] = { "tSubject", "tName", "tActivity" };
    const QString condition = Score_Pair_Condition(view);
    if (condition.isEmpty())
        return QString();
    return QStringLiteral("SELECT %1, textScore, numberScore, nDate, nTime FROM tblscores WHERE %2")
        .arg(QLatin1String(firstColumns[view]), condition);
}

QVector<ScoreLine> Read_Score_Lines(const UserFile& users, int view, const QString& parentText, const QString& nodeText)
{
    const QString sql = Score_Lines_Statement(view);
    if (sql.isEmpty())
        throw DbError(QStringLiteral("There is no view %1 of the tracked scores.").arg(view));
    const auto rs = Database::open(users.connectionString()).query(sql, { parentText, nodeText });
    QVector<ScoreLine> lines;
    lines.reserve(rs.count());
    for (int i = 0; i < rs.count(); ++i)
        lines.push_back({ rs.text(i, 0), Score_Text(rs.value(i, 1), rs.value(i, 2)), Stored_Text(rs.value(i, 3)),
            Stored_Text(rs.value(i, 4)) });
    return lines;
}

int First_Column_Caption(int view)
{
    switch (view) {
    case StudentView:
        return 10;
    case ActivityView:
        return 50;
    case SubjectView:
        return 46;
    default:
        return 0;
    }
}

QString Score_Date_Text(const QString& stored, const QLocale& locale)
{
    // The whole text must be the date: Qt's ISO reading would take a date off the front of a longer text.
    const QDate date = QDate::fromString(stored, QStringLiteral("yyyy-MM-dd"));
    return date.isValid() ? locale.toString(date, QLocale::ShortFormat) : stored;
}

QString Percent_Text(double share, const QLocale& locale)
{
    return locale.toString(qRound(share * 100)) + QStringLiteral(" %");
}

QString Stored_Text(const QVariant& value) { return value.isNull() ? QString() : value.toString(); }

QString Score_Text(const QVariant& textScore, const QVariant& numberScore)
{
    const QString text = Stored_Text(textScore);
    return text.isEmpty() ? Stored_Text(numberScore) : text;
}

QString Delete_User_Database(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return User_Database_Advice(platform::DbFailure::Missing, path);
    // The owner's write bit, not access(): a file someone made read-only stays even for an all-powerful user.
    if (!(info.permissions() & QFileDevice::WriteOwner))
        return User_Database_Advice(platform::DbFailure::ReadOnly, path);

    // Holding the write lock lets an activity finish the row it is storing, and keeps the next one out
    // until the file is gone.
    std::optional<Database> lock;
    try {
        lock.emplace(Database::openFile(path));
        lock->execute(QStringLiteral("BEGIN EXCLUSIVE"));
    } catch (const DbError& e) {
        if (e.failure() == platform::DbFailure::Busy)
            return User_Database_Advice(platform::DbFailure::Busy, path);
        // A damaged file cannot be locked, and deleting it is the way out of it.
        lock.reset();
    }
    QFile file(path);
    if (!file.remove()) {
        // Where an open file cannot be deleted, the lock has to go first.
        lock.reset();
        // A file is removed from its folder, so a folder that cannot be written keeps it.
        if (!file.remove())
            return User_Database_Advice(platform::DbFailure::ReadOnly, path);
    }
    lock.reset();
    // A journal left beside the path would be replayed into the fresh copy made at the next start.
    for (const char* suffix : { "-journal", "-wal", "-shm" })
        QFile::remove(path + QLatin1String(suffix));
    return QStringLiteral("VALID");
}
