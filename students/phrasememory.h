#pragma once

#include <functional>
#include <optional>

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QTimeZone>
#include <QVector>

#include "common/fsrs.h"
#include "students/userdatabase.h"

// How well a student holds each phrase, from the phrase results the activities store: every "now" is handed in
// by the caller (the windows pass platform::currentUtc()), so a test or a look ahead chooses its own.

// A phrase as the results name it: the installed subject file (no folder) and the phrase's number there.
struct PhraseId
{
    QString file;
    int number = 0;
};
// "zoo.ale#3" read at its last "#"; nothing for an empty file part or a number part that is not plain digits.
std::optional<PhraseId> Parse_Phrase_Id(const QString& identity);

// One phrase of one student as of now.
struct PhraseMemory
{
    QString phrase; // the identity as stored
    fsrs::PhraseState state;
    double recall = 0; // probability of recall now
    bool due = false; // state.due <= now
    QVector<fsrs::Review> reviews; // the readable results up to now, in stored time order
};

// One history among the results: whose it is, and the phrase's memory in it.
struct StudentPhrase
{
    QString student;
    PhraseMemory memory;
};

// The histories of the results chosen (an empty student or phrase stands for any), ordered by student, then
// phrase. A result whose rating is not a whole number 1..4, whose moment is not yyyy-MM-ddTHH:mm:ssZ or whose
// phrase is no identity or has no student is left out (and left as it is in the file); results after now are left
// out; a history with nothing left is no history. One statement. Throws platform::DbError.
QVector<StudentPhrase> Read_Phrase_Histories(
    const UserFile& users, const QString& student, const QString& phrase, const QDateTime& now);
// The same histories handed to use one by one as they are read, for a caller that folds them into figures and
// would spend more on keeping them than on reading them; memory is valid during the call only.
void For_Each_Phrase_History(const UserFile& users, const QString& student, const QString& phrase,
    const QDateTime& now, const std::function<void(const QString& student, const PhraseMemory& memory)>& use);

// Every phrase the student has results for, ordered by identity. Throws platform::DbError.
QVector<PhraseMemory> Phrase_Memory(const UserFile& users, const QString& student, const QDateTime& now);

// The due phrases' identities, most overdue first (then the lower recall, then the identity), at most limit of
// them; a negative limit lists all, for a caller that leaves out phrases whose subject file is gone.
QStringList Due_Phrases(const QVector<PhraseMemory>& memory, const QDateTime& now, int limit = 10);
int Due_Count(const QVector<PhraseMemory>& memory, const QDateTime& now);
// The earliest moment after now at which a phrase falls due; invalid when none will (no results at all).
QDateTime Next_Due(const QVector<PhraseMemory>& memory, const QDateTime& now);

// The figures of "My progress". Days are the student's own: dates in the zone handed in (the system's by default).
struct ProgressFigures
{
    int known = 0; // phrases recalled now with a probability of at least 0.9
    int dueToday = 0; // phrases due by the end of today, those overdue included
    // Retention of the last 30 days (the 30 × 24 hours up to now): of the results in that time that came a day or
    // more after the phrase's previous result (days as the schedule counts them, in UTC), the share not rated
    // Again. A first result tests nothing yet, and a repeat the same day tests what was just seen, not what was
    // remembered, so neither counts.
    int retentionTested = 0;
    int retentionKept = 0;
    std::optional<double> retention() const;
    QVector<QDate> studyDays; // the dates of the last 365 days, today included, with a result; ascending
    QVector<PhraseMemory> hardest; // most lapses first, then the lowest recall, then the identity
};
ProgressFigures Progress_Figures(const QVector<PhraseMemory>& memory, const QDateTime& now,
    const QTimeZone& zone = QTimeZone::systemTimeZone(), int hardest = 10);
