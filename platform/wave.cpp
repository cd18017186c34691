#include "wave.h"

#include <algorithm>

#include <QFile>
#include <QtEndian>

namespace platform {

namespace {
    quint32 u32(const QByteArray& b, qsizetype at) { return qFromLittleEndian<quint32>(b.constData() + at); }
    quint16 u16(const QByteArray& b, qsizetype at) { return qFromLittleEndian<quint16>(b.constData() + at); }

    // A mono PCM file. RIFF chunks have even sizes, so an odd number of 8-bit samples gets one more of silence.
    QByteArray pcmWave(const QByteArray& samples, int sampleRate, quint16 bitsPerSample, char silence)
    {
        QByteArray out;
        // Exactly the file's size: grown by appending, a sound kept its spare capacity, and an import that holds
        // thousands of sounds held nearly twice their bytes.
        out.reserve(44 + samples.size() + (samples.size() & 1));
        auto put32 = [&out](quint32 v) {
            char b[4];
            qToLittleEndian(v, b);
            out.append(b, 4);
        };
        auto put16 = [&out](quint16 v) {
            char b[2];
            qToLittleEndian(v, b);
            out.append(b, 2);
        };
        const auto size = static_cast<quint32>(samples.size());
        const quint16 blockAlign = bitsPerSample / 8;
        out.append("RIFF");
        put32(36 + size + (size & 1));
        out.append("WAVEfmt ");
        put32(16);
        put16(1); // PCM
        put16(1); // mono
        put32(static_cast<quint32>(sampleRate));
        put32(static_cast<quint32>(sampleRate) * blockAlign); // bytes per second
        put16(blockAlign);
        put16(bitsPerSample);
        out.append("data");
        put32(size);
        out.append(samples);
        if (size & 1)
            out.append(silence);
        return out;
    }
}

WaveInfo readWaveInfo(const QByteArray& bytes, qint64 fileBytes)
{
    if (fileBytes < 0)
        fileBytes = bytes.size();
    WaveInfo info;
    if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE")
        return info;
    qsizetype at = 12;
    bool haveFormat = false;
    int blockAlign = 0;
    while (at + 8 <= bytes.size()) {
        const QByteArray id = bytes.mid(at, 4);
        const quint32 size = u32(bytes, at + 4);
        const qsizetype body = at + 8;
        if (id == "fmt ") {
            if (size < 16 || body + 16 > bytes.size())
                return info;
            info.channels = u16(bytes, body + 2);
            info.sampleRate = static_cast<int>(u32(bytes, body + 4));
            blockAlign = u16(bytes, body + 12);
            info.bitsPerSample = u16(bytes, body + 14);
            haveFormat = true;
        } else if (id == "data") {
            if (!haveFormat || info.sampleRate <= 0 || blockAlign <= 0)
                return info;
            info.dataBytes = std::min<qint64>(size, std::max<qint64>(0, fileBytes - body));
            info.durationMs = info.dataBytes / blockAlign * 1000 / info.sampleRate;
            info.valid = true;
            return info;
        }
        at = body + size + (size & 1);
    }
    return info;
}

WaveInfo readWaveFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return readWaveInfo(file.read(4096), file.size());
}

QByteArray makeWave(const QByteArray& pcm16, int sampleRate) { return pcmWave(pcm16, sampleRate, 16, '\0'); }

QByteArray makeWave8(const QByteArray& samples, int sampleRate) { return pcmWave(samples, sampleRate, 8, '\x80'); }

}
