#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVector>

// What the charts of the results draw, read afresh from tblscores: a student's numeric scores over time, one
// series per activity, and the mean score of each student in a subject. Results without a number (a game that
// counts turns) or without a readable date and time have no place on a time axis and are left out.

struct TimedScore
{
    QDateTime when;
    double score = 0;
};

struct ActivitySeries
{
    QString activity;
    QVector<TimedScore> points; // oldest first
};

// The student's results, by activity in name order; only those of subject when it is not empty.
// Throws platform::DbError.
QVector<ActivitySeries> Student_Progress(const QString& student, const QString& subject = QString());
// The results a child node of a view lists (Score_Pair_Condition), by activity in name order; only those of
// subject when it is not empty. Throws platform::DbError.
QVector<ActivitySeries> Pair_Progress(
    int view, const QString& parentText, const QString& nodeText, const QString& subject = QString());

// The subjects the student has results in, in name order. Throws platform::DbError.
QStringList Student_Subjects(const QString& student);

struct StudentMean
{
    QString student;
    double mean = 0;
    int results = 0;
};

// The mean numeric score of every student with results in the activity and subject, in name order, as the
// activity view lists them. Throws platform::DbError.
QVector<StudentMean> Pair_Means(const QString& activity, const QString& subject);
