#include "registry.h"

#include "common/apppath.h"
#include "common/modmain.h"
#include "platform/services.h"

QString Program_Key() { return QStringLiteral("Software\\Parlanta\\") + modMain.ProgramCode; }

QString Get_Reg_String(const QString& key, const QString& valueName, const QString& defaultText)
{
    return platform::services().registry->read(key, valueName, defaultText);
}

void Save_Reg_String(const QString& key, const QString& valueName, const QString& text)
{
    platform::services().registry->write(key, valueName, text);
}

void Refresh_Reg_String(const QString& valueName, const QString& current)
{
    const QString stored = Get_Reg_String(Program_Key(), valueName, QString());
    if (stored.toUpper() != current.toUpper())
        Save_Reg_String(Program_Key(), valueName, current);
}

void Record_Folders()
{
    Refresh_Reg_String(QStringLiteral("ProgramDir"), Get_App_Path());
    Refresh_Reg_String(QStringLiteral("InstalledSubjectsDir"), modMain.InstalledSubjectsDir);
    Refresh_Reg_String(QStringLiteral("VirtualSubjectsDir"), modMain.VirtualSubjectsDir);
}
