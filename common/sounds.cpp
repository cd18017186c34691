#include "sounds.h"

#include <stdexcept>

#include <QFile>

#include "common/modmain.h"
#include "platform/services.h"
#include "resources/resourcepaths.h"

void Play_Sound_File(const QString& path, int flags) { platform::services().sound->playFile(path, flags); }

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
    modMain.ClickSoundBuffer = std::move(bytes);
    sound->playMemory(modMain.ClickSoundBuffer, flags);
}

void Play_Click()
{
    try {
        Play_Resource_Sound(QStringLiteral("click"), platform::SndAsync);
    } catch (const std::exception&) {
    }
}
