#pragma once

#include <QString>
#include <QVariant>
#include <QVector>

// The rows that travel between a computer's user database and the school server. A score or phrase row is named by
// where it was born: the identity of that computer's database and the row's key there.
struct SyncStudent
{
    QString key; // Name_Key of the display name
    QString firstName;
    QString lastName;
    QVariant password; // null when the student has none
    int icon = 1;
    bool removed = false;
    bool purged = false; // removed with every result
    qint64 seq = 0; // the server's number of the change; 0 for a change still on its way
    QString displayName() const { return firstName + QLatin1Char(' ') + lastName; }
};

struct SyncScore
{
    QString originDb;
    qint64 originId = 0;
    QString name, subject, activity, textScore;
    QVariant numberScore;
    QString date, time;
};

struct SyncPhrase
{
    QString originDb;
    qint64 originId = 0;
    QString scoreDb; // "" when the row names no round
    qint64 scoreId = 0;
    QString name, phrase, activity;
    QVariant rating;
    QString moment;
    QVariant answerMs;
};

// What this computer has that the server may not.
struct Outbox
{
    QString database; // this computer's database identity
    QVector<SyncStudent> students; // new, changed and removed since the last exchange
    QVector<qint64> studentIds; // each one's key here; 0 for a name that is gone
    QVector<SyncScore> scores;
    QVector<SyncPhrase> phrases;
    qint64 lastScore = 0; // the local keys up to which the rows above reach
    qint64 lastPhrase = 0;
    bool full = false; // rows were left for the next outbox
    bool isEmpty() const { return students.isEmpty() && scores.isEmpty() && phrases.isEmpty(); }
};

// What the server had that this computer had not yet brought in, and the server's numbers it reaches.
struct Inbox
{
    QVector<SyncStudent> students;
    QVector<SyncScore> scores;
    QVector<SyncPhrase> phrases;
    qint64 studentSeq = 0;
    qint64 scoreSeq = 0;
    qint64 phraseSeq = 0;
    QString administratorKey; // the first student of the class on the server; "" when it has none
    bool full = false; // more waits on the server
};
