#include "speechaudio.h"

#include <algorithm>
#include <cmath>

#include <QFile>
#include <QFileInfo>

#include "aubiohandles.h"
#include "platform/wave.h"

namespace games {

namespace {

    constexpr uint_t kReadBlock = 1024;
    constexpr std::size_t kMaxSpeechSamples = std::size_t(kSpeechMaxSeconds) * kSpeechRate;
    // libsamplerate's fastest band-limited converter: speech analysed up to 8 kHz needs no better.
    constexpr uint_t kSincFastest = 2;

    SpeechAudio failedAudio(SpeechAudioFailure failure)
    {
        SpeechAudio audio;
        audio.failure = failure;
        return audio;
    }

}

SpeechAudio readSpeechAudio(const QString& path)
{
    if (!QFileInfo(path).isFile())
        return failedAudio(SpeechAudioFailure::NoFile);
    const QByteArray name = QFile::encodeName(path);
    const AubioSource source(new_aubio_source(name.constData(), kSpeechRate, kReadBlock));
    if (!source || aubio_source_get_samplerate(source.get()) != uint_t(kSpeechRate))
        return failedAudio(SpeechAudioFailure::NotSound);
    const AubioFvec block(new_fvec(kReadBlock));
    SpeechAudio audio;
    uint_t read = kReadBlock;
    while (read == kReadBlock && audio.samples.size() < kMaxSpeechSamples) {
        read = 0;
        aubio_source_do(source.get(), block.get(), &read);
        audio.samples.insert(audio.samples.end(), block->data, block->data + std::min(read, kReadBlock));
    }
    audio.samples.resize(std::min(audio.samples.size(), kMaxSpeechSamples));
    return audio;
}

SpeechAudio speechAudio(const std::vector<float>& samples, int sampleRate)
{
    if (sampleRate <= 0)
        return failedAudio(SpeechAudioFailure::NotSound);
    const std::size_t kept = std::min(samples.size(), std::size_t(kSpeechMaxSeconds) * std::size_t(sampleRate));
    SpeechAudio audio;
    if (sampleRate == kSpeechRate || kept == 0) {
        audio.samples.assign(samples.begin(), samples.begin() + std::ptrdiff_t(kept));
        return audio;
    }
    const double ratio = double(kSpeechRate) / sampleRate;
    const AubioResampler resampler(new_aubio_resampler(smpl_t(ratio), kSincFastest));
    if (!resampler)
        return failedAudio(SpeechAudioFailure::NotSound);
    audio.samples.resize(std::size_t(double(kept) * ratio));
    const fvec_t in = aubioView(samples.data(), uint_t(kept));
    fvec_t out = aubioView(audio.samples.data(), uint_t(audio.samples.size()));
    aubio_resampler_do(resampler.get(), &in, &out);
    return audio;
}

QByteArray speechWave(const std::vector<float>& samples)
{
    QByteArray pcm(qsizetype(samples.size()) * 2, Qt::Uninitialized);
    auto* out = reinterpret_cast<qint16*>(pcm.data());
    for (size_t i = 0; i < samples.size(); ++i)
        out[i] = qint16(std::lround(std::clamp(samples[i], -1.f, 1.f) * 32767));
    return platform::makeWave(pcm, kSpeechRate);
}
}
