#include "registry.h"

#include "common/session.h"
#include "platform/services.h"

QString Program_Key(const QString& programCode) { return QStringLiteral("Software\\Parlanta\\") + programCode; }

QString Get_Reg_String(const QString& key, const QString& valueName, const QString& defaultText)
{
    return platform::services().registry->read(key, valueName, defaultText);
}

void Save_Reg_String(const QString& key, const QString& valueName, const QString& text)
{
    platform::services().registry->write(key, valueName, text);
}

void Refresh_Reg_String(const QString& programCode, const QString& valueName, const QString& current)
{
    const QString key = Program_Key(programCode);
    const QString stored = Get_Reg_String(key, valueName, QString());
    if (stored.toUpper() != current.toUpper())
        Save_Reg_String(key, valueName, current);
}

void Record_Folders(const Session& session)
{
    Refresh_Reg_String(session.ProgramCode, QStringLiteral("ProgramDir"), session.ProgramDir);
    Refresh_Reg_String(session.ProgramCode, QStringLiteral("InstalledSubjectsDir"), session.InstalledSubjectsDir);
    Refresh_Reg_String(session.ProgramCode, QStringLiteral("VirtualSubjectsDir"), session.VirtualSubjectsDir);
}
