#pragma once

#include <QString>

// The key of this product's values under the current user.
QString Program_Key();
QString Get_Reg_String(const QString& key, const QString& valueName, const QString& defaultText);
void Save_Reg_String(const QString& key, const QString& valueName, const QString& text);
// Writes a value only when its stored text differs from the current one other than in letter case.
void Refresh_Reg_String(const QString& valueName, const QString& current);
// Records the folders for the activities and tools of the product.
void Record_Folders();
