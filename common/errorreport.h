#pragma once

#include <QString>

// The one way unexpected failures are shown: interface text 149, the procedure and the description.
void Error_Report(const QString& procedure, const QString& description);
QString Error_Report_Text(const QString& procedure, const QString& description);

// Before the interface texts exist nothing can be worded from the template; this fixed two-language text
// names the template file and the failure.
QString Template_Failure_Text(const QString& templatePath, const QString& description);
