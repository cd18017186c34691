#pragma once

#include <QString>

// Start-up progress: each line goes to the top of the start-up window's log (newest first) and the log is
// repainted at once. Nothing happens when no log is showing.
void Put_Status_Line(const QString& text);
// Replaces the whole log.
void Set_Status_Log(const QString& text);
bool Status_Log_Showing();

// The window that shows the log registers itself while it is open; the shared base knows no window.
class StatusLog
{
public:
    virtual ~StatusLog() = default;
    virtual void Put_Status_Line(const QString& text) = 0;
    virtual void Set_Status_Log(const QString& text) = 0;
    virtual bool Status_Log_Visible() const = 0;
};
void Set_Status_Log_Window(StatusLog* log);
void Unset_Status_Log_Window(const StatusLog* log);
