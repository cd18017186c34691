#include "scorewriter.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QThread>

#include "platform/database.h"
#include "platform/userschema.h"

namespace games {

SaveStatus classifyDatabaseFailure(const QString& description)
{
    const QString d = description.toLower();
    if (d.contains(QLatin1String("locked")) || d.contains(QLatin1String("busy")))
        return SaveStatus::Locked;
    if (d.contains(QLatin1String("readonly")) || d.contains(QLatin1String("read-only"))
        || d.contains(QLatin1String("unable to open database file")))
        return SaveStatus::Unwritable;
    if (d.contains(QLatin1String("could not find file")))
        return SaveStatus::Missing;
    return SaveStatus::Failed;
}

ScoreWriter::ScoreWriter(QString databasePath, int retryMs)
    : m_path(std::move(databasePath))
    , m_retryMs(retryMs)
{
}

SaveResult ScoreWriter::check() const
{
    const QFileInfo file(m_path);
    if (!file.isFile())
        return { SaveStatus::Missing, QStringLiteral("'%1' does not exist").arg(m_path) };
    // SQLite writes its journal beside the file, so the folder must take new files as well.
    if (!file.isWritable() || !QFileInfo(file.absolutePath()).isWritable())
        return { SaveStatus::Unwritable, QStringLiteral("'%1' or its folder is read-only").arg(m_path) };
    try {
        const platform::Database db = platform::Database::openFile(m_path);
        if (!db.hasTable(platform::users::ScoresTable))
            return { SaveStatus::Failed,
                QStringLiteral("'%1' has no table %2").arg(m_path, platform::users::ScoresTable) };
    } catch (const platform::DbError& e) {
        return { classifyDatabaseFailure(e.description()), e.description() };
    }
    return { SaveStatus::Saved, {} };
}

SaveResult ScoreWriter::attempt(const ScoreRow& row) const
{
    if (!QFileInfo(m_path).isFile())
        return { SaveStatus::Missing, QStringLiteral("'%1' does not exist").arg(m_path) };
    try {
        const platform::Database db = platform::Database::openFile(m_path);
        auto orNull = [](const auto& value) { return value ? QVariant(*value) : QVariant(); };
        // One INSERT is one transaction: the row is stored whole or, when it fails, not at all.
        using namespace platform::users;
        db.insertRow(ScoresTable,
            { ScoreStudent, ScoreSubject, ScoreActivity, TextScore, NumberScore, ScoreDate, ScoreTime },
            { row.student, row.subject, row.activity, orNull(row.textScore), orNull(row.numberScore),
                row.when.toString(QStringLiteral("yyyy-MM-dd")), row.when.toString(QStringLiteral("HH:mm:ss")) });
    } catch (const platform::DbError& e) {
        return { classifyDatabaseFailure(e.description()), e.description() };
    }
    return { SaveStatus::Saved, {} };
}

SaveResult ScoreWriter::write(const ScoreRow& row) const
{
    QElapsedTimer timer;
    timer.start();
    for (;;) {
        const SaveResult result = attempt(row);
        // Only a lock is worth waiting for; a stored row is never written a second time.
        if (result.status != SaveStatus::Locked || timer.elapsed() + 250 >= m_retryMs)
            return result;
        QThread::msleep(100);
    }
}

}
