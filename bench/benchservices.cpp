#include "benchservices.h"

#include <QCoreApplication>
#include <QElapsedTimer>

namespace bench {

namespace {
    QElapsedTimer& started()
    {
        static QElapsedTimer timer = [] {
            QElapsedTimer t;
            t.start();
            return t;
        }();
        return timer;
    }
}

qint64 Clock::monotonicMs() { return started().elapsed() + m_skipped; }

QDateTime Clock::now() { return QDateTime::currentDateTime().addMSecs(m_skipped); }

void Clock::processEvents()
{
    QCoreApplication::processEvents();
    if (skipWaits)
        m_skipped += 1000;
}

Environment::Environment()
    : previous(platform::services())
{
    platform::installQtServices();
    platform::Services s = platform::services();
    s.dialogs = &dialogs;
    s.shell = &shell;
    s.sound = &sound;
    s.network = &network;
    s.registry = &registry;
    s.clock = &clock;
    platform::installServices(s);
}

Environment::~Environment() { platform::installServices(previous); }

}
