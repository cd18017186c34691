#include "fakes.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

#include "platform/services.h"

namespace fakes {

bool Shell::copyFolder(const QString& source, const QString& destination, QString* error)
{
    copies << source + QStringLiteral(" -> ") + destination;
    QString failure;
    // The fake copies for real: tests look at what arrived.
    const bool ok = [&] {
        QDir from(source);
        if (!from.exists()) {
            failure = QStringLiteral("Cannot find the folder '%1'.").arg(source);
            return false;
        }
        QDir().mkpath(destination);
        for (const QString& name : from.entryList(QDir::Files))
            QFile::copy(from.filePath(name), QDir(destination).filePath(name));
        return true;
    }();
    if (!ok && error)
        *error = failure;
    return ok;
}

bool Shell::moveToTrash(const QString& path)
{
    trashed << path;
    return hasTrash && QFile::remove(path);
}

bool Network::download(const QString& url, const QString& file, int, qint64 maxBytes)
{
    requested << url;
    if (!online || !pages.contains(url) || pages[url].size() > maxBytes)
        return false;
    QSaveFile out(file);
    return out.open(QIODevice::WriteOnly) && out.write(pages[url]) >= 0 && out.commit();
}

Environment::Environment()
    : previous(platform::services())
{
    platform::installServices({ &dialogs, &shell, &processes, &sound, &network, &registry, &clock });
}

Environment::~Environment() { platform::installServices(previous); }

}
