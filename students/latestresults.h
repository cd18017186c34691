#pragma once

#include <QString>
#include <QVector>

#include "students/userdatabase.h"

// A student's own most recent results, for the student to see: only that student's rows are read.
struct LatestResult
{
    QString subject;
    QString activity;
    QString score; // as the lists show it
    QString date; // as stored
    QString time;
};

// The student's count latest results, newest first. Throws platform::DbError.
QVector<LatestResult> Latest_Results(const UserFile& users, const QString& student, int count);
