#include "activitypanel.h"

#include "app/frmmain.h"

ActivityPanel::ActivityPanel(frmMain& window)
    : m_window(window)
{
}

void ActivityPanel::Get_Settings() { }
void ActivityPanel::Get_Activities() { }
