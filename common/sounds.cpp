#include "sounds.h"

#include <stdexcept>

#include <QFile>

#include "platform/services.h"
#include "resources/resourcepaths.h"

void Play_Sound_File(const QString& path, int flags) { platform::services().sound->playFile(path, flags); }

namespace {
// A sound played from memory may be read while it plays; the bytes live here until the next sound replaces them.
QByteArray& playingBytes()
{
    static QByteArray bytes;
    return bytes;
}
}

void Play_Resource_Sound(const QString& name, int flags)
{
    QFile resource(resources::soundResource(name));
    if (resource.fileName().isEmpty() || !resource.open(QIODevice::ReadOnly))
        throw std::runtime_error("Resource not found: " + name.toStdString());
    QByteArray bytes = resource.readAll();
    flags |= platform::SndMemory;
    platform::Sound* sound = platform::services().sound;
    // The new bytes replace the old only once the old sound is stopped, so nothing plays from freed memory.
    sound->stop();
    playingBytes() = std::move(bytes);
    sound->playMemory(playingBytes(), flags);
}

void Play_Click()
{
    try {
        Play_Resource_Sound(QStringLiteral("click"), platform::SndAsync);
    } catch (const std::exception&) {
    }
}
