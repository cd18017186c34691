#pragma once

#include <QString>

namespace games {

// Whether the learner can hear a phrase: the computer needs a sound output, the phrase a sound file that plays.
enum class Hearing {
    Yes,
    NoOutput, // no device to play sound on
    NoFile, // the file is not named or not there (the main program deletes it when it closes)
    Unplayable, // not a WAVE file, or one without sound
};

// Whether this computer has a device to play sound on; a game asks once, at its start.
bool soundOutputPresent();

// Plays the phrase sound files the main program wrote beside the exchange file.
class PhraseSound
{
public:
    static Hearing check(const QString& path, bool output);
    // Starts the sound and returns at once; anything but Yes means silence.
    static Hearing play(const QString& path, bool output);
    static void stop();
};

}
