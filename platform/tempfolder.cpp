#include "tempfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace platform {

namespace {
#ifdef Q_OS_UNIX
    QString userTag() { return QString::number(getuid()); }

    // True when the folder is a real folder (not a link) that this user owns and nobody else may enter; a new one
    // is made so. A folder of the right name planted by someone else fails, so nothing is written where they can
    // read it or swap the files.
    bool ownPrivateFolder(const QString& folder)
    {
        const QByteArray path = QFile::encodeName(folder);
        if (::mkdir(path.constData(), 0700) != 0 && errno != EEXIST)
            return false;
        struct stat st
        {
        };
        if (::lstat(path.constData(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::getuid())
            return false;
        return (st.st_mode & 077) == 0 || ::chmod(path.constData(), 0700) == 0;
    }

    // A fresh name no one can have taken before: the way out when every predictable name is someone else's.
    QString freshPrivateFolder(const QString& base)
    {
        QByteArray pattern = QFile::encodeName(base + QStringLiteral("-XXXXXX"));
        return ::mkdtemp(pattern.data()) ? QFile::decodeName(pattern) : QString();
    }
#else
    QString userTag() { return qEnvironmentVariable("USERNAME", QStringLiteral("user")); }

    QString freshPrivateFolder(const QString&) { return {}; }

    bool ownPrivateFolder(const QString& folder)
    {
        QDir().mkpath(folder);
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        return QFileInfo(folder).isDir();
    }
#endif

    // Every process of this user walks the same names in the same order, so two runs of the program share one
    // folder rather than leaving a new one behind each time.
    constexpr int NamesTried = 100;
}

QString privateTempFolderIn(const QString& systemTemp)
{
    if (systemTemp.isEmpty())
        return QStringLiteral("/");
    const QString base = QDir::cleanPath(systemTemp) + QStringLiteral("/parlanta-") + userTag();
    for (int n = 0; n < NamesTried; ++n) {
        const QString folder = n == 0 ? base : base + QLatin1Char('-') + QString::number(n);
        if (ownPrivateFolder(folder))
            return folder + QLatin1Char('/');
    }
    const QString fresh = freshPrivateFolder(base);
    return fresh.isEmpty() ? QStringLiteral("/") : fresh + QLatin1Char('/');
}

QString privateTempFolder()
{
    // Kept for the run: a fresh folder made when the usual names were taken must stay the one every caller uses.
    static QString systemTemp;
    static QString folder;
    const QString current = QDir::tempPath();
    if (current != systemTemp || folder == QLatin1String("/") || !ownPrivateFolder(folder.chopped(1))) {
        systemTemp = current;
        folder = privateTempFolderIn(current);
    }
    return folder;
}

}
