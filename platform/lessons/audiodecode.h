#pragma once

#include <QByteArray>
#include <QString>

namespace lessons {

// The sample rate of the sounds the program ships; imported sounds are brought to it so that every subject's
// sounds play alike and none is larger than it need be.
constexpr int SubjectSampleRate = 22050;

// Any sound libsndfile reads (WAVE, FLAC, OGG/Vorbis, Opus, MP3...), decoded from memory into a mono 16-bit PCM
// WAVE file at SubjectSampleRate. Empty with *problem set when the bytes are no sound, hold no samples, or would
// make a sound larger than a subject takes (MaxSoundBytes).
QByteArray decodeToWave(const QByteArray& encoded, QString* problem);

}
