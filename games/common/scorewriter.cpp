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
        using namespace platform::users;
        // The write lock from the start, so no other writer comes between the score and its phrases. Leaving without
        // COMMIT closes the connection, which takes back whatever was inserted: the round is stored whole or not at
        // all, and a retry after a lock never stores it twice.
        db.execute(QStringLiteral("BEGIN IMMEDIATE"));
        const qint64 scoreId = db.insertRow(ScoresTable,
            { ScoreStudent, ScoreSubject, ScoreActivity, TextScore, NumberScore, ScoreDate, ScoreTime },
            { row.student, row.subject, row.activity, orNull(row.textScore), orNull(row.numberScore),
                row.when.toString(QStringLiteral("yyyy-MM-dd")), row.when.toString(QStringLiteral("HH:mm:ss")) });
        // A file no program of this version has opened yet has no phrase results: its score is stored alone.
        if (!row.phrases.isEmpty() && db.hasTable(PhraseResultsTable)) {
            for (const PhraseResult& p : row.phrases) {
                db.insertRow(PhraseResultsTable,
                    { ResultScore, ResultStudent, ResultPhrase, ResultActivity, ResultRating, ResultMoment,
                        ResultAnswerMs },
                    { scoreId, row.student, p.phraseId, row.activity, p.rating,
                        p.moment.toUTC().toString(QStringLiteral("yyyy-MM-dd'T'HH:mm:ss'Z'")), orNull(p.answerMs) });
            }
        }
        db.execute(QStringLiteral("COMMIT"));
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
