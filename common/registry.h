#pragma once

#include <QString>

struct Session;

// The key of a product's values under the current user.
QString Program_Key(const QString& programCode);
QString Get_Reg_String(const QString& key, const QString& valueName, const QString& defaultText);
void Save_Reg_String(const QString& key, const QString& valueName, const QString& text);
// Writes a value only when its stored text differs from the current one other than in letter case.
void Refresh_Reg_String(const QString& programCode, const QString& valueName, const QString& current);
// Records the session's folders for the activities and tools of its product.
void Record_Folders(const Session& session);
