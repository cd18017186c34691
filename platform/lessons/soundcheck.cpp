#include "platform/lessons/soundcheck.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "platform/lessons/audiodecode.h"
#include "platform/wave.h"

namespace lessons {

namespace {

    double decibels(int sample) { return sample == 0 ? -120.0 : 20.0 * std::log10(sample / 32768.0); }

    // The bounds come from every phrase of the phrasebook spoken at the build's pace (53 to 187 ms a letter); a
    // cut or a voice that spells out its text falls well outside them.
    constexpr int FewestMsPerLetter = 25;
    constexpr int MostMsPerLetter = 300;

    const double VoiceFloor = std::pow(10.0, VoiceFloorDb / 20.0) * 32768.0;

    // The 16-bit samples of any sound, at SubjectSampleRate; empty when it holds none.
    QByteArray pcmOf(const QByteArray& sound)
    {
        QString problem;
        const QByteArray wave = decodeToWave(sound, &problem);
        const platform::WaveInfo info = platform::readWaveInfo(wave);
        if (!problem.isEmpty() || !info.valid || info.bitsPerSample != 16 || info.dataBytes < 2)
            return {};
        return wave.right(info.dataBytes & ~qint64(1));
    }

    int magnitudeAt(const QByteArray& pcm, qsizetype i)
    {
        qint16 sample;
        std::memcpy(&sample, pcm.constData() + i * 2, 2);
        return std::abs(static_cast<int>(sample));
    }
}

SoundLevels measureSound(const QByteArray& sound)
{
    SoundLevels levels;
    const QByteArray pcm = pcmOf(sound);
    if (pcm.isEmpty())
        return levels;
    const qsizetype count = pcm.size() / 2;
    const qsizetype tail = std::max<qsizetype>(count - SubjectSampleRate / 50, 0);
    int peak = 0;
    int endPeak = 0;
    qsizetype first = -1;
    qsizetype last = -1;
    for (qsizetype i = 0; i < count; ++i) {
        const int magnitude = magnitudeAt(pcm, i);
        peak = std::max(peak, magnitude);
        if (i >= tail)
            endPeak = std::max(endPeak, magnitude);
        if (magnitude > VoiceFloor) {
            if (first < 0)
                first = i;
            last = i;
        }
    }
    levels.valid = true;
    levels.durationMs = count * 1000 / SubjectSampleRate;
    levels.voicedMs = first < 0 ? 0 : (last - first + 1) * 1000 / SubjectSampleRate;
    levels.peakDb = decibels(peak);
    levels.endDb = decibels(endPeak);
    return levels;
}

QByteArray trimTrailingSilence(const QByteArray& sound, int keepMs)
{
    const QByteArray pcm = pcmOf(sound);
    if (pcm.isEmpty())
        return {};
    qsizetype last = pcm.size() / 2 - 1;
    while (last > 0 && magnitudeAt(pcm, last) <= VoiceFloor)
        --last;
    const qsizetype keep = std::min(pcm.size() / 2, last + 1 + qsizetype(keepMs) * SubjectSampleRate / 1000);
    return platform::makeWave(pcm.left(keep * 2), SubjectSampleRate);
}

QString spokenSoundProblem(const QByteArray& sound, const QString& text)
{
    const SoundLevels levels = measureSound(sound);
    if (!levels.valid)
        return QStringLiteral("the sound holds no samples");
    if (levels.peakDb < AudibleDb)
        return QStringLiteral("the sound is nearly silent (loudest %1 dB)").arg(levels.peakDb, 0, 'f', 1);
    if (levels.endDb > EndQuietDb)
        return QStringLiteral("the sound stops mid-word (%1 dB in its last 20 ms)").arg(levels.endDb, 0, 'f', 1);
    qint64 letters = 0;
    for (const QChar c : text)
        letters += c.isLetterOrNumber() ? 1 : 0;
    if (levels.voicedMs < letters * FewestMsPerLetter)
        return QStringLiteral("%1 ms of voice is too short for %2 letters").arg(levels.voicedMs).arg(letters);
    if (levels.voicedMs > letters * MostMsPerLetter)
        return QStringLiteral("%1 ms of voice is too long for %2 letters").arg(levels.voicedMs).arg(letters);
    return {};
}

}
