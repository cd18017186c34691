#pragma once

#include <QString>

// Works out DataDir, InstalledSubjectsDir, VirtualSubjectsDir and the activities folder; on the first run of
// a read-only installation copies the shipped virtual subjects into the data folder.
void Set_Paths(QString* activitiesDir);
bool Is_Folder_Read_Only(const QString& folder);
// The user's local application data folder without a trailing separator, or "" after a message.
QString Get_Application_Data_Folder();
// False after the error report when the copy failed.
bool Copy_Folder(const QString& source, const QString& destination);

inline const char* SupportAddress = "support@parlanta.example";
