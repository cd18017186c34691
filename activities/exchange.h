#pragma once

#include <QString>
#include <QStringList>

#include "activities/studyset.h"

struct Session;

// The exchange file that hands a study set to an activity program: fifteen lines about the program, the
// student and the subject, then four quoted lines per phrase. Line 1 is processId, line 7 the subject's text
// (SubjectRef::subjectText), line 10 each phrase's identity (its installed subject file and number).
QStringList Exchange_File_Lines(
    const Session& session, const StudySet& set, const QString& subjectText, qint64 processId);

// Writes the exchange file into the temporary folder, never half-written; false with the reason on failure.
bool Write_Exchange_File(const Session& session, const StudySet& set, const QString& subjectText, QString* error);
