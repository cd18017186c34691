#include "classsync.h"

#include <QtConcurrent>

#include "platform/database.h"
#include "students/classexchange.h"
#include "students/schoolsettings.h"
#include "students/syncjournal.h"

ClassSync::ClassSync(UserFile users, QString dataDir, QObject* parent)
    : QObject(parent)
    , m_users(std::move(users))
    , m_dataDir(std::move(dataDir))
{
    m_pool.setMaxThreadCount(1);
    connect(&m_watcher, &QFutureWatcher<Outcome>::finished, this, &ClassSync::ended);
    connect(&m_timer, &QTimer::timeout, this, &ClassSync::requestExchange);
    m_status.configured = Read_School_Settings(m_dataDir).isSet();
}

ClassSync::~ClassSync() { m_pool.waitForDone(); }

void ClassSync::exchangeEvery(int intervalMs)
{
    m_timer.setInterval(intervalMs);
    m_timer.start();
}

void ClassSync::requestExchange()
{
    if (m_watcher.isRunning()) {
        m_again = true;
        return;
    }
    start();
}

void ClassSync::start()
{
    m_again = false;
    SyncStatus busy = m_status;
    busy.configured = Read_School_Settings(m_dataDir).isSet();
    if (!busy.configured) {
        setStatus(SyncStatus());
        return;
    }
    busy.busy = true;
    setStatus(busy);
    m_watcher.setFuture(QtConcurrent::run(&m_pool, &ClassSync::exchange, m_users, m_dataDir));
}

ClassSync::Outcome ClassSync::exchange(const UserFile& users, const QString& dataDir)
{
    Outcome outcome;
    outcome.status.configured = true;
    try {
        outcome.received = Exchange_With_Server(users, Read_School_Settings(dataDir)).received;
        outcome.status.connected = true;
    } catch (const platform::ServerError& e) {
        outcome.status.problem = e.description();
    } catch (const platform::DbError& e) {
        outcome.status.problem = e.description();
    }
    try {
        outcome.status.waiting = Waiting_Rows(users);
        outcome.status.lastExchange = Last_Exchange(users);
    } catch (const platform::DbError&) {
        // The figures stay unknown; the problem above, or the next exchange, tells the rest.
    }
    return outcome;
}

void ClassSync::ended()
{
    const Outcome outcome = m_watcher.result();
    setStatus(outcome.status);
    if (outcome.received > 0)
        Q_EMIT arrived();
    if (m_again)
        start();
}

void ClassSync::setStatus(const SyncStatus& status)
{
    if (status == m_status)
        return;
    m_status = status;
    Q_EMIT statusChanged(m_status);
}

bool ClassSync::finish(int waitMs)
{
    m_timer.stop();
    m_again = false;
    const QDeadlineTimer deadline(waitMs);
    // The exchange running now ends first: one at a time, and the last one must carry what it did not.
    if (!m_pool.waitForDone(static_cast<int>(deadline.remainingTime())))
        return false;
    if (!Read_School_Settings(m_dataDir).isSet())
        return true;
    // A server that was away at the last attempt is not waited for again: the rows stay here for the next run.
    if (!m_status.connected && !m_status.problem.isEmpty())
        return false;
    const QFuture<Outcome> last = QtConcurrent::run(&m_pool, &ClassSync::exchange, m_users, m_dataDir);
    if (!m_pool.waitForDone(static_cast<int>(deadline.remainingTime())))
        return false;
    setStatus(last.result().status);
    return m_status.connected;
}
