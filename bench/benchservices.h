#pragma once

#include "platform/services.h"
#include "tests/support/fakes.h"

// The services a benchmark runs with: the real event loop, timers and process starts; no sound device, no
// network, no modal box (a message is recorded and the run goes on), settings kept in memory.
namespace bench {

// The real clock, except that a wait may be skipped: each pass through pending events then counts as a second,
// so a wait still lets events run once but costs no time.
class Clock : public platform::Clock
{
public:
    qint64 monotonicMs() override;
    QDateTime now() override;
    void processEvents() override;
    bool skipWaits = false;

private:
    qint64 m_skipped = 0;
};

struct Environment
{
    Environment();
    ~Environment();
    fakes::Dialogs dialogs;
    fakes::Shell shell;
    fakes::Sound sound;
    fakes::Network network;
    fakes::Registry registry;
    Clock clock;
    platform::Services previous;
};

}
