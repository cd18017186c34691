#pragma once

#include <QString>

// Who is studying what, and where the files are: the product identity, the folders and the student. The
// windows and procedures that need them are handed this value.
struct Session
{
    QString ProgramCode;
    QString ProductName;
    QString InterfaceLanguage;
    QString TaughtLanguage;
    QString SubjectExtension;
    QString DataDir;
    QString InstalledSubjectsDir;
    QString VirtualSubjectsDir;
    QString CurrentStudent;
};
