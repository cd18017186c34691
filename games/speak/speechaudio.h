#pragma once

// A recording as the speech analysis reads it: mono float samples at one rate, from a sound file or from the
// samples a capture holds.

#include <vector>

#include <QByteArray>
#include <QString>

namespace games {

constexpr int kSpeechRate = 16000;
// Sound past this is not read: no phrase takes that long, and a recording left running must not fill the memory.
constexpr int kSpeechMaxSeconds = 60;

enum class SpeechAudioFailure {
    None,
    NoFile, // missing, or a folder
    NotSound, // no reader of aubio's takes it
};

struct SpeechAudio
{
    std::vector<float> samples; // mono, kSpeechRate a second
    SpeechAudioFailure failure = SpeechAudioFailure::None;

    bool ok() const { return failure == SpeechAudioFailure::None; }
    qint64 durationMs() const { return qint64(samples.size()) * 1000 / kSpeechRate; }
};

// Any sound file aubio reads (WAVE of any rate, depth and channels among them), down-mixed and resampled.
SpeechAudio readSpeechAudio(const QString& path);
// Mono samples at sampleRate, resampled; a rate of 0 or less is no sound.
SpeechAudio speechAudio(const std::vector<float>& samples, int sampleRate);
// A 16-bit mono WAVE file of samples at kSpeechRate, as a recording is kept to be heard back.
QByteArray speechWave(const std::vector<float>& samples);
}
