#include "sound.h"

#include <QtEndian>

#include <cmath>

#include "canvas.h"

namespace mkres {

QByteArray wave8(const QByteArray& samples, int sampleRate)
{
    QByteArray out;
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
    out.append("RIFF");
    put32(36 + size + (size & 1));
    out.append("WAVEfmt ");
    put32(16);
    put16(1); // PCM
    put16(1); // mono
    put32(static_cast<quint32>(sampleRate));
    put32(static_cast<quint32>(sampleRate)); // bytes per second
    put16(1); // block align
    put16(8);
    out.append("data");
    put32(size);
    out.append(samples);
    if (size & 1)
        out.append('\x80');
    return out;
}

QByteArray clickSound()
{
    constexpr int header = 44;
    constexpr int rate = 22050;
    constexpr int count = clickFileSize - header;
    Rng rng(0xC11C4);
    QByteArray samples(count, '\x80');
    for (int i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / rate;
        // A wooden "tock": two damped partials and a breath of noise at the very start, fading to silence
        // before the end so that the last sample joins the silence after it without a pop.
        const double body = 0.62 * std::sin(2 * M_PI * 1650 * t) * std::exp(-t / 0.0032)
            + 0.30 * std::sin(2 * M_PI * 3900 * t) * std::exp(-t / 0.0014);
        const double noise = rng.uniform(-1.0, 1.0) * 0.35 * std::exp(-t / 0.0006);
        const double attack = std::min(1.0, i / 6.0);
        const double tail = std::min(1.0, (count - 1 - i) / 40.0);
        const double v = (body + noise) * attack * tail;
        samples[i] = static_cast<char>(qBound(0, 128 + static_cast<int>(std::lround(v * 120)), 255));
    }
    return wave8(samples, rate);
}

}
