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
// fileBytes is the size of the whole file when bytes hold only its start. A file cut short counts only the samples
// it holds, whatever its header promises, so that no player waits for sound that is not there.
WaveInfo readWaveInfo(const QByteArray& bytes, qint64 fileBytes = -1);
WaveInfo readWaveFile(const QString& path);

// A 16-bit mono PCM WAVE file around the given samples.
QByteArray makeWave(const QByteArray& pcm16, int sampleRate);
// An unsigned 8-bit mono PCM WAVE file around the given samples.
QByteArray makeWave8(const QByteArray& samples, int sampleRate);

}
