#pragma once

#include <QString>

struct Session;

// Works out the session's DataDir, InstalledSubjectsDir and VirtualSubjectsDir and the activities folder from
// its ProgramDir and product; on the first run of a read-only installation copies the shipped virtual subjects
// into the data folder.
void Set_Paths(Session& session, QString* activitiesDir);
bool Is_Folder_Read_Only(const QString& folder);
// The user's local application data folder without a trailing separator, or "" after a message.
QString Get_Application_Data_Folder();
// False after the error report when the copy failed.
bool Copy_Folder(const QString& source, const QString& destination);

inline const char* SupportAddress = "support@parlanta.example";
