#include "platform/lessons/filemedia.h"

#include <filesystem>
#include <system_error>

#include <QDir>
#include <QFile>

#include "platform/lessons/deckfile.h"

namespace lessons {

FileMedia::FileMedia(QString folder)
    : m_folder(std::move(folder))
{
}

std::optional<QByteArray> FileMedia::read(const QString& name, QString* problem) const
{
    const auto fail = [problem](const QString& why) {
        if (problem)
            *problem = why;
        return std::nullopt;
    };
    if (name.trimmed().isEmpty())
        return fail(QStringLiteral("no sound file is named"));
    // The system would cut the name at the NUL and read another file than the one named.
    if (name.contains(QChar(u'\0')))
        return fail(QStringLiteral("the sound file name \"%1\" contains a NUL character")
                        .arg(QString(name).replace(QChar(u'\0'), u'?')));

    const QString path = QDir::cleanPath(QDir(m_folder).absoluteFilePath(name));
    std::error_code error;
    // Follows links, so a link to a recording is read and a device or pipe (which could block or never end) is not.
    if (!std::filesystem::is_regular_file(std::filesystem::path(path.toStdU16String()), error)) {
        if (std::filesystem::exists(std::filesystem::path(path.toStdU16String()), error))
            return fail(QStringLiteral("sound file %1 is not a regular file").arg(path));
        return fail(QStringLiteral("sound file %1 not found").arg(path));
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("cannot read sound file %1: %2").arg(path, file.errorString()));
    const auto tooLarge = [&] {
        return fail(QStringLiteral("sound file %1 has more than %2 MB; a phrase's sound is far smaller")
                        .arg(path)
                        .arg(MaxBytes >> 20));
    };
    if (file.size() > MaxBytes)
        return tooLarge();
    // Not trusting the size alone: the file may grow meanwhile.
    std::optional<QByteArray> bytes = readAtMost(file, MaxBytes);
    if (!bytes)
        return tooLarge();
    if (file.error() != QFileDevice::NoError)
        return fail(QStringLiteral("cannot read sound file %1: %2").arg(path, file.errorString()));
    return bytes;
}

}
