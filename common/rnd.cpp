#include "rnd.h"

#include <QRandomGenerator>

#include "platform/services.h"

namespace {
QRandomGenerator& generator()
{
    static QRandomGenerator g;
    return g;
}

std::function<double()>& script()
{
    static std::function<double()> s;
    return s;
}
}

void Randomize()
{
    const qint64 ms = platform::services().clock->now().toMSecsSinceEpoch();
    generator().seed(static_cast<quint32>(ms ^ (ms >> 32)));
}

double Rnd()
{
    if (script()) {
        const double r = script()();
        // A scripted number outside [0, 1) would pick a file that does not exist.
        return r < 0.0 ? 0.0 : (r >= 1.0 ? 0.999999 : r);
    }
    return generator().generateDouble();
}

void Set_Rnd_Script(std::function<double()> s) { script() = std::move(s); }
