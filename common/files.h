#pragma once

#include <QString>

// True when at least one ordinary (not hidden) file matches the path, whose file name may hold * and ?.
bool File_Exists(const QString& path);
// The connection text of a subject database.
QString Connection_String(const QString& path);
// The connection text of the template, the user database and the activity settings files.
QString Template_Connection_String(const QString& path);
// A study set, and so one launch's exchange files, hold at most this many phrases.
constexpr int MaxStudyPhrases = 10;

// The exchange files of a run: "~prl" + number + ".txt" and "~prl" + number + i + ".wav", where the number
// names the run (the session's ExchangeNumber).
QString Exchange_File_Name(qint64 number);
QString Exchange_Sound_File_Name(qint64 number, int i);
// Deletes the exchange files of the last launch (all names a launch may use); missing or locked files are
// skipped.
void Delete_Temp_Files(qint64 number);
// Deletes the mark an activity leaves once it has told the learner that sounds cannot be heard, so that the
// next run of the program tells it again, once.
void Forget_Sound_Notice();
