#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVector>

#include "common/phrasetext.h"
#include "students/phrasememory.h"
#include "students/userdatabase.h"

// The teacher's view of the phrases: which the class finds hardest, and how each student holds one of them.

struct ClassPhrase
{
    QString phrase; // the identity as stored
    int students = 0; // students with results for it
    int lapses = 0; // all those students' lapses together
    double meanRecall = 0; // the students' probabilities of recall now, averaged
};

// Every phrase of every student's results, the most lapses first, then the lowest mean recall, then the identity.
// Results are read and left out as Read_Phrase_Histories does. Throws platform::DbError.
QVector<ClassPhrase> Class_Hardest_Phrases(const UserFile& users, const QDateTime& now);
// Every student's memory of one phrase, ordered by student. Throws platform::DbError.
QVector<StudentPhrase> Phrase_Students(const UserFile& users, const QString& phrase, const QDateTime& now);

// The rows of the CSV exports (scoreexport.h), the typed texts made formula-safe; the caller heads them.
// Recall is a probability with three decimals, due the UTC moment as the results store moments.
// Phrase (its text where text is given, otherwise its identity), students, lapses, mean recall.
QVector<QStringList> Class_Phrase_Rows(const QVector<ClassPhrase>& phrases, const PhraseText& text = {});
// Student, reviews, lapses, recall, due.
QVector<QStringList> Phrase_Student_Rows(const QVector<StudentPhrase>& students);
