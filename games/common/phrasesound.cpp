#include "phrasesound.h"

#include <QAudioDevice>
#include <QFileInfo>
#include <QMediaDevices>

#include "platform/services.h"
#include "platform/wave.h"

namespace games {

bool soundOutputPresent() { return !QMediaDevices::audioOutputs().isEmpty(); }

Hearing PhraseSound::check(const QString& path, bool output)
{
    if (!output)
        return Hearing::NoOutput;
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return Hearing::NoFile;
    const platform::WaveInfo wave = platform::readWaveFile(path);
    return wave.valid && wave.dataBytes > 0 ? Hearing::Yes : Hearing::Unplayable;
}

Hearing PhraseSound::play(const QString& path, bool output)
{
    const Hearing hearing = check(path, output);
    if (hearing != Hearing::Yes)
        return hearing;
    // Asynchronous: the window stays responsive, and a new sound replaces the one still playing.
    if (platform::Sound* sound = platform::services().sound)
        sound->playFile(path, platform::SndAsync);
    return hearing;
}

void PhraseSound::stop()
{
    if (platform::Sound* sound = platform::services().sound)
        sound->stop();
}

}
