#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The exchange file that hands a study set to an activity program: fifteen lines about the program, the
// student and the subject, then four quoted lines per phrase (entries 1 to StudyPhraseCount of
// StudyPhrases). Line 1 is processId, line 7 the subject's text as the tree shows it.
QStringList Exchange_File_Lines(const QString& subjectText, qint64 processId);
// The lines in the locale's 8-bit encoding, each ended by CR LF.
QByteArray Exchange_File_Bytes(const QStringList& lines);

// Writes the exchange file into the temporary folder under a temporary name and renames it into place, so
// an activity never reads a half-written file; false with the reason on failure.
bool Write_Exchange_File(const QString& subjectText, QString* error);
