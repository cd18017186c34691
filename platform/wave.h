#pragma once

#include <QByteArray>

namespace platform {

struct WaveInfo
{
    bool valid = false;
    int channels = 0;
    int sampleRate = 0;
    int bitsPerSample = 0;
    qint64 dataBytes = 0;
    qint64 durationMs = 0;
};

// Reads the RIFF/WAVE header (the chunks before and including "data"); valid is false for anything else.
WaveInfo readWaveInfo(const QByteArray& bytes);
WaveInfo readWaveFile(const QString& path);

// A 16-bit mono PCM WAVE file around the given samples.
QByteArray makeWave(const QByteArray& pcm16, int sampleRate);
// An unsigned 8-bit mono PCM WAVE file around the given samples.
QByteArray makeWave8(const QByteArray& samples, int sampleRate);

}
