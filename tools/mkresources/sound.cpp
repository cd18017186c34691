#include "sound.h"

#include <cmath>

#include "canvas.h"
#include "platform/wave.h"

namespace mkres {

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
    return platform::makeWave8(samples, rate);
}

}
