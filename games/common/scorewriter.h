#pragma once

#include <optional>

#include <QDateTime>
#include <QString>

#include <QVector>

namespace games {

// One phrase of a finished round, for the review schedule.
struct PhraseResult
{
    QString phraseId; // tPhraseID, line 10 of the exchange file
    int rating = 0; // nRating, 1 to 4 (games::Rating)
    QDateTime moment; // tMoment, stored in UTC
    std::optional<qint64> answerMs; // nAnswerMs; NULL when the game measures none
};

// One finished round, as the tracked-scores window reads it back.
struct ScoreRow
{
    QString student; // tName
    QString subject; // tSubject
    QString activity; // tActivity
    std::optional<QString> textScore; // NULL when the game gives no text
    std::optional<double> numberScore; // NULL when the game gives no number
    QDateTime when; // nDate yyyy-MM-dd, nTime HH:mm:ss
    QVector<PhraseResult> phrases; // the phrases with an identity, stored with the score
};

enum class SaveStatus {
    Saved,
    Missing, // the user database file is not there
    Unwritable, // read-only file or folder
    Locked, // another program kept it locked for longer than the writer waits
    Failed, // not a user database, or any other failure
};

struct SaveResult
{
    SaveStatus status = SaveStatus::Failed;
    QString detail; // the database layer's own words

    bool saved() const { return status == SaveStatus::Saved; }
};

// Sorts a failure of the database layer into what the learner is told.
SaveStatus classifyDatabaseFailure(const QString& description);

// Adds score rows to the user database the exchange file names. Each write opens the file, inserts the round's
// score row and its phrase rows in one transaction with bound values and closes it: the round is stored whole or not
// at all. A locked database is tried again until the retry time has passed.
class ScoreWriter
{
public:
    explicit ScoreWriter(QString databasePath, int retryMs = DefaultRetryMs);

    // Whether a score can be written at all, so a learner does not play a round whose result would be lost.
    SaveResult check() const;
    SaveResult write(const ScoreRow& row) const;

    // Every attempt already waits for the database layer's busy timeout (5 s); a further attempt is made only
    // when the lock was reported sooner than that.
    static constexpr int DefaultRetryMs = 5000;

private:
    SaveResult attempt(const ScoreRow& row) const;
    QString m_path;
    int m_retryMs;
};

}
