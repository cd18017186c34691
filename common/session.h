#pragma once

#include <QString>
#include <QtGlobal>

// Who is studying what, and where the files are: the product identity, the folders and the student. The
// windows and procedures that need them are handed this value.
struct Session
{
    QString ProgramCode;
    QString ProductName;
    QString InterfaceLanguage;
    QString TaughtLanguage;
    QString SubjectExtension;
    // The program folder (the template, the installed subjects, the activities), ending with a separator.
    QString ProgramDir;
    QString DataDir;
    QString InstalledSubjectsDir;
    // Where imported lessons go: the installed subjects folder itself when the user may write it, otherwise the
    // folder of that name in the data folder, which the subject tree lists beside it.
    QString ImportedSubjectsDir;
    QString VirtualSubjectsDir;
    QString CurrentStudent;
    // The number that names this run's exchange files (one for the whole run).
    qint64 ExchangeNumber = 0;
};
