#include "statuslog.h"

namespace {
StatusLog* showing = nullptr;
}

void Set_Status_Log_Window(StatusLog* log) { showing = log; }

void Unset_Status_Log_Window(const StatusLog* log)
{
    if (showing == log)
        showing = nullptr;
}

void Put_Status_Line(const QString& text)
{
    if (Status_Log_Showing())
        showing->Put_Status_Line(text);
}

void Set_Status_Log(const QString& text)
{
    if (Status_Log_Showing())
        showing->Set_Status_Log(text);
}

bool Status_Log_Showing() { return showing && showing->Status_Log_Visible(); }
