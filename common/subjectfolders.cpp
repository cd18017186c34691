#include "subjectfolders.h"

#include <QFileInfo>

#include "session.h"

QStringList Installed_Subject_Folders(const Session& session)
{
    QStringList folders { session.InstalledSubjectsDir };
    if (!session.ImportedSubjectsDir.isEmpty()
        && QFileInfo(session.ImportedSubjectsDir).absoluteFilePath()
            != QFileInfo(session.InstalledSubjectsDir).absoluteFilePath())
        folders << session.ImportedSubjectsDir;
    return folders;
}

QString Installed_Subject_Path(const Session& session, const QString& file)
{
    const QString own = session.InstalledSubjectsDir + file;
    const QStringList folders = Installed_Subject_Folders(session);
    if (folders.size() == 1 || QFileInfo::exists(own))
        return own;
    const QString imported = session.ImportedSubjectsDir + file;
    return QFileInfo::exists(imported) ? imported : own;
}
