#include "tempfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace platform {

namespace {
    QString userTag()
    {
#ifdef Q_OS_UNIX
        return QString::number(getuid());
#else
        return qEnvironmentVariable("USERNAME", QStringLiteral("user"));
#endif
    }
}

QString privateTempFolderIn(const QString& systemTemp)
{
    if (systemTemp.isEmpty())
        return QStringLiteral("/");
    QString base = QDir::cleanPath(systemTemp);
    const QString folder = base + QStringLiteral("/parlanta-") + userTag();
    QDir().mkpath(folder);
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return folder + QLatin1Char('/');
}

QString privateTempFolder()
{
    return privateTempFolderIn(QDir::tempPath());
}

}
