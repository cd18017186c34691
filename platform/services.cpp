#include "services.h"

#include <QGuiApplication>
#include <QScreen>

namespace platform {

Services& services()
{
    static Services current;
    return current;
}

void installServices(const Services& s)
{
    services() = s;
}

namespace {
    double logicalDpi()
    {
        if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
            if (QScreen* screen = app->primaryScreen())
                return screen->logicalDotsPerInchX();
        }
        return 96.0;
    }
}

int twips(int value)
{
    return qRound(value * logicalDpi() / 1440.0);
}

int toTwips(int pixels)
{
    return qRound(pixels * 1440.0 / logicalDpi());
}

}
