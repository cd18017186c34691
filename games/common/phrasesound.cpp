#include "phrasesound.h"

#include "platform/services.h"
#include "platform/wave.h"

namespace games {

bool PhraseSound::isPlayable(const QString& path) { return !path.isEmpty() && platform::readWaveFile(path).valid; }

bool PhraseSound::play(const QString& path)
{
    if (!isPlayable(path))
        return false;
    // Asynchronous: the window stays responsive, and a new sound replaces the one still playing.
    if (platform::Sound* sound = platform::services().sound)
        sound->playFile(path, platform::SndAsync);
    return true;
}

void PhraseSound::stop()
{
    if (platform::Sound* sound = platform::services().sound)
        sound->stop();
}

}
