#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVector>

#include "students/userdatabase.h"

// What the charts of the results draw, read afresh from tblscores: a student's results over time, one series per
// activity, and the mean result of each student in a subject, every one as the per cent of its round's maximum
// (Score_Percent). Results whose per cent cannot be known (an old Pairs round that stored its turns only) are left
// out, and so are, on a time axis, those without a readable date and time.

struct TimedScore
{
    QDateTime when;
    double percent = 0;
};

struct ActivitySeries
{
    QString activity;
    QVector<TimedScore> points; // oldest first
};

// The student's results, by activity in name order; only those of subject when it is not empty.
// Throws platform::DbError.
QVector<ActivitySeries> Student_Progress(
    const UserFile& users, const QString& student, const QString& subject = QString());
// The results a child node of a view lists (Score_Pair_Condition), by activity in name order; only those of
// subject when it is not empty. Throws platform::DbError.
QVector<ActivitySeries> Pair_Progress(const UserFile& users, int view, const QString& parentText,
    const QString& nodeText, const QString& subject = QString());

// The subjects the student has results in, in name order. Throws platform::DbError.
QStringList Student_Subjects(const UserFile& users, const QString& student);

struct StudentMean
{
    QString student;
    double mean = 0;
    int results = 0;
};

// The mean per cent of every student with results in the activity and subject, in name order, as the activity view
// lists them; results counts those with a per cent. Throws platform::DbError.
QVector<StudentMean> Pair_Means(const UserFile& users, const QString& activity, const QString& subject);
