#pragma once

#include <QString>

namespace games {

// Plays the phrase sound files the main program wrote beside the exchange file.
class PhraseSound
{
public:
    // Starts the sound and returns at once; false (and silence) when the file is missing or is no WAVE file.
    static bool play(const QString& path);
    static bool isPlayable(const QString& path);
    static void stop();
};

}
