#include "privatefiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace platform {

namespace {
    bool ownedByThisUser(const QFileInfo& info)
    {
#ifdef Q_OS_UNIX
        return info.ownerId() == ::getuid();
#else
        Q_UNUSED(info);
        return true;
#endif
    }
}

bool makePrivateFolder(const QString& folder)
{
    const QFileInfo info(folder);
    if (!info.isDir() && !QDir().mkpath(folder))
        return false;
    constexpr auto ownerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;
    if (ownedByThisUser(QFileInfo(folder)))
        QFile::setPermissions(folder, ownerOnly);
    return QFileInfo(folder).isDir();
}

QFileDevice::Permissions writersOnlyPermissions(const QString& folder)
{
    const QFileDevice::Permissions shared = QFileInfo(folder).permissions();
    QFileDevice::Permissions result = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    if (shared & QFileDevice::WriteGroup)
        result |= QFileDevice::ReadGroup | QFileDevice::WriteGroup;
    if (shared & QFileDevice::WriteOther)
        result |= QFileDevice::ReadOther | QFileDevice::WriteOther;
    return result;
}

void restrictToWriters(const QString& file)
{
    const QFileInfo info(file);
    // Only ever takes rights away: a file its owner made read-only stays so. (The "user" rights say what this
    // process may do, which for an all-powerful user is everything; setting them would give the owner rights.)
    if (info.isFile() && ownedByThisUser(info))
        QFile::setPermissions(file, info.permissions() & writersOnlyPermissions(info.absolutePath()));
}

}
