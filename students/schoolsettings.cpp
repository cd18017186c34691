#include "schoolsettings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include "common/captions.h"
#include "common/failuretext.h"

namespace {

constexpr char SettingsFileName[] = "SchoolServer.ini";

QString settingsFileText(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

}

QString School_Settings_Path(const QString& dataDir) { return dataDir + QLatin1String(SettingsFileName); }

QString Deployed_School_Settings_Path()
{
    // The user's own configuration folder comes first in the list; a file there is nobody's deployment.
    const QString own = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    for (const QString& dir : QStandardPaths::standardLocations(QStandardPaths::GenericConfigLocation)) {
        const QString path = dir + QStringLiteral("/Parlanta/") + QLatin1String(SettingsFileName);
        if (dir != own && QFile::exists(path))
            return path;
    }
    return QString();
}

QString School_Settings_In_Use(const QString& dataDir)
{
    const QString own = School_Settings_Path(dataDir);
    return QFile::exists(own) ? own : Deployed_School_Settings_Path();
}

platform::ServerAddress Parse_School_Settings(const QString& text)
{
    platform::ServerAddress address;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        const QString trimmed = line.trimmed();
        const qsizetype equals = trimmed.indexOf(QLatin1Char('='));
        if (trimmed.startsWith(QLatin1Char('#')) || trimmed.startsWith(QLatin1Char(';')) || equals < 0)
            continue;
        const QString key = trimmed.left(equals).trimmed().toLower();
        const QString value = trimmed.mid(equals + 1).trimmed();
        // A password keeps the blanks it begins or ends with: only the one after "=" and a Windows line end go.
        QString password = line.mid(line.indexOf(QLatin1Char('=')) + 1);
        if (password.endsWith(QLatin1Char('\r')))
            password.chop(1);
        if (password.startsWith(QLatin1Char(' ')))
            password.remove(0, 1);
        if (key == QLatin1String("host"))
            address.host = value;
        else if (key == QLatin1String("port"))
            address.port = value.toInt() > 0 ? value.toInt() : address.port;
        else if (key == QLatin1String("database"))
            address.database = value;
        else if (key == QLatin1String("user"))
            address.user = value;
        else if (key == QLatin1String("password"))
            address.password = password;
        else if (key == QLatin1String("sslmode"))
            address.sslMode = value;
        else if (key == QLatin1String("sslrootcert"))
            address.sslRootCert = value;
    }
    return address;
}

QString School_Settings_Text(const platform::ServerAddress& address)
{
    return QStringLiteral("# The school server this computer exchanges its students and results with.\n"
                          "host = %1\nport = %2\ndatabase = %3\nuser = %4\npassword = %5\nsslmode = %6\n"
                          "sslrootcert = %7\n")
        .arg(address.host, QString::number(address.port), address.database, address.user, address.password,
            address.sslMode, address.sslRootCert);
}

platform::ServerAddress Read_School_Settings(const QString& dataDir)
{
    const QString path = School_Settings_In_Use(dataDir);
    return path.isEmpty() ? platform::ServerAddress() : Parse_School_Settings(settingsFileText(path));
}

bool Write_School_Settings(const QString& dataDir, const platform::ServerAddress& address, QString* error)
{
    for (const QString& value :
        { address.host, address.database, address.user, address.password, address.sslMode, address.sslRootCert }) {
        if (value.contains(QLatin1Char('\n')) || value.contains(QLatin1Char('\r'))) {
            *error = Caption(234);
            return false;
        }
    }
    const QString path = School_Settings_Path(dataDir);
    constexpr auto ownerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    // QSaveFile makes its new file with the old one's rights, or with everybody's when there is none: an empty
    // owner-only file first means no other user can ever open the new one, not even before the password is in it.
    const bool placeholder = !QFile::exists(path);
    if (placeholder)
        QFile(path).open(QIODevice::WriteOnly | QIODevice::NewOnly, ownerOnly);
    QSaveFile file(path);
    const QByteArray bytes = School_Settings_Text(address).toUtf8();
    const bool written = file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) && file.setPermissions(ownerOnly)
        && file.write(bytes) == bytes.size() && file.commit();
    if (!written) {
        *error = Failure_Text(platform::fileFailure(file.error(), QFileInfo(dataDir).isDir(), true),
            QDir::toNativeSeparators(path), file.errorString());
        // An empty file of its own would hide the school's deployed one.
        if (placeholder)
            QFile::remove(path);
    }
    return written;
}

bool Forget_School_Settings(const QString& dataDir)
{
    const QString own = School_Settings_Path(dataDir);
    return !QFile::exists(own) || QFile::remove(own);
}
