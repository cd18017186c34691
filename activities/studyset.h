#pragma once

#include <QString>
#include <QVector>

#include "common/files.h"

class SubjectChecks;
struct Session;
struct SubjectRef;

// One phrase handed to an activity.
struct StudyPhrase
{
    QString fileName; // installed subject the phrase comes from, also when reached through a virtual subject
    int phraseNo = 0; // its pkPhraseNo there
    QString tPhrase;
    QString tTranslation;
    QString tTranslation2;
};

// The phrases of one launch in the order the activity gets them; phrase i (from 1) has its sound in the
// temporary folder under Exchange_Sound_File_Name(i).
using StudySet = QVector<StudyPhrase>;

// Gathers at most ten phrases of the subject with their sound files, after deleting the previous launch's
// files. A virtual subject's phrases whose source is gone or fails its check (asked of checks) are left out. On
// failure the error report, and the phrases gathered so far (a virtual subject) or none (an installed subject).
StudySet Get_Phraes_to_Study(const SubjectRef& subject, const Session& session, SubjectChecks& checks);
