#pragma once

#include <QString>

// The folder of the running program, ending with a separator.
QString Get_App_Path();
// The folder for exchange and other temporary files, ending with a separator.
QString Get_Temp_Path();
// Appends the separator unless the text already ends with one.
QString With_Separator(const QString& folder);
