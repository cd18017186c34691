#pragma once

#include <QByteArray>
#include <QString>

namespace lessons {

// Levels in decibels against full scale (0 dB is the loudest sample a 16-bit sound holds).
struct SoundLevels
{
    bool valid = false;
    qint64 durationMs = 0;
    qint64 voicedMs = 0; // from the first to the last sample above the voice floor
    double peakDb = -120;
    double endDb = -120; // loudest sample of the last 20 ms
};

constexpr double VoiceFloorDb = -40; // quieter than this is breath or hiss, not a voice
constexpr double AudibleDb = -20; // a phrase peaking below this is lost under a classroom's noise
constexpr double EndQuietDb = -50; // a recording that stops above this was cut off mid-sound

// The levels of any sound libsndfile reads; valid is false when it holds no samples.
SoundLevels measureSound(const QByteArray& sound);

// The sound with its trailing silence cut to keepMs after the last sample above the voice floor, as a 16-bit mono
// WAVE at SubjectSampleRate; empty when it holds no samples. A speech synthesiser ends each phrase with a pause as
// long as a sentence break, a fifth of the whole, which a subject would otherwise carry ten times over.
QByteArray trimTrailingSilence(const QByteArray& sound, int keepMs);

// Why a synthesised phrase's sound would not serve a learner: nearly silent, cut off, or far too short or long for
// the letters of its text. Empty when it serves.
QString spokenSoundProblem(const QByteArray& sound, const QString& text);

}
