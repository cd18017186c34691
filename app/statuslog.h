#pragma once

#include <QString>

// Start-up progress: each line goes to the top of the start-up window's log (newest first) and the log is
// repainted at once. Nothing happens when the start-up window is not showing.
void Put_Status_Line(const QString& text);
// Replaces the whole log.
void Set_Status_Log(const QString& text);
bool Status_Log_Showing();
